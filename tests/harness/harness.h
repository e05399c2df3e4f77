// What every test that drives the game starts from: a back end (the virtual one, or Qt's offscreen windows), a
// sound recorder, a scratch folder, the game's state as a new launch finds it, and at the end every hook a test
// may have replaced put back.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/day.h"
#include "harness/scratch_folder.h"
#include "machine/flash_state.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/player_record.h"
#include "machine/random.h"
#include "machine/reel_state.h"
#include "platform/convert.h"
#include "platform/sim/sim_backend.h"
#include "platform/vk.h"
#include "records/name_text.h"
#include "records/save_files.h"
#include "records/save_store.h"
#include "shop/shop_form.h"
#include "sound/recording_sound.h"
#include "sound/sound_bank.h"
#include "title/title_form.h"
#include "title/title_screen.h"

class QtBackend;

// Every state of the game back to a new launch's, and every rule a test may bend: the one place a test starts over.
void ResetGameState();

// Where a group of tests starts.
struct Start {
  bool realBackend = false;        // Qt's windows instead of the virtual back end
  double timeOfDay = 12 * 3600.0;  // where the virtual clock starts
  bool filledBank = false;         // a sound bank without files: for tests that ask which sounds play when
  enum class Folder { None, Working, Program };
  // Working: a scratch working folder. Program: the scratch folder is the program's, its sound folder (holding
  // the save files) the working folder, with the few sounds the title screen and the shop play, this long.
  Folder folder = Folder::None;
  double waveSeconds = 0;
};

class GameTest : public ::testing::Test {
 protected:
  explicit GameTest(Start start = {});
  ~GameTest() override;
  void SetUp() override;
  void TearDown() override;

  // The save files as a save of this record writes them, and the record they hold now.
  static void Store(const PlayerRecord& r) { ASSERT_TRUE(WriteSavePair(EncodeDataFiles(r), EncodeVbdsnd(r))); }
  static PlayerRecord Stored();
  // A registered player with these savings and nothing bought.
  static PlayerRecord Player(double yen, const std::string& name = "もふ");
  int BoxesSaying(const std::string& text) const;
  // The text and the title of a message box shown (-1: the last one).
  void ExpectBox(int i, const std::string& text, const std::string& title) const;
  // Opens the machine screen as the title screen's Start does.
  static void OpenDay() {
    Play.ScreenClosed = 0;
    StartDay();
  }
  // A key, and a moment for its dispatch.
  void Press(int key) {
    sim->Key(key);
    sim->RunFor(0.001);
  }
  // Up at this time, the game given this result after its lottery.
  void LeverAt(double at, std::int16_t flag);
  // The three stop keys, left, centre and right, from this time on at this pace.
  void StopsAt(double first, double gap);
  // Esc at the machine answered yes, and this long for the day to end.
  void CashOut(double seconds) {
    sim->Answer(vbYes);
    sim->Key(vkEscape);
    sim->RunFor(seconds);
  }
  // A player who, whenever the machine is ready and a second has passed since the last Up, asks next(now): true
  // plays a game (Up, then right, left and centre 0.6, 0.7 and 0.8 s later), false ends the play.
  void PlayWhileReady(const std::function<bool(double)>& next, double limit = 20000);
  // Stands in for the reel ticks while they are not under test: a reel stops on the first tick after its stop
  // key was accepted.
  static void StopReelsOnTheirKeys();
  // The uniform number that makes RandomInt(n) give v.
  static double Gives(int v, int n) { return v == 0 ? 0.1 / n : (v - 0.1) / n; }
  // The files that got this sound action, in order; the virtual time of a file's first such action, or -1.
  std::vector<std::string> Sounds(SoundAction action) const;
  double FirstAt(const std::string& file, SoundAction action) const;

  std::unique_ptr<SimBackend> sim;
  std::unique_ptr<QtBackend> qt;
  std::unique_ptr<RecordingSound> sound;
  std::unique_ptr<ScratchFolder> folder;

 private:
  Start start_;
  std::vector<std::pair<Timer*, std::function<void()>>> ticks_;
};

// A day at the machine: 200,000 yen saved, the reels and the proxy at their usual pace, setting 3; the machine
// screen opened when asked.
class MachineTest : public GameTest {
 protected:
  explicit MachineTest(bool openDay = false, double timeOfDay = 12 * 3600.0, Start::Folder folder = {})
      : GameTest({.timeOfDay = timeOfDay, .filledBank = true, .folder = folder}), openDay_(openDay) {}
  void SetUp() override;

 private:
  bool openDay_;
};

// The lottery: the machine screen loaded (its timers tick) but no day opened, at setting 1.
class LotteryTest : public GameTest {
 protected:
  LotteryTest() : GameTest({.timeOfDay = 10 * 3600.0, .filledBank = true}) {}
  void SetUp() override;
};

// The presentation: the machine screen open, no sound heard yet.
class PresentationTest : public MachineTest {
 protected:
  PresentationTest() : MachineTest(true) {}
  void SetUp() override {
    MachineTest::SetUp();
    sound->ClearEvents();
  }
  // The bank sounds played since the last clear, as "a,b,c" without the extension.
  std::string Played() const;
  static std::string Stem(const std::string& path);
  static std::string StopSounds();
  // The nearest integer to a * u + b gives v.
  static double Near(int v, double a, double b);
};

// The save files in a scratch working folder.
class RecordsTest : public GameTest {
 protected:
  RecordsTest() : GameTest({.folder = Start::Folder::Working}) {}
};

// The title screen and the shop: the program's folder a scratch folder of the test's own.
class TitleTest : public GameTest {
 protected:
  TitleTest() : GameTest({.folder = Start::Folder::Program, .waveSeconds = 0.2}) {}
  // Opens the title screen as the program does, and lets what the player scripted happen.
  static void Open() {
    Form1.Unload();
    Form1.Show();
  }
  // The same, on the save files of this record.
  static void Open(const PlayerRecord& r) {
    Store(r);
    Open();
  }
  void Run() { sim->RunFor(0.05); }
  void Click(Element& e) {
    sim->Click(e);
    Run();
  }
  // A click on a button whose question is answered so.
  void ClickAnswering(Element& button, int answer) {
    sim->Answer(answer);
    Click(button);
  }
  // An option chosen, then a button whose question is answered so.
  void Buy(Element& option, Element& button, int answer = vbYes) {
    Click(option);
    ClickAnswering(button, answer);
  }
};

// A known player: 1,234,567 yen, records, every item, a Japanese name.
PlayerRecord KnownRecord();
// Two records are the same when both files would hold the same bytes.
bool Same(const PlayerRecord& a, const PlayerRecord& b);

// A share measured over n trials lies within 4 standard errors of p.
inline void ExpectShare(long hits, long n, double p, const std::string& what) {
  const double share = static_cast<double>(hits) / static_cast<double>(n);
  EXPECT_NEAR(share, p, 4 * std::sqrt(p * (1 - p) / static_cast<double>(n))) << what << " over " << n << " trials";
}
