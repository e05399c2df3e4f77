// mofuran-sim keeps the data counter's history in its data folder, as the game does, day by day agreeing with
// the simulator's own figures.
#include <gtest/gtest.h>

#include <tuple>

#include "counter/history_file.h"
#include "harness/scratch_folder.h"
#include "platform/files.h"
#include "tools/sim/sim_run.h"

namespace {

TEST(SimHistory, EachSimulatedDayIsRecordedInTheDataFolder) {
  ScratchFolder folder;
  const SimOptions o{
      .days = 3, .games = 300, .savings = 1e7, .data = folder.Path() + "/data", .trace = {}, .plot = {}, .scratch = {}};
  const SimResult r = RunSim(o);
  const auto bytes = ReadAllBytes(o.data + "/soundMofuran/" + kHistoryFile);
  ASSERT_TRUE(bytes);
  std::vector<CounterDay> days;
  ASSERT_TRUE(DecodeHistory(std::string(bytes->begin(), bytes->end()), &days));
  ASSERT_EQ(days.size(), 3u);
  long games = 0, mc = 0, pmc = 0;
  long long in = 0, out = 0;
  for (size_t i = 0; i < days.size(); ++i) {
    games += days[i].games;
    mc += days[i].mc;
    pmc += days[i].pmc;
    in += days[i].coinsIn;
    out += days[i].coinsOut;
    EXPECT_EQ(static_cast<int>(days[i].slump.size()), days[i].games);
    EXPECT_GE(days[i].setting, 1);
  }
  EXPECT_EQ(std::tie(games, mc, pmc, in, out), std::tie(r.games, r.mc, r.pmc, r.coinsIn, r.coinsOut));
}

}  // namespace
