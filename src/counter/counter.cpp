#include "counter/counter.h"

#include <ctime>

#include "core/day_listener.h"
#include "core/screen_flow.h"
#include "counter/history_file.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/play_stats.h"
#include "machine/player_record.h"
#include "platform/vk.h"

namespace {

constexpr int kPlainMcLength = 33;

struct Tracker {
  bool running = false;
  bool hasToday = false;
  int startTotal = 0;          // the machine's game count when the day began (it counts on through a run)
  std::int64_t in0 = 0, out0 = 0;
  int fanfare0 = 0;
  int lastTotal = 0;           // the game whose end was taken last
  bool streakDue = false;      // the next lever-on is a streak game (its MC was won in the last one)
  int gamesSinceBonus = 0;
  int gamesSinceMc = 0;
  // The machine's MC and PMC counts as read at the last game's end, and a won MC or PMC it has not counted yet:
  // it counts one when the MC's start sequence reaches its count-up, seconds after the game that won it.
  int mcLabel = 0, pmcLabel = 0;
  bool mcDue = false, pmcDue = false;
  bool recorded = false;       // the finished day went into the history
  CounterDay day;
  std::string notice;
};

constexpr int kCounterKey = vkD;
constexpr const char* kDamagedNotice = "記録ファイルが壊れていたため、新しい記録を始めました。";
constexpr const char* kUnreadableNotice = "記録ファイルを読み込めませんでした。";

Tracker t;
CounterView* g_view = nullptr;
bool g_open = false;
// The past days as last read from the history file: read when the window opens and after each cash-out, never
// per game.
std::vector<CounterDay> g_past;
bool g_pastRead = false;

void ReadPastDays() {
  const History h = ReadHistory();
  g_past.clear();
  auto it = h.days.rbegin();
  // The day just finished is shown once, as today's.
  if (t.recorded && it != h.days.rend() && it->date == t.day.date) ++it;
  for (; it != h.days.rend() && static_cast<int>(g_past.size()) < kPastDaysShown; ++it) g_past.push_back(*it);
  if (h.damaged) t.notice = kDamagedNotice;
  if (h.unreadable) t.notice = kUnreadableNotice;
  g_pastRead = true;
}

std::string Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return HistoryDate(local);
}

void Refresh() {
  if (g_open && g_view) g_view->Update(CurrentCounterModel());
}

}  // namespace

void InstallDataCounter() {
  static constexpr DayListener kCounter{CounterDayStart, CounterGameEnd, CounterDayEnd, CounterKey, ResetCounter};
  SetDayListener(&kCounter);
  RegisterScreen(ScreenName::Counter, ToggleCounter);
}

void InstallCounterView(CounterView* view) {
  if (g_view && g_open) g_view->Hide();
  g_view = view;
  g_open = false;
}

void ResetCounter() {
  t = Tracker{};
  g_past.clear();
  g_pastRead = false;
  if (g_view && g_open) g_view->Hide();
  g_open = false;
}

void CounterDayStart() {
  const std::string notice = t.notice;
  t = Tracker{};
  t.notice = notice;
  t.running = t.hasToday = true;
  t.startTotal = t.lastTotal = Play.TotalGames;
  t.in0 = Stats.CoinsIn;
  t.out0 = Stats.CoinsOut;
  t.fanfare0 = Mc.FanfareCount;
  t.streakDue = Mc.StreakPending == 1;
  t.gamesSinceMc = LabelNumber(Form2.GamesSinceMc.Caption());
  t.mcLabel = LabelNumber(Form2.McCount.Caption());
  t.pmcLabel = LabelNumber(Form2.PmcCount.Caption());
  t.day.date = Now();
  g_pastRead = false;
  Refresh();
}

void CounterGameEnd() {
  if (!t.running || Play.TotalGames == t.lastTotal) return;
  const int games = Play.TotalGames - t.startTotal;
  if (games <= 0 || games < static_cast<int>(t.day.slump.size())) return;
  CounterDay& d = t.day;
  d.coinsIn = Stats.CoinsIn - t.in0;
  d.coinsOut = Stats.CoinsOut - t.out0;
  const int value = static_cast<int>(d.CoinDifference());
  // Games played without an end of their own (fast play counts several at once) share the way there evenly.
  const int from = static_cast<int>(d.slump.size());
  const int fromValue = d.slump.empty() ? 0 : d.slump.back();
  for (int g = from + 1; g < games; ++g)
    d.slump.push_back(fromValue + static_cast<int>(static_cast<std::int64_t>(value - fromValue) * (g - from) /
                                                   (games - from)));
  d.slump.push_back(value);
  d.games = games;

  if (Mc.BonusPhase != 1) {
    t.gamesSinceBonus += 1;
    // A streak game's MC is forced: only the other games are free draws of the lottery.
    if (!t.streakDue) d.normalGames += 1;
  }
  if (Lottery.GameFlag == GameFlags::Mc && Lottery.StopPattern == StopPatterns::Bonus) {
    CounterBonus b;
    b.game = games;
    b.length = Lottery.McLength;
    b.premium = Lottery.McLength != kPlainMcLength;
    b.fanfare = Mc.FanfareStreak == 1;
    b.gamesBefore = t.gamesSinceBonus;
    b.streak = t.streakDue;
    if (!b.streak) d.freshWins += 1;
    d.bonuses.push_back(b);
    t.gamesSinceBonus = 0;
  }
  t.streakDue = Mc.StreakPending == 1;
  const int mc = LabelNumber(Form2.McCount.Caption()), pmc = LabelNumber(Form2.PmcCount.Caption());
  const bool won = !d.bonuses.empty() && d.bonuses.back().game == games;
  // Due until the machine's count moves; a count that moved by this game's end already holds it.
  t.mcDue = mc == t.mcLabel && (t.mcDue || (won && !d.bonuses.back().premium));
  t.pmcDue = pmc == t.pmcLabel && (t.pmcDue || (won && d.bonuses.back().premium));
  t.mcLabel = mc;
  t.pmcLabel = pmc;
  d.mc = mc + (t.mcDue ? 1 : 0);
  d.pmc = pmc + (t.pmcDue ? 1 : 0);
  d.fanfare = Mc.FanfareCount - t.fanfare0;
  t.gamesSinceMc = LabelNumber(Form2.GamesSinceMc.Caption());
  t.lastTotal = Play.TotalGames;
  Refresh();
}

void CounterDayEnd() {
  if (!t.running) return;
  t.running = false;
  t.day.setting = Lottery.TodaySetting;
  t.day.date = Now();
  if (!PlayerName.empty()) {
    bool damaged = false;
    const bool written = AppendToHistory(t.day, &damaged);
    t.recorded = written;
    if (damaged) t.notice = kDamagedNotice;
    if (!written) t.notice = "記録ファイルを書き込めませんでした。";
    g_pastRead = false;
  }
  Refresh();
}

void CounterKey(int keyCode) {
  if (keyCode == kCounterKey) ToggleCounter();
}

void ToggleCounter() {
  g_open = !g_open;
  if (!g_view) return;
  if (g_open) {
    g_pastRead = false;  // the file may have changed since it was last shown
    g_view->Show(CurrentCounterModel());
  }
  else
    g_view->Hide();
}

bool CounterOpen() { return g_open; }

void CounterClosedByPlayer() { g_open = false; }

CounterModel CurrentCounterModel() {
  CounterModel m;
  m.today = t.day;
  m.dayRunning = t.running;
  m.hasToday = t.hasToday;
  m.gamesSinceMc = t.gamesSinceMc;
  if (!g_pastRead) ReadPastDays();
  m.pastDays = g_past;
  m.notice = t.notice;
  m.estimate = EstimateSetting(t.day.games, t.day.normalGames, t.day.freshWins, t.day.Streaks());
  return m;
}

const CounterDay& CounterToday() { return t.day; }
