// mofuran: the game. It opens on the title screen and ends when its last window closes.
#include <QApplication>

#include "app/program.h"
#include "counter/qt/qt_counter_window.h"
#include "platform/qt/qt_backend.h"
#include "sound/sdl_sound.h"
#include "sound/sound_bank.h"
#include "title/one_copy.h"
#include "title/title_form.h"
#include "title/title_screen.h"

int main(int argc, char** argv) {
  // The sound device opens while Qt starts; the title screen's load waits for it where it always opened it.
  DefaultSdlSound().OpenInBackground();
  QApplication app(argc, argv);
  QtBackend backend;
  // A second copy on the same save files says so and ends here.
  if (!TakeSaveFolder()) return 0;
  AssembleProgram();
  QtCounterWindow counter;
  InstallCounterView(&counter);
  Form1.Show();
  const int status = backend.Run();
  InstallCounterView(nullptr);
  // A window closed with its close box leaves the sound bank to be released here.
  if (!SoundBankReleased()) ReleaseSoundBank();
  return status;
}
