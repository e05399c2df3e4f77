// The title screen and the shop in real windows: what a player types, clicks and sees.
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>

#include "harness/windows.h"

namespace {

class TitleWindowTest : public WindowTest {
 protected:
  QLineEdit* NameBox() { return WidgetOf<QLineEdit>(Form1.Text4); }
  void TypeInName(const QString& keys) {
    QLineEdit* box = NameBox();
    box->setFocus();
    QTest::keyClicks(box, keys);
  }
};

// The darkest pixel of a widget as drawn: its text, where it has any.
int DarkestGrey(QWidget* w) {
  const QImage image = w->grab().toImage();
  int darkest = 255;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
  return darkest;
}

TEST_F(TitleWindowTest, TheNameBoxEditsWithArrowsHomeEndBackspaceAndAnInputMethod) {
  StorePlayer(100000, "");
  Open(Form1);
  QLineEdit* box = NameBox();
  ASSERT_NE(box, nullptr);
  TypeInName("abc");
  QTest::keyClick(box, Qt::Key_Left);
  QTest::keyClick(box, Qt::Key_Left);
  QTest::keyClicks(box, "X");
  EXPECT_EQ(Form1.Text4.Text(), "aXbc");
  QTest::keyClick(box, Qt::Key_Home);
  QTest::keyClicks(box, "Z");
  // Escape has nothing to cancel: the text stays.
  for (Qt::Key key : {Qt::Key_End, Qt::Key_Backspace, Qt::Key_Escape, Qt::Key_Up, Qt::Key_Down})
    QTest::keyClick(box, key);
  EXPECT_EQ(Form1.Text4.Text(), "ZaXb");
  EXPECT_TRUE(Form1.Command2.Enabled());
  // A Japanese name committed by the input method, at the caret.
  QTest::keyClick(box, Qt::Key_Home);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("もふ"));
  QApplication::sendEvent(box, &commit);
  EXPECT_EQ(Form1.Text4.Text(), "もふZaXb");
  box->selectAll();
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(Form1.Text4.Text(), "");
  EXPECT_FALSE(Form1.Command2.Enabled());
}

TEST_F(TitleWindowTest, EnterInTheNameBoxRegistersOnlyWhileTheButtonRegisters) {
  StorePlayer(100000, "");
  Open(Form1);
  QTest::keyClick(NameBox(), Qt::Key_Return);  // an empty box: the button is off, nothing is registered
  EXPECT_EQ(StoredName(), "");
  TypeInName("mofu");
  QTest::keyClick(NameBox(), Qt::Key_Return);
  EXPECT_EQ(StoredName(), "mofu");
  // Another name: the question comes, answered by Enter (yes).
  NameBox()->selectAll();
  QTest::keyClicks(NameBox(), "taro");
  auto asked = AnswerNextBox(Qt::Key_Return);
  QTest::keyClick(NameBox(), Qt::Key_Enter);
  EXPECT_TRUE(asked->seen);
  EXPECT_EQ(asked->text, QStringLiteral("mofuさんの名前を変更しますか？"));
  EXPECT_EQ(StoredName(), "taro");
  // After a day the button quits: Enter in the box does not.
  Form1.Unload();
  BackFromMachine = 1;
  Open(Form1);
  ASSERT_EQ(Form1.Command2.Caption(), "終　了");
  QTest::keyClick(NameBox(), Qt::Key_Return);
  EXPECT_TRUE(Form1.Loaded());
}

TEST_F(TitleWindowTest, ClicksOnOptionsAndButtonsReachTheGameAndStartHandsTheKeysToTheMachine) {
  StorePlayer(100000);
  Open(Form1);
  QTest::mouseClick(WidgetOf<QRadioButton>(Form1.Option6), Qt::LeftButton);
  EXPECT_TRUE(Form1.Option6.Value());
  EXPECT_FALSE(Form1.Option7.Value());
  EXPECT_EQ(Record.FuaSpeed, 3);
  EXPECT_EQ(DecodeVbdsnd(ReadSaveFile(kVbdsnd)).FuaSpeed, 3);
  QWidget* title = ViewOf(Form1);
  QScreen* display = title->screen();
  // Start: the machine opens on the same display, centred, and has the keyboard.
  QTest::mouseClick(WidgetOf<QPushButton>(Form1.Command1), Qt::LeftButton);
  ASSERT_TRUE(Form2.Loaded());
  EXPECT_FALSE(Form1.Loaded());
  QWidget* machine = ViewOf(Form2);
  ASSERT_TRUE(QTest::qWaitForWindowActive(machine));
  EXPECT_EQ(machine->screen(), display);
  EXPECT_LE((machine->geometry().center() - display->availableGeometry().center()).manhattanLength(), 4);
  EXPECT_EQ(QApplication::focusWidget(), machine);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_4);
  EXPECT_EQ(Reels.ReelStep, 30);
}

TEST_F(TitleWindowTest, DisabledControlsAreGreyed) {
  PlayerRecord r = InitialRecord();
  r.Savings = Currency::FromYen(100000);
  r.PmcUpItem = 9;
  ASSERT_TRUE(WriteSavePair(EncodeDataFiles(r), EncodeVbdsnd(r)));
  Open(Form1);
  auto* button = WidgetOf<QPushButton>(Form1.Command2);
  ASSERT_FALSE(Form1.Command2.Enabled());
  const int disabledButton = DarkestGrey(button);
  Form1.Text4.Text = "mofu";
  ASSERT_TRUE(Form1.Command2.Enabled());
  const int enabledButton = DarkestGrey(button);
  EXPECT_GT(disabledButton, enabledButton + 50);

  QWidget* item = WidgetOf<QWidget>(Form1.Text18);
  const int inUse = DarkestGrey(item);
  QTest::mouseClick(WidgetOf<QRadioButton>(Form1.Option10), Qt::LeftButton);  // 使わない
  EXPECT_FALSE(Form1.Text18.Enabled());
  EXPECT_GT(DarkestGrey(item), inUse + 50);
  QTest::mouseClick(WidgetOf<QRadioButton>(Form1.Option9), Qt::LeftButton);  // 使う
  EXPECT_EQ(DarkestGrey(item), inUse);

  // A new back colour reaches the widget even where the grey comes out as before (a grey is a half, rounded down).
  Form1.Text18.ForeColor = 0x000000;
  Form1.Text18.BackColor = 0xF0F0F0;
  Form1.Text18.BackColor = 0xF0F0F1;
  EXPECT_EQ(item->palette().color(QPalette::Window), QColor(0xF0, 0xF0, 0xF1));
  EXPECT_EQ(item->palette().color(QPalette::Disabled, QPalette::Text), QColor(0x78, 0x78, 0x78));
}

TEST_F(TitleWindowTest, ALongNameShowsFromItsBeginningAndTheRecordHeadingStaysOnOneLine) {
  const std::string longName = "もふもふ太郎のパチスロ道場へようこそいらっしゃいませお客さま";  // 30 characters
  StorePlayer(100000, longName);
  BackFromMachine = 1;
  PlayerName = FixedName(longName);
  Open(Form1);
  QLineEdit* box = NameBox();
  EXPECT_EQ(box->text(), QString::fromStdString(longName));
  EXPECT_EQ(box->cursorPosition(), 0);

  auto* heading = WidgetOf<QLabel>(Form1.Label6);
  ASSERT_EQ(Form1.Label6.Caption(), Trim(longName) + "さんの記録！！");
  const QString shown = heading->text();
  EXPECT_FALSE(heading->wordWrap());
  EXPECT_TRUE(shown.startsWith(QStringLiteral("もふもふ"))) << shown.toStdString();
  EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith(QStringLiteral("さんの記録！！"))) << shown.toStdString();
  EXPECT_LE(QFontMetrics(heading->font()).horizontalAdvance(shown), Form1.Label6.Width());
  EXPECT_EQ(heading->toolTip().toStdString(), Form1.Label6.Caption());
  // A short name is shown as it is.
  PlayerName = "もふ";
  Form1.Label6.Caption = "もふさんの記録！！";
  EXPECT_EQ(heading->text(), QStringLiteral("もふさんの記録！！"));
}

TEST_F(TitleWindowTest, TheShopsPricesStandRightAlignedUnderEachOther) {
  Record.Savings = Currency::FromYen(20000000);
  QtScreenView* shop = Open(Form3);
  ASSERT_NE(shop, nullptr);
  struct Priced {
    OptionButton& option;
    const char* price;
  };
  const std::vector<std::vector<Priced>> columns = {
      {{Form3.Option1, "50,000円"},
       {Form3.Option2, "150,000円"},
       {Form3.Option3, "1,000,000円"},
       {Form3.Option4, "2,000,000円"},
       {Form3.Option5, "5,000,000円"}},
      {{Form3.Option12, "50,000円"},
       {Form3.Option11, "150,000円"},
       {Form3.Option10, "1,000,000円"},
       {Form3.Option9, "3,000,000円"},
       {Form3.Option8, "10,000,000円"}},
  };
  for (const auto& column : columns) {
    int rightmostInk = -1;
    for (const Priced& p : column) {
      EXPECT_EQ(shop->LastWordOf(&p.option), QString::fromUtf8(p.price)) << p.option.Name();
      // The last column of ink of each option, drawn: the same for every price of the column.
      const QImage image = shop->WidgetOf(&p.option)->grab().toImage();
      int right = -1;
      for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
          if (qGray(image.pixel(x, y)) < 128) right = x;
      if (rightmostInk < 0) rightmostInk = right;
      EXPECT_NEAR(right, rightmostInk, 1) << p.option.Name();
    }
  }
  // The caption itself is the game's, whole; "買わない" has no price column.
  EXPECT_EQ(Form3.Option1.Caption(), "もこじろう( 100G)　　 　50,000円");
  EXPECT_EQ(WidgetOf<QRadioButton>(Form3.Option1)->text(), QStringLiteral("もこじろう( 100G)"));
  EXPECT_EQ(shop->LastWordOf(&Form3.Option6), QString());
  // A click on the price chooses the option.
  auto* radio = WidgetOf<QRadioButton>(Form3.Option2);
  QTest::mouseClick(radio, Qt::LeftButton, {}, shop->LastWordRectOf(&Form3.Option2).center());
  EXPECT_TRUE(Form3.Option2.Value());
  EXPECT_TRUE(Form3.Command1.Visible());
}

// Bought from the window with a click and Enter, the dearest T key leaves its frame showing "買わない" alone, drawn
// at once: the bought and cheaper choices are gone, the frame is not.
TEST_F(TitleWindowTest, TheDearestTKeyLeavesBuyNothingAloneInItsFrame) {
  Record.Savings = Currency::FromYen(20000000);
  QtScreenView* shop = Open(Form3);
  ASSERT_NE(shop, nullptr);
  QTest::mouseClick(WidgetOf<QRadioButton>(Form3.Option8), Qt::LeftButton);
  auto yes = AnswerNextBox(Qt::Key_Return);
  QTest::mouseClick(WidgetOf<QPushButton>(Form3.Command3), Qt::LeftButton);
  ASSERT_TRUE(yes->seen);
  EXPECT_EQ(Record.FastPlayCoins, 15);
  for (OptionButton* o : {&Form3.Option12, &Form3.Option11, &Form3.Option10, &Form3.Option9, &Form3.Option8})
    EXPECT_FALSE(WidgetOf<QRadioButton>(*o)->isVisible()) << o->Name();
  auto* none = WidgetOf<QRadioButton>(Form3.Option7);
  ASSERT_TRUE(none->isVisible() && none->isChecked() && WidgetOf<QWidget>(Form3.Frame2)->isVisible());
  // Its caption's ink, in the window's own picture of the frame.
  const QImage frame = WidgetOf<QWidget>(Form3.Frame2)->grab().toImage();
  int ink = 0;
  for (int y = none->y(); y < none->geometry().bottom(); ++y)
    for (int x = none->x(); x < none->geometry().right(); ++x) ink += qGray(frame.pixel(x, y)) < 128;
  EXPECT_GT(ink, 20);
}

}  // namespace
