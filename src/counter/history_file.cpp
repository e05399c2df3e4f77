#include "counter/history_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <charconv>
#include <cstdio>
#include <limits>
#include <sstream>

#include "platform/files.h"
#include "records/save_store.h"
#include "sound/sound_bank.h"

namespace {

constexpr const char* kVersionLine = "mofuran-datacounter 1";
// No game takes in or pays out anywhere near this many coins.
constexpr long long kMaxCoinsPerGame = 1000;

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
  if (!Field(in, "games", 0, kMaxDayGames, &d->games)) return false;
  const long long kCoins = kMaxCoinsPerGame * d->games;
  if (!(Field(in, "normal", 0, d->games, &d->normalGames) &&
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
    if (star != std::string::npos && !ToInt(word.substr(star + 1), 2, kMaxDayGames, &run)) return false;
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
  if (static_cast<int>(d.bonuses.size()) >= d.games || !ToInt(game, previous, d.games, &n)) return false;
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
  // Lines as any editor leaves them: a carriage return before the line feed is no part of the line.
  auto next = [&](std::string& l) {
    if (!std::getline(in, l)) return false;
    if (!l.empty() && l.back() == '\r') l.pop_back();
    return true;
  };
  if (!next(line) || line != kVersionLine) return false;
  std::vector<CounterDay> read;
  long long games = 0;
  bool blank = false;
  while (next(line)) {
    // Blank lines may close the file, and nothing may follow them.
    if (line.empty()) {
      blank = true;
      continue;
    }
    if (blank) return false;
    if (line.rfind("day ", 0) == 0) {
      CounterDay d;
      std::string slump;
      if (!DecodeDay(line, &d) || (games += d.games) > kMaxHistoryGames || !next(slump) || !DecodeSlump(slump, &d))
        return false;
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

std::string HistoryDate(const std::tm& local) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", std::clamp(local.tm_year + 1900, 0, 9999),
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
  return buf;
}

std::string HistoryPath() { return NativePath(SoundFolder() + "\\" + kHistoryFile); }

namespace {

// Kept for a look and never read again, beside any set aside before: ".bad", ".bad2", ".bad3" and on. False when
// it cannot be moved: it then stays where it is.
bool SetAside(const std::string& path) {
  for (int n = 1; n < 1000; ++n) {
    const std::string aside = path + ".bad" + (n == 1 ? std::string() : std::to_string(n));
    struct stat st {};
    if (lstat(aside.c_str(), &st) == 0) continue;
    return errno == ENOENT && std::rename(path.c_str(), aside.c_str()) == 0;
  }
  return false;
}

}  // namespace

History ReadHistory() {
  History h;
  const std::string path = HistoryPath();
  RecoverSingleFile(path);
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) {
    h.unreadable = errno != ENOENT;  // no history yet, or a folder that cannot be looked into
    return h;
  }
  // Only a regular file is read, and only as far as a true history goes: a link, a folder, a pipe or a device in
  // its place, or a longer file, is damage.
  Bytes bytes;
  const bool failing = SaveFaults.unreadable && std::strcmp(SaveFaults.unreadable, kHistoryFile) == 0;
  const FileRead read = failing                ? FileRead::Unreadable
                        : S_ISREG(st.st_mode) ? ReadFileStart(path, kMaxHistoryBytes + 1, bytes)
                                              : FileRead::NotAFile;
  if (read == FileRead::Missing) return h;
  // A read that failed may succeed next time: the file is not damage and stays as it is.
  h.unreadable = read == FileRead::Unreadable;
  if (h.unreadable || (read == FileRead::Read && bytes.size() <= kMaxHistoryBytes &&
                       DecodeHistory(std::string(bytes.begin(), bytes.end()), &h.days)))
    return h;
  h.days.clear();
  h.damaged = true;
  // A file that cannot be set aside must not be written over either.
  h.unreadable = !SetAside(path);
  return h;
}

bool AppendToHistory(const std::vector<CounterDay>& days, bool* damagedBefore) {
  History h = ReadHistory();
  if (damagedBefore) *damagedBefore = h.damaged;
  if (h.unreadable) return false;
  for (const CounterDay& d : days)
    if (d.games <= kMaxDayGames) h.days.push_back(d);
  // The newest days, as many as the file holds.
  std::size_t keep = 0;
  long long games = 0;
  for (auto it = h.days.rbegin(); it != h.days.rend() && keep < static_cast<std::size_t>(kHistoryDays); ++it) {
    if ((games += it->games) > kMaxHistoryGames) break;
    ++keep;
  }
  h.days.erase(h.days.begin(), h.days.end() - static_cast<std::ptrdiff_t>(keep));
  const std::string text = EncodeHistory(h.days);
  return WriteFileSafely(HistoryPath(), Bytes(text.begin(), text.end()));
}

bool AppendToHistory(const CounterDay& day, bool* damagedBefore) {
  return AppendToHistory(std::vector<CounterDay>{day}, damagedBefore);
}
