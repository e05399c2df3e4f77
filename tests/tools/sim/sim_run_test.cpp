// mofuran-sim as a whole: its options, its figures, its trace and the save files it plays with; the programs as
// built, run as a user runs them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "harness/scratch_folder.h"
#include "platform/convert.h"
#include "platform/files.h"
#include "platform/sim/sim_backend.h"
#include "records/save_files.h"
#include "records/save_format.h"
#include "records/save_store.h"
#include "title/title_data.h"
#include "tools/sim/sim_run.h"

namespace {

SimOptions Parsed(std::vector<const char*> args) {
  args.insert(args.begin(), "mofuran-sim");
  SimOptions o;
  std::string error;
  EXPECT_TRUE(ParseSimOptions(static_cast<int>(args.size()), args.data(), &o, &error)) << error;
  return o;
}

bool Refused(std::vector<const char*> args) {
  args.insert(args.begin(), "mofuran-sim");
  SimOptions o;
  std::string error;
  return !ParseSimOptions(static_cast<int>(args.size()), args.data(), &o, &error) && !error.empty();
}

// The figures without the two timings.
std::string Figures(const SimResult& r) {
  SimResult copy = r;
  copy.wallSeconds = 0;
  return ResultJson(copy);
}

std::vector<std::vector<long>> Rows(const std::string& trace, std::string* header) {
  std::istringstream in(trace);
  std::getline(in, *header);
  std::vector<std::vector<long>> rows;
  for (std::string line; std::getline(in, line);) {
    std::vector<long> row;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) {
      size_t used = 0;
      row.push_back(std::stol(cell, &used));
      EXPECT_EQ(used, cell.size()) << "not a plain integer: " << cell;
    }
    rows.push_back(row);
  }
  return rows;
}

// Every file under a folder with its bytes, but the lock, which only says who holds the folder.
std::map<std::string, std::string> Files(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
    if (e.path().filename() != "SaveFiles.lock")
      files[e.path()] = e.is_regular_file() ? std::string(std::istreambuf_iterator(std::ifstream(e.path()).rdbuf()), {})
                                            : "";
  return files;
}

// A shell command line in the working folder, without root's rights where the test has them (so that read-only
// means read-only). Returns its exit code; `said` gets what it printed.
int RunProgram(const std::string& command, std::string* said) {
  setenv("MOFURAN_TEST_COMMAND", command.c_str(), 1);
  const std::string user = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  FILE* out = popen(("exec " + user + "sh -c \"$MOFURAN_TEST_COMMAND\" 2>&1").c_str(), "r");
  said->clear();
  for (int c; (c = std::fgetc(out)) != EOF;) *said += static_cast<char>(c);
  return WEXITSTATUS(pclose(out));
}

class SimRunTest : public ::testing::Test {
 protected:
  SimRunTest() { chmod(scratch.Path().c_str(), 0777); }  // for the programs, run as anyone
  std::string Data(const char* name) { return (std::filesystem::path(scratch.Path()) / name).string(); }
  // A run of these days and games with its data in the scratch folder.
  SimOptions Options(int days, long games, const char* data) {
    return {.days = days, .games = games, .data = Data(data), .trace = {}, .plot = {}, .scratch = {}};
  }
  // The simulator, with temporary folders of its own.
  static std::string Sim(const std::string& args, const std::string& before = "") {
    return "(exec env --default-signal TMPDIR=$PWD/tmp XDG_RUNTIME_DIR=$PWD/run " + before + MOFURAN_SIM
           " --games 10 " + args + ")";
  }
  ScratchFolder scratch;
};

TEST(SimOptionsTest, EveryOptionIsReadAndNothingElseIsAccepted) {
  const SimOptions o = Parsed({"--days", "4", "--games", "0", "--setting", "5", "--savings", "1234567", "--data",
                               "/tmp/x", "--name", "もこ", "--start-ms", "43200000", "--pmc-item", "--fanfare-item",
                               "--json", "--trace", "t.tsv"});
  EXPECT_EQ(std::tie(o.days, o.games, o.setting, o.savings, o.data, o.name, o.startMs),
            std::tuple(4, 0L, 5, 1234567.0, "/tmp/x", "もこ", 43200000.0));
  EXPECT_TRUE(o.pmcItem && o.fanfareItem && o.json);
  EXPECT_EQ(o.trace, "t.tsv");
  const SimOptions sheet = Parsed({"--sheet", "--plot", "odds.svg", "--jobs", "3"});
  EXPECT_TRUE(sheet.sheet);
  EXPECT_EQ(std::tie(sheet.plot, sheet.jobs), std::tuple("odds.svg", 3));
  EXPECT_FALSE(sheet.daysGiven || sheet.gamesGiven) << "the sheet keeps its own sizes";

  const SimOptions d = Parsed({});
  EXPECT_EQ(std::tie(d.days, d.games, d.setting, d.name, d.startMs), std::tuple(1, 10000L, 0, "sim", 36000000.0));

  for (const std::vector<const char*>& args : std::vector<std::vector<const char*>>{
           {"--setting", "7"}, {"--setting", "0"}, {"--games", "-1"}, {"--days", "two"}, {"--days", "2.5"},
           {"--savings", "1e400"}, {"--games"}, {"--fast"}, {"--jobs", "0"}, {"--sheet", "--setting", "2"},
           {"--plot", "odds.svg"}})
    EXPECT_TRUE(Refused(args)) << args[0] << " " << (args.size() > 1 ? args[1] : "");
}

TEST_F(SimRunTest, TheSameArgumentsGiveTheSameFiguresAndTrace) {
  SimOptions o = Options(2, 300, "a");
  std::ostringstream first, second;
  const SimResult a = RunSim(o, &first);
  o.data = Data("b");
  const SimResult b = RunSim(o, &second);
  EXPECT_EQ(Figures(a), Figures(b));
  EXPECT_EQ(first.str(), second.str());
  EXPECT_EQ(a.games, 600);

  o.data = Data("c");
  o.startMs += 1;
  EXPECT_NE(Figures(RunSim(o)), Figures(a)) << "another start time is another run";
}

// A day recorded game by game with an earlier build: the virtual clock, the timers and the player must keep
// playing exactly this day, whatever is done to make them faster.
TEST_F(SimRunTest, ARecordedDayIsPlayedAgainGameByGame) {
  std::ifstream file(std::string(MOFURAN_TESTS_DIR) + "/tools/sim/data/recorded_day.tsv", std::ios::binary);
  ASSERT_TRUE(file) << "the recorded trace is missing";
  std::stringstream recorded;
  recorded << file.rdbuf();

  SimOptions o = Options(1, 400, "recorded");
  o.setting = 6;
  o.startMs = 41000000;
  o.pmcItem = true;
  std::ostringstream trace;
  const SimResult r = RunSim(o, &trace);
  std::istringstream want(recorded.str()), got(trace.str());
  std::string a, b;
  for (int line = 1; std::getline(want, a); ++line) {
    ASSERT_TRUE(std::getline(got, b)) << "the trace ends before line " << line;
    ASSERT_EQ(b, a) << "line " << line;
  }
  EXPECT_FALSE(std::getline(got, b)) << "the trace goes on after the recording: " << b;
  EXPECT_EQ(Figures(r),
            "{\"days\":1,\"games\":400,\"coins_in\":912,\"coins_out\":1896,\"payout_rate\":2.0789,\"mc\":6,"
            "\"pmc\":1,\"fanfare_streaks\":1,\"max_mc_length\":666,\"bankrupt_days\":0,\"savings_start\":200000,"
            "\"savings_end\":219680,\"settings\":[6],\"virtual_seconds\":817.012,\"wall_seconds\":0.000,"
            "\"games_per_second\":0.0}");
}

// The days of a run are the same however many worker processes play them: here one after another in this process,
// then each in a process of its own. Each day is its own: no two play the same games.
TEST_F(SimRunTest, TheFiguresAndTheTraceDoNotDependOnTheWorkers) {
  SimOptions o = Options(3, 300, "one");
  o.jobs = 1;
  std::ostringstream alone, shared;
  const SimResult a = RunSim(o, &alone);
  o.jobs = 3;
  o.data = Data("three");
  const SimResult b = RunSim(o, &shared);
  EXPECT_EQ(Figures(a), Figures(b));
  EXPECT_EQ(alone.str(), shared.str());
  ASSERT_EQ(a.games, 900);

  std::string header;
  const auto rows = Rows(alone.str(), &header);
  auto day = [&](int d) { return std::vector<std::vector<long>>(rows.begin() + 300 * d, rows.begin() + 300 * (d + 1)); };
  EXPECT_NE(day(0), day(1));
  EXPECT_NE(day(1), day(2));
}

TEST_F(SimRunTest, TheTraceHasOneLineOfPlainIntegersPerGame) {
  SimOptions o = Options(2, 200, "d");
  o.setting = 4;
  std::ostringstream trace;
  const SimResult r = RunSim(o, &trace);
  std::string header;
  const auto rows = Rows(trace.str(), &header);
  EXPECT_EQ(header, "game\tsetting\tflag\tgroup\tpattern\torder\tleft\tcentre\tright\tcoins\tmoney\tmc_left");
  ASSERT_EQ(static_cast<long>(rows.size()), r.games);
  ASSERT_EQ(rows.size(), 400u);
  for (size_t i = 0; i < rows.size(); ++i) {
    ASSERT_EQ(rows[i].size(), 12u);
    EXPECT_EQ(rows[i][0], static_cast<long>(i % 200) + 1) << "each day counts its games from 1";
    EXPECT_EQ(rows[i][1], 4);
    for (int reel = 6; reel <= 8; ++reel) EXPECT_TRUE(rows[i][reel] >= 1 && rows[i][reel] <= 21);
    EXPECT_GE(rows[i][9], 0);
    EXPECT_GE(rows[i][11], 0);
  }
  EXPECT_EQ(r.settings, (std::vector<int>{4, 4}));
}

TEST_F(SimRunTest, MoneyAddsUpThroughTheSaveFiles) {
  SimOptions o = Options(3, 400, "e");
  o.savings = 500000;
  const SimResult r = RunSim(o);
  EXPECT_EQ(r.savingsStart, 500000);
  EXPECT_EQ(r.coinsIn % 3, 0);
  EXPECT_GT(r.coinsIn, 0);
  // Coins are bought at 20 yen and changed back at 20 yen: the savings move by the coins won or lost.
  EXPECT_EQ(r.savingsEnd - r.savingsStart, 20.0 * static_cast<double>(r.coinsOut - r.coinsIn));
  EXPECT_NEAR(r.PayoutRate(), static_cast<double>(r.coinsOut) / r.coinsIn, 1e-12);
  EXPECT_EQ(r.settings.size(), 3u);

  // The next run in the same folder starts from where this one ended.
  o.savings = -1;
  o.days = 1;
  o.games = 10;
  EXPECT_EQ(RunSim(o).savingsStart, r.savingsEnd);
}

TEST_F(SimRunTest, NoGamesStillRegistersThePlayerAndCashesOut) {
  const std::string before = CurrentFolder();
  SimOptions o = Options(2, 0, "f");
  o.name = "もこもこ";
  o.pmcItem = o.fanfareItem = true;
  const SimResult r = RunSim(o);
  EXPECT_EQ(std::tie(r.games, r.coinsIn, r.savingsEnd), std::tuple(0L, 0LL, 200000.0));
  EXPECT_EQ(r.settings.size(), 2u);
  EXPECT_EQ(CurrentFolder(), before);

  ASSERT_TRUE(std::filesystem::exists(Data("f") + "/soundMofuran/VBDSND1.DLL"));
  ASSERT_TRUE(ChangeFolder(Data("f") + "/soundMofuran"));
  LoadData();
  const PlayerRecord stored = FILEREAD();
  ChangeFolder(before);
  EXPECT_EQ(Trim(CheckCopy.Name), "もこもこ");
  EXPECT_EQ(std::tie(stored.PmcUpItem, stored.FanfareX5Item), std::tuple(9, 17));
}

TEST_F(SimRunTest, TheFiguresPrintAsOneJsonObjectWithTheKeysInOrder) {
  const SimResult r{.days = 2, .games = 10, .coinsIn = 30, .coinsOut = 45, .settings = {3, 6}, .wallSeconds = 0.5};
  const std::string json = ResultJson(r);
  EXPECT_EQ(json.find('\n'), std::string::npos);
  size_t at = 0;
  for (const char* key : {"days", "games", "coins_in", "coins_out", "payout_rate", "mc", "pmc", "fanfare_streaks",
                          "max_mc_length", "bankrupt_days", "savings_start", "savings_end", "settings",
                          "virtual_seconds", "wall_seconds", "games_per_second"}) {
    const size_t found = json.find("\"" + std::string(key) + "\":", at);
    ASSERT_NE(found, std::string::npos) << key;
    at = found;
  }
  for (const char* figure : {"\"payout_rate\":1.5000", "\"settings\":[3,6]", "\"games_per_second\":20.0"})
    EXPECT_NE(json.find(figure), std::string::npos) << figure;
}

TEST(SimResultTextTest, TenThousandDaysPrintWhole) {
  SimResult r;
  r.settings.assign(10000, 6);
  std::string list(19999, ',');
  for (size_t i = 0; i < list.size(); i += 2) list[i] = '6';
  EXPECT_NE(ResultJson(r).find("\"settings\":[" + list + "],\"virtual_seconds\":0.000,"), std::string::npos);
  EXPECT_NE(ResultText(r).find("settings [" + list + "],\n0 s of play"), std::string::npos);
}

// A failed save, in a day or in the data folder at the end, fails the run and leaves the folder as it was.
TEST_F(SimRunTest, AFailedSaveFailsTheRunAndLeavesTheDataFolderAsItWas) {
  SimOptions o = Options(1, 50, "saved");
  RunSim(o);
  o.savings = 777777;
  // At the end only the data folder's own writes fail: the history, or the pair (which takes the history back).
  const std::tuple<int, int, int, bool> cases[] = {{1, 1, 3, false}, {2, 1, 11, false}, {3, 2, 4, false},
                                                  {0, 1, 3, true},  {2, 1, 3, true},   {2, 1, 10, true}};
  for (const auto& [days, jobs, failAt, atTheEnd] : cases) {
    const auto before = Files(o.data);
    o.jobs = jobs;
    std::vector<DayTask> tasks;
    for (int d = 0; d < days; ++d) tasks.push_back({d, 0, {false, true, false}});
    SaveFaults.failAtStep = !atTheEnd || days == 0 ? failAt : 0;
    EXPECT_THROW(PlayRun(o, tasks, [&](DayResult&& d) {
                   if (d.number == days - 1) SaveFaults.failAtStep = atTheEnd ? failAt : 0;
                 }),
                 std::runtime_error);
    SaveFaults = SaveInterruption{};
    EXPECT_EQ(Files(o.data), before) << days << " days failing at step " << failAt;
  }
}

// Whatever fails is said, with exit 1 (2 for bad arguments), and leaves nothing behind anywhere. A pair the game
// would find broken starts a new player's record and says so.
TEST_F(SimRunTest, EveryFailureIsSaidAndLeavesNothingBehind) {
  const std::string cal = MOFURAN_CALIBRATION " ", pair = Sim("--json --data pair");
  const std::string damage = " | dd conv=notrunc bs=1 of=pair/soundMofuran/VBDSND1.DLL seek=";
  const std::tuple<std::string, std::string, int, const char*> cases[] = {
      {"mkdir tmp rodir run && chmod 555 rodir && chmod 700 run && touch ro data1 && chmod 444 ro", "", 0, ""},
      {"", Sim("--data data1"), 1, "cannot use"},
      {"mkdir data2 && touch data2/soundMofuran", Sim("--data data2"), 1, "cannot use"},
      {"mkdir -m 555 data3", Sim("--data data3/new"), 1, "cannot use"},
      {"mkdir -p data4/soundMofuran && touch data4/soundMofuran/DataFiles && chmod 555 data4/soundMofuran",
       Sim("--data data4"), 1, "cannot lock"},
      {"", Sim("--json > /dev/full"), 1, "cannot write the figures"},
      {"", Sim("--json 1< ro"), 1, "cannot write the figures"},
      {"", Sim("--trace /dev/full"), 1, "cannot write the trace"},
      {"", Sim("--trace ro"), 1, "cannot write ro"},
      {"", Sim("--trace rodir/t.tsv"), 1, "cannot write rodir"},
      {"", Sim("--sheet --days 1 --games 5 --plot /dev/full"), 1, "cannot write /dev/full"},
      {"", Sim("--sheet --days 1 --games 5 --plot rodir/odds.svg"), 1, "cannot write rodir"},
      {"", Sim("", "env TMPDIR=/nonexistent "), 1, "no temporary folder"},
      {"", Sim("--days 3 --jobs 3", "prlimit --nproc=2 "), 1, "could not be started"},
      {"", cal + "--days x", 2, "bad value for --days: x"},
      {"", cal + "--days 0", 2, "bad value for --days: 0"},
      {"", cal + "--seed -1", 2, "bad value for --seed"},
      {"", cal + "--games 500", 2, "unknown option --games"},
      {"", cal + "--rates --days 99", 2, "at least 100 days a setting"},
      {"", Sim("--data good --savings 555000 --days 0"), 0, "555000 -> 555000"},
      {"cp -r good pair", pair, 0, "\"savings_start\":555000,"},
      {"rm -r pair && cp -r good pair && printf x" + damage + "30", pair, 0, "\"savings_start\":200000,"},
      {"rm -r pair && cp -r good pair && printf '\\0\\0\\340@'" + damage + "72", pair, 0, "broken"},
      {"rm -r pair && cp -r good pair && rm pair/soundMofuran/DataFiles", pair, 0, "broken"},
      {"rm -r pair/soundMofuran/* && mkfifo pair/soundMofuran/VBDSND1.DLL", pair, 0, "broken"},
  };
  std::string said;
  for (const auto& [setup, command, status, saying] : cases) {
    RunProgram(setup, &said);
    const auto before = Files(scratch.Path());
    EXPECT_EQ(RunProgram(command, &said), status) << command;
    EXPECT_NE(said.find(saying), std::string::npos) << command << ": " << said;
    EXPECT_TRUE(status == 0 || Files(scratch.Path()) == before) << command;
  }
}

// A run stopped by a signal leaves no temporary folder, no worker and no folder of its making; while it runs, it
// holds its data folder against another run.
TEST_F(SimRunTest, ASignalEndsARunAndLeavesNothingBehind) {
  std::string said;
  RunProgram("mkdir tmp", &said);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP})
    for (const std::string jobs : {"1", "2"}) {
      // Under way once it holds the lock; another run is refused, then the signal.
      const std::string run = Sim("--games 10000 --days 1000 --data data --jobs " + jobs) +
                              " & for i in $(seq 100); do [ -e data/soundMofuran/SaveFiles.lock ] && break; sleep 0.01;"
                              " done; " + Sim("--data data") + "; kill -" + std::to_string(signal) + " $!; wait $!";
      EXPECT_EQ(RunProgram(run, &said), 128 + signal);
      EXPECT_NE(said.find("is in use"), std::string::npos) << said;
      EXPECT_TRUE(std::filesystem::is_empty(Data("tmp"))) << jobs;
      EXPECT_FALSE(std::filesystem::exists(Data("data"))) << jobs;
    }
  // Started to ignore SIGHUP (nohup), it plays on through one.
  EXPECT_EQ(RunProgram(Sim("--days 20 --data nohup", "nohup ") + " & for i in $(seq 100); do [ -e nohup/soundMofuran/"
                       "SaveFiles.lock ] && break; sleep 0.01; done; kill -1 $!; wait $!", &said), 0) << said;
}

}  // namespace
