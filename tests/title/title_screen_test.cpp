#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <tuple>

#include "harness/harness.h"
#include "platform/folder_lock.h"
#include "title/one_copy.h"

namespace {

TEST_F(TitleTest, TheShopOpensFromEightyThousandYenAndAPoorPlayerIsRescued) {
  // {savings, shown and kept}: 1,000 yen is enough to play; 999 and nothing at all are raised to 30,000 and saved.
  for (auto [yen, shown, kept] : {std::tuple{80000, "80,000", 80000}, {79999, "79,999", 79999},
                                  {1000, "1,000", 1000}, {999, "30,000", 30000}, {0, "30,000", 30000}}) {
    Open(Player(yen));
    EXPECT_EQ(Form1.Text8.Text(), shown) << yen;
    EXPECT_EQ(Form1.Command3.Visible(), yen >= 80000) << yen;
    EXPECT_EQ(Stored().Savings, Currency::FromYen(kept)) << yen;
    EXPECT_EQ(Record.Savings, Currency::FromYen(kept)) << yen;
  }
  EXPECT_TRUE(sim->Boxes().empty());
  EXPECT_EQ(sound->Count("StSound5.wav", SoundAction::Play), 5);
}

TEST_F(TitleTest, TheFuaSpeedChoosesItsOptionAndTempoAndABadOneInitialisesTheData) {
  PlayerRecord r = Player(500000);
  r.FuaSpeed = 4;
  Open(r);
  EXPECT_TRUE(Form1.Option5.Value());
  EXPECT_FLOAT_EQ(FuaTempo, 44.0f);
  Click(Form1.Option8);
  EXPECT_FLOAT_EQ(FuaTempo, 47.0f);
  EXPECT_EQ(Stored().FuaSpeed, 1);
  EXPECT_FALSE(Form1.Option5.Value());

  for (float bad : {0.0f, 5.0f}) {
    sim->ClearBoxes();
    r.FuaSpeed = bad;
    Open(r);
    ASSERT_EQ(BoxesSaying("データが壊れています。"), 1) << bad;
    EXPECT_TRUE(Same(Stored(), InitialRecord()));
    EXPECT_EQ(Form1.Text8.Text(), "200,000");
    EXPECT_EQ(Form1.Text4.Text(), "");
  }
}

TEST_F(TitleTest, AFirstStartWithoutSaveFilesOpensOnANewPlayersRecord) {
  Open();
  EXPECT_EQ(BoxesSaying("データが壊れています。"), 1);
  EXPECT_TRUE(Same(Stored(), InitialRecord()));
  EXPECT_EQ(Form1.Text8.Text(), "200,000");
  // Empty files read as zeros: the rescue's 30,000 yen is written first, then the fua speed of 0 initialises
  // the data, which this load shows without choosing a speed.
  EXPECT_FALSE(Form1.Option7.Value());
  // The next start finds the files whole: the new player's speed, and 200,000 yen opens the shop.
  sim->ClearBoxes();
  Open();
  EXPECT_EQ(sim->Boxes().size(), 0u);
  EXPECT_TRUE(Form1.Option7.Value());
  EXPECT_TRUE(Form1.Command3.Visible());
  EXPECT_TRUE(Same(Stored(), InitialRecord()));
}

TEST_F(TitleTest, TheAccessCodeBringsOutTheInitialiseButtonForGood) {
  PlayerRecord r = KnownRecord();
  r.FanfareX5Item = 15;
  Open(r);
  EXPECT_TRUE(Form1.Command2.Enabled());
  sim->Type(Form1.Text4, "kemukemu");
  Run();
  EXPECT_TRUE(Form1.Command4.Visible());
  sim->Type(Form1.Text4, "");
  Run();
  EXPECT_TRUE(Form1.Command4.Visible());
  EXPECT_FALSE(Form1.Command2.Enabled());

  // Declined, nothing changes; accepted, the items go from the screen and the files.
  ClickAnswering(Form1.Command4, vbNo);
  EXPECT_TRUE(Form1.Frame3.Visible());
  EXPECT_TRUE(Same(Stored(), r));
  ClickAnswering(Form1.Command4, vbYes);
  EXPECT_TRUE(Same(Stored(), InitialRecord()));
  for (TextBox* t : {&Form1.Text3, &Form1.Text17, &Form1.Text18, &Form1.Text19, &Form1.Text25, &Form1.Text26})
    EXPECT_EQ(t->Text(), "") << t->Name();
  EXPECT_FALSE(Form1.Label11.Visible());
  EXPECT_FALSE(Form1.Frame3.Visible());
  EXPECT_FALSE(Form1.Frame4.Visible());
  EXPECT_EQ(Form1.Text8.Text(), "200,000");
}

TEST_F(TitleTest, OwnedItemsShowTheirTextsAndTheirSwitchesAreSaved) {
  // The skills heading stands over a contract alone or the T key alone, and not over nothing.
  for (auto [contract, coins] : {std::pair{100, 0}, {0, 9}, {0, 0}}) {
    PlayerRecord p = Player(500000);
    p.ProxyContract = static_cast<decltype(p.ProxyContract)>(contract);
    p.FastPlayCoins = static_cast<decltype(p.FastPlayCoins)>(coins);
    Open(p);
    EXPECT_EQ(Form1.Label11.Visible(), contract + coins > 0) << contract << " " << coins;
  }
  PlayerRecord r = KnownRecord();
  r.FastPlayCoins = 8;  // an old count, upgraded at the load
  r.SpectaclesItem = 11;
  r.SpectaclesGrade = 820;
  Open(r);
  EXPECT_EQ(Stored().FastPlayCoins, 9);
  EXPECT_TRUE(Form1.Label11.Visible());
  const std::pair<TextBox*, const char*> items[] = {
      {&Form1.Text3, "●『もこパパ』と契約"}, {&Form1.Text17, "●超便利！『Ｔ』(もこ)ボタン 9枚補償！"},
      {&Form1.Text26, "闇会員権ＧＥＴ！（閉店時間が遅くなるぞっ！！）"}, {&Form1.Text19, "●究極！！設定看破メガネ"},
      {&Form1.Text18, "●ＰＭＣ(ﾌﾟﾚﾐｱﾑﾓﾌﾗﾝﾁｬﾝｽ)確率ＵＰ(８％程度)"}, {&Form1.Text25, "(度数ＵＰ版)"},
      {&Form1.Text20, "●驚愕！！ファンファー連突入率５倍"}, {&Form1.Text27, "12"}};
  for (auto [box, text] : items) EXPECT_EQ(box->Text(), text) << box->Name();
  EXPECT_EQ(Play.DigitalSpeedSteps, 12);
  EXPECT_EQ(Form1.Command2.Caption(), "終　了");
  // Switched off at the load, the spectacles keep their upgrade: 820 while off, 821 when on again.
  EXPECT_TRUE(Form1.Option11.Value());
  EXPECT_FALSE(Form1.Text19.Enabled());
  EXPECT_EQ(Stored().SpectaclesGrade, 820);
  Click(Form1.Option12);
  EXPECT_EQ(Stored().SpectaclesItem, 10);
  EXPECT_EQ(Stored().SpectaclesGrade, 821);
  EXPECT_TRUE(Form1.Text19.Enabled());
  Click(Form1.Option11);
  EXPECT_EQ(Stored().SpectaclesItem, 11);
  EXPECT_EQ(Stored().SpectaclesGrade, 820);

  Click(Form1.Option10);
  Click(Form1.Option14);
  EXPECT_EQ(Stored().PmcUpItem, 10);
  EXPECT_EQ(Stored().FanfareX5Item, 16);
  Open();
  EXPECT_TRUE(Form1.Option10.Value());
  EXPECT_TRUE(Form1.Option14.Value());
  EXPECT_FALSE(Form1.Text20.Enabled());
}

TEST_F(TitleTest, TheDisplayIsAskedForAgainUntilDeclinedWhenMoneyIsShort) {
  PlayerRecord r = Player(129999);
  r.FanfareX5Item = 17;  // the display is sold to owners of the fanfare item
  Open(r);
  ASSERT_TRUE(Form1.Command5.Visible());
  for (int answer : {vbYes, vbOK, vbYes, vbOK, vbNo}) sim->Answer(answer);
  Click(Form1.Command5);
  ASSERT_EQ(sim->Boxes().size(), 5u);
  ExpectBox(0, "このアイテムは買った時のみ使用します", "１０万円です。");
  EXPECT_EQ(sim->Boxes()[1].text, "お金が足りません・・・。");
  EXPECT_EQ(sim->Boxes()[4].text, "このアイテムは買った時のみ使用します");
  EXPECT_TRUE(Form1.Command5.Visible());
  EXPECT_EQ(Stored().Savings, Currency::FromYen(129999));

  r.Savings = Currency::FromYen(130000);
  Open(r);
  ClickAnswering(Form1.Command5, vbYes);
  EXPECT_FALSE(Form1.Command5.Visible());
  EXPECT_EQ(Lottery.LotteryDisplayBought, 1);
  EXPECT_EQ(Form1.Text8.Text(), "30,000");
  EXPECT_EQ(Stored().Savings, Currency::FromYen(30000));
  EXPECT_EQ(sound->Count("Bell.wav", SoundAction::Play), 1);
  // Bought once per run: the button stays away.
  Open();
  EXPECT_FALSE(Form1.Command5.Visible());
}

TEST_F(TitleTest, RegisteringAndRenamingKeepEveryValue) {
  // No name stored: the typed name is registered.
  Store(Player(250000));
  Open(Player(250000, ""));
  EXPECT_FALSE(Form1.Command2.Enabled());
  sim->Type(Form1.Text4, "  もふ太郎 ");
  Click(Form1.Command2);
  EXPECT_EQ(Trim(Stored().Name), "もふ太郎");
  EXPECT_EQ(PlayerName, "もふ太郎");
  EXPECT_EQ(Form1.Text4.Text(), "もふ太郎");

  PlayerRecord r = KnownRecord();
  r.FanfareX5Item = 15;
  Open(r);
  // Declined: the stored name comes back.
  sim->Type(Form1.Text4, "新しい名前");
  ClickAnswering(Form1.Command2, vbNo);
  ExpectBox(-1, "もふ太郎さんの名前を変更しますか？", "注意！");
  EXPECT_EQ(Form1.Text4.Text(), "もふ太郎");
  EXPECT_TRUE(Same(Stored(), r));
  // Accepted: only the name changes.
  sim->Type(Form1.Text4, "新しい名前");
  ClickAnswering(Form1.Command2, vbYes);
  PlayerRecord renamed = r;
  renamed.Name = FixedName("新しい名前");
  EXPECT_TRUE(Same(Stored(), renamed));
  EXPECT_EQ(PlayerName, "新しい名前");
  // The same name again: saved without a question.
  const size_t boxes = sim->Boxes().size();
  Click(Form1.Command2);
  EXPECT_EQ(sim->Boxes().size(), boxes);
  EXPECT_TRUE(Same(Stored(), renamed));
}

TEST_F(TitleTest, WithoutSoundTheScreenKeepsItsDesignAndLoadsNothing) {
  sound->initResult = 0;
  Open(Player(500000));
  ASSERT_EQ(sim->Boxes().size(), 1u);
  EXPECT_EQ(sim->Boxes()[0].text, "DirectSoundは使えません。");
  EXPECT_EQ(Form1.Text8.Text(), "");
  EXPECT_FALSE(Form1.Command3.Visible());
  EXPECT_TRUE(Form1.Command1.Visible());
}

TEST_F(TitleTest, AfterADayTheScreenIsARecordAndQuitReleasesTheSounds) {
  BackFromMachine = 1;
  Open(Player(90000));
  for (Element* e : std::initializer_list<Element*>{&Form1.Command1, &Form1.Frame2, &Form1.Command5})
    EXPECT_FALSE(e->Visible()) << e->Name();
  EXPECT_TRUE(Form1.Command3.Visible());
  EXPECT_EQ(Form1.Label6.Caption(), "もふさんの記録！！");
  EXPECT_EQ(Form1.Command2.Caption(), "終　了");
  EXPECT_TRUE(Form1.Command2.Enabled());
  Click(Form1.Command2);
  EXPECT_FALSE(Form1.Loaded());
  EXPECT_TRUE(SoundBankReleased());
  EXPECT_EQ(sound->LiveBuffers(), 0u);
  EXPECT_EQ(sound->Events().back().action, SoundAction::Quit);
}

TEST_F(TitleTest, BlanksControlCharactersAndCharactersTheFileCannotHoldNeverMakeAName) {
  Open(Player(250000, ""));
  const PlayerRecord unnamed = Stored();
  // Blanks, half- or full-width, and control characters alone are an empty box.
  for (const char* blank : {"   ", "　　", "\t", " \r\n　\x7f"}) {
    sim->Type(Form1.Text4, "もふ");
    Run();
    sim->Type(Form1.Text4, blank);
    Run();
    EXPECT_FALSE(Form1.Command2.Enabled()) << blank;
  }
  // A character the file's code page cannot hold: the player is told, and nothing is registered, nor saved with
  // an option, until the name is changed.
  for (const char* foreign : {"もふ😀", "한글", "café"}) {
    sim->Type(Form1.Text4, foreign);
    Run();
    ASSERT_TRUE(Form1.Command2.Enabled());
    sim->ClearBoxes();
    Click(Form1.Command2);
    ASSERT_EQ(sim->Boxes().size(), 1u) << foreign;
    ExpectBox(0, "この文字は名前に使えません。", "注意！");
    EXPECT_EQ(sim->Boxes()[0].buttons & 7, vbOKOnly);
    EXPECT_EQ(PlayerName, "");
    Click(Form1.Option6);
    EXPECT_EQ(Stored().Name, unnamed.Name) << foreign;
    EXPECT_EQ(Stored().FuaSpeed, 3);
    Click(Form1.Option7);
  }
  // Control characters, C0 and C1, go before the name is registered.
  sim->Type(Form1.Text4, "\tもふ\n太\x7f郎\u0085 ");
  sim->ClearBoxes();
  Click(Form1.Command2);
  EXPECT_TRUE(sim->Boxes().empty());
  EXPECT_EQ(Trim(Stored().Name), "もふ太郎");
  EXPECT_EQ(Form1.Text4.Text(), "もふ太郎");
  // A box of blanks opens a test play.
  sim->Type(Form1.Text4, "　 ");
  Click(Form1.Command1);
  ASSERT_EQ(sim->Boxes().size(), 1u);
  EXPECT_EQ(sim->Boxes()[0].text, "テストプレイでオープンします。");
}

TEST_F(TitleTest, WithoutItsSoundFolderTheDayIsPlayedAndNoSaveFileIsTouchedAnywhere) {
  // The game is started from a folder that holds save files of its own; its sound folder can be neither entered
  // nor made, for a file stands in its place.
  const std::string start = folder->Path() + "/start";
  std::filesystem::create_directory(start);
  ChangeFolder(start);
  Store(Player(500000));
  const auto data = ReadAllBytes(kDataFiles), vbdsnd = ReadAllBytes(kVbdsnd);
  std::filesystem::remove_all(folder->Path() + "/soundMofuran");
  ASSERT_TRUE(WriteAllBytes(folder->Path() + "/soundMofuran", Bytes{1}));
  Open();
  // The first save says it failed; the new player's record holds in memory.
  ASSERT_FALSE(sim->Boxes().empty());
  ExpectBox(0, "データを保存できませんでした。", "注意！");
  EXPECT_EQ(Form1.Text8.Text(), "200,000");
  sim->Type(Form1.Text4, "もふ");
  sim->ClearBoxes();
  Click(Form1.Command2);
  EXPECT_EQ(BoxesSaying("データを保存できませんでした。"), 1);
  EXPECT_EQ(PlayerName, "もふ");

  // The day is played and cashed out; the title screen then shows its result from memory.
  Click(Form1.Command1);
  ASSERT_TRUE(Form2.Loaded());
  Form2.Money.Caption = "123,000";
  sim->ClearBoxes();
  CashOut(1.0);
  ASSERT_TRUE(Form1.Loaded());
  // The cash-out's save fails, and so does the title screen's own save of its speed option.
  EXPECT_GE(BoxesSaying("データを保存できませんでした。"), 1);
  EXPECT_EQ(Form1.Text8.Text(), "123,000");
  EXPECT_EQ(Form1.Label6.Caption(), "もふさんの記録！！");

  // Nothing was written where the game was started nor beside the program.
  EXPECT_EQ(ReadAllBytes(kDataFiles), data);
  EXPECT_EQ(ReadAllBytes(kVbdsnd), vbdsnd);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(start), {}), 2);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder->Path()), {}), 2);
}

TEST_F(TitleTest, ASecondCopyOnTheSameSaveFolderQuitsAndACrashedCopysLockNeverBlocks) {
  Store(Player(90000));
  const Bytes data = ReadSaveFile(kDataFiles), vbdsnd = ReadSaveFile(kVbdsnd);
  const std::string lock = folder->Path() + "/soundMofuran/SaveFiles.lock";
  // Another copy, a process of its own, holds the save folder until told to go; it then ends as a crash would,
  // leaving its lock file behind.
  int ready[2], hold[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(hold), 0);
  const pid_t other = fork();
  ASSERT_GE(other, 0);
  if (other == 0) {
    close(hold[1]);
    char c = TakeSaveFolder() ? 'y' : 'n';
    if (write(ready[1], &c, 1) != 1 || read(hold[0], &c, 1) < 0) _exit(1);
    _exit(0);
  }
  close(hold[0]);
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');

  EXPECT_FALSE(TakeSaveFolder());
  ASSERT_EQ(sim->Boxes().size(), 1u);
  ExpectBox(0, "モフランは既に起動しています。", "注意！");
  EXPECT_EQ(sim->Boxes()[0].buttons & 7, vbOKOnly);
  EXPECT_EQ(ReadSaveFile(kDataFiles), data);
  EXPECT_EQ(ReadSaveFile(kVbdsnd), vbdsnd);

  close(hold[1]);
  ASSERT_EQ(waitpid(other, nullptr, 0), other);
  close(ready[0]);
  close(ready[1]);
  ASSERT_TRUE(FileExists(lock));
  sim->ClearBoxes();
  EXPECT_TRUE(TakeSaveFolder());
  // A lock whose process number now belongs to another program is just as stale.
  ReleaseFolderLock();
  ASSERT_TRUE(WriteAllBytes(lock, Bytes{'1', '\n', 'x', '\n', '\n'}));
  EXPECT_TRUE(TakeSaveFolder());
  EXPECT_TRUE(sim->Boxes().empty());
  // The lock goes with the run.
  ReleaseFolderLock();
  EXPECT_FALSE(FileExists(lock));
}

// Each screen's window is as large as its design: the title and the shop share a height.
TEST(ScreenSizeTest, EachScreenHasItsOwnSize) {
  const std::tuple<const Screen*, int, int> sizes[] = {{&Form1, 608, 468}, {&Form3, 700, 468}, {&Form2, 757, 596}};
  for (const auto& [screen, width, height] : sizes)
    EXPECT_EQ(std::pair(screen->ClientWidth, screen->ClientHeight), std::pair(width, height)) << screen->Name();
}

}  // namespace
