#include "core/proxy_play.h"

#include "core/game_cycle.h"
#include "core/key_dispatch.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/play_stats.h"
#include "machine/player_record.h"
#include "machine/proxy_contract.h"
#include "machine/random.h"
#include "machine/reel_state.h"
#include "platform/convert.h"
#include "platform/events.h"
#include "platform/vk.h"
#include "sound/sound_bank.h"

namespace {

// The keys of the stops in the order StopOrder asks for.
struct StopKeys {
  int first, second, third;
};
constexpr int L = vkLeft, C = vkDown, R = vkRight;
constexpr StopKeys kStopOrders[] = {
    {L, C, R},  // 0
    {L, C, R},  // 1
    {L, R, C},  // 2
    {C, L, R},  // 3
    {C, R, L},  // 4
    {R, L, C},  // 5
    {R, C, L},  // 6
};

StopKeys StopKeysOf(int order) {
  if (order >= 0 && order <= 6) return kStopOrders[order];
  return {R, R, R};
}

struct Contract {
  float games;
  const char* name;
};
constexpr Contract kContracts[] = {
    {100, "もこじろう"}, {300, "もこたろう"}, {1000, "もこパパ"}, {5000, "にゃんすけ"}, {15000, "もこゴッド"},
};

// One fast-played game's counters (steps 1 to 7; the R key skips the reveal of step 8).
void FastPlayCounters() {
  Lottery.McGamesLeft -= 1;
  const std::int32_t before = Play.CreditCoins;
  Play.CreditCoins = CLng(Play.CreditCoins + static_cast<double>(Record.FastPlayCoins));
  Stats.CoinsOut += Play.CreditCoins - before;
  Form2.Credits.Caption = std::to_string(Play.CreditCoins);
  Form2.McCounter.Caption = RightChars(std::to_string(Lottery.McGamesLeft), Mc.McDigits);
  Play.TotalGames += 1;
  Form2.TotalGames.Caption = std::to_string(Play.TotalGames);
  Play.StreakGames += 1;
  Form2.McRunGames.Caption = std::to_string(Play.StreakGames);
  if (Play.StreakGames > Play.StreakGamesMax) {
    Play.StreakGamesMax = Play.StreakGames;
    if (Mc.StreakPending != 1) Form2.RunGamesBest.Caption = std::to_string(Play.StreakGamesMax) + " /";
  }
  if (Mc.StreakPending != 1) Form2.RunGamesNow.Caption = std::to_string(Play.StreakGames) + " 回";
}

void FinishProxyGame() {
  // The proxy ends each game with one more stop key after its last stop. Taken off the machine between the two,
  // it would leave a game whose stops are all pressed and that ends only at the player's next stop key, while Up
  // does nothing: end it as that key would have, once its reels are at rest.
  if (Form2.Timer1.Interval() == 0 || !AllStopsPressed()) return;
  WaitForStops();
  EndOfGame();
}

}  // namespace

bool ProxyNameOf(float contract, const char** name) {
  for (const Contract& c : kContracts)
    if (c.games == contract) {
      *name = c.name;
      return true;
    }
  return false;
}

void ProxyRequest() {
  if (!(Record.ProxyContract > 1)) return;
  if (Play.ProxyActive == 1) {
    EndProxyPlay();
    FinishProxyGame();
  } else if (Lottery.McGamesLeft >= 1 && Lottery.McGamesLeft <= 8) {
    PlayBankSound("error.wav");
    MsgBox(PlayerName + "は、" + Play.ProxyName + "に代打ちをサボられた！", vbOKOnly, "サボり！！");
  } else {
    StartProxyPlay();
  }
}

void StartProxyPlay() {
  if (PictureBox* portrait = Form2.PortraitOf(Record.ProxyContract)) portrait->BringToFront();
  Play.ProxyActive = 1;
  Form2.ProxyStatus.Caption = Play.ProxyName + "　代打ち中";
  Form2.ProxyStatus.Visible = true;
  Form2.Timer8.Interval = Play.ProxyInterval;
  Play.ProxyReady = 1;
}

void Timer8_Tick() {
  if (Play.ProxyReady == 0 && !AllReelsStopped()) return;
  const std::int16_t stopCount = Play.ProxyStopCount;
  bool stopKey = false;
  if (Play.ReadyForNextGame == 1) {
    Play.KeyCode = vkUp;
    Play.ProxyStopCount = 0;
    Play.ProxyReady = 1;
  } else {
    const StopKeys keys = StopKeysOf(Lottery.StopOrder);
    switch (Play.ProxyStopCount) {
      case 0:
        Play.KeyCode = static_cast<std::int16_t>(keys.first);
        Play.ProxyStopCount = 1;
        Play.ProxyReady = 0;
        break;
      case 1:
        Play.KeyCode = static_cast<std::int16_t>(keys.second);
        Play.ProxyStopCount = 2;
        Play.ProxyReady = 0;
        break;
      case 2:
        Play.KeyCode = static_cast<std::int16_t>(keys.third);
        Play.ProxyStopCount = 0;
        Play.ProxyReady = 0;
        break;
      default:
        break;
    }
    stopKey = stopCount >= 0 && stopCount <= 2;
  }
  MainLoopSub();
  // A stop the machine refused (the automatic bet's pause can bring the next tick inside the first 250 ms of the
  // game) is pressed again at the next tick; without this the proxy would wait for a reel that never stops.
  if (stopKey && Play.KeyCode == 0 && Play.ProxyActive == 1) {
    Play.ProxyStopCount = stopCount;
    Play.ProxyReady = 1;
  }
}

void FastPlayStep() {
  FastPlayCounters();
  if (Play.StreakGamesMax == 3000) RevealSetting();
}

void RKey() {
  if (Form2.Caption() == RevealedCaption() && Reels.CentreReelStopped == 1 && Reels.LeftReelStopped == 0 &&
      Lottery.McGamesLeft > 1)
    FastPlayCounters();
  if (Lottery.McGamesLeft == 19) RevealSetting();
  if (LabelNumber(Form2.GamesSinceMc.Caption()) == 82) RevealSetting();
}

void ProxyWalkOut() {
  if (!(Record.Savings.Yen() > 30000000.0 && Record.ProxyContract > 99)) return;
  if (RandomInt(50) == 7) {
    MsgBox("なんと、" + Play.ProxyName + "は疲れきってお家に帰ってしまった。", vbOKOnly, "契約切れ");
    Record.ProxyContract = 0;
  }
}
