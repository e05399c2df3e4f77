// The machine screen on the real back end (Qt's offscreen platform): every element in its place.
#include <QLabel>

#include "harness/windows.h"
#include "platform/events.h"

namespace {

// The pictures the program's own folder holds.
class MachineScreenQtTest : public WindowTest {
 protected:
  MachineScreenQtTest() : WindowTest(Start::Folder::None) {}
  void SetUp() override {
    WindowTest::SetUp();
    Record.Savings = Currency::FromYen(1234567);
    Reels.ReelStep = 15;
    StartDay();
    view = ViewOf(Form2);
  }
  QtScreenView* view = nullptr;
};

TEST_F(MachineScreenQtTest, EveryElementHasItsWidgetAtItsPlaceWithItsCaption) {
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->size(), QSize(757, 596));
  EXPECT_TRUE(view->isVisible());
  int labels = 0, pictures = 0, opaque = 0;
  for (Element* e : Form2.Elements()) {
    if (e->Kind() == ElementKind::Timer) continue;
    QWidget* w = view->WidgetOf(e);
    ASSERT_NE(w, nullptr) << e->Name();
    EXPECT_EQ(w->geometry(), QRect(e->Left(), e->Top(), e->Width(), e->Height())) << e->Name();
    EXPECT_EQ(w->isVisibleTo(view), e->Visible()) << e->Name();
    if (e->Kind() == ElementKind::Label) {
      ++labels;
      opaque += static_cast<Label*>(e)->BackStyle() == 1;
      EXPECT_EQ(static_cast<QLabel*>(w)->text().toStdString(), static_cast<Label*>(e)->Caption()) << e->Name();
    }
    if (e->Kind() == ElementKind::PictureBox) ++pictures;
  }
  EXPECT_EQ(labels, 47);
  EXPECT_EQ(opaque, 1);  // the labels stand on the cabinet; only the proxy's status line has a ground of its own
  EXPECT_EQ(pictures, 42);
  EXPECT_EQ(static_cast<QLabel*>(view->WidgetOf(&Form2.Label6))->text(), QString("1,234,567"));
  EXPECT_EQ(static_cast<QLabel*>(view->WidgetOf(&Form2.Label1))->text(), QString("操作方法：「↑」　BET ＆ PLAY"));
}

TEST_F(MachineScreenQtTest, CaptionsFitTheirPlaces) {
  for (Label* l : {&Form2.Label1, &Form2.Label5, &Form2.Label36, &Form2.Label38, &Form2.Label39, &Form2.Label47,
                   &Form2.Label11, &Form2.Label13, &Form2.Label24, &Form2.Label41, &Form2.Label42, &Form2.Label43}) {
    auto* w = static_cast<QLabel*>(view->WidgetOf(l));
    const QFontMetrics metrics(w->font());
    EXPECT_LE(metrics.horizontalAdvance(w->text()), l->Width()) << l->Name();
    EXPECT_LE(metrics.height(), l->Height() + 2) << l->Name();
  }
  // The MC counter is the big one.
  auto* counter = static_cast<QLabel*>(view->WidgetOf(&Form2.Label14));
  EXPECT_GE(counter->font().pixelSize(), 36);
}

TEST_F(MachineScreenQtTest, ModelChangesReachTheWidgetsAndKeysReachTheGame) {
  Form2.Label8.Caption = "52";
  Form2.Label34.Visible = true;
  EXPECT_EQ(static_cast<QLabel*>(view->WidgetOf(&Form2.Label8))->text(), QString("52"));
  EXPECT_TRUE(view->WidgetOf(&Form2.Label34)->isVisibleTo(view));
  Form2.SetCaption("もふさんプレイ中♪　本日の設定　？");
  EXPECT_EQ(view->windowTitle(), QString("もふさんプレイ中♪　本日の設定　？"));
  // The 4 key sets the reel speed: delivered as its virtual-key code.
  QTest::keyClick(view, Qt::Key_4);
  EXPECT_EQ(Reels.ReelStep, 30);
  QTest::keyClick(view, Qt::Key_1);
  EXPECT_EQ(Reels.ReelStep, 12);
}

TEST_F(MachineScreenQtTest, TheMachineTakesTheGameKeysAndNoWidgetStealsThem) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(view));
  // A click anywhere on the machine leaves the keyboard with the window.
  QTest::mouseClick(view->WidgetOf(&Form2.Label6), Qt::LeftButton);
  QTest::mouseClick(view->WidgetOf(&Form2.Picture0), Qt::LeftButton);
  ASSERT_EQ(QApplication::focusWidget(), view);
  // The lever is held back (the last game has not ended), so that Up only shows it arrived.
  Play.ReadyForNextGame = 0;
  const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Left, 37}, {Qt::Key_Down, 40}, {Qt::Key_Right, 39},
                                          {Qt::Key_Up, 38}, {Qt::Key_Control, 17}};
  for (const auto& [key, code] : keys) {
    Play.KeyCode = 0;
    QTest::keyClick(QApplication::focusWidget(), key);
    EXPECT_EQ(Play.KeyCode, code) << code;
    EXPECT_EQ(QApplication::focusWidget(), view) << code;
  }
  // Ctrl placed the bet: the lamp is out.
  EXPECT_EQ(Play.BetPlaced, 1);
  EXPECT_FALSE(Form2.Picture5.Visible());
}

TEST_F(MachineScreenQtTest, PortraitsGoBehindAndInFrontOfTheCabinet) {
  QWidget* cabinet = view->WidgetOf(&Form2.Picture0);
  QWidget* portrait = view->WidgetOf(&Form2.Picture30);
  auto index = [&](QWidget* w) { return view->children().indexOf(w); };
  EXPECT_LT(index(portrait), index(cabinet));
  Form2.Picture30.BringToFront();
  EXPECT_GT(index(portrait), index(cabinet));
  Form2.Picture30.SendToBack();
  EXPECT_LT(index(portrait), index(cabinet));
}

// Inside the proxy seat drawn on the cabinet, within its border: the status line and every portrait.
TEST_F(MachineScreenQtTest, TheProxySeatHoldsItsStatusLineAndEveryPortrait) {
  const QRect seat(366, 414, 159, 88);
  for (Element* e : std::initializer_list<Element*>{&Form2.Label34, &Form2.Picture30, &Form2.Picture31,
                                                    &Form2.Picture32, &Form2.Picture33, &Form2.Picture34})
    EXPECT_TRUE(seat.contains(view->WidgetOf(e)->geometry())) << e->Name();
}

// A timer that ticks inside a wait's DoEvents, and stops the only other timer there, ticks on from the event loop.
class QtTimerTest : public WindowTest {};
TEST_F(QtTimerTest, ATimerTickedInsideAWaitTicksOnAfterIt) {
  struct TwoTimers : Screen {
    TwoTimers() : Screen("Timers") {}
    Timer A{this, "A"}, B{this, "B"};
    void Design() override {}
  } s;
  s.Load();
  int ticks = 0;
  s.A.OnTick = [&] {
    ++ticks;
    s.B.Interval = 0;
  };
  // Several rounds: a wait polling fast catches a due tick before the event loop's own timer, mostly at once.
  for (int round = 0; round < 5; ++round) {
    s.B.Interval = 1000;
    s.A.Interval = 0;
    s.A.Interval = 20;
    const int before = ticks;
    for (long i = 0; ticks == before && i < 50'000'000; ++i) DoEvents();
    QTest::qWait(100);
    EXPECT_GE(ticks, before + 3) << round;
  }
  s.Unload();
}

TEST(VirtualKeyTest, QtKeysMapToTheGameCodes) {
  const std::pair<Qt::Key, int> codes[] = {{Qt::Key_Up, 38},      {Qt::Key_Left, 37},    {Qt::Key_Right, 39},
                                           {Qt::Key_Down, 40},    {Qt::Key_Control, 17}, {Qt::Key_Escape, 27},
                                           {Qt::Key_F6, 117},     {Qt::Key_F8, 119},     {Qt::Key_R, 82},
                                           {Qt::Key_Y, 89},       {Qt::Key_7, 55}};
  for (const auto& [key, code] : codes) EXPECT_EQ(VirtualKeyOf(key), code) << code;
}

}  // namespace
