# cmake -DPROGRAM=... -DDIR=... -DFROM=name.dir -DTO=name.dir -P train_profile.cmake
# Plays a day with the counting build of the simulator, then hands the counts to the build that uses them: each
# count file's name spells out its object's path, target folder included, so it is renamed for the other target's
# object. Moved, not copied, so that the next day of training counts afresh.
file(MAKE_DIRECTORY "${DIR}")
file(GLOB stale "${DIR}/*#${FROM}#*.gcda")
if(stale)
  file(REMOVE ${stale})
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E env SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=offscreen
                        "${PROGRAM}" --days 1 --setting 3 --jobs 1
                OUTPUT_FILE "${DIR}/day.txt" ERROR_FILE "${DIR}/day.txt" RESULT_VARIABLE played)
if(NOT played EQUAL 0)
  # The program is built all the same, only without the profile; its tests tell what went wrong.
  message(WARNING "the profiling day failed (${played}); see ${DIR}/day.txt")
  return()
endif()
file(GLOB counts "${DIR}/*#${FROM}#*.gcda")
foreach(from IN LISTS counts)
  get_filename_component(name "${from}" NAME)
  string(REPLACE "#${FROM}#" "#${TO}#" to "${name}")
  file(RENAME "${from}" "${DIR}/${to}")
endforeach()
