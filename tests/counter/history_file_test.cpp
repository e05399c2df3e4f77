// The data counter's history file: its text round trip, everything a damaged file can hold, the bound of 30 days,
// and the crash-safe write it shares with the save files.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "counter/history_file.h"
#include "harness/harness.h"

namespace {

CounterDay SampleDay(int n) {
  CounterDay d{.date = "2025-06-" + std::string(n < 10 ? "0" : "") + std::to_string(n) + " 18:42",
               .freshWins = 1, .mc = 1, .pmc = 1, .fanfare = n % 2, .setting = 1 + n % 6, .slump = {},
               .bonuses = {{4, false, false, 33, 4, false}, {8, true, n % 2 == 1, 222, 2, true}}};
  const int deltas[] = {-3, -3, 0, 9, -3, -3, -3, 9, 9, 9, -3, 0};
  int value = 0;
  // A lost game takes 3 coins, a replay none, a mame role pays 12 for 3.
  for (int g = 0; g < 12 + n; ++g) {
    const int delta = deltas[g % 12];
    value += delta;
    d.coinsIn += delta == 0 ? 0 : 3;
    d.coinsOut += delta > 0 ? 12 : 0;
    d.slump.push_back(value);
  }
  d.games = static_cast<int>(d.slump.size());
  d.normalGames = d.games - 3;
  return d;
}

// A day as long as the hall ever allows, all replays.
CounterDay LongDay() {
  return {.date = "2025-06-01 23:00", .games = kMaxDayGames, .slump = std::vector<int>(kMaxDayGames, 0), .bonuses = {}};
}

// Every field of a day and of a bonus, to be compared whole.
auto Fields(const CounterBonus& b) { return std::tie(b.game, b.premium, b.fanfare, b.length, b.gamesBefore, b.streak); }
auto Fields(const CounterDay& d) {
  return std::tie(d.date, d.games, d.normalGames, d.freshWins, d.mc, d.pmc, d.fanfare, d.coinsIn, d.coinsOut,
                  d.setting, d.slump);
}

void ExpectSameDay(const CounterDay& a, const CounterDay& b) {
  EXPECT_EQ(Fields(a), Fields(b));
  ASSERT_EQ(a.bonuses.size(), b.bonuses.size());
  for (size_t i = 0; i < a.bonuses.size(); ++i) EXPECT_EQ(Fields(a.bonuses[i]), Fields(b.bonuses[i])) << "bonus " << i;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(HistoryText, RoundTripsAndRejectsEveryKindOfDamage) {
  const std::vector<CounterDay> days = {SampleDay(1), SampleDay(2)};
  const std::string text = EncodeHistory(days);
  EXPECT_EQ(text.substr(0, text.find('\n')), "mofuran-datacounter 1");
  EXPECT_NE(text.find("slump -3*2 0 9 -3*3 9*3 -3 0"), std::string::npos) << text;
  EXPECT_NE(text.find("bonus 8 PMC 222 2 streak fanfare\n"), std::string::npos) << text;
  std::vector<CounterDay> read;
  ASSERT_TRUE(DecodeHistory(text, &read));
  ASSERT_EQ(read.size(), 2u);
  for (size_t i = 0; i < days.size(); ++i) ExpectSameDay(read[i], days[i]);
  ASSERT_TRUE(DecodeHistory(EncodeHistory({}), &read));
  EXPECT_TRUE(read.empty());

  const std::string damaged[] = {
      Replace(text, "mofuran-datacounter 1", "mofuran-datacounter 2"),  // a later version
      "",                                                                // no version line
      text.substr(0, text.size() - 1),                                   // cut inside its last line
      text.substr(0, text.find("bonus 8")),                              // fine: checked below as valid
      Replace(text, "-3*2 0 9", "-3*2 0 8"),                             // coins that do not add up
      Replace(text, "-3*2 0 9", "-3*3 0 9"),                             // more games than the day has
      Replace(text, "games 13", "games 99999999"),                       // a count beyond any day
      Replace(text, "games 13", "games 200001"),                         // a day past the last closing time
      Replace(text, "in 33 out 48", "in 13001 out 13016"),               // more coins than the games can bet
      Replace(text, "\nday 2025-06-02", "\n\nday 2025-06-02"),           // a blank line between days
      Replace(text, "bonus 8 PMC", "bonus 99 PMC"),                      // a bonus after the day's last game
      Replace(text, "bonus 8 PMC", "bonus 2 PMC"),                       // bonuses out of order
      Replace(text, "bonus 4 MC", "bonus 0 MC"),                         // a bonus before the day's first game
      Replace(text, "PMC 222", "BIG 222"),                               // an unknown kind
      Replace(text, "setting", "settei"),                                // an unknown field
      Replace(text, "fanfare 1", "fanfare -1"),                          // a negative count
      Replace(text, "18:42 games", "18:42 extra games"),                 // a word too many
      "mofuran-datacounter 1\nbonus 1 MC 33 1 fresh plain\n",            // a bonus before any day
      Replace(text, "-3*2", "-3*1"),                                     // a run of one written as a run
      Replace(text, "2 streak fanfare\n", "2 streak\n"),                // a bonus line cut short
  };
  for (size_t i = 0; i < std::size(damaged); ++i) {
    if (i == 3) {
      EXPECT_TRUE(DecodeHistory(damaged[i], &read)) << "a day without its later bonuses is whole";
      continue;
    }
    EXPECT_FALSE(DecodeHistory(damaged[i], &read)) << "case " << i;
    EXPECT_TRUE(read.empty()) << "case " << i;
  }
  // More days than the history keeps cannot be ours, nor more games than it keeps.
  std::vector<CounterDay> many(kHistoryDays + 1, SampleDay(3));
  EXPECT_FALSE(DecodeHistory(EncodeHistory(many), &read));
  EXPECT_FALSE(DecodeHistory(EncodeHistory({kMaxHistoryGames / kMaxDayGames + 1, LongDay()}), &read));

  // What editors and copies do to a text file is no damage: Windows line ends, blank lines at the end.
  std::string windows;
  for (char c : text) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
  for (const std::string& harmless : {windows, text + "\n", text + "\r\n\n", windows + "\r\n"}) {
    ASSERT_TRUE(DecodeHistory(harmless, &read) && read.size() == 2u) << harmless.size();
    ExpectSameDay(read[1], days[1]);
  }
  // Whatever year the clock gives, the date written reads back.
  const std::pair<int, const char*> years[] = {{2025, "2025"}, {999, "0999"}, {-40, "0000"}, {10000, "9999"}};
  for (const auto& [year, written] : years) {
    std::tm local{};
    local.tm_year = year - 1900, local.tm_mon = 5, local.tm_mday = 1, local.tm_hour = 18, local.tm_min = 42;
    CounterDay d = SampleDay(1);
    d.date = HistoryDate(local);
    EXPECT_TRUE(DecodeHistory(EncodeHistory({d}), &read) && read[0].date == written + std::string("-06-01 18:42"));
  }
}

// The program's folder a scratch folder; the history goes to its sound folder.
class HistoryFileTest : public GameTest {
 protected:
  HistoryFileTest() : GameTest({.folder = Start::Folder::Program}) {}
  void SetUp() override {
    GameTest::SetUp();
    AppFolder = folder->Path() + "\\";
  }
  std::string Path() const { return folder->Path() + "/soundMofuran/DataCounter.txt"; }
  std::string Contents(const std::string& suffix = "") const {
    std::ifstream in(Path() + suffix, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(HistoryFileTest, KeepsTheLastThirtyDaysInTheSoundFolder) {
  EXPECT_EQ(HistoryPath(), Path());
  EXPECT_TRUE(ReadHistory().days.empty());
  EXPECT_FALSE(ReadHistory().damaged);
  for (int n = 1; n <= kHistoryDays + 2; ++n) ASSERT_TRUE(AppendToHistory(SampleDay(n)));
  const History h = ReadHistory();
  EXPECT_FALSE(h.damaged);
  ASSERT_EQ(h.days.size(), static_cast<size_t>(kHistoryDays));
  ExpectSameDay(h.days.front(), SampleDay(3));
  ExpectSameDay(h.days.back(), SampleDay(kHistoryDays + 2));
  // Nothing else appears beside it: no temporary left, no save file made.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder->Path() + "/soundMofuran")) files += !e.is_directory();
  EXPECT_EQ(files, 1);
}

TEST_F(HistoryFileTest, ADamagedOrForeignFileIsSetAsideAndAFreshHistoryBegins) {
  const std::string foreign[] = {"not a history\n", std::string(5000, '\0'),
                                 Replace(EncodeHistory({SampleDay(1)}), "setting 2", "setting 9")};
  for (const std::string& bytes : foreign) {
    std::filesystem::remove(Path() + ".bad");
    std::ofstream(Path(), std::ios::binary) << bytes;
    bool damaged = false;
    ASSERT_TRUE(AppendToHistory(SampleDay(4), &damaged));
    EXPECT_TRUE(damaged);
    const History h = ReadHistory();
    EXPECT_FALSE(h.damaged);
    ASSERT_EQ(h.days.size(), 1u);
    ExpectSameDay(h.days[0], SampleDay(4));
    // The damaged file is kept for a look, as it was.
    EXPECT_EQ(Contents(".bad"), bytes);
  }
  // Something that is not a file in its place is damage too, and reading it never blocks.
  std::filesystem::remove(Path());
  std::filesystem::remove(Path() + ".bad");
  ASSERT_EQ(mkfifo(Path().c_str(), 0600), 0);
  const History h = ReadHistory();
  EXPECT_TRUE(h.damaged);
  EXPECT_TRUE(h.days.empty());
  EXPECT_TRUE(AppendToHistory(SampleDay(5)));
  EXPECT_EQ(ReadHistory().days.size(), 1u);
}

TEST_F(HistoryFileTest, AFileThatCannotBeReadIsLeftAloneAndEveryDamagedOneIsKept) {
  ASSERT_TRUE(AppendToHistory(SampleDay(1)));
  const std::string before = Contents();
  // A failing disk: the file is neither set aside nor written over, and reads again once the disk does.
  SaveFaults.unreadable = kHistoryFile;
  EXPECT_TRUE(ReadHistory().unreadable && !ReadHistory().damaged);
  EXPECT_FALSE(AppendToHistory(SampleDay(2)));
  SaveFaults = {};
  EXPECT_EQ(Contents(), before);
  EXPECT_EQ(ReadHistory().days.size(), 1u);

  // Damaged files, one after another, each kept; a file longer than any history is damaged however it reads.
  const std::string damaged[] = {"first\n", "second\n", "mofuran-datacounter 1\n" + std::string(kMaxHistoryBytes, '\n')};
  const char* aside[] = {".bad", ".bad2", ".bad3"};
  for (int i = 0; i < 3; ++i) {
    std::ofstream(Path(), std::ios::binary) << damaged[i];
    EXPECT_TRUE(ReadHistory().damaged) << i;
    EXPECT_EQ(Contents(aside[i]), damaged[i]) << i;
  }

  // Days too long to keep: the newest that fit stay, and a day past any closing time is left out.
  std::filesystem::remove(Path());
  std::vector<CounterDay> days(kMaxHistoryGames / kMaxDayGames + 2, LongDay());
  days.back().games += 1;
  days.back().slump.push_back(0);
  days.front().date = "2025-05-01 23:00";
  ASSERT_TRUE(AppendToHistory(days));
  const History h = ReadHistory();
  EXPECT_TRUE(h.days.size() == kMaxHistoryGames / kMaxDayGames && h.days.front().date == "2025-06-01 23:00");
}

TEST_F(HistoryFileTest, AWriteCutOffAtAnyStepLeavesTheOldHistoryOrTheNewOneWhole) {
  ASSERT_TRUE(AppendToHistory(SampleDay(1)));
  const std::string before = Contents(), after = EncodeHistory({SampleDay(1), SampleDay(2)});
  for (int cut = 1; cut <= 6; ++cut) {
    std::ofstream(Path(), std::ios::binary) << before;
    SaveFaults = {cut, 0};
    AppendToHistory(SampleDay(2));
    SaveFaults = {};
    const std::string now = Contents();
    EXPECT_TRUE(now == before || now == after) << "cut after step " << cut;
    EXPECT_EQ(now == after, cut >= 5) << "cut after step " << cut;
    // The next read clears what the cut left, and the history reads whole.
    const History h = ReadHistory();
    EXPECT_FALSE(h.damaged) << "cut after step " << cut;
    EXPECT_FALSE(std::filesystem::exists(Path() + ".new")) << "cut after step " << cut;
  }
  // A write that fails (a full disk) says so and leaves the old history alone.
  for (int fail = 1; fail <= 5; ++fail) {
    std::ofstream(Path(), std::ios::binary) << before;
    SaveFaults = {0, fail};
    EXPECT_FALSE(AppendToHistory(SampleDay(2))) << "fail at step " << fail;
    SaveFaults = {};
    EXPECT_EQ(Contents(), before) << "fail at step " << fail;
    EXPECT_FALSE(std::filesystem::exists(Path() + ".new")) << "fail at step " << fail;
  }
}

}  // namespace
