#include "tools/sim/sim_run.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/machine_screen.h"
#include "core/play_state.h"
#include "core/play_stats.h"
#include "core/run_state.h"
#include "lottery/lottery_state.h"
#include "lottery/mc_state.h"
#include "platform/files.h"
#include "platform/picture.h"
#include "platform/sim/sim_backend.h"
#include "records/name_text.h"
#include "records/player_record.h"
#include "records/save_files.h"
#include "sound/sound_bank.h"
#include "title/title_form.h"
#include "title/title_screen.h"
#include "tools/sim/auto_player.h"
#include "tools/sim/silent_sound.h"

const char* const kSimUsage =
    "usage: mofuran-sim [--days N] [--games N] [--setting S] [--savings YEN] [--data DIR] [--name NAME]\n"
    "                   [--start-ms MS] [--pmc-item] [--fanfare-item] [--json] [--trace FILE]\n";

namespace {

// A whole decimal number within [low, high]; nothing else is accepted.
bool Number(const std::string& text, double low, double high, double* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !(v >= low && v <= high) || v != static_cast<double>(static_cast<long long>(v))) return false;
  *out = v;
  return true;
}

// The save files as a player brings them to the first start: registered under the name, with the savings and the
// items asked for. A folder without save files starts from a new player's record.
void PrepareSaveFiles(const SimOptions& o) {
  SetAppFolder();
  EnterSoundFolder();
  Record = FileExists("VBDSND1.DLL") ? FILEREAD() : InitialRecord();
  if (o.savings >= 0) Record.Savings = Currency::FromYen(o.savings);
  if (o.pmcItem) Record.PmcUpItem = 9;
  if (o.fanfareItem) Record.FanfareX5Item = 17;
  Record.Name = FixedName(o.name);
  SaveShopData();
}

}  // namespace

bool ParseSimOptions(int argc, const char* const* argv, SimOptions* o, std::string* error) {
  *o = SimOptions{};
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool takesValue = a == "--days" || a == "--games" || a == "--setting" || a == "--savings" ||
                            a == "--data" || a == "--name" || a == "--start-ms" || a == "--trace";
    if (takesValue && i + 1 >= argc) {
      *error = a + " needs a value";
      return false;
    }
    const std::string v = takesValue ? argv[++i] : "";
    double n = 0;
    if (a == "--days" && Number(v, 0, 1e6, &n)) o->days = static_cast<int>(n);
    else if (a == "--games" && Number(v, 0, 1e9, &n)) o->games = static_cast<long>(n);
    else if (a == "--setting" && Number(v, 1, 6, &n)) o->setting = static_cast<int>(n);
    else if (a == "--savings" && Number(v, 0, 9e14, &n)) o->savings = n;
    else if (a == "--start-ms" && Number(v, 0, 86399999, &n)) o->startMs = n;
    else if (a == "--data" && !v.empty()) o->data = v;
    else if (a == "--name" && !v.empty()) o->name = v;
    else if (a == "--trace" && !v.empty()) o->trace = v;
    else if (a == "--pmc-item") o->pmcItem = true;
    else if (a == "--fanfare-item") o->fanfareItem = true;
    else if (a == "--json") o->json = true;
    else {
      *error = takesValue ? "bad value for " + a + ": " + v : "unknown option " + a;
      return false;
    }
  }
  return true;
}

SimResult RunSim(const SimOptions& o, std::ostream* trace) {
  const auto wall0 = std::chrono::steady_clock::now();
  std::string data = o.data;
  if (data.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "mofuran-sim-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder for the save files");
    data = pattern;
  }
  std::filesystem::create_directories(data);
  OverrideProgramFolder(std::filesystem::absolute(data).string());

  SimBackend sim(o.startMs / 1000.0);
  sim.defaultYesNo = vbYes;
  SilentSound sound;
  PixelDrawingOff = true;
  const auto locate = LocateAppFolder;
  LocateAppFolder = SetAppFolder;
  const std::string folder = CurrentFolder();

  SimResult r;
  ResetRunState();
  PrepareSaveFiles(o);
  r.savingsStart = FILEREAD().Savings.Yen();
  Stats = PlayStats{};
  if (trace) *trace << "game\tsetting\tflag\tgroup\tpattern\torder\tleft\tcentre\tright\tcoins\tmoney\tmc_left\n";

  AutoPlayer player(sim, static_cast<std::uint32_t>(o.startMs) ^ 0x5eedu, trace);
  for (int day = 0; day < o.days; ++day) {
    ResetRunState();  // a new launch of the game
    Form1.Show();
    sim.Click(Form1.Command1);
    sim.RunUntil([] { return Form2.Loaded(); }, 60);
    if (!Form2.Loaded()) throw SimStuck("the machine screen did not open");
    if (o.setting > 0) Lottery.TodaySetting = static_cast<std::int16_t>(o.setting);
    r.settings.push_back(Lottery.TodaySetting);

    player.PlayDay(o.games);
    r.mc += LabelNumber(Form2.Label26.Caption());
    r.pmc += LabelNumber(Form2.Label25.Caption());
    r.fanfareStreaks += Mc.FanfareCount;
    r.maxMcLength = std::max(r.maxMcLength, Mc.BestMcLength);
    if (BankruptToday != 0) ++r.bankruptDays;

    // The record of the day, then 終了.
    if (!Form1.Loaded()) throw SimStuck("the title screen did not come back after the day");
    sim.Click(Form1.Command2);
    sim.RunUntil([] { return !Form1.Loaded(); }, 60);
  }

  r.days = o.days;
  r.games = player.GamesPlayed();
  r.coinsIn = Stats.CoinsIn;
  r.coinsOut = Stats.CoinsOut;
  r.savingsEnd = FILEREAD().Savings.Yen();
  r.virtualSeconds = sim.Elapsed();
  r.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
  LocateAppFolder = locate;
  OverrideProgramFolder("");
  ChangeFolder(folder);
  // A folder of our own making goes with the run.
  if (o.data.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(data, ec);
  }
  return r;
}

namespace {

// The day's settings, comma-separated.
std::string SettingsList(const SimResult& r) {
  std::string list;
  for (size_t i = 0; i < r.settings.size(); ++i) list += (i ? "," : "") + std::to_string(r.settings[i]);
  return list;
}

}  // namespace

std::string ResultJson(const SimResult& r) {
  const std::string settings = SettingsList(r);
  char buf[1024];
  std::snprintf(buf, sizeof buf,
                "{\"days\":%d,\"games\":%ld,\"coins_in\":%lld,\"coins_out\":%lld,\"payout_rate\":%.4f,\"mc\":%ld,"
                "\"pmc\":%ld,\"fanfare_streaks\":%d,\"max_mc_length\":%d,\"bankrupt_days\":%d,\"savings_start\":%.0f,"
                "\"savings_end\":%.0f,\"settings\":[%s],\"virtual_seconds\":%.3f,\"wall_seconds\":%.3f,"
                "\"games_per_second\":%.1f}",
                r.days, r.games, r.coinsIn, r.coinsOut, r.PayoutRate(), r.mc, r.pmc, r.fanfareStreaks,
                r.maxMcLength, r.bankruptDays, r.savingsStart, r.savingsEnd, settings.c_str(), r.virtualSeconds,
                r.wallSeconds, r.GamesPerSecond());
  return buf;
}

std::string ResultText(const SimResult& r) {
  const std::string settings = SettingsList(r);
  char buf[1024];
  std::snprintf(buf, sizeof buf,
                "days %d, games %ld, coins in %lld, out %lld (payout %.1f %%), MC %ld, PMC %ld, fanfare streaks %d,\n"
                "longest MC %d, bankrupt days %d, savings %.0f -> %.0f yen, settings [%s],\n"
                "%.0f s of play in %.2f s (%.0f games a second)",
                r.days, r.games, r.coinsIn, r.coinsOut, 100 * r.PayoutRate(), r.mc, r.pmc, r.fanfareStreaks,
                r.maxMcLength, r.bankruptDays, r.savingsStart, r.savingsEnd, settings.c_str(), r.virtualSeconds,
                r.wallSeconds, r.GamesPerSecond());
  return buf;
}
