#include "app/program.h"
#include "tools/sim/sim_day.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "core/run_state.h"
#include "counter/counter.h"
#include "counter/history_file.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/play_stats.h"
#include "machine/player_record.h"
#include "platform/files.h"
#include "platform/picture.h"
#include "platform/sim/sim_backend.h"
#include "records/save_files.h"
#include "records/save_format.h"
#include "sound/sound_bank.h"
#include "title/title_form.h"
#include "title/title_screen.h"
#include "tools/sim/auto_player.h"
#include "tools/sim/data_folder.h"
#include "tools/sim/silent_sound.h"
#include "tools/sim/sim_run.h"

std::uint32_t PlayerSeed(const SimOptions& o, int day) {
  return (static_cast<std::uint32_t>(o.startMs) ^ 0x5eedu) + static_cast<std::uint32_t>(day) * 0x9E3779B9u;
}

namespace {

// The stake as the day's save files, and no history: the day is the folder's first. The files are written plainly
// (the folder is the run's own), so that only the game's own saves can fail during the day.
void LayOutFolder(const std::string& folder, const PlayerRecord& stake) {
  std::filesystem::create_directories(folder);
  OverrideProgramFolder(std::filesystem::absolute(folder).string());
  SetAppFolder();
  if (!EnterSoundFolder()) throw std::runtime_error("cannot use the day's folder " + folder);
  std::filesystem::remove(HistoryPath());
  Record = stake;
  if (!WriteAllBytes(kDataFiles, EncodeDataFiles(stake)) || !WriteAllBytes(kVbdsnd, EncodeVbdsnd(stake)))
    throw std::runtime_error("cannot write the day's save files in " + folder);
}

// The game tells the player when its files cannot be saved or read or are broken: a day that hears any of it
// played from or into the wrong record.
class DayBackend : public SimBackend {
 public:
  using SimBackend::SimBackend;
  int MsgBox(const std::string& text, int buttons, const std::string& title) override {
    for (const char* said :
         {"データを保存できませんでした。", "データを読み込めませんでした。", "データが壊れています。"})
      if (text == said) trouble = text;
    return SimBackend::MsgBox(text, buttons, title);
  }
  std::string trouble;
};

}  // namespace

namespace {

DayResult PlayOneDay(const SimOptions& o, const PlayerRecord& stake, int number, int setting, const std::string& folder,
                     const DayWants& wants) {
  const std::string before = CurrentFolder();
  const auto locate = LocateAppFolder;
  DayBackend sim(o.startMs / 1000.0);
  sim.SetSeedOffsetUs(static_cast<std::int64_t>(number) * kDayUs);
  sim.defaultYesNo = vbYes;
  SilentSound sound;
  PixelDrawingOff = true;
  LocateAppFolder = SetAppFolder;
  struct Restore {
    std::string folder;
    void (*locate)();
    ~Restore() {
      LocateAppFolder = locate;
      OverrideProgramFolder("");
      ChangeFolder(folder);
    }
  } restore{before, locate};

  AssembleProgram();

  ResetRunState();
  LayOutFolder(folder, stake);
  ResetRunState();  // a new launch of the game
  Stats = PlayStats{};
  std::ostringstream trace;
  AutoPlayer player(sim, PlayerSeed(o, number), wants.trace ? &trace : nullptr);

  Form1.Show();
  sim.Click(Form1.Command1);
  sim.RunUntil([] { return Form2.Loaded(); }, 60);
  if (!Form2.Loaded()) throw SimStuck("the machine screen did not open");
  if (setting > 0) Lottery.TodaySetting = static_cast<std::int16_t>(setting);

  DayResult d;
  d.number = number;
  d.setting = Lottery.TodaySetting;
  player.PlayDay(o.games);
  d.mc = LabelNumber(Form2.McCount.Caption());
  d.pmc = LabelNumber(Form2.PmcCount.Caption());
  d.fanfareStreaks = Mc.FanfareCount;
  d.maxMcLength = Mc.BestMcLength;
  d.bankrupt = BankruptToday != 0;

  // The record of the day, then 終了.
  if (!Form1.Loaded()) throw SimStuck("the title screen did not come back after the day");
  sim.Click(Form1.Command2);
  sim.RunUntil([] { return !Form1.Loaded(); }, 60);

  d.games = player.GamesPlayed();
  d.coinsIn = Stats.CoinsIn;
  d.coinsOut = Stats.CoinsOut;
  d.virtualSeconds = sim.Elapsed();
  const CounterDay& day = CounterToday();
  d.normalGames = day.normalGames;
  d.freshWins = day.freshWins;
  for (const CounterBonus& b : day.bonuses) {
    ++d.starts;
    if (b.premium) ++d.premiumStarts;
    if (b.streak) ++d.streakStarts;
    if (b.premium && !b.streak) ++d.freshPmc;
    d.lengthSum += b.length;
    d.lengthSquares += static_cast<long long>(b.length) * b.length;
  }
  if (wants.slump) d.slump = day.slump;
  if (wants.history) d.history = EncodeHistory({day});
  PlayerRecord end;
  if (!sim.trouble.empty())
    throw std::runtime_error(
        Formatted("on day %d the game's save files failed: it said 「%s」", number + 1, sim.trouble.c_str()));
  if (ReadPair(&end) != PairRead::Good)
    throw std::runtime_error(Formatted("on day %d the save files did not read back after the cash-out", number + 1));
  d.record = EncodeVbdsnd(end);
  d.trace = trace.str();
  return d;
}

}  // namespace

DayResult PlayDay(const SimOptions& o, const PlayerRecord& stake, int number, int setting, const std::string& folder,
                  const DayWants& wants) {
  try {
    return PlayOneDay(o, stake, number, setting, folder, wants);
  } catch (const SimStuck& e) {
    throw SimStuck(Formatted("on day %d at game %d (flag %d, group %d, order %d): ", number + 1, Play.TotalGames,
                             Lottery.GameFlag, Lottery.StopGroup, Lottery.StopOrder) +
                   e.what());
  }
}

namespace {

void PutBlob(std::string& out, const char* name, const std::string& bytes) {
  out += name;
  out += ' ' + std::to_string(bytes.size()) + '\n';
  out += bytes;
  out += '\n';
}

bool GetBlob(std::istream& in, const char* name, std::string* bytes) {
  std::string word;
  size_t size = 0;
  if (!(in >> word >> size) || word != name || in.get() != '\n') return false;
  bytes->resize(size);
  if (!in.read(bytes->data(), static_cast<std::streamsize>(size))) return false;
  return in.get() == '\n';
}

}  // namespace

std::string EncodeDay(const DayResult& d) {
  std::string out = Formatted("day %d %d %ld %lld %lld %ld %ld %d %d %d %a %ld %ld %ld %ld %ld %lld %ld %lld\n",
                              d.number, d.setting, d.games, d.coinsIn, d.coinsOut, d.mc, d.pmc, d.fanfareStreaks,
                              d.maxMcLength, d.bankrupt ? 1 : 0, d.virtualSeconds, d.normalGames, d.freshWins,
                              d.starts, d.premiumStarts, d.streakStarts, d.lengthSum, d.freshPmc, d.lengthSquares);
  out += "slump " + std::to_string(d.slump.size());
  for (int v : d.slump) out += ' ' + std::to_string(v);
  out += '\n';
  PutBlob(out, "record", std::string(d.record.begin(), d.record.end()));
  PutBlob(out, "history", d.history);
  PutBlob(out, "trace", d.trace);
  return out;
}

bool DecodeDay(const std::string& text, DayResult* d) {
  std::istringstream in(text);
  std::string word, seconds;
  int bankrupt = 0;
  if (!(in >> word >> d->number >> d->setting >> d->games >> d->coinsIn >> d->coinsOut >> d->mc >> d->pmc >>
        d->fanfareStreaks >> d->maxMcLength >> bankrupt >> seconds >> d->normalGames >> d->freshWins >> d->starts >>
        d->premiumStarts >> d->streakStarts >> d->lengthSum >> d->freshPmc >> d->lengthSquares) ||
      word != "day")
    return false;
  d->bankrupt = bankrupt != 0;
  d->virtualSeconds = std::strtod(seconds.c_str(), nullptr);
  size_t n = 0;
  if (!(in >> word >> n) || word != "slump") return false;
  d->slump.resize(n);
  for (int& v : d->slump)
    if (!(in >> v)) return false;
  if (in.get() != '\n') return false;
  std::string record;
  if (!GetBlob(in, "record", &record) || !GetBlob(in, "history", &d->history) || !GetBlob(in, "trace", &d->trace))
    return false;
  d->record.assign(record.begin(), record.end());
  return true;
}
