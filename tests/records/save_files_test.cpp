// Loading, cross-checking, initialising and saving the player record through the title screen's boxes, and the
// end-of-day merge.
#include "records_fixture.h"

namespace {

class SaveFilesTest : public RecordsTest {};

TEST_F(SaveFilesTest, LoadShowsTheRecordAndTheName) {
  Store(KnownRecord());
  LoadData();
  EXPECT_TRUE(Same(Record, KnownRecord()));
  EXPECT_EQ(Form1.Text8.Text(), "1,234,567");
  EXPECT_EQ(Form1.Text1.Text(), "12");
  EXPECT_EQ(Form1.Text10.Text(), "3");
  EXPECT_EQ(Form1.Text6.Text(), "1500");
  EXPECT_EQ(Form1.Text12.Text(), "7");
  EXPECT_EQ(Form1.Text14.Text(), "4321");
  EXPECT_EQ(Form1.Text15.Text(), "250");
  EXPECT_EQ(Form1.Text23.Text(), "2");
  EXPECT_EQ(Form1.Text22.Text(), "5");
  EXPECT_EQ(PlayerName, "もふ太郎");
  EXPECT_EQ(Form1.Text4.Text(), "もふ太郎");
  EXPECT_EQ(DataBroken, 0);
  EXPECT_TRUE(sim.Boxes().empty());
}

TEST_F(SaveFilesTest, RenamingKeepsEveryValueAndChangesOnlyTheName) {
  Store(KnownRecord());
  LoadData();
  const Bytes vbdsnd = ReadSaveFile(kVbdsnd), dataFiles = ReadSaveFile(kDataFiles);
  Form1.Text4.Text = "  新しいモフ  ";
  SaveData();
  EXPECT_EQ(PlayerName, "新しいモフ");
  EXPECT_EQ(ReadSaveFile(kVbdsnd), vbdsnd);
  const Bytes renamed = ReadSaveFile(kDataFiles);
  EXPECT_TRUE(std::equal(dataFiles.begin(), dataFiles.begin() + 32, renamed.begin()));
  EXPECT_NE(renamed, dataFiles);
  LoadData();
  PlayerRecord expected = KnownRecord();
  expected.Name = FixedName("  新しいモフ");
  EXPECT_TRUE(Same(Record, expected));
  EXPECT_EQ(Form1.Text4.Text(), "新しいモフ");
}

TEST_F(SaveFilesTest, SaveTakesSavingsAndRecordsFromTheBoxes) {
  Store(KnownRecord());
  LoadData();
  Form1.Text8.Text = "";       // an empty savings box reads as 0
  Form1.Text14.Text = "5000";  // most coins
  Record.BankruptCount = 99;   // not one of the boxes' fields: taken from memory
  SaveData();
  const PlayerRecord stored = Stored();
  EXPECT_EQ(stored.Savings.units, 0);
  EXPECT_EQ(stored.BestCoins, 5000);
  EXPECT_EQ(stored.BankruptCount, 99);
  EXPECT_EQ(stored.TotalMcCount, 12);
}

TEST_F(SaveFilesTest, AnEditedCopyOfSavingsOrARecordIsDetected) {
  // The savings and each record, in "DataFiles" (from offset 0) and in "VBDSND1.DLL" (from offset 24).
  for (const char* file : {kDataFiles, kVbdsnd}) {
    const int base = std::string(file) == kDataFiles ? 0 : 24;
    for (int offset : {0, 8, 12, 16, 20, 24, 28}) {
      SetUp();
      Store(KnownRecord());
      Bytes bytes = ReadSaveFile(file);
      bytes[base + offset + 1] ^= 0x01;
      WriteAllBytes(file, bytes);
      sim.ClearBoxes();
      LoadData();
      EXPECT_EQ(BoxesSaying("データが壊れています。"), 1) << file << " +" << offset;
      EXPECT_TRUE(Same(Record, InitialRecord())) << file << " +" << offset;
      EXPECT_TRUE(Same(Stored(), InitialRecord()));
      EXPECT_EQ(PlayerName, "");
      EXPECT_EQ(DataBroken, 0);
    }
  }
  // An item field is in one file only: an edit there goes unseen.
  SetUp();
  Store(KnownRecord());
  Bytes bytes = ReadSaveFile(kVbdsnd);
  bytes[10] = 0x20;  // PmcUpItem 9 becomes 10
  WriteAllBytes(kVbdsnd, bytes);
  sim.ClearBoxes();
  LoadData();
  EXPECT_TRUE(sim.Boxes().empty());
  EXPECT_EQ(Record.PmcUpItem, 10);
}

TEST_F(SaveFilesTest, InitialisingAsksThePlayerButNotWhenTheDataAreBroken) {
  Store(KnownRecord());
  LoadData();
  sim.Answer(vbNo);
  EXPECT_FALSE(InitialiseData());
  EXPECT_TRUE(Same(Stored(), KnownRecord()));
  EXPECT_TRUE(Same(Record, KnownRecord()));
  ASSERT_EQ(sim.Boxes().size(), 1u);
  EXPECT_EQ(sim.Boxes()[0].text, "データを初期化します。よろしいですか？");
  EXPECT_EQ(sim.Boxes()[0].title, "注意！");
  EXPECT_EQ(sim.Boxes()[0].buttons & 7, vbYesNo);

  sim.Answer(vbYes);
  EXPECT_TRUE(InitialiseData());
  EXPECT_TRUE(Same(Record, InitialRecord()));
  EXPECT_TRUE(Same(Stored(), InitialRecord()));
  EXPECT_EQ(Form1.Text8.Text(), "200,000");
  EXPECT_EQ(PlayerName, "");
  EXPECT_EQ(sim.Boxes().size(), 2u);  // the question again, and no word of broken data

  DataBroken = 100;
  EXPECT_TRUE(InitialiseData());
  ASSERT_EQ(sim.Boxes().size(), 3u);
  EXPECT_EQ(sim.Boxes()[2].text, "データが壊れています。");
  EXPECT_EQ(sim.Boxes()[2].buttons & 7, vbOKOnly);
  EXPECT_EQ(DataBroken, 0);
}

TEST_F(SaveFilesTest, AFirstRunWithoutFilesEndsInitialisedWithTheMessage) {
  LoadData();
  UpgradeFastPlayCoins();
  CheckFuaSpeed();
  EXPECT_TRUE(Same(Record, InitialRecord()));
  EXPECT_TRUE(Same(Stored(), InitialRecord()));
  ASSERT_EQ(sim.Boxes().size(), 1u);
  EXPECT_EQ(sim.Boxes()[0].text, "データが壊れています。");
  EXPECT_EQ(PlayerName, "");
  EXPECT_EQ(DataBroken, 0);
}

TEST_F(SaveFilesTest, OnlyFuaSpeedsOneToFourAreValid) {
  for (float speed : {1.0f, 2.0f, 3.0f, 4.0f, 0.0f, 5.0f, 2.5f, -1.0f}) {
    SetUp();
    PlayerRecord r = KnownRecord();
    r.FuaSpeed = speed;
    Store(r);
    sim.ClearBoxes();
    LoadData();
    const bool valid = speed >= 1 && speed <= 4 && speed == static_cast<int>(speed);
    EXPECT_EQ(CheckFuaSpeed(), valid) << speed;
    EXPECT_EQ(Record.FuaSpeed, valid ? speed : 2.0f);
    EXPECT_EQ(BoxesSaying("データが壊れています。"), valid ? 0 : 1) << speed;
    EXPECT_EQ(Record.Savings, valid ? KnownRecord().Savings : Currency::FromYen(200000));
  }
}

TEST_F(SaveFilesTest, OldFastPlayCoinsAreUpgradedAndSaved) {
  for (auto [before, after] : {std::pair{8.0f, 9.0f}, {12.0f, 15.0f}, {7.0f, 7.0f}, {15.0f, 15.0f}, {0.0f, 0.0f}}) {
    PlayerRecord r = KnownRecord();
    r.FastPlayCoins = before;
    Store(r);
    LoadData();
    UpgradeFastPlayCoins();
    EXPECT_EQ(Record.FastPlayCoins, after);
    r.FastPlayCoins = after;
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
    Form2.Label6.Caption = "10,000";
    Form2.Label8.Caption = "50";
    Form2.Label26.Caption = "3";
    Form2.Label25.Caption = "1";
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
  EXPECT_TRUE(sim.Boxes().empty());
}

TEST_F(EndOfDayTest, BestsBelowTheStoredOnesAndKeptItemsStayAsStored) {
  Play.CreditCoins = 4400;  // beats 4321
  Form2.Label8.Caption = "4400";
  Record.FanfareTotal = 1;
  Record.SpectaclesItem = 11;
  EndOfDaySave();
  const PlayerRecord stored = Stored();
  EXPECT_EQ(stored.BestCoins, 4400);
  EXPECT_EQ(stored.FanfareTotal, 5);
  EXPECT_EQ(stored.SpectaclesItem, 10);
  EXPECT_EQ(stored.ProxyContract, 1000);
  EXPECT_EQ(stored.BestMcGames, 1500);
  EXPECT_EQ(stored.Savings, Currency::FromYen(98000));
}

TEST_F(EndOfDayTest, ABankruptDayAddsExactlyOne) {
  Record.BankruptCount = 40;  // the stored count is the one that grows
  EndOfDaySave();
  EXPECT_EQ(Stored().BankruptCount, 2);
  BankruptToday = 1;
  Record.SpectaclesItem = 0;
  Form2.Label6.Caption = "";
  Form2.Label8.Caption = "0";
  EndOfDaySave();
  EXPECT_EQ(Stored().BankruptCount, 3);
  EXPECT_EQ(Stored().SpectaclesItem, 0);
  EXPECT_EQ(Stored().Savings.units, 0);
}

TEST_F(EndOfDayTest, APlayerWithoutANameSavesNothing) {
  std::remove(kDataFiles);
  std::remove(kVbdsnd);
  PlayerName.clear();
  EndOfDaySave();
  EXPECT_FALSE(FileExists(kDataFiles));
  EXPECT_FALSE(FileExists(kVbdsnd));
}

TEST(TitleFormTest, TheRecordBoxesExistWithTheirDesignValues) {
  SimBackend sim;
  auto load = std::move(Form1.OnLoad);
  Form1.OnLoad = nullptr;
  Form1.Load();
  EXPECT_EQ(Form1.Label3.Caption(), "貯蓄金額");
  EXPECT_EQ(Form1.Text7.Text(), "円");
  EXPECT_EQ(Form1.Label4.Caption(), "名前");
  EXPECT_EQ(Form1.Text4.Text(), "");
  EXPECT_FALSE(Form1.Text4.Locked());
  for (TextBox* box : {&Form1.Text8, &Form1.Text1, &Form1.Text10, &Form1.Text6, &Form1.Text12, &Form1.Text14,
                       &Form1.Text15, &Form1.Text23, &Form1.Text22}) {
    EXPECT_EQ(box->Text(), "") << box->Name();
    EXPECT_TRUE(box->Locked()) << box->Name();
  }
  EXPECT_EQ(Form1.Label12.Caption(), "ﾌｧﾝﾌｧｰ連数");
  EXPECT_FALSE(Form1.Command3.Visible());
  EXPECT_FALSE(Form1.Command4.Visible());
  EXPECT_FALSE(Form1.Frame3.Visible());
  EXPECT_TRUE(Form1.Option9.Value());
  EXPECT_FALSE(Form1.Option10.Value());
  EXPECT_EQ(Form1.Option9.Container, &Form1.Frame3);
  Form1.Unload();
  Form1.OnLoad = std::move(load);
}

}  // namespace
