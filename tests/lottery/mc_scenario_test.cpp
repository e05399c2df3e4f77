// A won MC played on the virtual clock by a player who presses Up whenever the machine is ready and stops the
// reels a little later: its premonitions, the reveal, the fanfare, the count-up and its games to the end jingle.
#include <algorithm>

#include "harness/harness.h"

namespace {

struct Game {
  double at;
  int coinsBefore;
  bool rebet;  // a replay re-bet this game: no coins taken
  int flag, pattern, phase, left;
  std::string lever;
  int coinsAfter;
  std::string counterAfter;
};

// The big counter after a game that left this many: the last three digits, "-n-" in the last seven, then empty.
std::string CounterShowing(int left) {
  if (left >= 8) return RightChars(std::to_string(left), 3);
  return left > 0 ? "-" + std::to_string(left) + "-" : "";
}

class McScenarioTest : public PresentationTest {
 protected:
  // Plays until an MC has ended for good, recording every game.
  void PlayThrough() {
    PlayWhileReady([this](double now) {
      if (!games.empty()) {
        games.back().coinsAfter = LabelNumber(Form2.Credits.Caption());
        games.back().counterAfter = Form2.McCounter.Caption();
      }
      const bool mcSeen = std::any_of(games.begin(), games.end(), [](const Game& g) { return g.phase == 1; });
      if (mcSeen && Mc.McEnding == 2 && Mc.StreakPending == 0) return false;
      games.push_back({now, LabelNumber(Form2.Credits.Caption()), Play.BetPlaced == 1, 0, 0, 0, 0, "", -1, ""});
      sim->ActAt(now + 0.01, [this] {
        Game& g = games.back();
        g.flag = Lottery.GameFlag;
        g.pattern = Lottery.StopPattern;
        g.phase = Mc.BonusPhase;
        g.left = Lottery.McGamesLeft;
        g.lever = Stem(Lottery.LeverSound);
      });
      return true;
    });
  }
  std::vector<Game> games;
};

TEST_F(McScenarioTest, AWonMcFromItsPremonitionsToTheEndJingle) {
  Form2.Credits.Caption = "100";
  // The MC is won and waits: a plain MC, two early premonition games before the reveal is attempted. Its rank
  // lets no streak test at its end continue it.
  Lottery.GameFlag = 1;
  Lottery.RevealCountdown = 4;
  Lottery.McLength = Lottery.McGamesLeft = 33;
  Lottery.McSteps = 0;
  Lottery.StreakRank = -30;
  PlayThrough();

  // Every game paid as its result says: a bet of 3 unless a replay re-bet it, 12 for the mame role.
  size_t reveal = games.size();
  for (size_t i = 0; i < games.size(); ++i) {
    const Game& g = games[i];
    const bool mame = g.flag == 3 || (g.flag == 1 && g.pattern == 3);
    EXPECT_EQ(g.coinsAfter, g.coinsBefore - (g.rebet ? 0 : 3) + (mame ? 12 : 0)) << "game " << i;
    if (g.flag == 1 && g.pattern == 1 && reveal == games.size()) reveal = i;
  }
  // Early premonition games (a display match on a replay may cut them short), then reveal attempts, with the
  // premonitions' own lever sounds.
  ASSERT_LT(reveal, games.size());
  ASSERT_GE(reveal, 1u);
  EXPECT_GE(games[0].pattern, 2);
  for (size_t i = 0; i < reveal; ++i) {
    EXPECT_EQ(games[i].flag, 1);
    EXPECT_TRUE(games[i].lever == "LeverOn0" || games[i].lever == "LeverOn1" || games[i].lever == "LeverOn2")
        << games[i].lever;
  }
  // The sevens: the fanfare, then the start sequence at 5.8 s and 5.8 s, and the music 7.5 s later (its tick may
  // wait out the 0.3 s pause of the first MC game's bet).
  const double fanfare = FirstAt("Fanfare3.wav", SoundAction::Play);
  ASSERT_GT(fanfare, 0);
  EXPECT_NEAR(FirstAt("fua0.wav", SoundAction::Play) - fanfare, 5.8, 0.05);
  EXPECT_NEAR(FirstAt("Fanfare2.wav", SoundAction::Play) - fanfare, 11.6, 0.05);
  EXPECT_NEAR(FirstAt("mc1.wav", SoundAction::Loop) - fanfare, 19.25, 0.2);

  // The MCs: a continuation won in the last games may cut one short for a streak game and the next MC; the last
  // one plays all its games. Each counts down on the big counter, the last seven with LeverOn4.
  std::vector<std::vector<const Game*>> mcs;
  for (size_t i = 0; i < games.size(); ++i) {
    if (games[i].phase != 1) continue;
    if (i == 0 || games[i - 1].phase != 1) mcs.emplace_back();
    mcs.back().push_back(&games[i]);
  }
  ASSERT_FALSE(mcs.empty());
  int bets = 0, lastSevens = 0, lastGames = 0;
  for (size_t k = 0; k < mcs.size(); ++k) {
    const int length = mcs[k].front()->left;
    if (k == 0) {
      EXPECT_EQ(length, 33);
    }
    if (k + 1 == mcs.size()) {
      EXPECT_EQ(mcs[k].size(), static_cast<size_t>(length));
    } else {
      EXPECT_LT(mcs[k].back()->left, 8) << "cut short only in its last games";
    }
    for (size_t i = 0; i < mcs[k].size(); ++i) {
      const Game& g = *mcs[k][i];
      EXPECT_EQ(g.left, length - static_cast<int>(i)) << "MC " << k << " game " << i;
      EXPECT_EQ(g.counterAfter, CounterShowing(g.left - 1)) << "MC " << k << " game " << i;
      EXPECT_EQ(g.lever == "LeverOn4", g.left < 8) << "MC " << k << " game " << i;
      bets += !g.rebet;
      lastSevens += g.left == 8;
      lastGames += g.left == 1;
    }
  }
  EXPECT_EQ(sound->Count("mcbet.wav", SoundAction::Play), bets);
  EXPECT_EQ(sound->Count("CD7Sound.wav", SoundAction::Loop), lastSevens);
  EXPECT_EQ(sound->Count("bubuu.wav", SoundAction::Play), lastGames);
  EXPECT_EQ(Form2.ChainNow.Caption(), std::to_string(mcs.size()) + " 回");
  EXPECT_EQ(LabelNumber(Form2.McCount.Caption()) + LabelNumber(Form2.PmcCount.Caption()), mcs.size());
  // Over for good: the end jingle cleared the counter and the chain.
  EXPECT_EQ(Mc.BonusPhase, 0);
  EXPECT_EQ(Form2.McCounter.Caption(), "");
  EXPECT_EQ(Form2.GamesSinceMc.Caption(), "0");
  EXPECT_EQ(Presentation.StreakMcCount, 0);
}

}  // namespace
