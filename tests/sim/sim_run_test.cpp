// mofuran-sim as a whole: its options, its figures, its trace and the save files it plays with.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/convert.h"
#include "platform/files.h"
#include "platform/sim/sim_backend.h"
#include "records/name_text.h"
#include "records/save_files.h"
#include "records/save_format.h"
#include "records/save_store.h"
#include "records/scratch_folder.h"
#include "sim/folder_files.h"
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
  const bool ok = ParseSimOptions(static_cast<int>(args.size()), args.data(), &o, &error);
  return !ok && !error.empty();
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

class SimRunTest : public ::testing::Test {
 protected:
  std::string Data(const char* name) { return (std::filesystem::path(scratch.Path()) / name).string(); }
  ScratchFolder scratch;
};

TEST(SimOptionsTest, EveryOptionIsReadAndNothingElseIsAccepted) {
  const SimOptions o = Parsed({"--days", "4", "--games", "0", "--setting", "5", "--savings", "1234567", "--data",
                               "/tmp/x", "--name", "もこ", "--start-ms", "43200000", "--pmc-item", "--fanfare-item",
                               "--json", "--trace", "t.tsv"});
  EXPECT_EQ(o.days, 4);
  EXPECT_EQ(o.games, 0);
  EXPECT_EQ(o.setting, 5);
  EXPECT_EQ(o.savings, 1234567);
  EXPECT_EQ(o.data, "/tmp/x");
  EXPECT_EQ(o.name, "もこ");
  EXPECT_EQ(o.startMs, 43200000);
  EXPECT_TRUE(o.pmcItem && o.fanfareItem && o.json);
  EXPECT_EQ(o.trace, "t.tsv");
  const SimOptions sheet = Parsed({"--sheet", "--plot", "odds.svg", "--jobs", "3"});
  EXPECT_TRUE(sheet.sheet);
  EXPECT_EQ(sheet.plot, "odds.svg");
  EXPECT_EQ(sheet.jobs, 3);
  EXPECT_FALSE(sheet.daysGiven || sheet.gamesGiven) << "the sheet keeps its own sizes";

  const SimOptions d = Parsed({});
  EXPECT_EQ(d.days, 1);
  EXPECT_EQ(d.games, 10000);
  EXPECT_EQ(d.setting, 0);
  EXPECT_EQ(d.name, "sim");
  EXPECT_EQ(d.startMs, 36000000);

  EXPECT_TRUE(Refused({"--setting", "7"}));
  EXPECT_TRUE(Refused({"--setting", "0"}));
  EXPECT_TRUE(Refused({"--games", "-1"}));
  EXPECT_TRUE(Refused({"--days", "two"}));
  EXPECT_TRUE(Refused({"--days", "2.5"}));
  EXPECT_TRUE(Refused({"--savings", "1e400"}));
  EXPECT_TRUE(Refused({"--games"}));
  EXPECT_TRUE(Refused({"--fast"}));
  EXPECT_TRUE(Refused({"--jobs", "0"}));
  EXPECT_TRUE(Refused({"--sheet", "--setting", "2"}));
  EXPECT_TRUE(Refused({"--plot", "odds.svg"}));
}

TEST_F(SimRunTest, TheSameArgumentsGiveTheSameFiguresAndTrace) {
  SimOptions o;
  o.days = 2;
  o.games = 300;
  std::ostringstream first, second;
  o.data = Data("a");
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
  std::ifstream file(std::string(MOFURAN_TESTS_DIR) + "/sim/data/recorded_day.tsv", std::ios::binary);
  ASSERT_TRUE(file) << "the recorded trace is missing";
  std::stringstream recorded;
  recorded << file.rdbuf();

  SimOptions o;
  o.games = 400;
  o.setting = 6;
  o.startMs = 41000000;
  o.pmcItem = true;
  o.data = Data("recorded");
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
  SimOptions o;
  o.days = 3;
  o.games = 300;
  o.jobs = 1;
  o.data = Data("one");
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
  SimOptions o;
  o.days = 2;
  o.games = 200;
  o.setting = 4;
  o.data = Data("d");
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
  SimOptions o;
  o.days = 3;
  o.games = 400;
  o.savings = 500000;
  o.data = Data("e");
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
  SimOptions o;
  o.days = 2;
  o.games = 0;
  o.name = "もこもこ";
  o.pmcItem = true;
  o.fanfareItem = true;
  o.data = Data("f");
  const SimResult r = RunSim(o);
  EXPECT_EQ(r.games, 0);
  EXPECT_EQ(r.coinsIn, 0);
  EXPECT_EQ(r.savingsEnd, 200000);
  EXPECT_EQ(r.settings.size(), 2u);
  EXPECT_EQ(CurrentFolder(), before);

  ASSERT_TRUE(std::filesystem::exists(Data("f") + "/soundMofuran/VBDSND1.DLL"));
  ASSERT_TRUE(ChangeFolder(Data("f") + "/soundMofuran"));
  LoadData();
  const PlayerRecord stored = FILEREAD();
  ChangeFolder(before);
  EXPECT_EQ(Trim(CheckCopy.Name), "もこもこ");
  EXPECT_EQ(stored.PmcUpItem, 9);
  EXPECT_EQ(stored.FanfareX5Item, 17);
}

TEST_F(SimRunTest, TheFiguresPrintAsOneJsonObjectWithTheKeysInOrder) {
  SimResult r;
  r.days = 2;
  r.games = 10;
  r.coinsIn = 30;
  r.coinsOut = 45;
  r.settings = {3, 6};
  r.wallSeconds = 0.5;
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
  EXPECT_NE(json.find("\"payout_rate\":1.5000"), std::string::npos);
  EXPECT_NE(json.find("\"settings\":[3,6]"), std::string::npos);
  EXPECT_NE(json.find("\"games_per_second\":20.0"), std::string::npos);
}

// A failed save, in a day or in the data folder at the end, fails the run and leaves the folder as it was.
TEST_F(SimRunTest, AFailedSaveFailsTheRunAndLeavesTheDataFolderAsItWas) {
  SimOptions o;
  o.games = 50;
  o.data = Data("saved");
  RunSim(o);
  o.savings = 777777;
  const struct {
    int days, jobs, failAt;
    bool atTheEnd;  // only the data folder's own writes fail: the history, or the pair (which takes it back)
  } cases[] = {{1, 1, 3, false}, {2, 1, 11, false}, {3, 2, 4, false}, {0, 1, 3, true}, {2, 1, 3, true},
               {2, 1, 10, true}};
  for (const auto& c : cases) {
    const auto before = Files(o.data);
    o.jobs = c.jobs;
    std::vector<DayTask> tasks(static_cast<size_t>(c.days));
    for (int d = 0; d < c.days; ++d) tasks[d] = {d, 0, {false, true, false}};
    SaveFaults.failAtStep = !c.atTheEnd || c.days == 0 ? c.failAt : 0;
    int taken = 0;
    EXPECT_THROW(PlayRun(o, tasks, [&](DayResult&&) {
                   if (++taken == c.days) SaveFaults.failAtStep = c.atTheEnd ? c.failAt : 0;
                 }),
                 std::runtime_error)
        << c.days << " days failing at step " << c.failAt;
    SaveFaults = SaveInterruption{};
    EXPECT_EQ(Files(o.data), before) << c.days << " days failing at step " << c.failAt;
  }
}

// Save files the game would find broken start a new player's record and say so; missing ones start it quietly.
TEST_F(SimRunTest, BrokenSaveFilesStartFromANewPlayersRecord) {
  PlayerRecord good = InitialRecord();
  good.Savings = Currency::FromYen(555000);
  PlayerRecord slow = good, other = good;
  slow.FuaSpeed = 7;
  other.Savings = Currency::FromYen(1);
  namespace fs = std::filesystem;
  const struct {
    std::function<void(const std::string&)> layOut;
    double savings;
    bool said;
  } cases[] = {
      {[&](const std::string&) {}, 555000, false},
      {[&](const std::string& f) { WriteAllBytes(f + "/VBDSND1.DLL", EncodeVbdsnd(slow)); }, 200000, true},
      {[&](const std::string& f) { WriteAllBytes(f + "/VBDSND1.DLL", EncodeVbdsnd(other)); }, 200000, true},
      {[&](const std::string& f) { fs::remove(f + "/DataFiles"); }, 200000, true},
      {[&](const std::string& f) {
         fs::remove(f + "/DataFiles"), fs::remove(f + "/VBDSND1.DLL"), mkfifo((f + "/VBDSND1.DLL").c_str(), 0644);
       },
       200000, true},
      {[&](const std::string& f) { fs::remove_all(f); }, 200000, false},
  };
  SimOptions o;
  o.games = 0;
  for (const auto& c : cases) {
    o.data = Data(("pair" + std::to_string(&c - cases)).c_str());
    const std::string folder = o.data + "/soundMofuran";
    std::filesystem::create_directories(folder);
    WriteAllBytes(folder + "/DataFiles", EncodeDataFiles(good));
    WriteAllBytes(folder + "/VBDSND1.DLL", EncodeVbdsnd(good));
    c.layOut(folder);
    testing::internal::CaptureStderr();
    const SimResult r = RunSim(o);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(r.savingsStart, c.savings) << &c - cases;
    EXPECT_EQ(said.find("broken") != std::string::npos, c.said) << &c - cases << ": " << said;
  }
}

TEST(SimResultTextTest, ALongRunPrintsWhole) {
  SimResult r;
  r.settings.assign(10000, 6);
  std::string list = "6";
  for (int i = 1; i < 10000; ++i) list += ",6";
  EXPECT_NE(ResultJson(r).find("\"settings\":[" + list + "],\"virtual_seconds\":0.000,"), std::string::npos);
  EXPECT_NE(ResultText(r).find("settings [" + list + "],\n0 s of play"), std::string::npos);
}

}  // namespace
