// The data counter following a day at the machine on the virtual back end: what it records at each game's end,
// its D key, its window's updates, and the day it hands to the history at the cash-out.
#include <filesystem>
#include <tuple>

#include "counter/counter.h"
#include "counter/history_file.h"
#include "harness/harness.h"
#include "machine/play_stats.h"

namespace {

// A window that remembers what it was handed, and when.
class FakeView : public CounterView {
 public:
  void Show(const CounterModel& m) override {
    shown = true;
    last = m;
  }
  void Hide() override { shown = false; }
  void Update(const CounterModel& m) override {
    ++updates;
    last = m;
    updateGames.push_back(Play.TotalGames);
    reelsTurning += !AllReelsStopped();
  }
  bool shown = false;
  int updates = 0, reelsTurning = 0;
  std::vector<int> updateGames;
  CounterModel last;
};

struct Game {
  int coinsBefore, coinsAfter;
  int phase;      // BonusPhase during the game
  bool aligned;   // the sevens lined up
  bool streakGame;
};

// The program's folder a scratch folder: the day's history goes to its sound folder.
class CounterDayTest : public MachineTest {
 protected:
  CounterDayTest() : MachineTest(false, 12 * 3600.0, Start::Folder::Program) {}
  void SetUp() override {
    MachineTest::SetUp();
    InstallCounterView(&view);
  }

  // A player who presses Up whenever the machine is ready and stops the reels a little later, until `done`.
  void PlayUntil(const std::function<bool()>& done) {
    PlayWhileReady([&, this](double now) {
      if (!games.empty()) games.back().coinsAfter = LabelNumber(Form2.Credits.Caption());
      if (done()) return false;
      games.push_back({LabelNumber(Form2.Credits.Caption()), -1, 0, false, Mc.StreakPending == 1});
      const auto aligned = [this] {
        games.back().aligned = games.back().aligned || (Lottery.GameFlag == 1 && Lottery.StopPattern == 1);
      };
      sim->ActAt(now + 0.01, [this] { games.back().phase = Mc.BonusPhase; });
      sim->ActAt(now + 0.55, aligned);
      sim->ActAt(now + 0.95, aligned);
      return true;
    });
  }

  FakeView view;
  std::vector<Game> games;
};

// Before a day there is nothing to show for today. Games that end together (fast play credits several at once)
// share the way to the coin difference evenly, from 0 at the day's start and rounded towards it.
TEST_F(CounterDayTest, GamesEndingTogetherShareTheSlumpEvenlyFromTheDaysStart) {
  EXPECT_FALSE(CurrentCounterModel().hasToday);
  Play.TotalGames = 10;
  CounterDayStart();
  EXPECT_TRUE(CurrentCounterModel().hasToday);
  Play.TotalGames = 14;
  Stats.CoinsIn = 40;
  CounterGameEnd();
  EXPECT_EQ(CurrentCounterModel().today.slump, (std::vector<int>{-10, -20, -30, -40}));
  Play.TotalGames = 17;
  Stats.CoinsOut = 50;
  CounterGameEnd();
  EXPECT_EQ(CurrentCounterModel().today.slump, (std::vector<int>{-10, -20, -30, -40, -24, -7, 10}));
}

// The machine shows a won MC in its count only when the MC's start sequence counts it up, seconds after the game
// that won it; the counter has it from that game's end, and once. An MC a streak forced is no fresh win.
TEST_F(CounterDayTest, AWonMcIsCountedFromTheGameThatWonItOnce) {
  OpenDay();
  // {the length of the MC the game won (0: none), the MCs and PMCs shown, the MCs and PMCs counted, a streak
  // continuation due at the game's end}
  const std::tuple<int, const char*, const char*, int, int, bool> played[] = {
      {33, "0", "0", 1, 0, false}, {0, "1", "0", 1, 0, false}, {555, "1", "0", 1, 1, false}, {0, "1", "0", 1, 1, false},
      {0, "1", "1", 1, 1, true},   {33, "2", "1", 2, 1, false}, {0, "2", "1", 2, 1, false}};
  for (const auto& [length, mcShown, pmcShown, mc, pmc, streakNext] : played) {
    Form2.McCount.Caption = mcShown;
    Form2.PmcCount.Caption = pmcShown;
    Lottery.GameFlag = length ? GameFlags::Mc : GameFlags::None;
    Lottery.StopPattern = length ? StopPatterns::Bonus : StopPatterns::Flagged;
    Lottery.McLength = length;
    Mc.StreakPending = streakNext ? 1 : 0;
    Play.TotalGames += 1;
    CounterGameEnd();
    EXPECT_EQ(CounterToday().mc, mc) << Play.TotalGames;
    EXPECT_EQ(CounterToday().pmc, pmc) << Play.TotalGames;
  }
  EXPECT_EQ(CounterToday().freshWins, 2);
  EXPECT_TRUE(CounterToday().bonuses.back().streak);
}

TEST_F(CounterDayTest, AWonMcDayIsRecordedGameByGameAsThePlayerSawIt) {
  OpenDay();
  Form2.Credits.Caption = "1000";  // enough coins that no game buys more
  // An MC won and waiting: a plain MC whose rank lets no streak test continue it.
  Lottery.GameFlag = 1;
  Lottery.RevealCountdown = 4;
  Lottery.McLength = Lottery.McGamesLeft = 33;
  Lottery.McSteps = 0;
  Lottery.StreakRank = -30;
  bool mcSeen = false;
  PlayUntil([&] {
    mcSeen = mcSeen || Mc.BonusPhase == 1;
    return mcSeen && Mc.McEnding == 2 && Mc.StreakPending == 0 && Mc.BonusPhase == 0;
  });
  const CounterDay& d = CounterToday();
  const int played = static_cast<int>(games.size());
  ASSERT_EQ(d.games, played);
  EXPECT_EQ(d.games, Play.TotalGames);
  // One point a game, each step the coins that game won or lost, and the total what went in and came out.
  ASSERT_EQ(d.slump.size(), static_cast<size_t>(played));
  for (size_t g = 0; g < games.size(); ++g)
    EXPECT_EQ(d.slump[g] - (g ? d.slump[g - 1] : 0), games[g].coinsAfter - games[g].coinsBefore) << "game " << g + 1;
  EXPECT_EQ(std::tie(d.coinsIn, d.coinsOut), std::tie(Stats.CoinsIn, Stats.CoinsOut));
  EXPECT_EQ(d.slump.back(), Stats.CoinsOut - Stats.CoinsIn);
  EXPECT_EQ(d.slump.back(), LabelNumber(Form2.Credits.Caption()) - 1000);

  // The bonus: on the game the sevens lined up, a fresh plain MC of 33 after the games outside MCs before it.
  int aligned = -1, alignments = 0, normal = 0;
  for (size_t i = 0; i < games.size(); ++i) {
    if (games[i].aligned && aligned < 0) aligned = static_cast<int>(i) + 1;
    alignments += games[i].aligned;
    // A streak game's MC is forced, so it is no free draw; MC games are none either.
    normal += games[i].phase != 1 && !games[i].streakGame;
  }
  ASSERT_GT(aligned, 0);
  ASSERT_GE(d.bonuses.size(), 1u);
  const CounterBonus& b = d.bonuses.front();
  EXPECT_EQ(b.game, aligned);
  EXPECT_FALSE(b.premium);
  EXPECT_FALSE(b.fanfare);
  EXPECT_EQ(b.length, 33);
  EXPECT_FALSE(b.streak);
  EXPECT_EQ(b.gamesBefore, aligned);
  EXPECT_EQ(d.freshWins, 1);
  // Any continuation won in the MC's last games is a streak bonus of its own.
  EXPECT_EQ(d.bonuses.size(), static_cast<size_t>(alignments));
  for (size_t i = 1; i < d.bonuses.size(); ++i) EXPECT_TRUE(d.bonuses[i].streak);
  EXPECT_EQ(d.mc + d.pmc, static_cast<int>(d.bonuses.size()));
  EXPECT_EQ(d.mc, LabelNumber(Form2.McCount.Caption()));
  EXPECT_EQ(d.normalGames, normal);
  // Nothing was drawn into a window that was never opened.
  EXPECT_EQ(view.updates, 0);
}

TEST_F(CounterDayTest, TheDKeyOpensAndClosesTheWindowWhichUpdatesOnlyAtGameEnds) {
  EXPECT_FALSE(CounterOpen());  // a program that has not shown it yet
  OpenDay();
  Form2.Credits.Caption = "300";
  const auto captions = [] {
    std::vector<std::string> all;
    for (Element* e : Form2.Elements())
      if (auto* l = dynamic_cast<Label*>(e)) all.push_back(l->Caption());
    return all;
  };
  // D changes nothing of the game: every caption, flag and timer stays as it was.
  const auto before = captions();
  const PlayState play = Play;
  sim->Key('D');
  sim->RunFor(0.1);
  EXPECT_TRUE(CounterOpen());
  EXPECT_TRUE(view.shown);
  EXPECT_EQ(captions(), before);
  EXPECT_EQ(std::tie(Play.ReadyForNextGame, Play.PlayAccepted, Play.TotalGames, Play.CreditCoins),
            std::tie(play.ReadyForNextGame, play.PlayAccepted, play.TotalGames, play.CreditCoins));
  EXPECT_EQ(Form2.Timer1.Interval(), 0);

  PlayUntil([this] { return games.size() == 12; });
  // One update for each game's end, never while the reels turn, whatever the nested dispatches of the stops do.
  EXPECT_EQ(view.updates, 12);
  EXPECT_EQ(view.reelsTurning, 0);
  for (int g = 0; g < 12; ++g) EXPECT_EQ(view.updateGames[g], g + 1);
  EXPECT_EQ(view.last.today.games, 12);
  EXPECT_EQ(view.last.today.slump.size(), 12u);
  EXPECT_TRUE(view.last.dayRunning);
  EXPECT_DOUBLE_EQ(view.last.estimate.p[0] + view.last.estimate.p[1] + view.last.estimate.p[2] +
                       view.last.estimate.p[3] + view.last.estimate.p[4] + view.last.estimate.p[5],
                   1.0);

  // D again closes it, during play as at rest; a closed window gets nothing.
  sim->Key('D');
  sim->RunFor(0.1);
  EXPECT_FALSE(CounterOpen());
  EXPECT_FALSE(view.shown);
  games.clear();
  PlayUntil([this] { return games.size() == 3; });
  EXPECT_EQ(view.updates, 12);
  EXPECT_EQ(CounterToday().games, 15);
  // While the proxy plays, D still reaches the counter, after the game has ignored it.
  Play.ProxyActive = 1;
  sim->Key('D');
  sim->RunFor(0.1);
  EXPECT_TRUE(CounterOpen());
  EXPECT_EQ(Play.KeyCode, 'D');
  Play.ProxyActive = 0;
}

TEST_F(CounterDayTest, TheCashOutRecordsARegisteredPlayersDayButNotATestPlay) {
  AppFolder = folder->Path() + "\\";
  // Before the player's day the file is full: five days as long as the hall allows, the oldest of which makes room.
  std::vector<CounterDay> full;
  for (const char* date : {"2025-06-01 23:00", "2025-06-02 23:00", "2025-06-03 23:00", "2025-06-04 23:00",
                           "2025-06-05 23:00"})
    full.push_back({.date = date, .games = kMaxDayGames, .slump = std::vector<int>(kMaxDayGames, 0), .bonuses = {}});
  for (const char* name : {"", "もふ"}) {
    PlayerName = name;
    if (!PlayerName.empty()) { ASSERT_TRUE(AppendToHistory(full)); }
    OpenDay();
    Form2.Credits.Caption = "300";
    games.clear();
    EXPECT_EQ(CurrentCounterModel().pastDays.size(), PlayerName.empty() ? 0u : 5u);  // the window as it opens
    PlayUntil([this] { return games.size() == 5; });
    sim->Answer(vbYes);
    sim->Answer(vbOK);
    sim->Key(vkEscape);
    sim->RunFor(1);
    EXPECT_FALSE(Form2.Loaded());
    const History h = ReadHistory();
    ASSERT_EQ(h.days.size(), std::string(name).empty() ? 0u : 5u) << name;
    EXPECT_FALSE(CurrentCounterModel().dayRunning);
    // The finished day is listed once: as today's, not again among the past days, which are read again without
    // the day the file dropped.
    EXPECT_EQ(CurrentCounterModel().pastDays.size(), PlayerName.empty() ? 0u : 4u) << name;
  }
  const CounterDay d = ReadHistory().days.back();
  EXPECT_EQ(d.games, 5);
  EXPECT_EQ(d.setting, Lottery.TodaySetting);
  EXPECT_EQ(d.slump.size(), 5u);
  EXPECT_EQ(d.date.size(), 16u);
  // The save files are the save files' business: the counter wrote only its own file.
  EXPECT_TRUE(std::filesystem::exists(folder->Path() + "/soundMofuran/DataCounter.txt"));
  AppFolder.clear();
  PlayerName.clear();
}

}  // namespace
