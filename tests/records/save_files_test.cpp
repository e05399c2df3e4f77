// Loading, cross-checking, initialising and saving the player record through the title screen's boxes, and the
// end-of-day merge.
#include <tuple>

#include "harness/harness.h"
#include "title/title_data.h"

namespace {

using SaveFilesTest = RecordsTest;

TEST_F(SaveFilesTest, LoadShowsTheRecordAndRenamingKeepsEveryValue) {
  Store(KnownRecord());
  LoadData();
  EXPECT_TRUE(Same(Record, KnownRecord()));
  const std::pair<TextBox*, const char*> shown[] = {
      {&Form1.Text8, "1,234,567"}, {&Form1.Text1, "12"},   {&Form1.Text10, "3"}, {&Form1.Text6, "1500"},
      {&Form1.Text12, "7"},        {&Form1.Text14, "4321"}, {&Form1.Text15, "250"}, {&Form1.Text23, "2"},
      {&Form1.Text22, "5"},        {&Form1.Text4, "もふ太郎"}};
  for (auto [box, text] : shown) EXPECT_EQ(box->Text(), text) << box->Name();
  EXPECT_EQ(PlayerName, "もふ太郎");

  const Bytes vbdsnd = ReadSaveFile(kVbdsnd), dataFiles = ReadSaveFile(kDataFiles);
  Form1.Text4.Text = "  新しいモフ  ";
  SaveData();
  EXPECT_EQ(PlayerName, "新しいモフ");
  EXPECT_EQ(ReadSaveFile(kVbdsnd), vbdsnd);
  const Bytes renamed = ReadSaveFile(kDataFiles);
  EXPECT_TRUE(std::equal(dataFiles.begin(), dataFiles.begin() + 32, renamed.begin()));
  EXPECT_EQ(Trim(DecodeDataFiles(renamed).Name), "新しいモフ");
  EXPECT_TRUE(sim->Boxes().empty());

  // The savings and the records are saved as the boxes show them; the rest from memory.
  Form1.Text8.Text = "";  // reads as 0
  Form1.Text14.Text = "5000";
  Record.BankruptCount = 99;
  SaveData();
  const PlayerRecord stored = Stored();
  EXPECT_EQ(std::tie(stored.Savings.units, stored.BestCoins, stored.BankruptCount, stored.TotalMcCount),
            std::tuple(0, 5000, 99, 12));
}

TEST_F(SaveFilesTest, AnEditedCopyOfSavingsOrARecordIsDetected) {
  // The savings and each record, in "DataFiles" (from offset 0) and in "VBDSND1.DLL" (from offset 24).
  for (const char* file : {kDataFiles, kVbdsnd})
    for (int offset : {0, 8, 12, 16, 20, 24, 28}) {
      ResetGameState();
      Store(KnownRecord());
      Bytes bytes = ReadSaveFile(file);
      bytes[(std::string(file) == kDataFiles ? 0 : 24) + offset + 1] ^= 0x01;
      WriteAllBytes(file, bytes);
      sim->ClearBoxes();
      LoadData();
      EXPECT_EQ(BoxesSaying("データが壊れています。"), 1) << file << " +" << offset;
      EXPECT_TRUE(Same(Record, InitialRecord())) << file << " +" << offset;
      EXPECT_TRUE(Same(Stored(), InitialRecord()));
      EXPECT_EQ(PlayerName, "");
    }
  // An item field is in one file only: an edit there goes unseen.
  Store(KnownRecord());
  Bytes bytes = ReadSaveFile(kVbdsnd);
  bytes[10] = 0x20;  // PmcUpItem 9 becomes 10
  WriteAllBytes(kVbdsnd, bytes);
  sim->ClearBoxes();
  LoadData();
  EXPECT_TRUE(sim->Boxes().empty());
  EXPECT_EQ(Record.PmcUpItem, 10);
}

TEST_F(SaveFilesTest, InitialisingAsksThePlayerButNotWhenTheDataAreBroken) {
  Store(KnownRecord());
  LoadData();
  sim->Answer(vbNo);
  EXPECT_FALSE(InitialiseData());
  EXPECT_TRUE(Same(Stored(), KnownRecord()));
  ASSERT_EQ(sim->Boxes().size(), 1u);
  ExpectBox(0, "データを初期化します。よろしいですか？", "注意！");
  EXPECT_EQ(sim->Boxes()[0].buttons & 7, vbYesNo);

  sim->Answer(vbYes);
  EXPECT_TRUE(InitialiseData());
  EXPECT_TRUE(Same(Record, InitialRecord()));
  EXPECT_TRUE(Same(Stored(), InitialRecord()));
  EXPECT_EQ(Form1.Text8.Text(), "200,000");
  EXPECT_EQ(sim->Boxes().size(), 2u);  // the question again, and no word of broken data

  DataBroken = 100;
  EXPECT_TRUE(InitialiseData());
  ASSERT_EQ(sim->Boxes().size(), 3u);
  EXPECT_EQ(sim->Boxes()[2].text, "データが壊れています。");
  EXPECT_EQ(DataBroken, 0);
}

TEST_F(SaveFilesTest, AFirstRunWithoutFilesEndsInitialisedWithTheMessage) {
  LoadData();
  UpgradeFastPlayCoins();
  CheckFuaSpeed();
  EXPECT_TRUE(Same(Record, InitialRecord()));
  EXPECT_TRUE(Same(Stored(), InitialRecord()));
  ASSERT_EQ(sim->Boxes().size(), 1u);
  EXPECT_EQ(sim->Boxes()[0].text, "データが壊れています。");
  EXPECT_EQ(DataBroken, 0);
}

TEST_F(SaveFilesTest, OnlyFuaSpeedsOneToFourAreValid) {
  for (float speed : {1.0f, 2.0f, 3.0f, 4.0f, 0.0f, 5.0f, 2.5f, -1.0f}) {
    PlayerRecord r = KnownRecord();
    r.FuaSpeed = speed;
    Store(r);
    sim->ClearBoxes();
    LoadData();
    const bool valid = speed == 1 || speed == 2 || speed == 3 || speed == 4;
    EXPECT_EQ(CheckFuaSpeed(), valid) << speed;
    EXPECT_EQ(BoxesSaying("データが壊れています。"), valid ? 0 : 1) << speed;
    EXPECT_TRUE(Same(Record, valid ? r : InitialRecord())) << speed;
  }
}

TEST_F(SaveFilesTest, OldFastPlayCoinsAreUpgradedAndSaved) {
  for (auto [before, after] : {std::pair{8.0f, 9.0f}, {12.0f, 15.0f}, {7.0f, 7.0f}, {15.0f, 15.0f}}) {
    PlayerRecord r = KnownRecord();
    r.FastPlayCoins = before;
    Store(r);
    LoadData();
    UpgradeFastPlayCoins();
    r.FastPlayCoins = after;
    EXPECT_TRUE(Same(Record, r)) << before;
    EXPECT_TRUE(Same(Stored(), r)) << before;
  }
}

TEST_F(SaveFilesTest, TheShopSavesFromMemoryUnderTheNameLastLoaded) {
  Store(KnownRecord());
  LoadData();
  Form1.Text4.Text = "打ちかけの名前";
  Form1.Text8.Text = "1";
  Record.Savings = Currency::FromYen(234567);
  Record.ProxyContract = 15000;
  SaveShopData();
  PlayerRecord expected = KnownRecord();
  expected.Savings = Currency::FromYen(234567);
  expected.ProxyContract = 15000;
  EXPECT_TRUE(Same(Stored(), expected));
}

class EndOfDayTest : public RecordsTest {
 protected:
  void SetUp() override {
    RecordsTest::SetUp();
    Store(KnownRecord());
    Record = KnownRecord();
    PlayerName = "もふ太郎";
    Form2.Money.Caption = "10,000";
    Form2.Credits.Caption = "50";
    Form2.McCount.Caption = "3";
    Form2.PmcCount.Caption = "1";
    Play.CreditCoins = 50;
  }
};

TEST_F(EndOfDayTest, TheDayIsMergedFieldByField) {
  Mc.BestMcLength = 2000;                 // beats 1500
  Presentation.StreakMcCountMax = 4;      // below 7
  Play.StreakGamesMax = 300;              // beats 250
  Record.FanfareTotal = 9;                // beats 5
  Record.DigitalSpeed = 15;               // taken as it is
  Record.ProxyContract = 0;               // the proxy player walked out this morning
  Record.PmcUpItem = 10;                  // memory only: the stored 9 stands
  Record.BankruptCount = 40;              // memory only: the stored 2 stands
  Record.Savings = Currency::FromYen(1);  // the savings come from the machine screen
  PlayerName = "もふ次郎";
  EndOfDaySave();
  PlayerRecord expected = KnownRecord();
  expected.Savings = Currency::FromYen(11000);  // 10,000 yen and 50 coins at 20 yen
  expected.TotalMcCount = 15;
  expected.TotalPmcCount = 4;
  expected.BestMcGames = 2000;
  expected.BestMcRun = 300;
  expected.FanfareTotal = 9;
  expected.DigitalSpeed = 15;
  expected.ProxyContract = 0;
  expected.Name = FixedName("もふ次郎");
  EXPECT_TRUE(Same(Stored(), expected));
  EXPECT_EQ(PlayerName, "もふ次郎");

  // The next day: more coins than ever, smaller bests, the spectacles switched off, a bankruptcy.
  Play.CreditCoins = 4400;
  Form2.Credits.Caption = "4400";
  Form2.Money.Caption = "";
  Record.FanfareTotal = 1;
  Record.SpectaclesItem = 11;
  BankruptToday = 1;
  EndOfDaySave();
  const PlayerRecord next = Stored();
  EXPECT_EQ(next.Savings, Currency::FromYen(88000));
  EXPECT_EQ(std::tie(next.BestCoins, next.BestMcGames, next.FanfareTotal, next.SpectaclesItem, next.BankruptCount),
            std::tuple(4400, 2000, 9, 10, 3));
  EXPECT_TRUE(sim->Boxes().empty());
}

TEST_F(EndOfDayTest, GoneItemsStayGoneAndAnUnnamedPlayerSavesNothing) {
  Record.SpectaclesItem = 0;
  Form2.Money.Caption = "";
  Form2.Credits.Caption = "0";
  EndOfDaySave();
  EXPECT_EQ(Stored().SpectaclesItem, 0);
  EXPECT_EQ(Stored().ProxyContract, 1000);
  EXPECT_EQ(Stored().Savings.units, 0);
  EXPECT_EQ(Stored().BankruptCount, 2);

  std::remove(kDataFiles);
  std::remove(kVbdsnd);
  PlayerName.clear();
  EndOfDaySave();
  EXPECT_FALSE(FileExists(kDataFiles));
  EXPECT_FALSE(FileExists(kVbdsnd));
}

TEST_F(EndOfDayTest, AFileThatCannotBeReadIsLeftAloneForTheRunAndThePlayerPlaysOn) {
  const auto data = ReadAllBytes(kDataFiles), vbdsnd = ReadAllBytes(kVbdsnd);
  // The file that fails, and whether at the load (else at the cash-out, after a load that went well).
  const struct { const char* file; bool atLoad; } cases[] = {{kDataFiles, true}, {kVbdsnd, true}, {kVbdsnd, false}};
  for (const auto& c : cases) {
    HoldSaveFiles(SaveFilesHold::Free);
    Record = c.atLoad ? PlayerRecord{} : KnownRecord();
    sim->ClearBoxes();
    SaveFaults.unreadable = c.file;
    if (c.atLoad) {
      LoadData();
      LoadData();
      EXPECT_TRUE(Same(Record, InitialRecord()) && PlayerName.empty() &&
                  BoxesSaying("データを読み込めませんでした。") == 1) << c.file;
      SaveData();
    } else {
      PlayerName = "もふ太郎";
      EndOfDaySave();
      EXPECT_EQ(Record.Savings, Currency::FromYen(11000));  // the day's result holds in memory
    }
    SaveShopData();
    SaveFaults = {};
    LoadData();
    EXPECT_TRUE(BoxesSaying("データを保存できませんでした。") >= 2 && BoxesSaying("データが壊れています。") == 0 &&
                ReadAllBytes(kDataFiles) == data && ReadAllBytes(kVbdsnd) == vbdsnd) << c.file;
  }
  // Without the folder's lock the files are read but never written.
  HoldSaveFiles(SaveFilesHold::Free);
  HoldSaveFiles(SaveFilesHold::NoWrites);
  LoadData();
  EndOfDaySave();
  EXPECT_TRUE(Same(Record, KnownRecord()));
  EXPECT_EQ(ReadAllBytes(kVbdsnd), vbdsnd);
}

TEST_F(EndOfDayTest, ANameTheGameCannotDecodeIsWrittenBackAsTheBytesItWasReadFrom) {
  const auto nameBytes = [] { const Bytes d = *ReadAllBytes(kDataFiles); return Bytes(d.begin() + 32, d.end()); };
  const Bytes stored = nameBytes();
  SetCodePageConverterAvailable(false);
  LoadData();
  EXPECT_EQ(PlayerName, "????");  // one for each double-byte character
  for (void (*save)() : {SaveData, SaveShopData, EndOfDaySave}) {
    save();
    EXPECT_EQ(nameBytes(), stored);
  }
  // A plain name still registers without the converter; a name of blanks of either width is no name.
  Form1.Text4.Text = "mofu";
  SaveData();
  EXPECT_EQ(Trim(DecodeDataFiles(*ReadAllBytes(kDataFiles)).Name), "mofu");
  SetCodePageConverterAvailable(true);
  for (const char* blank : {"　", " 　 　", "\x01　"}) EXPECT_EQ(RegisteredName(FixedName(blank)), "") << blank;
}

}  // namespace
