#include "counter/qt/qt_counter_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "counter/counter.h"
#include "counter/qt/counter_placement.h"
#include "counter/qt/estimate_bars.h"
#include "counter/qt/slump_graph.h"
#include "machine/machine_screen.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_screen_view.h"

namespace {

// The fonts' sizes are set by the layout (a narrow one takes smaller figures), the rest here.
const char* const kStyle = R"(
  QWidget { background: #141a2e; color: #e8ecf8; }
  QLabel#heading { color: #ffd24a; font-size: 11pt; font-weight: bold; }
  QLabel#value { color: #ffd24a; }
  QLabel#caption { color: #9aa6cc; font-size: 9pt; }
  QLabel#notice { color: #ff9ad0; }
  QTableWidget { background: #0b1020; gridline-color: #2a3455; border: 1px solid #2a3455; }
  QTableWidget::item:selected { background: #33406a; color: #ffffff; }
  QHeaderView::section { background: #222a48; color: #c8d2f0; border: 0; padding: 2px; }
)";

QString Grouped(long long n) {
  QString digits = QString::number(n < 0 ? -n : n);
  for (int i = digits.size() - 3; i > 0; i -= 3) digits.insert(i, ',');
  return (n < 0 ? "-" : n > 0 ? "+" : "") + digits;
}

QLabel* Heading(const QString& text) {
  auto* l = new QLabel(text);
  l->setObjectName("heading");
  return l;
}

QTableWidget* Table(const QStringList& headers) {
  auto* t = new QTableWidget(0, headers.size());
  t->setHorizontalHeaderLabels(headers);
  t->verticalHeader()->hide();
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setFocusPolicy(Qt::NoFocus);
  t->setSelectionMode(QAbstractItemView::NoSelection);
  // Its columns are sized by FitColumns: every figure whole.
  t->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  t->horizontalHeader()->setFocusPolicy(Qt::NoFocus);
  return t;
}

QFont Sized(const QFont& base, double points, bool bold = false) {
  QFont f = base;
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

// A history date ("2025-06-01 18:42") as the list shows it: "06/01 18:42", or "06/01" alone.
QString DateText(const std::string& date, bool withTime) {
  return QString::fromStdString(date.substr(5, withTime ? std::string::npos : 5)).replace('-', '/');
}

QString KindText(const CounterBonus& b) {
  if (b.fanfare) return QStringLiteral("ﾌｧﾝﾌｧｰ連");
  return b.premium ? QStringLiteral("PMC") : QStringLiteral("MC");
}

// Numbers right-aligned under each other; texts (a date, a kind) on the left.
void SetCell(QTableWidget* t, int row, int col, const QString& text, const QColor& colour = QColor(),
             bool number = true) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  if (colour.isValid()) item->setForeground(colour);
  t->setItem(row, col, item);
}

}  // namespace

QtCounterWindow::QtCounterWindow() : QWidget(nullptr, Qt::Window | Qt::WindowDoesNotAcceptFocus) {
  setWindowTitle(QStringLiteral("データカウンター"));
  // Shown beside the machine, it must leave the keys with the machine; closing it never ends the program.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_QuitOnClose, false);
  setFocusPolicy(Qt::NoFocus);
  setFont(Sized(QFont(QStringLiteral("IPAPGothic")), 10));
  setStyleSheet(kStyle);
  resize(kCounterWideSize);
  setMinimumSize(kCounterNarrowLeast.width(), kCounterWideLeast.height());

  grid_ = new QGridLayout(this);
  grid_->setHorizontalSpacing(10);
  grid_->setVerticalSpacing(4);

  // Today: the figures a hall's counter shows first.
  todayHeading_ = Heading(QStringLiteral("本日のデータ"));
  todayPanel_ = new QWidget(this);
  todayGrid_ = new QGridLayout(todayPanel_);
  todayGrid_->setContentsMargins(0, 0, 0, 0);
  todayGrid_->setVerticalSpacing(0);
  const char* captions[7] = {"ゲーム数", "MC間", "MC", "PMC", "ﾌｧﾝﾌｧｰ連", "差枚", "機械割"};
  for (int i = 0; i < 7; ++i) {
    todayCaptions_[i] = new QLabel(QString::fromUtf8(captions[i]));
    todayCaptions_[i]->setObjectName("caption");
    todayCaptions_[i]->setAlignment(Qt::AlignCenter);
    todayValues_[i] = new QLabel("0");
    todayValues_[i]->setObjectName("value");
    todayValues_[i]->setAlignment(Qt::AlignCenter);
  }

  graphTitle_ = Heading(QStringLiteral("スランプグラフ"));
  graph_ = new SlumpGraph;

  // Today's only, whichever day the graph shows.
  estimatePanel_ = new QWidget(this);
  auto* estimate = new QVBoxLayout(estimatePanel_);
  estimate->setContentsMargins(0, 0, 0, 0);
  estimate->setSpacing(2);
  estimate->addWidget(Heading(QStringLiteral("本日の設定推測")));
  bars_ = new EstimateBars;
  estimate->addWidget(bars_, 1);
  estimateLine_ = new QLabel;
  estimateLine_->setObjectName("caption");
  estimateLine_->setWordWrap(true);
  estimate->addWidget(estimateLine_);

  bonusTitle_ = Heading(QStringLiteral("ボーナス履歴"));
  bonuses_ = Table({"回", "開始G", "種類", "長さ", "間G", "契機"});
  daysHeading_ = Heading(QStringLiteral("過去の台データ"));
  days_ = Table({"日付", "G数", "MC", "PMC", "差枚", "設定"});
  // A list that is resized fits its columns again.
  bonuses_->viewport()->installEventFilter(this);
  days_->viewport()->installEventFilter(this);
  // A click on a day shows its graph and bonuses; the first row is today.
  connect(days_, &QTableWidget::cellClicked, this, [this](int row, int) { ChoosePastDay(row - 1); });

  notice_ = new QLabel;
  notice_->setObjectName("notice");
  notice_->hide();

  Arrange(false);
  for (QWidget* w : findChildren<QWidget*>()) w->setFocusPolicy(Qt::NoFocus);
}

// Wide: today's figures in a row, the graph and the bonuses on the left, the estimate and the days on the right.
// Narrow: everything in one column, today's figures in two rows, smaller type in the lists.
void QtCounterWindow::Arrange(bool narrow) {
  narrow_ = narrow;
  // The widgets stay; only their places in the grids are laid anew.
  while (QLayoutItem* item = grid_->takeAt(0)) delete item;
  while (QLayoutItem* item = todayGrid_->takeAt(0)) delete item;
  for (int r = 0; r < 10; ++r) grid_->setRowStretch(r, 0);
  for (int c = 0; c < 2; ++c) grid_->setColumnStretch(c, 0);

  const int perRow = narrow ? 4 : 7;
  for (int i = 0; i < 7; ++i) {
    todayGrid_->addWidget(todayCaptions_[i], 2 * (i / perRow), i % perRow);
    todayGrid_->addWidget(todayValues_[i], 2 * (i / perRow) + 1, i % perRow);
    todayValues_[i]->setFont(Sized(font(), narrow ? 12 : 15, true));
    todayCaptions_[i]->setFont(Sized(font(), 9));
  }
  estimateLine_->setFont(Sized(font(), 9));
  // Room for the whole line under the bars (it wraps to five lines in one column), so that it never covers them.
  estimateLine_->setMinimumHeight((narrow ? 5 : 3) * QFontMetrics(estimateLine_->font()).lineSpacing());
  for (QTableWidget* t : {bonuses_, days_}) {
    t->setFont(Sized(font(), narrow ? 9 : 10));
    t->verticalHeader()->setDefaultSectionSize(narrow ? 18 : 20);
  }
  graph_->setMinimumSize(narrow ? QSize(200, 110) : QSize(320, 150));
  bars_->setMinimumSize(narrow ? QSize(160, 96) : QSize(200, 120));
  grid_->setContentsMargins(narrow ? 4 : 8, 6, narrow ? 4 : 8, 6);

  if (narrow) {
    QWidget* column[] = {todayHeading_, todayPanel_, graphTitle_,  graph_, estimatePanel_,
                         bonusTitle_,   bonuses_,    daysHeading_, days_,  notice_};
    for (int row = 0; row < 10; ++row) grid_->addWidget(column[row], row, 0);
    grid_->setRowStretch(3, 3);
    grid_->setRowStretch(4, 1);
    grid_->setRowStretch(6, 2);
  } else {
    grid_->addWidget(todayHeading_, 0, 0, 1, 2);
    grid_->addWidget(todayPanel_, 1, 0, 1, 2);
    grid_->addWidget(graphTitle_, 2, 0);
    grid_->addWidget(graph_, 3, 0);
    grid_->addWidget(estimatePanel_, 2, 1, 2, 1);
    grid_->addWidget(bonusTitle_, 4, 0);
    grid_->addWidget(bonuses_, 5, 0);
    grid_->addWidget(daysHeading_, 4, 1);
    grid_->addWidget(days_, 5, 1);
    grid_->addWidget(notice_, 6, 0, 1, 2);
    grid_->setColumnStretch(0, 3);
    grid_->setColumnStretch(1, 2);
    grid_->setRowStretch(3, 3);
    grid_->setRowStretch(5, 2);
  }
  FitColumns(bonuses_);
  FitColumns(days_);
}

void QtCounterWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // One column where the two would not fit side by side.
  if (const bool narrow = width() < kCounterWideLeast.width(); narrow != narrow_) Arrange(narrow);
}

void QtCounterWindow::Show(const CounterModel& model) {
  Update(model);
  if (isVisible()) return;
  PlaceBesideMachine();
  show();
  // The desktop draws its frame a moment later: should that frame stick out of the screen, the window moves in.
  QTimer::singleShot(400, this, [this] {
    if (!isVisible() || frameGeometry() == geometry() || !screen()) return;
    RememberPlace();
    if (screen()->availableGeometry().contains(frameGeometry())) return;
    placed_ = KeepInside(geometry(), screen()->availableGeometry(), frame_);
    setGeometry(placed_);
  });
}

void QtCounterWindow::Hide() {
  RememberPlace();
  hide();
}

void QtCounterWindow::RememberPlace() {
  if (!isVisible()) return;
  const QRect f = frameGeometry(), g = geometry();
  if (f != g) frame_ = QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
  // Moved or resized by the player: it opens there from now on.
  if (g != placed_) kept_ = g;
}

void QtCounterWindow::PlaceBesideMachine() {
  // Beside the game's window in front: the machine, or the title screen that opened it after a day.
  QWidget* game = Form2.View() ? dynamic_cast<QWidget*>(Form2.View()) : nullptr;
  if (!game || !game->isVisible()) game = QtScreenView::Frontmost();
  QScreen* screen = game ? game->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  CounterPlaceRequest r;
  r.area = screen->availableGeometry();
  r.kept = kept_;
  r.frame = frame_;
  if (game) {
    const QRect f = game->frameGeometry(), g = game->geometry();
    r.game = f;
    if (frame_.isNull() && f != g) r.frame = FrameLikeGame(f, g);
  }
  placed_ = PlaceCounter(r);
  if (const bool narrow = placed_.width() < kCounterWideLeast.width(); narrow != narrow_) Arrange(narrow);
  setGeometry(placed_);
}

void QtCounterWindow::Update(const CounterModel& model) {
  ++updates_;
  const bool daysChanged = model.pastDays.size() != model_.pastDays.size() ||
                           (!model.pastDays.empty() && model.pastDays.front().date != model_.pastDays.front().date) ||
                           model.hasToday != model_.hasToday || model.dayRunning != model_.dayRunning;
  const std::string chosenDate =
      chosen_ >= 0 && chosen_ < static_cast<int>(model_.pastDays.size()) ? model_.pastDays[chosen_].date : "";
  model_ = model;
  const CounterDay& d = model.today;
  const long long diff = d.CoinDifference();
  const QString values[7] = {QString::number(d.games),
                             QString::number(model.gamesSinceMc),
                             QString::number(d.mc),
                             QString::number(d.pmc),
                             QString::number(d.fanfare),
                             Grouped(diff),
                             d.coinsIn > 0 ? QString::number(100 * d.PayoutRate(), 'f', 1) + "%" : "-"};
  for (int i = 0; i < 7; ++i) todayValues_[i]->setText(values[i]);
  todayValues_[5]->setStyleSheet(diff < 0 ? "color: #5ce1ff;" : "");

  const SettingEstimate& e = model.estimate;
  bars_->SetProbabilities(e.p);
  QString line = QStringLiteral("打ち始めの設定。通常%1G・初当り%2回・連荘%3回から。")
                     .arg(e.normalGames)
                     .arg(e.freshWins)
                     .arg(e.streaks);
  if (e.normalGames < 2000)
    line += QStringLiteral("ゲーム数が少なく、まだほぼ当日の設定配分のままです。");
  else if (e.normalGames < 6000)
    line += QStringLiteral("目安程度の推測です。");
  else
    line += QStringLiteral("ある程度信頼できる推測です。");
  // The setting now, where it may have risen since the start (a bell on an MC's growth, a long drought).
  if (e.risen >= 0.005)
    line += QStringLiteral("現在は設定が上がっている見込み%1%（設定7・8: %2%）。")
                .arg(100 * e.risen, 0, 'f', 1)
                .arg(100 * (e.now[6] + e.now[7]), 0, 'f', 1);
  estimateLine_->setText(line);
  notice_->setText(QString::fromStdString(model.notice));
  notice_->setVisible(!model.notice.empty());

  if (daysChanged) {
    // The chosen day stays chosen wherever the list now has it.
    chosen_ = -1;
    for (std::size_t i = 0; i < model_.pastDays.size() && !chosenDate.empty(); ++i)
      if (model_.pastDays[i].date == chosenDate) chosen_ = static_cast<int>(i);
    FillDays();
    shownBonuses_ = static_cast<std::size_t>(-1);
  } else {
    FillTodayRow();
  }
  FitColumns(days_);
  ShowChosenDay();
}

QString QtCounterWindow::TodayText() const {
  QStringList parts;
  for (QLabel* l : todayValues_) parts << l->text();
  return parts.join(' ');
}

void QtCounterWindow::ChoosePastDay(int index) {
  if (index >= static_cast<int>(model_.pastDays.size())) return;
  chosen_ = index;
  shownBonuses_ = static_cast<std::size_t>(-1);
  ShowChosenDay();
}

void QtCounterWindow::ShowChosenDay() {
  const bool today = chosen_ < 0;
  const CounterDay& day = today ? model_.today : model_.pastDays[static_cast<std::size_t>(chosen_)];
  // A past day by its date and time, as the list names it: one date may hold several days.
  const QString which = today ? QStringLiteral("本日") : DateText(day.date, true);
  graphTitle_->setText(which + QStringLiteral("のスランプグラフ"));
  bonusTitle_->setText(which + QStringLiteral("のボーナス履歴（%1回）").arg(day.bonuses.size()));
  graph_->SetDay(day);
  // The list is rebuilt only when a bonus was added or another day was chosen.
  if (day.bonuses.size() != shownBonuses_) FillBonuses(day);
  for (int r = 0; r < days_->rowCount(); ++r)
    for (int c = 0; c < days_->columnCount(); ++c)
      if (auto* item = days_->item(r, c)) item->setBackground(r == chosen_ + 1 ? QColor(0x33, 0x40, 0x6a) : QColor());
}

void QtCounterWindow::FillBonuses(const CounterDay& day) {
  shownBonuses_ = day.bonuses.size();
  const int n = static_cast<int>(day.bonuses.size());
  bonuses_->setRowCount(n);
  // Newest first.
  for (int i = 0; i < n; ++i) {
    const CounterBonus& b = day.bonuses[static_cast<std::size_t>(n - 1 - i)];
    SetCell(bonuses_, i, 0, QString::number(n - i));
    SetCell(bonuses_, i, 1, QString::number(b.game));
    SetCell(bonuses_, i, 2, KindText(b), SlumpGraph::KindColour(b), false);
    SetCell(bonuses_, i, 3, QString::number(b.length));
    SetCell(bonuses_, i, 4, QString::number(b.gamesBefore));
    SetCell(bonuses_, i, 5, b.streak ? QStringLiteral("連荘") : QStringLiteral("初当り"), QColor(), false);
  }
  FitColumns(bonuses_);
}

void QtCounterWindow::FillDays() {
  const int n = static_cast<int>(model_.pastDays.size());
  days_->setRowCount(n + 1);
  FillTodayRow();
  for (int i = 0; i < n; ++i) {
    const CounterDay& d = model_.pastDays[static_cast<std::size_t>(i)];
    SetCell(days_, i + 1, 0, DayLabel(i + 1), QColor(), false);
    SetCell(days_, i + 1, 1, QString::number(d.games));
    SetCell(days_, i + 1, 2, QString::number(d.mc));
    SetCell(days_, i + 1, 3, QString::number(d.pmc));
    SetCell(days_, i + 1, 4, Grouped(d.CoinDifference()), d.CoinDifference() < 0 ? QColor(0x5c, 0xe1, 0xff) : QColor());
    SetCell(days_, i + 1, 5, QString::number(d.setting));
  }
}

void QtCounterWindow::FitColumns(QTableWidget* t) {
  // Each column as wide as its longest text; what the list has to spare goes to the figures' columns evenly.
  const QFontMetrics fm(t->font());
  const int pad = narrow_ ? 8 : 10, columns = t->columnCount();
  std::vector<int> width(static_cast<std::size_t>(columns));
  const auto measure = [&] {
    int total = 0;
    for (int c = 0; c < columns; ++c) {
      int w = fm.horizontalAdvance(t->horizontalHeaderItem(c)->text());
      for (int r = 0; r < t->rowCount(); ++r)
        if (const QTableWidgetItem* item = t->item(r, c)) w = std::max(w, fm.horizontalAdvance(item->text()));
      width[static_cast<std::size_t>(c)] = w + pad;
      total += w + pad;
    }
    return total;
  };
  int total = measure();
  // The wide layout gives each list the width its columns need, the bar beside them included; a list in one
  // column shows its dates without their times when it would not fit otherwise.
  const int frame = 2 * t->frameWidth() + t->verticalScrollBar()->sizeHint().width();
  t->setMinimumWidth(narrow_ ? 0 : total + frame);
  if (t == days_) {
    int dates = fm.horizontalAdvance(model_.dayRunning ? QStringLiteral("本日（プレイ中）") : QStringLiteral("本日"));
    for (const CounterDay& d : model_.pastDays) dates = std::max(dates, fm.horizontalAdvance(DateText(d.date, true)));
    const int withTimes = total - width[0] + std::max(width[0], dates + pad);
    if (const bool shortDates = narrow_ && withTimes > t->viewport()->width(); shortDates != shortDates_) {
      shortDates_ = shortDates;
      for (int r = 0; r < t->rowCount(); ++r)
        if (QTableWidgetItem* item = t->item(r, 0)) item->setText(DayLabel(r));
      total = measure();
    }
  }
  if (t == days_ && narrow_)
    t->setMinimumHeight(t->rowCount() * t->verticalHeader()->defaultSectionSize() +
                        t->horizontalHeader()->sizeHint().height() + 2 * t->frameWidth());
  else
    t->setMinimumHeight(0);
  const int spare = t->viewport()->width() - total;
  for (int c = 0; c < columns; ++c) {
    int w = width[static_cast<std::size_t>(c)];
    if (spare > 0 && c > 0) w += spare / (columns - 1) + (c <= spare % (columns - 1) ? 1 : 0);
    t->setColumnWidth(c, w);
  }
}

bool QtCounterWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    if (watched == days_->viewport()) FitColumns(days_);
    if (watched == bonuses_->viewport()) FitColumns(bonuses_);
  }
  return QWidget::eventFilter(watched, event);
}

QString QtCounterWindow::DayLabel(int row) const {
  if (row > 0) return DateText(model_.pastDays[static_cast<std::size_t>(row - 1)].date, !shortDates_);
  return model_.dayRunning && !shortDates_ ? QStringLiteral("本日（プレイ中）") : QStringLiteral("本日");
}

void QtCounterWindow::FillTodayRow() {
  SetCell(days_, 0, 0, DayLabel(0), QColor(), false);
  if (!model_.hasToday) {
    for (int c = 1; c < 6; ++c) SetCell(days_, 0, c, "");
    return;
  }
  // Today's figures as they stand; its setting stays hidden until the cash-out shows it.
  const CounterDay& d = model_.today;
  SetCell(days_, 0, 1, QString::number(d.games));
  SetCell(days_, 0, 2, QString::number(d.mc));
  SetCell(days_, 0, 3, QString::number(d.pmc));
  SetCell(days_, 0, 4, Grouped(d.CoinDifference()), d.CoinDifference() < 0 ? QColor(0x5c, 0xe1, 0xff) : QColor());
  SetCell(days_, 0, 5, model_.dayRunning || d.setting == 0 ? QStringLiteral("？") : QString::number(d.setting));
}

void QtCounterWindow::closeEvent(QCloseEvent* event) {
  RememberPlace();
  CounterClosedByPlayer();
  event->accept();
}

void QtCounterWindow::keyPressEvent(QKeyEvent* event) {
  // Should the window get a key after all (a window manager that ignores its wish), the machine gets it.
  const int vk = VirtualKeyOf(event->key());
  if (vk != 0 && Form2.Loaded()) {
    Form2.KeyDown(vk);
    return;
  }
  QWidget::keyPressEvent(event);
}
