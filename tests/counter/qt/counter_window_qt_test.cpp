// The counter's window on the real back end (Qt's offscreen platform): D at the machine opens it without taking
// the keyboard, it shows the day and the chosen past day, and the title screen's button opens it after a day.
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <array>
#include <map>

#include "counter/counter.h"
#include "counter/history_file.h"
#include "counter/qt/counter_placement.h"
#include "counter/qt/estimate_bars.h"
#include "counter/qt/qt_counter_window.h"
#include "counter/qt/slump_graph.h"
#include "harness/windows.h"
#include "machine/play_stats.h"

namespace {

CounterDay PastDay(const char* date, int games, int setting) {
  CounterDay d{.date = date, .games = games, .pmc = 1, .coinsIn = 3 * games, .setting = setting, .slump = {},
               .bonuses = {{games / 2, true, false, 222, games / 2, false}}};
  // Down until its PMC halfway, then up.
  for (int g = 1; g <= games; ++g) d.slump.push_back(g <= games / 2 ? -3 * g : -3 * (games / 2) + 9 * (g - games / 2));
  d.coinsOut = d.coinsIn + d.slump.back();
  return d;
}

// The program's folder a scratch folder without sounds; the day's history goes to its sound folder.
class CounterWindowQtTest : public WindowTest {
 protected:
  CounterWindowQtTest() : WindowTest(Start::Folder::Program, 0) {}
  void SetUp() override {
    WindowTest::SetUp();
    AppFolder = folder->Path() + "\\";
    window = std::make_unique<QtCounterWindow>();
    InstallCounterView(window.get());
    Record.Savings = Currency::FromYen(100000);
    Reels.ReelStep = 15;
  }
  void TearDown() override {
    InstallCounterView(nullptr);
    window.reset();
    WindowTest::TearDown();
  }
  std::unique_ptr<QtCounterWindow> window;
};

TEST_F(CounterWindowQtTest, DAtTheMachineOpensTheWindowWhichLeavesTheKeysWithTheMachine) {
  ASSERT_TRUE(AppendToHistory(PastDay("2025-05-30 21:10", 400, 2)));
  ASSERT_TRUE(AppendToHistory(PastDay("2025-05-31 22:45", 900, 5)));
  StartDay();
  auto* machine = dynamic_cast<QtScreenView*>(Form2.View());
  ASSERT_NE(machine, nullptr);
  machine->activateWindow();
  machine->setFocus();
  QApplication::processEvents();

  QTest::keyClick(machine, Qt::Key_D);
  QApplication::processEvents();
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowFlags() & Qt::WindowDoesNotAcceptFocus);
  EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("データカウンター"));
  // Nothing in it can take the keyboard, and the keys still reach the machine: 2 sets the reel speed.
  for (QWidget* w : window->findChildren<QWidget*>()) EXPECT_EQ(w->focusPolicy(), Qt::NoFocus);
  EXPECT_NE(QApplication::focusWidget() ? QApplication::focusWidget()->window() : nullptr, window.get());
  QTest::keyClick(machine, Qt::Key_3);
  EXPECT_EQ(Reels.ReelStep, 20);

  // Today's figures and the past days, newest first after today's row (at the usual size: the offscreen screen
  // is too small for it); a click on a day shows its graph.
  window->resize(780, 640);
  EXPECT_EQ(window->TodayText(), "0 0 0 0 0 0 -");
  const QTableWidget* days = window->DaysTable();
  ASSERT_EQ(days->rowCount(), 3);
  EXPECT_EQ(days->item(0, 0)->text(), QStringLiteral("本日（プレイ中）"));
  EXPECT_EQ(days->item(1, 0)->text(), "05/31 22:45");
  EXPECT_EQ(days->item(1, 5)->text(), "5");
  EXPECT_EQ(days->item(2, 1)->text(), "400");
  EXPECT_EQ(window->BonusTable()->rowCount(), 0);
  QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, days->visualItemRect(days->item(2, 0)).center());
  EXPECT_EQ(window->ChosenPastDay(), 1);
  ASSERT_EQ(window->BonusTable()->rowCount(), 1);
  EXPECT_EQ(window->BonusTable()->item(0, 1)->text(), "200");
  EXPECT_EQ(window->BonusTable()->item(0, 2)->text(), "PMC");
  window->ChoosePastDay(-1);
  EXPECT_EQ(window->BonusTable()->rowCount(), 0);

  // A game's end updates it; D again hides it.
  const int updates = window->Updates();
  Play.TotalGames += 1;
  Stats.CoinsIn += 3;
  CounterGameEnd();
  EXPECT_EQ(window->Updates(), updates + 1);
  EXPECT_EQ(window->TodayText(), "1 0 0 0 0 -3 0.0%");
  // Today's row of the days shows the same, its setting hidden while the day runs.
  EXPECT_EQ(days->item(0, 1)->text(), "1");
  EXPECT_EQ(days->item(0, 4)->text(), "-3");
  EXPECT_EQ(days->item(0, 5)->text(), QStringLiteral("？"));
  QTest::keyClick(machine, Qt::Key_D);
  QApplication::processEvents();
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(CounterOpen());
  // Its close box closes it the same way.
  ToggleCounter();
  EXPECT_TRUE(window->isVisible());
  window->close();
  EXPECT_FALSE(CounterOpen());
}

TEST_F(CounterWindowQtTest, TheTitleScreensButtonOpensItAfterADayOnly) {
  // A registered player's save files, so that the title screen opens without a question.
  StorePlayer(50000);
  Form1.Show();
  EXPECT_FALSE(Form1.CounterButton.Visible());
  Form1.Unload();
  BackFromMachine = 1;
  Form1.Show();
  ASSERT_TRUE(Form1.CounterButton.Visible());
  // Where Start stood, which the record of the day hides; clear of every other control shown.
  EXPECT_FALSE(Form1.Command1.Visible());
  const QRect button(Form1.CounterButton.Left(), Form1.CounterButton.Top(), Form1.CounterButton.Width(),
                     Form1.CounterButton.Height());
  for (Element* e : Form1.Elements()) {
    if (e == &Form1.CounterButton || !e->Visible() || e->Container || e->Kind() == ElementKind::Timer) continue;
    EXPECT_FALSE(button.intersects(QRect(e->Left(), e->Top(), e->Width(), e->Height()))) << e->Name();
  }
  auto* view = dynamic_cast<QtScreenView*>(Form1.View());
  ASSERT_NE(view, nullptr);
  QTest::mouseClick(view->WidgetOf(&Form1.CounterButton), Qt::LeftButton);
  EXPECT_TRUE(window->isVisible());
  Form1.Unload();
}

// The slump graph as a player reads it: the curve, and each MC start marked on it in its kind's colour, left to
// right in the order of the games, at the height of the coins at that game.
// Every cell of the two tables, headings included: the chosen day's bonuses newest first, and the days with
// today on top.
TEST_F(CounterWindowQtTest, TheTablesShowEveryFigureInItsCell) {
  const auto cells = [](const QTableWidget* t) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> heading;
    for (int c = 0; c < t->columnCount(); ++c) heading.push_back(t->horizontalHeaderItem(c)->text().toStdString());
    rows.push_back(heading);
    for (int r = 0; r < t->rowCount(); ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < t->columnCount(); ++c) row.push_back(t->item(r, c) ? t->item(r, c)->text().toStdString() : "");
      rows.push_back(row);
    }
    return rows;
  };
  CounterModel m;
  m.hasToday = true;
  m.dayRunning = false;
  m.today = {.date = "2026-12-10 21:30", .games = 1234, .mc = 3, .pmc = 1, .coinsIn = 3000, .coinsOut = 2500,
             .setting = 4, .slump = {},
             .bonuses = {{120, false, false, 33, 120, false}, {154, true, false, 555, 1, true},
                         {800, false, true, 33, 90, false}}};
  m.pastDays = {PastDay("2026-12-09 20:00", 600, 2), PastDay("2026-12-08 19:00", 4000, 6)};
  m.pastDays[0].mc = 2;
  m.pastDays[1].mc = 5;
  m.estimate = {.p = {0.1, 0.2, 0.3, 0.2, 0.1, 0.1}, .now = {0, 0, 0, 0, 0, 0, 0.125, 0}, .risen = 0.25,
                .normalGames = 900, .freshWins = 4, .streaks = 9};
  m.notice = "記録ファイルを書き込めませんでした。";
  window->Show(m);
  const auto placeOf = [&](const QWidget* w) { return QRect(w->mapTo(window.get(), QPoint(0, 0)), w->size()); };
  const QWidget* notice = window->findChild<QWidget*>("notice");
  EXPECT_EQ(window->Bars()->Probabilities(), m.estimate.p);
  // What it rests on, and the setting now where it may have risen.
  const QLabel* estimateLine = window->EstimatePanel()->findChild<QLabel*>("caption");
  EXPECT_EQ(estimateLine->text().toStdString(),
            "打ち始めの設定。通常900G・初当り4回・連荘9回から。ゲーム数が少なく、まだほぼ当日の設定配分のままです。"
            "現在は設定が上がっている見込み25.0%（設定7・8: 12.5%）。");
  using Rows = std::vector<std::vector<std::string>>;
  EXPECT_EQ(cells(window->BonusTable()), (Rows{{"回", "開始G", "種類", "長さ", "間G", "契機"},
                                                {"3", "800", "ﾌｧﾝﾌｧｰ連", "33", "90", "初当り"},
                                                {"2", "154", "PMC", "555", "1", "連荘"},
                                                {"1", "120", "MC", "33", "120", "初当り"}}));
  EXPECT_EQ(cells(window->DaysTable()), (Rows{{"日付", "G数", "MC", "PMC", "差枚", "設定"},
                                               {"本日", "1234", "3", "1", "-500", "4"},
                                               {"12/09 20:00", "600", "2", "1", "+1,800", "2"},
                                               {"12/08 19:00", "4000", "5", "1", "+12,000", "6"}}));
  // Every column whole, at the usual size and in one column as narrow as beside a machine on a 1280-wide screen.
  std::map<int, std::array<int, 3>> heights;  // by the window's height: the graph, the estimate, the bonuses
  for (const QSize size : {kCounterWideSize, QSize(254, 1400), QSize(254, 920)}) {
    window->resize(size);
    QApplication::processEvents();
    for (const QTableWidget* t : {window->BonusTable(), window->DaysTable()}) {
      EXPECT_EQ(t->horizontalScrollBar()->maximum(), 0) << size.width();
      EXPECT_EQ(t->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);  // no column to drag narrower
    }
    const QWidget* areas[] = {window->Graph(), window->EstimatePanel(), window->BonusTable()};
    for (int i = 0; i < 3; ++i) heights[size.height()][i] = areas[i]->height();
    if (size == kCounterWideSize) {
      // Side by side: the graph over the bonuses takes the larger share, as the left column does.
      EXPECT_GT(window->Graph()->height(), window->BonusTable()->height());
      EXPECT_GT(window->BonusTable()->width(), window->DaysTable()->width());
    }
    // The estimate's line stands whole under its bars.
    EXPECT_GT(placeOf(estimateLine).top(), placeOf(window->Bars()).bottom()) << size.width();
    EXPECT_GE(estimateLine->height(), estimateLine->heightForWidth(estimateLine->width())) << size.width();
    // It keeps room for five lines in one column (three side by side): the graph does not jump as the line grows.
    EXPECT_GE(estimateLine->height(), (window->Narrow() ? 5 : 3) * estimateLine->fontMetrics().lineSpacing());
    // The notice stands whole under the days' table, as wide as both lists.
    EXPECT_TRUE(window->rect().contains(placeOf(notice))) << size.width();
    EXPECT_GE(placeOf(notice).top(), placeOf(window->DaysTable()).bottom()) << size.width();
    EXPECT_EQ(placeOf(notice).left(), placeOf(window->BonusTable()).left()) << size.width();
    EXPECT_EQ(placeOf(notice).right(), placeOf(window->DaysTable()).right()) << size.width();
    // Today's seven figures in a row, or 4 to a row in one column; the lists' rows 20 px apart, 18 in one column.
    const auto values = window->findChildren<QLabel*>("value");
    ASSERT_EQ(values.size(), 7);
    int firstRow = 0;
    for (const QLabel* v : values) firstRow += placeOf(v).top() == placeOf(values[0]).top();
    EXPECT_EQ(firstRow, window->Narrow() ? 4 : 7) << size.width();
    for (const QTableWidget* t : {window->BonusTable(), window->DaysTable()})
      EXPECT_EQ(t->rowHeight(0), window->Narrow() ? 18 : 20) << size.width();
    // Today's row stays lit as the chosen day.
    EXPECT_EQ(window->DaysTable()->item(0, 0)->background().color(), QColor(0x33, 0x40, 0x6a)) << size.width();
  }
  EXPECT_TRUE(window->Narrow());
  // In one column the graph and the bonuses grow with a taller window (the estimate keeps its own height).
  for (int i : {0, 2}) EXPECT_GT(heights[1400][i], heights[920][i]) << i;
  window->Hide();
}

// The likeliest setting's bar is gold, the others blue, each as long as its probability.
TEST(EstimateBarsTest, TheLikeliestSettingsBarIsGoldAndTheOthersBlue) {
  App();
  EstimateBars bars;
  bars.resize(300, 120);
  bars.SetProbabilities({0.02, 0.45, 0.02, 0.5, 0.01, 0.0});
  const QImage image = bars.grab().toImage();
  const int rowH = 120 / 6;
  const auto at = [&](int x, int setting) { return QColor(image.pixel(x, (setting - 1) * rowH + rowH / 2)); };
  EXPECT_EQ(at(80, 4), QColor(0xff, 0xd2, 0x4a));
  EXPECT_EQ(at(80, 2), QColor(0x5c, 0xa8, 0xe0));
  // Past the end of a short bar lies the empty track.
  EXPECT_EQ(at(80, 1), QColor(0x22, 0x2a, 0x48));
}

TEST(SlumpGraphTest, EachBonusIsMarkedOnTheCurveInTheColourOfItsKind) {
  App();
  // Below the heading line, where the key to the colours stands.
  auto pixelsOf = [](const QImage& image, QRgb colour) {
    std::vector<QPoint> found;
    for (int y = 22; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) found.emplace_back(x, y);
    return found;
  };
  auto centre = [](const std::vector<QPoint>& points) {
    QPointF sum;
    for (const QPoint& p : points) sum += p;
    return sum / static_cast<double>(points.size());
  };
  const QRgb red = qRgb(0xff, 0x50, 0x50), violet = qRgb(0xd0, 0x60, 0xff), gold = qRgb(0xff, 0xc8, 0x20);
  const QRgb curve = qRgb(0x5c, 0xe1, 0xff);

  SlumpGraph graph;
  graph.resize(480, 220);
  CounterDay day;
  EXPECT_TRUE(pixelsOf(graph.grab().toImage(), curve).empty());  // no game yet: no curve
  // Down 3 coins a game for 100 games, then up 9 a game.
  for (int g = 1; g <= 300; ++g) day.slump.push_back(g <= 100 ? -3 * g : -300 + 9 * (g - 100));
  day.bonuses = {{100, false, false, 33}, {200, true, false, 555}, {250, true, true, 1111}};
  graph.SetDay(day);
  const QImage image = graph.grab().toImage();
  const auto mc = pixelsOf(image, red), pmc = pixelsOf(image, violet), fanfare = pixelsOf(image, gold);
  ASSERT_FALSE(pixelsOf(image, curve).empty());
  ASSERT_FALSE(mc.empty());
  ASSERT_FALSE(pmc.empty());
  ASSERT_FALSE(fanfare.empty());
  EXPECT_LT(centre(mc).x(), centre(pmc).x());
  EXPECT_LT(centre(pmc).x(), centre(fanfare).x());
  // The MC at the day's low (-300), the PMC at +600, the fanfare streak higher still at +1050.
  EXPECT_GT(centre(mc).y(), centre(pmc).y());
  EXPECT_GT(centre(pmc).y(), centre(fanfare).y());
  EXPECT_NEAR(centre(pmc).x() - centre(mc).x(), 2 * (centre(fanfare).x() - centre(pmc).x()), 2.0);

  // A day with a plain MC only shows no other kind's colour.
  day.bonuses = {{100, false, false, 33}};
  graph.SetDay(day);
  const QImage plain = graph.grab().toImage();
  EXPECT_FALSE(pixelsOf(plain, red).empty());
  EXPECT_TRUE(pixelsOf(plain, violet).empty());
  EXPECT_TRUE(pixelsOf(plain, gold).empty());
}

// An empty graph is its frame alone, with room for the heading line above (22 px), the widest coin label and 10 px
// to its left, a line of game numbers and 10 px below, and half the last game number (18 px) to its right. Each
// edge is a 1 px line between two pixels, as the painter smooths it.
TEST(SlumpGraphTest, ThePlotLeavesRoomForTheHeadingAndTheAxisLabels) {
  App();
  SlumpGraph graph;
  graph.resize(480, 220);
  const QImage image = graph.grab().toImage();
  QFont small = graph.font();
  small.setPointSizeF(8);
  const QFontMetrics fm(small);
  const int left = fm.horizontalAdvance("-00000") + 10, bottom = 220 - fm.height() - 10;
  std::vector<int> across, down;
  for (int x = 0; x < 480; ++x) if (QColor(image.pixel(x, 100)) != QColor(0x0b, 0x10, 0x20)) across.push_back(x);
  for (int y = 20; y < 220; ++y) if (QColor(image.pixel(60, y)) != QColor(0x0b, 0x10, 0x20)) down.push_back(y);
  EXPECT_EQ(across, (std::vector<int>{left - 1, left, 480 - 19, 480 - 18}));
  EXPECT_EQ(down, (std::vector<int>{21, 22, bottom - 1, bottom}));
  // The key to the colours stands in the heading line, 16 px from each axis title, only where it fits whole.
  const int key = 3 * (8 + 4) + 2 * 12 + fm.horizontalAdvance("MC") + fm.horizontalAdvance("PMC") +
                  fm.horizontalAdvance("ファンファーレ連");
  const int least = 4 + fm.horizontalAdvance("差枚（枚）") + 16 + key + 16 + fm.horizontalAdvance("横軸：ゲーム数（G）") + 18;
  for (const int w : {least - 1, least}) {
    graph.resize(w, 220);
    const QImage heading = graph.grab().toImage();
    int red = 0;
    for (int y = 0; y < 22; ++y)
      for (int x = 0; x < w; ++x) red += (heading.pixel(x, y) & 0xFFFFFF) == 0xFF5050;
    EXPECT_EQ(red > 0, w == least) << w;
  }
}

}  // namespace
