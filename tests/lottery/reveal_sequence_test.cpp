// The premonitions of a won MC: the early games, the reveal attempts, the announcement and the fanfare streak.
#include <map>
#include <set>
#include <tuple>

#include "core/game_cycle.h"
#include "harness/harness.h"
#include "lottery/internal_lottery.h"
#include "lottery/premonitions.h"
#include "lottery/presentation.h"

namespace {

const std::string kAnnounceStops = "StSound5 StSound75 StSound5", kPlainStops = "StSound1 StSound1 StSound1";

TEST_F(PresentationTest, EveryEarlyPremonitionHasItsSoundsAndPattern) {
  // By the draw: {stop sounds, lever sound, stop pattern, moved off the bottom line}.
  const std::tuple<const char*, const char*, int, bool> rows[19] = {
      {"StSound2 StSound3 StSound4", "LeverOn0", 4, false}, {"LeverOn1 LeverOn1 LeverOn1", "LeverOn1", 4, false},
      {"StSound2 StSound2 StSound2", "LeverOn2", 4, false}, {"StSound1 StSound1 StSound1", "LeverOn2", 4, false},
      {"StSound1 StSound1 StSound1", "LeverOn0", 2, false}, {"StSound2 StSound3 StSound2", "LeverOn0", 4, false},
      {"StSound2 StSound3 StSound2", "LeverOn0", 4, false}, {"StSound1 StSound1 StSound1", "LeverOn0", 3, true},
      {"StSound2 StSound2 StSound2", "LeverOn0", 4, false}, {"StSound2 StSound2 StSound2", "LeverOn0", 4, false},
      {"StSound2 StSound3 StSound4", "LeverOn0", 4, false}, {"StSound4 StSound4 StSound4", "LeverOn0", 4, false},
      {"StSound4 StSound4 StSound4", "LeverOn1", 4, false}, {"StSound4 StSound4 StSound4", "LeverOn0", 3, true},
      {"StSound2 StSound3 StSound4", "LeverOn0", 3, true},  {"StSound4 StSound4 StSound4", "LeverOn0", 2, false},
      {"StSound2 StSound3 StSound4", "LeverOn0", 2, false}, {"StSound4 StSound4 StSound4", "LeverOn0", 4, false},
      {"StSound2 StSound3 StSound4", "LeverOn0", 4, false},
  };
  for (int r = 0; r <= 18; ++r) {
    const auto& [stops, lever, pattern, offBottomLine] = rows[r];
    Lottery.RevealCountdown = 6;
    Lottery.StopGroup = 5;
    Presentation.DigitalTease = 0;
    Form2.Timer9.Interval = 0;
    sound->ClearEvents();
    QueueUniforms({Gives(r, 18)});
    RevealSequence();
    EXPECT_EQ(StopSounds(), stops) << r;
    EXPECT_EQ(Stem(Lottery.LeverSound), lever) << r;
    EXPECT_EQ(Lottery.StopPattern, pattern) << r;
    EXPECT_EQ(Lottery.StopGroup, offBottomLine ? 4 : 5) << r;
    EXPECT_EQ(Lottery.RevealCountdown * 10 + Premonition.RevealStage, 50) << r;
    // Only r = 12 rolls the display as a tease, to the degi4 loop.
    const bool tease = Presentation.DigitalTease == 1 && Form2.Timer9.Interval() > 0 &&
                       sound->Count("degi4.wav", SoundAction::Loop) == 1;
    EXPECT_EQ(tease, r == 12) << r;
  }
}

TEST_F(PresentationTest, AnMcWonWithACountdownOfTwoCanBeRevealedInItsOwnGame) {
  Record.SpectaclesItem = 10;  // no picture reloads in the long run
  constexpr int kWins = 4000;
  long revealed = 0;
  for (int i = 0; i < kWins; ++i) {
    // The pull-back mode's cycle game always wins the MC.
    Lottery.LotteryMode = 3;
    Lottery.CycleLength = 2;
    Lottery.CycleLeft = 1;
    Lottery.RevealCountdown = Premonition.RevealStage = 0;
    InternalLottery();
    ASSERT_EQ(Lottery.GameFlag, 1);
    const int countdown = Lottery.RevealCountdown, stage = Premonition.RevealStage, pattern = Lottery.StopPattern;
    if (pattern == 1) {
      ++revealed;
      ASSERT_EQ(countdown * 10 + stage, 2);
    } else if (stage == 1) {
      ASSERT_EQ(countdown * 10 + pattern, 20);  // a countdown of 2 attempted the reveal at once
    } else {
      ASSERT_TRUE(countdown >= 2 && countdown <= 6 && pattern >= 2) << countdown << " " << pattern;
    }
  }
  ExpectShare(revealed, kWins, 0.1 * 0.5, "revealed in the game won");
}

TEST_F(PresentationTest, RevealAttemptsFromStageZeroAndOne) {
  constexpr int kGames = 20000;
  long fromZero = 0, announced = 0;
  for (int i = 0; i < kGames; ++i) {
    Lottery.RevealCountdown = 2;
    Premonition.RevealStage = Lottery.StopPattern = Mc.BonusPhase = 0;
    Form2.PremonitionLine.Caption = "";
    Form2.Picture37.Visible = true;
    Form2.Timer9.Interval = 0;
    RevealSequence();
    const std::string stops = StopSounds(), lever = Stem(Lottery.LeverSound);
    if (Lottery.StopPattern != 1) {
      ASSERT_EQ(Premonition.RevealStage * 10 + Lottery.RevealCountdown, 12);
      continue;
    }
    ++fromZero;
    ASSERT_EQ(Premonition.RevealStage * 10 + Lottery.RevealCountdown, 20);
    if (Mc.BonusPhase == 2) {
      ++announced;
      ASSERT_TRUE(Form2.PremonitionLine.Caption() == "123" && Lottery.StopOrder == 1 && lever == "LeverOn3");
      ASSERT_FALSE(Form2.Picture37.Visible());
      ASSERT_TRUE(stops == kAnnounceStops || stops == "StSound4 StSound7ni StSound4") << stops;
      ASSERT_EQ(Form2.Timer9.Interval() > 0, stops != kAnnounceStops) << "the 7ni announcement rolls the display";
    } else {
      ASSERT_EQ(lever, "LeverOn0");
      ASSERT_TRUE(stops == "StSound2 StSound7e StSound4" || stops == kPlainStops) << stops;
    }
  }
  ExpectShare(fromZero, kGames, 0.5, "reveals from stage 0");
  ExpectShare(announced, kGames, 5.0 / 13, "announcements");

  long fromOne = 0;
  std::map<std::string, long> sets;
  for (int i = 0; i < kGames; ++i) {
    Lottery.RevealCountdown = 2;
    Premonition.RevealStage = 1;
    RevealSequence();
    if (Lottery.StopPattern == 1) {
      ++fromOne;
      ++sets[StopSounds()];
    } else {
      ASSERT_TRUE(Lottery.StopPattern == 2 || Lottery.StopPattern == 3);
      ASSERT_EQ(Premonition.RevealStage, 1);
    }
  }
  ExpectShare(fromOne, kGames, 0.85, "reveals from stage 1");
  for (const char* seven : {"StSound1 StSound7 StSound1", "StSound2 StSound7c StSound2", "StSound4 StSound7ni StSound4",
                            "StSound2 StSound7e StSound2"})
    ExpectShare(sets[seven], fromOne, 1.0 / 11, seven);
  ExpectShare(sets[kPlainStops], fromOne, 7.0 / 11, "plain reveals");

  // A streak game with the MC counter on screen: the MC's voice on every reveal, LeverOn1, and a miss sends the
  // next attempt back to stage 0 with the counter of games since the MC at 1.
  Form2.McCounter.Caption = "-5-";
  Mc.StreakPending = 1;
  for (int i = 0; i < 200; ++i) {
    Lottery.RevealCountdown = 2;
    Premonition.RevealStage = 1;
    Form2.GamesSinceMc.Caption = "9";
    RevealSequence();
    ASSERT_EQ(Stem(Lottery.LeverSound), "LeverOn1");
    if (Lottery.StopPattern == 1)
      ASSERT_EQ(StopSounds(), kAnnounceStops);
    else
      ASSERT_TRUE(Premonition.RevealStage == 0 && Form2.GamesSinceMc.Caption() == "1");
  }
}

TEST_F(PresentationTest, AStreakGameBecomesAFanfareStreakOnItsDraw) {
  for (bool item : {false, true})
    for (int u : {14, 15, 16, 19, 20, 21})
      for (int t : {7, 2}) {  // a reveal, and a replay near-miss
        const std::string what = std::to_string(item) + " u=" + std::to_string(u) + " t=" + std::to_string(t);
        Mc.StreakPending = 1;
        Mc.FanfareStreak = Mc.BonusPhase = 0;
        Premonition.RevealStage = 1;
        Lottery.RevealCountdown = 2;
        Lottery.McLength = 33;
        Record.FanfareX5Item = item ? 17 : 16;
        Record.FanfareTotal = 0;
        Mc.FanfareCount = 0;
        Form2.FanfareCount.Caption = "0";
        sound->ClearEvents();
        for (auto& stop : Lottery.StopSounds) stop = "soundMofuran\\StSound4.wav";  // the previous game's
        ClearQueuedUniforms();
        // t, then (on a reveal) v = 5 for the plain set, then u, then table C's x: 501 gives 555, 0 gives 333.
        QueueUniforms({Near(t, 10, 2)});
        if (t == 7) QueueUniforms({Near(5, 11, 1)});
        QueueUniforms({Gives(u, 100), Gives(item ? 501 : 0, 1000)});
        RevealSequence();
        const bool streak = u == 15 || (item && u >= 15 && u <= 19);
        EXPECT_EQ(Mc.FanfareStreak, streak ? 1 : 0) << what;
        const std::string lever = Stem(Lottery.LeverSound);
        if (!streak) {
          EXPECT_EQ(lever, u == 14 ? "LeverOn2" : u == 21 && t == 7 ? "LeverOn3" : "LeverOn0") << what;
          EXPECT_EQ(Mc.BonusPhase, u == 21 && t == 7 ? 2 : 0) << what;
          EXPECT_EQ(Lottery.McLength, 33) << what;
          // A near-miss closes on plain stops; a reveal keeps its own unless the MC is announced.
          if (u >= 16) {
            EXPECT_EQ(StopSounds(), u == 21 && t == 7 ? kAnnounceStops : kPlainStops) << what;
          }
          continue;
        }
        EXPECT_EQ(lever, "LeverOn1") << what;
        EXPECT_EQ(Lottery.McLength, item ? 555 : 333) << what;
        EXPECT_EQ(Lottery.StreakRank, item ? 4 : -2) << what;
        // Only the revealed streak counts as an entry; the other plays the lever sound and plain stops.
        EXPECT_EQ(Played(), t == 7 ? "1Gren" : "LeverOn0") << what;
        EXPECT_EQ(StopSounds(), kPlainStops) << what;
        EXPECT_EQ(Record.FanfareTotal, t == 7 ? 1.0f : 0.0f) << what;
        EXPECT_EQ(Form2.FanfareCount.Caption(), t == 7 ? "1" : "0") << what;
      }
}

TEST_F(PresentationTest, ARunningFanfareStreakDrawsAPremiumLengthAtEveryStreakGame) {
  Mc.FanfareStreak = 1;
  std::set<int> lengths;
  int revealed = 0;
  for (int i = 0; i < 400; ++i) {
    Mc.StreakPending = Premonition.RevealStage = 1;
    Lottery.RevealCountdown = 2;
    Lottery.McLength = 33;
    RevealSequence();
    ASSERT_TRUE(Lottery.McLength >= 111 && Lottery.McGamesLeft == Lottery.McLength) << Lottery.McLength;
    ASSERT_EQ(Stem(Lottery.LeverSound), "LeverOn1");
    lengths.insert(Lottery.McLength);
    revealed += Lottery.StopPattern == 1;
  }
  EXPECT_GE(lengths.size(), 8u);
  EXPECT_EQ(Record.FanfareTotal, static_cast<float>(revealed));
  EXPECT_EQ(Form2.FanfareCount.Caption(), std::to_string(revealed));
}

TEST_F(PresentationTest, AnAnnouncedMcShowsItsLengthOnTheCounterForTheChoicesThatReadIt) {
  // A 1999-game PMC waits and its reveal is announced.
  Lottery.GameFlag = 1;
  Lottery.McLength = Lottery.McGamesLeft = 1999;
  Lottery.RevealCountdown = 2;
  Premonition.RevealStage = 0;
  QueueUniforms({Gives(8, 13)});
  RevealSequence();
  ASSERT_EQ(Mc.BonusPhase * 10 + Lottery.StopPattern, 21);
  ASSERT_EQ(Form2.McCounter.Caption(), "");

  // The sevens stand: the end of the game counts no game but puts the won length up, with the bell of its 999.
  Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 1;
  Play.LeftStopPressed = Play.CentreStopPressed = Play.RightStopPressed = 1;
  Presentation.PresentationPending = 1;
  sim->ActAt(sim->Elapsed() + 0.3,
             [] { Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 0; });
  EndOfGame();
  EXPECT_EQ(Played().substr(0, 13), "Fanfare3,Bell");
  EXPECT_EQ(Lottery.McGamesLeft, 1999);
  EXPECT_EQ(Form2.McCounter.Caption(), "999");

  // What reads the counter now sees it: a streak game's lever, a reveal's stops and a fanfare-streak fanfare.
  Mc.StreakPending = 1;
  Lottery.RevealCountdown = 2;
  Premonition.RevealStage = 1;
  QueueUniforms({Near(7, 10, 2), Near(1, 11, 1)});
  RevealSequence();
  EXPECT_EQ(Stem(Lottery.LeverSound) + " " + StopSounds(), "LeverOn1 " + kAnnounceStops);
  Mc.FanfareStreak = 1;
  sound->ClearEvents();
  Presentation.PresentationPending = 1;
  FunFun();
  EXPECT_EQ(Played(), "Fanfare5");
}

}  // namespace
