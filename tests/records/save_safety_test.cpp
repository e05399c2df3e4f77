// Saves that are cut off or cannot be written, and save files of any length and content.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <limits>
#include <random>

#include "harness/harness.h"
#include "title/title_data.h"

namespace {

PlayerRecord OtherRecord(int n) {
  PlayerRecord r = InitialRecord();
  r.Savings = Currency::FromYen(50000.0 * n + 7);
  r.TotalMcCount = static_cast<float>(n);
  r.FastPlayCoins = 15;
  r.Name = FixedName("二代目" + std::to_string(n));
  return r;
}

// Nothing of a save is left lying beside the two files.
bool OnlyTheTwoFiles() {
  for (const auto& entry : std::filesystem::directory_iterator("."))
    if (entry.path().filename() != kDataFiles && entry.path().filename() != kVbdsnd) return false;
  return true;
}

class SaveSafetyTest : public RecordsTest {
 protected:
  // Starts from the old record alone on disk.
  void Begin(const PlayerRecord& old) {
    for (const auto& entry : std::filesystem::directory_iterator(".")) std::filesystem::remove(entry.path());
    Store(old);
  }
  // A save of the shop's kind, cut off after a step (0: not cut off).
  void SaveCutAfter(const PlayerRecord& r, int step) {
    Record = r;
    SaveFaults.cutAfterStep = step;
    SaveShopData();
    SaveFaults = SaveInterruption{};
  }
  PlayerRecord LoadAsTitle() {
    Record = PlayerRecord{};
    LoadData();
    return Record;
  }
};

TEST_F(SaveSafetyTest, ASaveCutOffAtAnyStepLoadsTheOldOrTheNewData) {
  // A new day's record, and a renaming that keeps the savings and records (a half-written file then still agrees
  // with the old one on them).
  PlayerRecord renamed = KnownRecord();
  renamed.Name = FixedName("もふ太郎二世");
  renamed.FuaSpeed = 1;
  for (const PlayerRecord& after : {OtherRecord(1), renamed})
    for (int cut = 1; cut <= kSaveSteps; ++cut) {
      Begin(KnownRecord());
      SaveCutAfter(after, cut);
      // Once both new files are complete (the marker at step 10) the save is carried through.
      EXPECT_TRUE(Same(LoadAsTitle(), cut >= 10 ? after : KnownRecord())) << "cut after step " << cut;
      EXPECT_TRUE(OnlyTheTwoFiles()) << "cut after step " << cut;
    }
  // Two saves cut off in a row: never the reset either.
  for (int first = 1; first <= kSaveSteps; ++first)
    for (int second = 1; second <= kSaveSteps; ++second) {
      Begin(KnownRecord());
      SaveCutAfter(OtherRecord(2), first);
      SaveCutAfter(OtherRecord(3), second);
      const PlayerRecord loaded = LoadAsTitle();
      EXPECT_TRUE(second >= 10 ? Same(loaded, OtherRecord(3))
                               : Same(loaded, KnownRecord()) || Same(loaded, OtherRecord(2)))
          << first << "/" << second;
    }
  EXPECT_TRUE(sim->Boxes().empty());
}

TEST_F(SaveSafetyTest, AWriteErrorSaysSoAndLeavesTheOldFiles) {
  Store(KnownRecord());
  const Bytes oldData = ReadSaveFile(kDataFiles), oldVbdsnd = ReadSaveFile(kVbdsnd);
  for (int fail = 1; fail <= kSaveSteps; ++fail) {
    Begin(KnownRecord());
    sim->ClearBoxes();
    Record = OtherRecord(4);
    SaveFaults.failAtStep = fail;
    SaveShopData();
    SaveFaults = SaveInterruption{};
    if (fail <= 11) {
      ASSERT_EQ(sim->Boxes().size(), 1u) << fail;
      ExpectBox(0, "データを保存できませんでした。", "注意！");
      EXPECT_EQ(ReadSaveFile(kDataFiles), oldData) << fail;
      EXPECT_EQ(ReadSaveFile(kVbdsnd), oldVbdsnd) << fail;
      EXPECT_TRUE(OnlyTheTwoFiles()) << fail;
    } else {
      // Past the first replacement the save completes from its marker: nothing was lost.
      EXPECT_TRUE(sim->Boxes().empty()) << fail;
      EXPECT_TRUE(Same(LoadAsTitle(), OtherRecord(4))) << fail;
    }
  }
}

TEST_F(SaveSafetyTest, AReadOnlyFolderSaysSoAndKeepsTheOldFiles) {
  Store(KnownRecord());
  const Bytes oldData = ReadSaveFile(kDataFiles), oldVbdsnd = ReadSaveFile(kVbdsnd);
  // The folder becomes read-only; a test run as root gives up its rights meanwhile.
  chmod(".", 0555);
  const bool root = geteuid() == 0 && seteuid(65534) == 0;
  LoadData();
  Form1.Text4.Text = "別の名前";
  SaveData();
  Form2.Money.Caption = "5,000";
  EndOfDaySave();
  // Data found broken that cannot be initialised on disk: the new player's record holds in memory.
  DataBroken = 100;
  EXPECT_TRUE(InitialiseData());
  if (root) {
    EXPECT_EQ(seteuid(0), 0);
  }
  chmod(".", 0700);
  EXPECT_EQ(BoxesSaying("データを保存できませんでした。"), 3);
  EXPECT_EQ(BoxesSaying("データが壊れています。"), 1);
  EXPECT_EQ(ReadSaveFile(kDataFiles), oldData);
  EXPECT_EQ(ReadSaveFile(kVbdsnd), oldVbdsnd);
  EXPECT_TRUE(Same(Record, InitialRecord()));
  EXPECT_EQ(PlayerName, "");
}

TEST_F(SaveSafetyTest, NamesThatHoldNoFileOrAHugeOneAreReadBoundedWithoutBlocking) {
  // 1 GiB files, sparse, whose first bytes are the true pair: only the layouts' bytes are read.
  Store(KnownRecord());
  ASSERT_EQ(truncate(kVbdsnd, 1LL << 30), 0);
  ASSERT_EQ(truncate(kDataFiles, 1LL << 30), 0);
  FileRead how = FileRead::NotAFile;
  EXPECT_EQ(ReadSaveFile(kVbdsnd, &how).size(), 80u);
  EXPECT_EQ(how, FileRead::Read);
  EXPECT_EQ(ReadSaveFile(kDataFiles).size(), 92u);
  EXPECT_TRUE(Same(LoadAsTitle(), KnownRecord()));
  EXPECT_TRUE(sim->Boxes().empty());

  // A FIFO, a link to an endless device and a folder in place of either file: damaged, so the data are
  // initialised, even for a player whose savings and records are all 0 and so read the same as nothing. The new
  // pair takes the place of a FIFO or a link; nothing can be written over a folder.
  PlayerRecord penniless = InitialRecord();
  penniless.Savings = Currency{};
  penniless.Name = FixedName("もふ");
  const std::function<int(const char*)> hostile[] = {[](const char* f) { return mkfifo(f, 0600); },
                                                     [](const char* f) { return symlink("/dev/zero", f); },
                                                     [](const char* f) { return mkdir(f, 0700); }};
  for (const char* file : {kDataFiles, kVbdsnd})
    for (int kind = 0; kind < 3; ++kind) {
      Begin(penniless);
      std::filesystem::remove(file);
      ASSERT_EQ(hostile[kind](file), 0);
      EXPECT_TRUE(ReadSaveFile(file, &how).empty());
      EXPECT_EQ(how, FileRead::NotAFile);
      sim->ClearBoxes();
      EXPECT_TRUE(Same(LoadAsTitle(), InitialRecord())) << file << " " << kind;
      EXPECT_EQ(BoxesSaying("データが壊れています。"), 1) << file << " " << kind;
      EXPECT_EQ(BoxesSaying("データを保存できませんでした。"), kind == 2 ? 1 : 0) << file << " " << kind;
      if (kind < 2) {
        EXPECT_TRUE(Same(Stored(), InitialRecord()) && OnlyTheTwoFiles()) << file << " " << kind;
      }
      std::filesystem::remove(file);
    }
}

TEST_F(SaveSafetyTest, ANonNumberInAnItemFieldReadsAsZeroButOneInARecordResetsTheData) {
  const float wild[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                        -std::numeric_limits<float>::infinity()};
  // The twelve fields of "VBDSND1.DLL" that "DataFiles" does not copy.
  for (int at : {0, 4, 8, 12, 16, 20, 56, 60, 64, 68, 72, 76}) {
    Bytes zeroed = EncodeVbdsnd(KnownRecord());
    std::memset(zeroed.data() + at, 0, 4);
    PlayerRecord expected = DecodeVbdsnd(zeroed);
    expected.Name = KnownRecord().Name;
    for (float w : wild) {
      Begin(KnownRecord());
      Bytes bytes = ReadSaveFile(kVbdsnd);
      std::memcpy(bytes.data() + at, &w, 4);
      WriteAllBytes(kVbdsnd, bytes);
      sim->ClearBoxes();
      EXPECT_TRUE(Same(LoadAsTitle(), expected)) << at << " " << w;
      EXPECT_TRUE(sim->Boxes().empty()) << at << " " << w;
    }
  }
  // A record is compared between the copies: an infinity in both still resets everything.
  for (int i = 0; i < kRecordCount; ++i) {
    Begin(KnownRecord());
    for (auto [file, at] : {std::pair{kDataFiles, 8 + 4 * i}, std::pair{kVbdsnd, 32 + 4 * i}}) {
      Bytes bytes = ReadSaveFile(file);
      std::memcpy(bytes.data() + at, &wild[1], 4);
      WriteAllBytes(file, bytes);
    }
    sim->ClearBoxes();
    EXPECT_TRUE(Same(LoadAsTitle(), InitialRecord())) << i;
    EXPECT_EQ(BoxesSaying("データが壊れています。"), 1) << i;
  }
}

TEST_F(SaveSafetyTest, LeftoversUnderTheSavesOwnNamesNeverStopASave) {
  // Folders, empty or not, where a save keeps its temporary files and its marker.
  for (const char* name : {"DataFiles.new", "VBDSND1.DLL.new", "SaveFiles.ready"})
    for (bool full : {false, true}) {
      Begin(KnownRecord());
      auto leave = [&] {
        std::filesystem::create_directory(name);
        if (full) WriteAllBytes(std::string(name) + "/junk", Bytes{1, 2, 3});
      };
      leave();
      EXPECT_TRUE(Same(LoadAsTitle(), KnownRecord())) << name << full;
      leave();
      sim->ClearBoxes();
      Record = OtherRecord(5);
      SaveShopData();
      EXPECT_TRUE(sim->Boxes().empty()) << name << full;
      EXPECT_TRUE(Same(Stored(), OtherRecord(5))) << name << full;
      EXPECT_TRUE(OnlyTheTwoFiles()) << name << full;
    }
}

// One file of a fuzzed pair: random bytes, or a real file cut, stretched, flipped or given a wild value.
Bytes Fuzzed(std::mt19937& rng, Bytes b) {
  const float wild[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 3.0e38f,
                        -1.0e30f, 1.0e-40f};
  switch (rng() % 6) {
    case 0:
      b.resize(rng() % 120);
      for (auto& x : b) x = static_cast<std::uint8_t>(rng());
      break;
    case 1:
      b.resize(rng() % (b.size() + 1));
      break;
    case 2:
      b.resize(b.size() + rng() % 200, static_cast<std::uint8_t>(rng()));
      break;
    case 3:
      b[rng() % b.size()] ^= static_cast<std::uint8_t>(1 + rng() % 255);
      break;
    case 4:
      std::memcpy(b.data() + 4 * (rng() % (b.size() / 4)), &wild[rng() % 5], 4);
      break;
  }
  return b;
}

TEST_F(SaveSafetyTest, SaveFilesOfAnyLengthAndContentLoadIntoAValidRecord) {
  std::mt19937 rng(20240607);
  PlayerRecord negative = KnownRecord();
  negative.Savings = Currency{-123456789};
  int initialised = 0;
  for (int i = 0; i < 3000; ++i) {
    const PlayerRecord real = i % 2 ? KnownRecord() : negative;
    WriteAllBytes(kDataFiles, Fuzzed(rng, EncodeDataFiles(real)));
    WriteAllBytes(kVbdsnd, rng() % 4 ? Fuzzed(rng, EncodeVbdsnd(real)) : EncodeVbdsnd(real));
    sim->ClearBoxes();
    LoadData();
    UpgradeFastPlayCoins();
    CheckFuaSpeed();
    ASSERT_TRUE(AllFieldsFinite(Record)) << i;
    ASSERT_TRUE(FuaSpeedValid(Record.FuaSpeed)) << i;
    ASSERT_EQ(DataBroken, 0);
    ASSERT_EQ(PlayerName, RegisteredName(Record.Name));
    ASSERT_EQ(PlayerName.find('\0'), std::string::npos);
    if (BoxesSaying("データが壊れています。") > 0) {
      ++initialised;
      ASSERT_TRUE(Same(Record, InitialRecord())) << i;
    }
    // Whatever was read, the pair on disk now agrees and holds the record in memory.
    ASSERT_TRUE(CopiesAgree(DecodeDataFiles(ReadSaveFile(kDataFiles)), DecodeVbdsnd(ReadSaveFile(kVbdsnd))));
    ASSERT_TRUE(Same(Stored(), Record)) << i;
  }
  // Both outcomes occur: the fuzzing reaches files that are accepted and files that are not.
  EXPECT_GT(initialised, 300);
  EXPECT_LT(initialised, 2700);
}

}  // namespace
