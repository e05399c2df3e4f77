#include "counter/history_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <sstream>

#include "platform/files.h"
#include "records/save_store.h"
#include "sound/sound_bank.h"

namespace {

constexpr const char* kVersionLine = "mofuran-datacounter 1";
// Far beyond any real history (30 long days are a few megabytes): a larger file is not ours.
constexpr std::int64_t kMaxFileBytes = 64ll << 20;
// Far beyond any day the hall allows, and small enough that a damaged count cannot exhaust memory.
constexpr int kMaxGames = 5'000'000;

// The slump as per-game wins and losses, run-length coded.
std::string EncodeSlump(const std::vector<int>& slump) {
  std::string out = "slump";
  int prev = 0;
  for (std::size_t i = 0; i < slump.size();) {
    const int delta = slump[i] - prev;
    std::size_t run = 1;
    while (i + run < slump.size() && slump[i + run] - slump[i + run - 1] == delta) ++run;
    out += ' ' + std::to_string(delta);
    if (run > 1) out += '*' + std::to_string(run);
    prev = slump[i + run - 1];
    i += run;
  }
  return out;
}

bool ToInt(const std::string& text, long long low, long long high, long long* out) {
  long long v = 0;
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, v);
  if (r.ec != std::errc() || r.ptr != end || v < low || v > high) return false;
  *out = v;
  return true;
}

template <class T>
bool Field(std::istringstream& in, const char* key, long long low, long long high, T* out) {
  std::string k, v;
  long long n = 0;
  if (!(in >> k >> v) || k != key || !ToInt(v, low, high, &n)) return false;
  *out = static_cast<T>(n);
  return true;
}

bool DecodeDay(const std::string& line, CounterDay* d) {
  std::istringstream in(line);
  std::string word, date, time;
  if (!(in >> word >> date >> time) || word != "day" || date.size() != 10 || time.size() != 5) return false;
  d->date = date + " " + time;
  constexpr long long kCoins = std::numeric_limits<std::int64_t>::max() / 4;
  if (!(Field(in, "games", 0, kMaxGames, &d->games) && Field(in, "normal", 0, d->games, &d->normalGames) &&
        Field(in, "fresh", 0, d->games, &d->freshWins) && Field(in, "mc", 0, d->games, &d->mc) &&
        Field(in, "pmc", 0, d->games, &d->pmc) && Field(in, "fanfare", 0, d->games, &d->fanfare) &&
        Field(in, "in", 0, kCoins, &d->coinsIn) && Field(in, "out", 0, kCoins, &d->coinsOut) &&
        Field(in, "setting", 0, 8, &d->setting)))
    return false;
  return !(in >> word);
}

bool DecodeSlump(const std::string& line, CounterDay* d) {
  std::istringstream in(line);
  std::string word;
  if (!(in >> word) || word != "slump") return false;
  std::int64_t value = 0;
  d->slump.clear();
  d->slump.reserve(static_cast<std::size_t>(d->games));
  while (in >> word) {
    const auto star = word.find('*');
    long long delta = 0, run = 1;
    if (!ToInt(word.substr(0, star), -1'000'000, 1'000'000, &delta)) return false;
    if (star != std::string::npos && !ToInt(word.substr(star + 1), 2, kMaxGames, &run)) return false;
    if (static_cast<long long>(d->slump.size()) + run > d->games) return false;
    for (long long i = 0; i < run; ++i) {
      value += delta;
      if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return false;
      d->slump.push_back(static_cast<int>(value));
    }
  }
  // One entry per game, and together they make the day's coin difference.
  return static_cast<int>(d->slump.size()) == d->games && value == d->CoinDifference();
}

bool DecodeBonus(const std::string& line, const CounterDay& d, CounterBonus* b) {
  std::istringstream in(line);
  std::string word, game, kind, length, before, how, streakKind;
  if (!(in >> word >> game >> kind >> length >> before >> how >> streakKind) || word != "bonus") return false;
  long long n = 0;
  const int previous = d.bonuses.empty() ? 1 : d.bonuses.back().game;
  if (!ToInt(game, previous, d.games, &n)) return false;
  b->game = static_cast<int>(n);
  if (kind != "MC" && kind != "PMC") return false;
  b->premium = kind == "PMC";
  if (!ToInt(length, 1, 1'000'000, &n)) return false;
  b->length = static_cast<int>(n);
  if (!ToInt(before, 0, d.games, &n)) return false;
  b->gamesBefore = static_cast<int>(n);
  if ((how != "fresh" && how != "streak") || (streakKind != "plain" && streakKind != "fanfare")) return false;
  b->streak = how == "streak";
  b->fanfare = streakKind == "fanfare";
  return !(in >> word);
}

}  // namespace

std::string EncodeHistory(const std::vector<CounterDay>& days) {
  std::string out = std::string(kVersionLine) + "\n";
  char buf[256];
  for (const CounterDay& d : days) {
    std::snprintf(buf, sizeof buf, "day %s games %d normal %d fresh %d mc %d pmc %d fanfare %d in %lld out %lld setting %d\n",
                  d.date.c_str(), d.games, d.normalGames, d.freshWins, d.mc, d.pmc, d.fanfare,
                  static_cast<long long>(d.coinsIn), static_cast<long long>(d.coinsOut), d.setting);
    out += buf;
    out += EncodeSlump(d.slump) + "\n";
    for (const CounterBonus& b : d.bonuses) {
      std::snprintf(buf, sizeof buf, "bonus %d %s %d %d %s %s\n", b.game, b.premium ? "PMC" : "MC", b.length,
                    b.gamesBefore, b.streak ? "streak" : "fresh", b.fanfare ? "fanfare" : "plain");
      out += buf;
    }
  }
  return out;
}

bool DecodeHistory(const std::string& text, std::vector<CounterDay>* days) {
  days->clear();
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kVersionLine) return false;
  std::vector<CounterDay> read;
  while (std::getline(in, line)) {
    if (line.rfind("day ", 0) == 0) {
      CounterDay d;
      std::string slump;
      if (!DecodeDay(line, &d) || !std::getline(in, slump) || !DecodeSlump(slump, &d)) return false;
      read.push_back(std::move(d));
    } else if (line.rfind("bonus ", 0) == 0 && !read.empty()) {
      CounterBonus b;
      if (!DecodeBonus(line, read.back(), &b)) return false;
      read.back().bonuses.push_back(b);
    } else {
      return false;
    }
    if (read.size() > static_cast<std::size_t>(kHistoryDays)) return false;
  }
  // A file cut off inside a line is damaged, not a shorter history.
  if (!text.empty() && text.back() != '\n') return false;
  *days = std::move(read);
  return true;
}

std::string HistoryPath() { return NativePath(SoundFolder() + "\\" + kHistoryFile); }

History ReadHistory() {
  History h;
  const std::string path = HistoryPath();
  RecoverSingleFile(path);
  struct stat st{};
  if (lstat(path.c_str(), &st) != 0) return h;  // no history yet
  // Only a regular file of a sane size is read: a folder, a pipe or a device in its place is damage.
  bool ok = S_ISREG(st.st_mode) && st.st_size <= kMaxFileBytes;
  if (ok) {
    const auto bytes = ReadAllBytes(path);
    ok = bytes && DecodeHistory(std::string(bytes->begin(), bytes->end()), &h.days);
  }
  if (!ok) {
    // Kept for a look, never read again; the next day starts a fresh history.
    std::rename(path.c_str(), (path + ".bad").c_str());
    h.days.clear();
    h.damaged = true;
  }
  return h;
}

bool AppendToHistory(const CounterDay& day, bool* damagedBefore) {
  History h = ReadHistory();
  if (damagedBefore) *damagedBefore = h.damaged;
  h.days.push_back(day);
  if (h.days.size() > static_cast<std::size_t>(kHistoryDays))
    h.days.erase(h.days.begin(), h.days.end() - kHistoryDays);
  const std::string text = EncodeHistory(h.days);
  return WriteFileSafely(HistoryPath(), Bytes(text.begin(), text.end()));
}
