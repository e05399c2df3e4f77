#include "tools/sim/auto_player.h"

#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/play_state.h"
#include "machine/reel_state.h"
#include "platform/events.h"
#include "platform/sim/sim_backend.h"
#include "platform/vk.h"
#include "tools/sim/sim_workers.h"

namespace {

// The keys of each stop order, left to right as the machine asks; an order out of range stops left to right.
constexpr int kStopOrders[7][3] = {{vkLeft, vkDown, vkRight}, {vkLeft, vkDown, vkRight}, {vkLeft, vkRight, vkDown},
                                   {vkDown, vkLeft, vkRight}, {vkDown, vkRight, vkLeft}, {vkRight, vkLeft, vkDown},
                                   {vkRight, vkDown, vkLeft}};
constexpr std::int64_t kActEveryUs = 20'000;  // the player looks at the machine every 20 ms
constexpr double kPatience = 60;       // seconds at rest without a lever-on before the hidden key is tried
constexpr double kLeverTaken = 5;      // a lever-on whose reels have not started by then was not taken
constexpr double kNoProgress = 3600;   // an hour of virtual time without a game ending means the game is stuck
const char* const kClosingNotice = "残念ながら閉店です。";

bool StopPressed(int key) {
  if (key == vkLeft) return Play.LeftStopPressed != 0;
  if (key == vkDown) return Play.CentreStopPressed != 0;
  return Play.RightStopPressed != 0;
}

}  // namespace

AutoPlayer::AutoPlayer(SimBackend& sim, std::uint32_t seed, std::ostream* trace)
    : sim_(sim), rng_(seed), trace_(trace) {}

void AutoPlayer::PlayDay(long games) {
  gamesToPlay_ = games;
  started_ = 0;
  gameOpen_ = false;
  ending_ = false;
  refusedSince_ = -1;
  sim_.ClearBoxes();
  // The player acts from inside whatever the game is doing, as a player at the keyboard does: a game with a result
  // keeps its line flashing (and the stop keys' waits running) until the next lever-on, so the game never returns
  // to the top level between games.
  sim_.WatchIn(0, Look, this);
  lastProgress_ = sim_.Elapsed();
  // The game spends the day inside its own waits, so the player, not this loop, notices a machine that is stuck.
  sim_.RunUntil([] { return !Form2.Loaded(); }, 1e12);
}

void AutoPlayer::GameEnded() {
  gameOpen_ = false;
  lastProgress_ = sim_.Elapsed();
  ++played_;
  if (!trace_) return;
  *trace_ << Play.TotalGames << '\t' << Lottery.TodaySetting << '\t' << Lottery.GameFlag << '\t' << Lottery.StopGroup
          << '\t' << Lottery.StopPattern << '\t' << Lottery.StopOrder << '\t' << Reels.LeftReelPos << '\t'
          << Reels.CentreReelPos << '\t' << Reels.RightReelPos << '\t' << Play.CreditCoins << '\t'
          << Play.MoneyOnHand.units / 10000 << '\t' << Lottery.McGamesLeft << '\n';
}

void AutoPlayer::PressNextStop(double now) {
  if (nextStopAt_ < 0) nextStopAt_ = now + within_(rng_);
  if (now < nextStopAt_) return;
  const int order = (Lottery.StopOrder >= 0 && Lottery.StopOrder <= 6) ? Lottery.StopOrder : 0;
  int key = stopIndex_ < 3 ? kStopOrders[order][stopIndex_] : 0;
  // A stop lost to another in the same pass: the missing one again.
  if (key == 0 || StopPressed(key)) {
    key = 0;
    for (int k : {vkLeft, vkDown, vkRight})
      if (!StopPressed(k)) {
        key = k;
        break;
      }
  }
  if (key != 0) sim_.Key(key);
  ++stopIndex_;
  nextStopAt_ = now + within_(rng_);
}

void AutoPlayer::Look(void* player) { static_cast<AutoPlayer*>(player)->Act(); }

void AutoPlayer::Act() {
  ThrowIfStopped();
  if (!Form2.Loaded() || Play.ScreenClosed == 1) return;
  const double now = sim_.Elapsed();
  if (now - lastProgress_ > kNoProgress)
    throw SimStuck(ending_ ? "the day did not end" : "no game ended in an hour of play");
  sim_.WatchIn(kActEveryUs, Look, this);
  // The hall's closing notice answers a lever-on with the machine at rest.
  bool closed = false;
  for (const auto& box : sim_.Boxes()) closed = closed || box.text == kClosingNotice;
  sim_.ClearBoxes();
  if (closed) gameOpen_ = false;
  if (gameOpen_) {
    // The bet is placed before the reels start: a game has ended once its reels were seen turning and all stopped.
    if (!AllReelsStopped()) {
      if (!spinning_) ++started_;
      spinning_ = true;
    } else if (spinning_) {
      GameEnded();
    } else if (now - leverAt_ > kLeverTaken) {
      gameOpen_ = false;  // the machine did not take the lever: try again
    }
  }
  if (gameOpen_) {
    if (Play.StopsEnabled == 1 && Form2.Timer1.Interval() != 0) PressNextStop(now);
    return;
  }
  if (ending_) return;
  if (started_ >= gamesToPlay_ || closed) {
    // The day ends: the proxy player is sent home first, then Esc and Yes to the cash-out.
    ending_ = true;
    if (Play.ProxyActive == 1) sim_.Key(vkF6);
    sim_.Answer(vbYes);
    sim_.Key(vkEscape);
    return;
  }
  if (Play.PlayAccepted == 1 && Play.ReadyForNextGame == 1 && AllStopsPressed()) {
    sim_.Key(vkUp);
    leverAt_ = now;
    gameOpen_ = true;
    spinning_ = false;
    stopIndex_ = 0;
    nextStopAt_ = -1;
    refusedSince_ = -1;
  } else if (refusedSince_ < 0) {
    refusedSince_ = now;
  } else if (now - refusedSince_ > kPatience) {
    sim_.Key(vkF8);  // a presentation that never ends: the hidden key moves the machine on
    refusedSince_ = -1;
  }
}
