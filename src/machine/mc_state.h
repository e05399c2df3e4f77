// The MC bonus state, the presentation state and the premonition state.
#pragma once
#include <cstdint>
#include <string>

struct McState {
  std::int16_t BonusPhase = 0;  // 0 normal, 1 MC running, 2 MC announced
  std::int32_t McStep = 0;
  std::int16_t McCountStep = 0;
  std::int32_t McRollCount = 0;
  std::int16_t McRollExtra = 0, McRollOffset = 0;
  std::int16_t McEnding = 0;  // 0 running, 1 end jingle pending, 2 over
  std::int16_t McDigits = 3;
  std::int32_t BestMcLength = 0;
  std::int16_t StreakPending = 0;
  std::int16_t FanfareStreak = 0;
  std::uint16_t StreakStock = 0;
  std::int16_t FanfareCount = 0;
};

struct PresentationState {
  std::string DigitalTarget;
  std::int16_t DigitalOutcome = 0;
  std::int16_t DigitalTease = 0;
  std::int16_t BellCue = 0;
  std::int16_t StreakMcCount = 0;
  std::int16_t StreakMcCountMax = 0;
  std::int16_t PresentationPending = 0;
};

struct PremonitionState {
  std::int16_t RevealStage = 0;  // 0 not attempted, 1 attempting, 2 revealed
};

extern McState Mc;
// The count-up tempo chosen on the title screen: milliseconds per roll step of a PMC's count-up (47, 46.2, 45 or
// 44; the timer takes the nearest whole millisecond).
extern float FuaTempo;
extern PresentationState Presentation;
extern PremonitionState Premonition;
