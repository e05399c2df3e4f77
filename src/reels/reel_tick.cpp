#include "machine/play_state.h"
#include "machine/reel_state.h"
#include "platform/picture.h"
#include "reels/reels.h"

namespace {

struct ReelFields {
  std::int16_t& pos;
  std::int16_t& offset;
  std::int16_t& stopped;
  const std::int16_t& pressed;
};

ReelFields FieldsOf(int reel) {
  if (reel == 0) return {Reels.LeftReelPos, Reels.LeftReelOffset, Reels.LeftReelStopped, Play.LeftStopPressed};
  if (reel == 1)
    return {Reels.CentreReelPos, Reels.CentreReelOffset, Reels.CentreReelStopped, Play.CentreStopPressed};
  return {Reels.RightReelPos, Reels.RightReelOffset, Reels.RightReelStopped, Play.RightStopPressed};
}

}  // namespace

void ReelTick(int reel) {
  ReelFields r = FieldsOf(reel);
  const bool wasStopped = r.stopped == 1;
  // 1. A spinning reel moves on to the next position after its last step in this one.
  if (!wasStopped && r.offset >= 60 - Reels.ReelStep) {
    r.offset = 0;
    r.pos = r.pos < 21 ? r.pos + 1 : 1;
  }
  // 2. The pictures of this tick (none when nothing is drawn).
  ChooseCells(reel);
  // 3. Step on (a stopped reel's offset keeps growing until it wraps).
  r.offset += Reels.ReelStep;
  // 4. Once per position, in its last tick: stop here if the stop key was pressed and the result allows it.
  if (!wasStopped && r.pressed == 1 && r.offset == 60 - Reels.ReelStep) StopDecision(reel);
  // 5.
  if (r.offset > 60) r.offset = 0;
  // 6.
  ComposeReel(reel);
}
