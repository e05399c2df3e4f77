# cmake -DPROGRAM=mofuran-sim -DRECORDED=recorded_day.tsv -DOUT=folder -P recorded_day_by_program.cmake
# The simulator program as built plays the recorded day game by game. In an optimised build the program is
# compiled apart from the libraries the other tests drive, so it is checked on its own.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${PROGRAM}" --games 400 --setting 6 --start-ms 41000000 --pmc-item --json
                        --data "${OUT}/data" --trace "${OUT}/day.tsv"
                OUTPUT_VARIABLE figures RESULT_VARIABLE played)
if(NOT played EQUAL 0)
  message(FATAL_ERROR "mofuran-sim failed: ${played}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${RECORDED}" "${OUT}/day.tsv" RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "the day played differs from the recorded one: compare ${OUT}/day.tsv with ${RECORDED}")
endif()
string(FIND "${figures}" "\"coins_in\":912,\"coins_out\":1896," at)
if(at LESS 0)
  message(FATAL_ERROR "the figures differ from the recorded day's: ${figures}")
endif()
message(STATUS "the recorded day, game by game: ${figures}")
