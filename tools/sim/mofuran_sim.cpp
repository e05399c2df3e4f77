// mofuran-sim: plays days of the real game on the virtual back end with an automatic player and prints what
// happened. The save files live in a folder of their own; the real ones are never touched.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/day.h"
#include "core/machine_screen.h"
#include "core/play_state.h"
#include "core/play_stats.h"
#include "lottery/day_setting.h"
#include "lottery/lottery_state.h"
#include "lottery/mc_state.h"
#include "platform/convert.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/sim/sim_backend.h"
#include "platform/vk.h"
#include "records/name_text.h"
#include "records/save_files.h"
#include "reels/reel_state.h"
#include "reels/reels.h"
#include "sound/recording_sound.h"
#include "sound/sound_bank.h"

namespace {

struct Options {
  int days = 1;
  long games = 10000;
  int setting = 0;
  double savings = -1;
  std::string data;
  std::string name = "sim";
  double startMs = 36000000;
  bool pmcItem = false, fanfareItem = false, json = false;
  std::string trace;
};

[[noreturn]] void Usage() {
  std::fprintf(stderr,
               "usage: mofuran-sim [--days N] [--games N] [--setting S] [--savings YEN] [--data DIR] [--name NAME]\n"
               "                   [--start-ms MS] [--pmc-item] [--fanfare-item] [--json] [--trace FILE]\n");
  std::exit(2);
}

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Usage();
      return argv[++i];
    };
    if (a == "--days") o.days = std::atoi(value().c_str());
    else if (a == "--games") o.games = std::atol(value().c_str());
    else if (a == "--setting") o.setting = std::atoi(value().c_str());
    else if (a == "--savings") o.savings = std::atof(value().c_str());
    else if (a == "--data") o.data = value();
    else if (a == "--name") o.name = value();
    else if (a == "--start-ms") o.startMs = std::atof(value().c_str());
    else if (a == "--pmc-item") o.pmcItem = true;
    else if (a == "--fanfare-item") o.fanfareItem = true;
    else if (a == "--json") o.json = true;
    else if (a == "--trace") o.trace = value();
    else Usage();
  }
  if (o.days < 0 || o.games < 0 || o.setting < 0 || o.setting > 6) Usage();
  return o;
}

struct Totals {
  long games = 0;
  long mc = 0, pmc = 0;
  int bankruptDays = 0;
  std::vector<int> settings;
};

bool HallClosed() {
  return Val(Form2.Label10.Caption()) > 10000.0 + Record.MembershipGames + Play.ClosingExtension;
}

}  // namespace

int Run(const Options& opt);

int main(int argc, char** argv) {
  const Options opt = Parse(argc, argv);
  try {
    return Run(opt);
  } catch (const SimStuck& e) {
    std::fprintf(stderr,
                 "mofuran-sim: the game stopped moving at game %d: %s (flag %d group %d pattern %d order %d, "
                 "bonus phase %d, stopped %d%d%d, pressed %d%d%d, ready %d, accepted %d)\n",
                 Play.TotalGames, e.what(), Lottery.GameFlag, Lottery.StopGroup, Lottery.StopPattern,
                 Lottery.StopOrder, Mc.BonusPhase, Reels.LeftReelStopped, Reels.CentreReelStopped,
                 Reels.RightReelStopped, Play.LeftStopPressed, Play.CentreStopPressed, Play.RightStopPressed,
                 Play.ReadyForNextGame, Play.PlayAccepted);
    return 1;
  }
}

int Run(const Options& opt) {
  const auto wall0 = std::chrono::steady_clock::now();

  std::string data = opt.data;
  if (data.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "mofuran-sim-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    data = pattern;
  }
  std::filesystem::create_directories(data);
  OverrideProgramFolder(std::filesystem::absolute(data).string());

  SimBackend sim(opt.startMs / 1000.0);
  sim.defaultYesNo = vbYes;
  RecordingSound sound;
  ReelDrawingOff = true;
  SetAppFolder();
  if (!EnterSoundFolder()) return 1;
  dsInit(nullptr);
  SoundSet();
  Reels.ReelStep = 15;

  // A new player's record under the name, with the savings asked for.
  if (opt.savings >= 0 || !std::filesystem::exists(SoundFolder() + "/VBDSND1.DLL")) {
    Record = PlayerRecord{};
    Record.FanfareX5Item = 15;
    Record.FuaSpeed = 2;
    Record.Savings = Currency::FromYen(opt.savings >= 0 ? opt.savings : 200000);
    CheckCopy.Name = FixedName(opt.name);
    SaveShopData();
  }

  std::ofstream trace;
  if (!opt.trace.empty()) {
    trace.open(opt.trace);
    trace << "game\tsetting\tflag\tgroup\tpattern\torder\tleft\tcentre\tright\tcoins\tmoney\tmc_left\n";
  }

  std::mt19937 rng(static_cast<std::uint32_t>(opt.startMs) ^ 0x5eedu);
  std::uniform_real_distribution<double> half(0.0, 0.5);
  Totals totals;
  double savingsStart = FILEREAD().Savings.Yen();
  Stats = PlayStats{};

  for (int day = 0; day < opt.days; ++day) {
    Record = FILEREAD();
    PlayerName = opt.name;
    if (opt.pmcItem) Record.PmcUpItem = 9;
    if (opt.fanfareItem) Record.FanfareX5Item = 17;
    ChooseTodaySetting();
    if (opt.setting > 0) Lottery.TodaySetting = static_cast<std::int16_t>(opt.setting);
    totals.settings.push_back(Lottery.TodaySetting);
    Play.ProxyInterval = 260;
    Play.ScreenClosed = 0;
    StartDay();

    // The automatic player acts every 20 ms of virtual time from inside whatever the game is doing, as a player
    // at the keyboard does: a game with a result keeps its line flashing (and the stop keys' waits running) until
    // the next lever-on, so the player cannot wait for the game to return.
    struct Player {
      long started = 0;         // lever-ons this day
      bool traced = true;       // the last game's line was written
      int stopIndex = 0;        // next stop of the order
      double nextStopAt = -1;   // when to press it
      double stuckSince = -1;   // when the machine last refused a lever-on with the reels at rest
      bool ending = false;
    } p;
    static const int kOrders[8][3] = {{37, 40, 39}, {37, 40, 39}, {37, 39, 40}, {40, 37, 39},
                                      {40, 39, 37}, {39, 37, 40}, {39, 40, 37}, {39, 39, 39}};
    std::function<void()> act = [&] {
      if (!Form2.Loaded() || Play.ScreenClosed == 1) return;
      const double now = sim.Elapsed();
      sim.ActAt(now + 0.02, act);
      if (AllReelsStopped() && !p.traced) {
        p.traced = true;
        ++totals.games;
        if (trace) {
          trace << Play.TotalGames << '\t' << Lottery.TodaySetting << '\t' << Lottery.GameFlag << '\t'
                << Lottery.StopGroup << '\t' << Lottery.StopPattern << '\t' << Lottery.StopOrder << '\t'
                << Reels.LeftReelPos << '\t' << Reels.CentreReelPos << '\t' << Reels.RightReelPos << '\t'
                << LabelNumber(Form2.Label8.Caption()) << '\t' << LabelMoney().units / 10000 << '\t'
                << Lottery.McGamesLeft << '\n';
        }
        if (totals.games % 256 == 0) sound.ClearEvents();
      }
      if (!p.traced) {
        // The stops, in the order the machine asks, each at a random moment within half a second.
        if (Play.StopsEnabled != 1 || Form2.Timer1.Interval() == 0) return;
        if (p.nextStopAt < 0) p.nextStopAt = now + half(rng);
        if (now < p.nextStopAt) return;
        const int order = (Lottery.StopOrder >= 0 && Lottery.StopOrder <= 6) ? Lottery.StopOrder : 7;
        int key = p.stopIndex < 3 ? kOrders[order][p.stopIndex] : 0;
        // A stop lost in the same pass as another, or an order that repeats a reel: the missing one again.
        if (key == 0 || (key == 37 && Play.LeftStopPressed) || (key == 40 && Play.CentreStopPressed) ||
            (key == 39 && Play.RightStopPressed))
          key = Play.LeftStopPressed == 0 ? 37 : Play.CentreStopPressed == 0 ? 40 : Play.RightStopPressed == 0 ? 39 : 0;
        if (key != 0) sim.Key(key);
        ++p.stopIndex;
        p.nextStopAt = now + half(rng);
        return;
      }
      if (p.ending) return;
      if (p.started >= opt.games || HallClosed()) {
        p.ending = true;
        if (Play.ProxyActive == 1) sim.Key(vkF6);
        sim.Answer(vbYes);
        sim.Key(vkEscape);
        return;
      }
      if (Play.ReadyForNextGame == 1 && AllStopsPressed()) {
        sim.Key(vkUp);
        ++p.started;
        p.traced = false;
        p.stopIndex = 0;
        p.nextStopAt = -1;
        p.stuckSince = -1;
      } else if (p.stuckSince < 0) {
        p.stuckSince = now;
      } else if (now - p.stuckSince > 60) {
        sim.Key(vkF8);  // a presentation that never ends: the hidden key moves the machine on
        p.stuckSince = -1;
      }
    };
    sim.ActAt(sim.Elapsed(), act);
    sim.RunUntil([] { return !Form2.Loaded(); }, 1e9);
    totals.mc += LabelNumber(Form2.Label26.Caption());
    totals.pmc += LabelNumber(Form2.Label25.Caption());
    if (BankruptToday == 1.0f) ++totals.bankruptDays;
    if (Form2.Loaded()) Form2.Unload();
  }

  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
  const double savingsEnd = FILEREAD().Savings.Yen();
  const double payout = Stats.CoinsIn > 0 ? static_cast<double>(Stats.CoinsOut) / Stats.CoinsIn : 0.0;
  std::string settings;
  for (size_t i = 0; i < totals.settings.size(); ++i) settings += (i ? "," : "") + std::to_string(totals.settings[i]);
  if (opt.json) {
    std::printf(
        "{\"days\":%d,\"games\":%ld,\"coins_in\":%lld,\"coins_out\":%lld,\"payout_rate\":%.4f,\"mc\":%ld,\"pmc\":%ld,"
        "\"fanfare_streaks\":%d,\"max_mc_length\":%d,\"bankrupt_days\":%d,\"savings_start\":%.0f,"
        "\"savings_end\":%.0f,\"settings\":[%s],\"virtual_seconds\":%.3f,\"wall_seconds\":%.3f,"
        "\"games_per_second\":%.1f}\n",
        opt.days, totals.games, static_cast<long long>(Stats.CoinsIn), static_cast<long long>(Stats.CoinsOut), payout,
        totals.mc, totals.pmc, Mc.FanfareCount, Mc.BestMcLength, totals.bankruptDays, savingsStart, savingsEnd,
        settings.c_str(), sim.Elapsed(), wall, wall > 0 ? totals.games / wall : 0.0);
  } else {
    std::printf("days %d, games %ld, coins in %lld, out %lld (payout %.1f %%), MC %ld, PMC %ld, fanfare streaks %d,\n"
                "longest MC %d, bankrupt days %d, savings %.0f -> %.0f yen, settings [%s],\n"
                "%.0f s of play in %.2f s (%.0f games a second)\n",
                opt.days, totals.games, static_cast<long long>(Stats.CoinsIn), static_cast<long long>(Stats.CoinsOut),
                100 * payout, totals.mc, totals.pmc, Mc.FanfareCount, Mc.BestMcLength, totals.bankruptDays,
                savingsStart, savingsEnd, settings.c_str(), sim.Elapsed(), wall, wall > 0 ? totals.games / wall : 0.0);
  }
  return 0;
}
