#include "core/play_state.h"

#include "core/machine_screen.h"
#include "core/play_stats.h"
#include "lottery/lottery_state.h"
#include "platform/convert.h"
#include "platform/events.h"
#include "records/player_record.h"
#include "reels/reel_state.h"

PlayState Play;
PlayStats Stats;

namespace {
const char kPlaying[] = "さんプレイ中♪　本日の設定　";

// Seconds since start on a clock that returns to 0 at midnight: a pause across midnight ends on time.
float Elapsed(float start) {
  float elapsed = static_cast<float>(Clock()) - start;
  if (elapsed < 0) elapsed += 86400.0f;
  return elapsed;
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
  while (Elapsed(Play.PauseStart) < Play.PauseSeconds) Sleep(1);
}

void PauseWithEvents(float seconds) {
  Play.PauseSeconds = seconds;
  Play.PauseStart = static_cast<float>(Clock());
  while (Elapsed(Play.PauseStart) < Play.PauseSeconds) {
    DoEvents();
    Sleep(2);
  }
}

Currency LabelMoney() { return ReadMoney(Form2.Label6.Caption()); }

std::int32_t LabelNumber(const std::string& caption) { return CLng(Val(caption)); }
