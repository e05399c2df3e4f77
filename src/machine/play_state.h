// The play state of a day at the machine: one process-wide record, the machine screen's shared operations.
#pragma once
#include <cstdint>
#include <string>

#include "machine/money.h"
#include "machine/reel_state.h"

struct PlayState {
  std::int16_t KeyCode = 0;          // the key being dispatched (virtual-key code)
  std::uint8_t KeyState[256] = {};   // only entry 38 (Up) is used, during a lever-on
  std::int32_t CreditCoins = 0;      // shown as the credits
  Currency MoneyOnHand;              // shown as the money
  std::int32_t TotalGames = 0;       // shown as the total games; counts on across the days of one run
  std::int32_t ClosingExtension = 0;
  std::int16_t BetPlaced = 0;
  std::int16_t ReadyForNextGame = 0;
  std::int16_t StopsEnabled = 0;
  std::int16_t LeftStopPressed = 0, CentreStopPressed = 0, RightStopPressed = 0;
  std::int16_t LeverOn = 0;
  std::int16_t PlayAccepted = 0;
  std::int16_t ScreenClosed = 0;
  std::int32_t StreakGames = 0;
  std::int32_t StreakGamesMax = 0;
  std::int16_t StopSoundIndex = 0;
  std::int16_t SavedReelStep = 0;
  float PauseSeconds = 0;
  float PauseStart = 0;

  // Proxy play.
  std::int16_t ProxyActive = 0;
  std::int16_t ProxyReady = 0;
  std::int16_t ProxyStopCount = 0;
  std::int16_t ProxyGames = 0;
  std::int16_t ContractGames = 0;
  std::string ProxyName;
  std::int16_t ProxyInterval = 0;

  // The integer value of the digital display speed (the speed itself is kept in the player record).
  std::int16_t DigitalSpeedSteps = 0;
};

extern PlayState Play;

// The three forms of the machine screen's caption.
std::string HiddenCaption();
std::string RevealedCaption();
std::string SpectaclesCaption();
// Shows the day's setting in the caption.
void RevealSetting();
// The key help line that shows the digital display speed.
std::string SpeedLine();

// A busy pause that processes no window events (it sleeps between clock reads).
void Pause(float seconds);
// A pause that processes pending window events and sleeps 2 ms on each pass.
void PauseWithEvents(float seconds);

// Asked on every pass of the game's waits, so kept inline.
inline bool AllReelsStopped() {
  return Reels.LeftReelStopped + Reels.CentreReelStopped + Reels.RightReelStopped == 3;
}
inline bool AllStopsPressed() { return Play.LeftStopPressed + Play.CentreStopPressed + Play.RightStopPressed == 3; }

// The money on hand and the counters held in the machine screen's labels, read back as the game reads them.
Currency LabelMoney();
std::int32_t LabelNumber(const std::string& caption);
