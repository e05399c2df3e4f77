// mofuran: the game.
#include <QApplication>

#include "core/day.h"
#include "core/play_state.h"
#include "platform/qt/qt_backend.h"
#include "records/player_record.h"
#include "reels/reel_state.h"
#include "sound/sound_bank.h"
#include "sound/sound_library.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QtBackend backend;
  SetAppFolder();
  EnterSoundFolder();
  if (dsInit(nullptr) != 0) SoundSet();
  // Until the title screen opens the day, the machine opens directly as an unnamed test play with the savings a
  // new player starts with.
  Reels.ReelStep = 15;
  Record.Savings = Currency::FromYen(200000);
  Play.ProxyInterval = 260;
  Play.ScreenClosed = 0;
  StartDay();
  const int status = backend.Run();
  ReleaseSoundBank();
  return status;
}
