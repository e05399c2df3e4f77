#include "machine/play_state.h"

#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/play_stats.h"
#include "machine/player_record.h"
#include "machine/reel_state.h"
#include "platform/convert.h"
#include "platform/events.h"

PlayState Play;
PlayStats Stats;

namespace {
const char kPlaying[] = "さんプレイ中♪　本日の設定　";

// The pause's time is up at this clock reading; the clock returns to 0 at midnight, so a pause across midnight
// ends on time. Once up it stays up for the rest of the day (a pause is far shorter than a day), which lets a
// virtual clock find the reading that ends it without every pass.
bool PauseOver(double clock) {
  float elapsed = static_cast<float>(clock) - Play.PauseStart;
  if (elapsed < 0) elapsed += 86400.0f;
  return !(elapsed < Play.PauseSeconds);
}
}  // namespace

std::string HiddenCaption() { return PlayerName + kPlaying + "？"; }

std::string RevealedCaption() { return PlayerName + kPlaying + std::to_string(Lottery.TodaySetting); }

std::string SpectaclesCaption() { return RevealedCaption() + "　究極の設定看破メガネ使用！"; }

void RevealSetting() { Form2.SetCaption(RevealedCaption()); }

std::string SpeedLine() { return "：「Y・U」　デジ速度調節　『" + SingleText(Record.DigitalSpeed) + "』"; }

void Pause(float seconds) {
  Play.PauseSeconds = seconds;
  Play.PauseStart = static_cast<float>(Clock());
  WaitOnClock(1, false, PauseOver);
}

// The pause start and length are read at each pass: a pause nested in a handler changes them for this one too.
void PauseWithEvents(float seconds) {
  Play.PauseSeconds = seconds;
  Play.PauseStart = static_cast<float>(Clock());
  WaitOnClock(2, true, PauseOver);
}

Currency LabelMoney() { return ReadMoney(Form2.Money.Caption()); }

std::int32_t LabelNumber(const std::string& caption) { return CLng(Val(caption)); }
