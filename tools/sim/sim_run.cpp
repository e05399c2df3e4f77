#include "tools/sim/sim_run.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include "core/run_state.h"
#include "counter/history_file.h"
#include "machine/player_record.h"
#include "platform/files.h"
#include "records/name_text.h"
#include "records/save_format.h"
#include "tools/sim/data_folder.h"
#include "tools/sim/sim_workers.h"

const char* const kSimUsage =
    "usage: mofuran-sim [--days N] [--games N] [--setting S] [--savings YEN] [--data DIR] [--name NAME]\n"
    "                   [--start-ms MS] [--pmc-item] [--fanfare-item] [--json] [--trace FILE] [--jobs J]\n"
    "                   [--sheet [--plot FILE.svg]]\n";

bool WholeNumber(const std::string& text, double low, double high, double* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !(v >= low && v <= high) || v != static_cast<double>(static_cast<long long>(v))) return false;
  *out = v;
  return true;
}

std::string Formatted(const char* format, ...) {
  va_list args, again;
  va_start(args, format);
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
  std::vsnprintf(out.data(), out.size() + 1, format, again);
  va_end(again);
  return out;
}

void WriteTrace(std::ostream& trace, const std::string& lines) {
  if (!(trace << lines).flush()) throw std::runtime_error("cannot write the trace file");
}

namespace {

std::string TemporaryFolder(const char* name, const std::string& under) {
  std::error_code ec;
  const std::filesystem::path parent = under.empty() ? std::filesystem::temp_directory_path(ec) : std::filesystem::path(under);
  std::string pattern = (parent / (std::string(name) + "-XXXXXX")).string();
  if (ec || !mkdtemp(pattern.data()))
    throw std::runtime_error("no temporary folder " + pattern + ": " + (ec ? ec.message() : std::strerror(errno)));
  return pattern;
}

// The save files as a player brings them to the first start: registered under the name, with the savings and the
// items asked for. Every day starts from them.
PlayerRecord Stake(const SimOptions& o, PlayerRecord r) {
  if (o.savings >= 0) r.Savings = Currency::FromYen(o.savings);
  if (o.pmcItem) r.PmcUpItem = ItemCodes::PmcUpInUse;
  if (o.fanfareItem) r.FanfareX5Item = ItemCodes::FanfareInUse;
  r.Name = FixedName(o.name);
  return r;
}

// The record the run leaves: the last day's, with the savings moved by every day's winnings and the lifetime
// records of all days.
struct RecordAfterDays {
  PlayerRecord stake, last;
  bool any = false;
  std::int64_t moved = 0;  // savings units won over all days
  double mc = 0, pmc = 0, bankrupt = 0;

  void Add(const PlayerRecord& end) {
    PlayerRecord next = end;
    // The records each day set against the same stake: the best of them.
    if (any)
      for (float PlayerRecord::*best : {&PlayerRecord::BestMcGames, &PlayerRecord::BestChain, &PlayerRecord::BestCoins,
                                        &PlayerRecord::BestMcRun, &PlayerRecord::FanfareTotal})
        next.*best = std::max(last.*best, end.*best);
    last = next;
    any = true;
    moved += end.Savings.units - stake.Savings.units;
    mc += static_cast<double>(end.TotalMcCount) - stake.TotalMcCount;
    pmc += static_cast<double>(end.TotalPmcCount) - stake.TotalPmcCount;
    bankrupt += static_cast<double>(end.BankruptCount) - stake.BankruptCount;
  }
};

}  // namespace

bool ParseSimOptions(int argc, const char* const* argv, SimOptions* o, std::string* error) {
  *o = SimOptions{};
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool takesValue = a == "--days" || a == "--games" || a == "--setting" || a == "--savings" ||
                            a == "--data" || a == "--name" || a == "--start-ms" || a == "--trace" ||
                            a == "--jobs" || a == "--plot";
    if (takesValue && i + 1 >= argc) {
      *error = a + " needs a value";
      return false;
    }
    const std::string v = takesValue ? argv[++i] : "";
    double n = 0;
    if (a == "--days" && WholeNumber(v, 0, 1e6, &n)) o->days = static_cast<int>(n), o->daysGiven = true;
    else if (a == "--games" && WholeNumber(v, 0, 1e9, &n)) o->games = static_cast<long>(n), o->gamesGiven = true;
    else if (a == "--setting" && WholeNumber(v, 1, 6, &n)) o->setting = static_cast<int>(n);
    else if (a == "--savings" && WholeNumber(v, 0, 9e14, &n)) o->savings = n;
    else if (a == "--start-ms" && WholeNumber(v, 0, 86399999, &n)) o->startMs = n;
    else if (a == "--jobs" && WholeNumber(v, 1, 1024, &n)) o->jobs = static_cast<int>(n);
    else if (a == "--data" && !v.empty()) o->data = v;
    else if (a == "--name" && !v.empty()) o->name = v;
    else if (a == "--trace" && !v.empty()) o->trace = v;
    else if (a == "--plot" && !v.empty()) o->plot = v;
    else if (a == "--pmc-item") o->pmcItem = true;
    else if (a == "--fanfare-item") o->fanfareItem = true;
    else if (a == "--json") o->json = true;
    else if (a == "--sheet") o->sheet = true;
    else {
      *error = takesValue ? "bad value for " + a + ": " + v : "unknown option " + a;
      return false;
    }
  }
  if (o->sheet && o->setting != 0) {
    *error = "--sheet plays every setting: --setting does not go with it";
    return false;
  }
  if (!o->plot.empty() && !o->sheet) {
    *error = "--plot draws the odds sheet: it needs --sheet";
    return false;
  }
  return true;
}

int JobsOf(const SimOptions& o) { return o.jobs > 0 ? o.jobs : ProcessorCount(); }

void SimResult::Add(const DayResult& d) {
  ++days;
  games += d.games;
  coinsIn += d.coinsIn;
  coinsOut += d.coinsOut;
  mc += d.mc;
  pmc += d.pmc;
  fanfareStreaks += d.fanfareStreaks;
  maxMcLength = std::max(maxMcLength, d.maxMcLength);
  if (d.bankrupt) ++bankruptDays;
  settings.push_back(d.setting);
  virtualSeconds += d.virtualSeconds;
}

std::string MemoryFolder() {
  std::error_code ec;
  return std::filesystem::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK | X_OK) == 0 ? "/dev/shm" : "";
}

SavingsMoved PlayRun(const SimOptions& o, const std::vector<DayTask>& tasks,
                     const std::function<void(DayResult&&)>& take) {
  const StopOnSignals stop;
  struct CleanUp {
    std::string before, scratch;
    ~CleanUp() {
      OverrideProgramFolder("");
      ChangeFolder(before);
      std::error_code ec;
      std::filesystem::remove_all(scratch, ec);
    }
  } cleanUp{CurrentFolder(), TemporaryFolder("mofuran-sim-days", o.scratch)};
  const std::string& scratch = cleanUp.scratch;
  // Without --data the run plays from a new player's record and keeps nothing.
  std::optional<DataFolder> data;
  if (!o.data.empty()) data.emplace(o.data);

  // The stake, from the data folder.
  RecordAfterDays after;
  ResetRunState();
  after.stake = Stake(o, data ? data->LoadStake(scratch + "/stake") : InitialRecord());
  // A player who has never played gets setting 6 on his first day: the days after day 0 are a returning player's,
  // with a best of one coin where he had none, so that they draw their settings as every later day does.
  Stakes stakes{after.stake, after.stake};
  if (stakes.later.BestCoins == 0) stakes.later.BestCoins = 1;
  std::vector<CounterDay> history;
  PlayDays(o, stakes, tasks, JobsOf(o), scratch, [&](DayResult&& d) {
    after.Add(DecodeVbdsnd(d.record));
    std::vector<CounterDay> day;
    if (!d.history.empty() && DecodeHistory(d.history, &day)) history.insert(history.end(), day.begin(), day.end());
    if (history.size() > static_cast<size_t>(kHistoryDays)) history.erase(history.begin());
    take(std::move(d));
  });
  ThrowIfStopped();

  // What the days left: the savings, the records and the data counter's history.
  PlayerRecord end = after.any ? after.last : after.stake;
  end.Savings = Currency{after.stake.Savings.units + after.moved};
  end.TotalMcCount = static_cast<float>(after.stake.TotalMcCount + after.mc);
  end.TotalPmcCount = static_cast<float>(after.stake.TotalPmcCount + after.pmc);
  end.BankruptCount = static_cast<float>(after.stake.BankruptCount + after.bankrupt);
  end.Name = after.stake.Name;  // the day's file holds every field but the name, which a day never changes
  if (data) {
    ResetRunState();
    data->Write(end, history);
  }
  return {after.stake.Savings.Yen(), end.Savings.Yen()};
}

SimResult RunSim(const SimOptions& o, std::ostream* trace) {
  const auto wall0 = std::chrono::steady_clock::now();
  std::vector<DayTask> tasks;
  for (int day = 0; day < o.days; ++day) {
    DayTask t;
    t.number = day;
    t.setting = o.setting;
    t.wants.trace = trace != nullptr;
    t.wants.history = day >= o.days - kHistoryDays;
    tasks.push_back(t);
  }
  if (trace) *trace << "game\tsetting\tflag\tgroup\tpattern\torder\tleft\tcentre\tright\tcoins\tmoney\tmc_left\n";
  SimResult r;
  const SavingsMoved savings = PlayRun(o, tasks, [&](DayResult&& d) {
    r.Add(d);
    if (trace) WriteTrace(*trace, d.trace);
  });
  r.savingsStart = savings.start;
  r.savingsEnd = savings.end;
  r.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
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
  return Formatted(
      "{\"days\":%d,\"games\":%ld,\"coins_in\":%lld,\"coins_out\":%lld,\"payout_rate\":%.4f,\"mc\":%ld,"
      "\"pmc\":%ld,\"fanfare_streaks\":%d,\"max_mc_length\":%d,\"bankrupt_days\":%d,\"savings_start\":%.0f,"
      "\"savings_end\":%.0f,\"settings\":[%s],\"virtual_seconds\":%.3f,\"wall_seconds\":%.3f,"
      "\"games_per_second\":%.1f}",
      r.days, r.games, r.coinsIn, r.coinsOut, r.PayoutRate(), r.mc, r.pmc, r.fanfareStreaks,
      r.maxMcLength, r.bankruptDays, r.savingsStart, r.savingsEnd, SettingsList(r).c_str(), r.virtualSeconds,
      r.wallSeconds, r.GamesPerSecond());
}

std::string ResultText(const SimResult& r) {
  return Formatted(
      "days %d, games %ld, coins in %lld, out %lld (payout %.1f %%), MC %ld, PMC %ld, fanfare streaks %d,\n"
      "longest MC %d, bankrupt days %d, savings %.0f -> %.0f yen, settings [%s],\n"
      "%.0f s of play in %.2f s (%.0f games a second)",
      r.days, r.games, r.coinsIn, r.coinsOut, 100 * r.PayoutRate(), r.mc, r.pmc, r.fanfareStreaks,
      r.maxMcLength, r.bankruptDays, r.savingsStart, r.savingsEnd, SettingsList(r).c_str(), r.virtualSeconds,
      r.wallSeconds, r.GamesPerSecond());
}
