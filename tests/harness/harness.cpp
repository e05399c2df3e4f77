#include "harness/harness.h"

#include <QApplication>
#include <algorithm>
#include <filesystem>

#include "app/program.h"
#include "core/run_state.h"
#include "counter/counter_view.h"
#include "harness/wave_files.h"
#include "harness/windows.h"
#include "machine/play_stats.h"
#include "platform/picture.h"

namespace {

// The program's folder while a test runs; the title screen looks for it at each load.
std::string& ScratchProgramFolder() {
  static std::string folder;
  return folder;
}

}  // namespace

void ResetGameState() {
  AssembleProgram();
  ResetRunState();
  Stats = PlayStats{};
  CheckCopy = DataFilesCopy{};
  SaveFaults = SaveInterruption{};
  SetCodePageConverterAvailable(true);
  ClearQueuedUniforms();
  PixelDrawingOff = false;
  Form1.Text4.Text = "";
}

GameTest::GameTest(Start start) : start_(start) {}
GameTest::~GameTest() = default;

void GameTest::SetUp() {
  if (start_.realBackend) {
    App();
    qt = std::make_unique<QtBackend>();
  } else {
    sim = std::make_unique<SimBackend>(start_.timeOfDay);
  }
  sound = std::make_unique<RecordingSound>();
  if (start_.filledBank) sound->FillBank();
  if (start_.folder != Start::Folder::None) folder = std::make_unique<ScratchFolder>();
  if (start_.folder == Start::Folder::Program) {
    ScratchProgramFolder() = folder->Path();
    LocateAppFolder = [] { AppFolder = ScratchProgramFolder() + "\\"; };
    const std::string sounds = folder->Path() + "/soundMofuran";
    std::filesystem::create_directory(sounds);
    if (start_.waveSeconds > 0)
      for (const char* f : {"StSound5.wav", "Bell.wav", "1Gren.wav", "Boffu.wav", "f-piro.wav"})
        WriteWave(sounds + "/" + f, start_.waveSeconds);
    ChangeFolder(sounds);
  }
  ResetGameState();
  for (Screen* s : std::initializer_list<Screen*>{&Form1, &Form2, &Form3})
    for (Element* e : s->Elements())
      if (e->Kind() == ElementKind::Timer) ticks_.emplace_back(static_cast<Timer*>(e), static_cast<Timer*>(e)->OnTick);
}

void GameTest::TearDown() {
  InstallCounterView(nullptr);
  for (Screen* s : std::initializer_list<Screen*>{&Form3, &Form1, &Form2}) s->Unload();
  for (auto& [timer, tick] : ticks_) {
    timer->Interval = 0;
    timer->OnTick = tick;
  }
  LocateAppFolder = SetAppFolder;
  AppFolder.clear();
  ResetGameState();
  if (qt) {
    // The windows of the screens unloaded go now: a later message box must not stand over one of them.
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  sound.reset();
  sim.reset();
  qt.reset();
  folder.reset();
}

PlayerRecord GameTest::Stored() {
  PlayerRecord r = DecodeVbdsnd(ReadSaveFile(kVbdsnd));
  const DataFilesCopy copy = DecodeDataFiles(ReadSaveFile(kDataFiles));
  r.Name = copy.Name;
  r.StoredName = copy.StoredName;
  return r;
}

PlayerRecord GameTest::Player(double yen, const std::string& name) {
  PlayerRecord r = InitialRecord();
  r.Savings = Currency::FromYen(yen);
  r.Name = FixedName(name);
  return r;
}

int GameTest::BoxesSaying(const std::string& text) const {
  return static_cast<int>(
      std::count_if(sim->Boxes().begin(), sim->Boxes().end(), [&](const auto& b) { return b.text == text; }));
}

void GameTest::LeverAt(double at, std::int16_t flag) {
  sim->KeyAt(at, vkUp);
  sim->ActAt(at, [flag] { Lottery.GameFlag = flag; });
}

void GameTest::StopsAt(double first, double gap) {
  const int keys[] = {vkLeft, vkDown, vkRight};
  for (int i = 0; i < 3; ++i) sim->KeyAt(first + i * gap, keys[i]);
}

void GameTest::PlayWhileReady(const std::function<bool(double)>& next, double limit) {
  bool ended = false;
  double lastLever = -10;
  std::function<void()> player = [&] {
    const double now = sim->Elapsed();
    const bool ready = Play.ReadyForNextGame == 1 && Play.PlayAccepted == 1 && AllStopsPressed() && AllReelsStopped();
    if (ready && now - lastLever > 1.0) {
      if (!next(now)) {
        ended = true;
        return;
      }
      lastLever = now;
      sim->Key(vkUp);
      for (auto [at, key] : {std::pair{0.6, vkRight}, {0.7, vkLeft}, {0.8, vkDown}}) sim->KeyAt(now + at, key);
    }
    sim->ActAt(now + 0.05, player);
  };
  sim->ActAt(sim->Elapsed(), player);
  ASSERT_TRUE(sim->RunUntil([&] { return ended; }, limit));
}

void GameTest::ExpectBox(int i, const std::string& text, const std::string& title) const {
  const SimBackend::Box& box = i < 0 ? sim->Boxes().back() : sim->Boxes()[static_cast<size_t>(i)];
  EXPECT_EQ(box.text, text) << "box " << i;
  EXPECT_EQ(box.title, title) << "box " << i;
}

void GameTest::StopReelsOnTheirKeys() {
  Form2.Timer1.OnTick = [] { if (Play.LeftStopPressed) Reels.LeftReelStopped = 1; };
  Form2.Timer2.OnTick = [] { if (Play.CentreStopPressed) Reels.CentreReelStopped = 1; };
  Form2.Timer3.OnTick = [] { if (Play.RightStopPressed) Reels.RightReelStopped = 1; };
}

std::vector<std::string> GameTest::Sounds(SoundAction action) const {
  std::vector<std::string> files;
  for (const SoundEvent& e : sound->Events())
    if (e.action == action) files.push_back(e.file);
  return files;
}

double GameTest::FirstAt(const std::string& file, SoundAction action) const {
  for (const SoundEvent& e : sound->EventsOf(file))
    if (e.action == action) return e.at;
  return -1;
}

void MachineTest::SetUp() {
  GameTest::SetUp();
  Record.Savings = Currency::FromYen(200000);
  Reels.ReelStep = 15;
  Play.ProxyInterval = 260;
  Lottery.TodaySetting = 3;
  if (openDay_) OpenDay();
}

void LotteryTest::SetUp() {
  GameTest::SetUp();
  Record.BestCoins = 500;
  Form2.Load();
  Lottery.TodaySetting = 1;
}

std::string PresentationTest::Played() const {
  std::string out;
  for (const std::string& file : Sounds(SoundAction::Play)) out += (out.empty() ? "" : ",") + Stem(file);
  return out;
}

std::string PresentationTest::Stem(const std::string& path) {
  const size_t slash = path.rfind('\\');
  std::string s = slash == std::string::npos ? path : path.substr(slash + 1);
  return s.substr(0, s.rfind('.'));
}

std::string PresentationTest::StopSounds() {
  return Stem(Lottery.StopSounds[0]) + " " + Stem(Lottery.StopSounds[1]) + " " + Stem(Lottery.StopSounds[2]);
}

double PresentationTest::Near(int v, double a, double b) { return std::clamp((v - b) / a, 0.0, 0.999999); }

PlayerRecord KnownRecord() {
  return PlayerRecord{.ProxyContract = 1000, .PmcUpItem = 9, .SpectaclesGrade = 821, .MembershipGames = 10000,
                      .SpectaclesItem = 10, .Savings = Currency::FromYen(1234567), .TotalMcCount = 12,
                      .TotalPmcCount = 3, .BestMcGames = 1500, .BestChain = 7, .BestCoins = 4321, .BestMcRun = 250,
                      .FanfareX5Item = 17, .FanfareTotal = 5, .BankruptCount = 2, .FastPlayCoins = 9,
                      .FuaSpeed = 3, .DigitalSpeed = 12, .Name = FixedName("もふ太郎")};
}

bool Same(const PlayerRecord& a, const PlayerRecord& b) {
  return EncodeVbdsnd(a) == EncodeVbdsnd(b) && EncodeDataFiles(a) == EncodeDataFiles(b);
}
