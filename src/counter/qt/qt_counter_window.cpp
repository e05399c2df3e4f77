#include "counter/qt/qt_counter_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "core/machine_screen.h"
#include "counter/counter.h"
#include "counter/qt/estimate_bars.h"
#include "counter/qt/slump_graph.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_screen_view.h"

namespace {

const char* const kStyle = R"(
  QWidget { background: #141a2e; color: #e8ecf8; font-family: "IPAPGothic"; font-size: 10pt; }
  QLabel#heading { color: #ffd24a; font-size: 11pt; font-weight: bold; }
  QLabel#value { color: #ffd24a; font-size: 15pt; font-weight: bold; }
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
  t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  t->horizontalHeader()->setFocusPolicy(Qt::NoFocus);
  t->verticalHeader()->setDefaultSectionSize(20);
  return t;
}

// Numbers right-aligned under each other; texts (a date, a kind) on the left.
void SetCell(QTableWidget* t, int row, int col, const QString& text, const QColor& colour = QColor(),
             bool number = true) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  if (colour.isValid()) item->setForeground(colour);
  t->setItem(row, col, item);
}

QString KindText(const CounterBonus& b) {
  if (b.fanfare) return QStringLiteral("ファンファーレ連");
  return b.premium ? QStringLiteral("PMC") : QStringLiteral("MC");
}

}  // namespace

QtCounterWindow::QtCounterWindow() : QWidget(nullptr, Qt::Window | Qt::WindowDoesNotAcceptFocus) {
  setWindowTitle(QStringLiteral("データカウンター"));
  // Shown beside the machine, it must leave the keys with the machine; closing it never ends the program.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_QuitOnClose, false);
  setFocusPolicy(Qt::NoFocus);
  setStyleSheet(kStyle);
  resize(780, 640);
  setMinimumSize(560, 400);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(4);

  // Today: the figures a hall's counter shows first.
  auto* todayBox = new QGridLayout;
  const char* captions[7] = {"ゲーム数", "MC間", "MC", "PMC", "ﾌｧﾝﾌｧｰ連", "差枚", "機械割"};
  for (int i = 0; i < 7; ++i) {
    auto* c = new QLabel(QString::fromUtf8(captions[i]));
    c->setObjectName("caption");
    c->setAlignment(Qt::AlignCenter);
    todayValues_[i] = new QLabel("0");
    todayValues_[i]->setObjectName("value");
    todayValues_[i]->setAlignment(Qt::AlignCenter);
    todayBox->addWidget(c, 0, i);
    todayBox->addWidget(todayValues_[i], 1, i);
  }
  grid->addWidget(Heading(QStringLiteral("本日のデータ")), 0, 0, 1, 2);
  grid->addLayout(todayBox, 1, 0, 1, 2);

  graphTitle_ = Heading(QStringLiteral("スランプグラフ"));
  grid->addWidget(graphTitle_, 2, 0);
  graph_ = new SlumpGraph;
  grid->addWidget(graph_, 3, 0);

  auto* estimate = new QVBoxLayout;
  // Today's only, whichever day the graph shows.
  estimate->addWidget(Heading(QStringLiteral("本日の設定推測")));
  bars_ = new EstimateBars;
  estimate->addWidget(bars_, 1);
  estimateLine_ = new QLabel;
  estimateLine_->setObjectName("caption");
  estimateLine_->setWordWrap(true);
  estimate->addWidget(estimateLine_);
  grid->addLayout(estimate, 2, 1, 2, 1);

  bonusTitle_ = Heading(QStringLiteral("ボーナス履歴"));
  grid->addWidget(bonusTitle_, 4, 0);
  bonuses_ = Table({"回", "開始G", "種類", "長さ", "間G", "契機"});
  grid->addWidget(bonuses_, 5, 0);

  grid->addWidget(Heading(QStringLiteral("過去の台データ")), 4, 1);
  days_ = Table({"日付", "G数", "MC", "PMC", "差枚", "設定"});
  // Its columns are sized by FitDayColumns: every figure whole, in a narrow window scrolling sideways.
  days_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  days_->viewport()->installEventFilter(this);
  // A click on a day shows its graph and bonuses; the first row is today.
  connect(days_, &QTableWidget::cellClicked, this, [this](int row, int) { ChoosePastDay(row - 1); });
  grid->addWidget(days_, 5, 1);

  notice_ = new QLabel;
  notice_->setObjectName("notice");
  grid->addWidget(notice_, 6, 0, 1, 2);

  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 2);
  grid->setRowStretch(3, 3);
  grid->setRowStretch(5, 2);
  for (QWidget* w : findChildren<QWidget*>()) w->setFocusPolicy(Qt::NoFocus);
}

void QtCounterWindow::Show(const CounterModel& model) {
  Update(model);
  if (!isVisible()) PlaceBesideMachine();
  show();
}

void QtCounterWindow::Hide() { hide(); }

void QtCounterWindow::PlaceBesideMachine() {
  // Beside the game's window in front: the machine, or the title screen that opened it after a day.
  QWidget* game = Form2.View() ? dynamic_cast<QWidget*>(Form2.View()) : nullptr;
  if (!game) game = QtScreenView::Frontmost();
  QScreen* screen = game ? game->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize full(780, 640);
  const QSize least = minimumSizeHint().expandedTo(QSize(560, 400)).boundedTo(area.size());
  QRect place(area.topLeft() + QPoint(20, 20), full.boundedTo(area.size()));
  if (game) {
    // Beside it, never over it: to its right where there is room, else below, to its left or above, made as
    // small as its contents allow. A screen too small for any of these gets it in the corner that hides the
    // least of the game's window, at its smallest; among corners that hide as much, the machine's reels and
    // lever stay clear on the left, the title screen's buttons on the right.
    const QRect m = game->frameGeometry();
    const int right = area.right() - m.right() - 8, below = area.bottom() - m.bottom() - 8;
    const int left = m.left() - area.left() - 8, above = m.top() - area.top() - 8;
    if (right >= least.width()) {
      place = QRect(m.right() + 9, m.top(), std::min(full.width(), right), full.height());
    } else if (below >= least.height()) {
      place = QRect(m.left(), m.bottom() + 9, std::max(m.width(), least.width()), std::min(full.height(), below));
    } else if (left >= least.width()) {
      const int w = std::min(full.width(), left);
      place = QRect(m.left() - 8 - w, m.top(), w, full.height());
    } else if (above >= least.height()) {
      const int h = std::min(full.height(), above);
      place = QRect(m.left(), m.top() - 8 - h, std::max(m.width(), least.width()), h);
    } else {
      const QPoint bottomRight = area.bottomRight() - QPoint(least.width() - 1, least.height() - 1),
                   topRight = area.topRight() - QPoint(least.width() - 1, 0),
                   bottomLeft = area.bottomLeft() - QPoint(0, least.height() - 1), topLeft = area.topLeft();
      const bool machine = game == dynamic_cast<QWidget*>(Form2.View());
      const QPoint corners[4] = {machine ? bottomRight : bottomLeft, machine ? topRight : topLeft,
                                 machine ? bottomLeft : bottomRight, machine ? topLeft : topRight};
      long long hidden = -1;
      for (const QPoint& corner : corners) {
        const QRect r(corner, least);
        const QRect over = r.intersected(m);
        const long long a = over.isEmpty() ? 0 : static_cast<long long>(over.width()) * over.height();
        // A centred window leaves its sides a pixel or two apart: only a clearly smaller overlap counts.
        if (hidden < 0 || a < hidden - hidden / 20) {
          hidden = a;
          place = r;
        }
      }
    }
  }
  place.setHeight(std::min(place.height(), area.height()));
  place.setWidth(std::min(place.width(), area.width()));
  place.moveTop(std::clamp(place.top(), area.top(), std::max(area.top(), area.bottom() - place.height() + 1)));
  place.moveLeft(std::clamp(place.left(), area.left(), std::max(area.left(), area.right() - place.width() + 1)));
  setGeometry(place);
}

void QtCounterWindow::Update(const CounterModel& model) {
  ++updates_;
  const bool daysChanged = model.pastDays.size() != model_.pastDays.size() ||
                           (!model.pastDays.empty() && model.pastDays.front().date != model_.pastDays.front().date) ||
                           model.hasToday != model_.hasToday || model.dayRunning != model_.dayRunning;
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
  QString line = QStringLiteral("通常%1G・初当り%2回から（連荘は除く）。").arg(e.normalGames).arg(e.freshWins);
  if (e.normalGames < 2000)
    line += QStringLiteral("ゲーム数が少なく、まだほぼ当日の設定配分のままです。");
  else if (e.normalGames < 6000)
    line += QStringLiteral("目安程度の推測です。");
  else
    line += QStringLiteral("ある程度信頼できる推測です。");
  estimateLine_->setText(line);
  notice_->setText(QString::fromStdString(model.notice));
  notice_->setVisible(!model.notice.empty());

  if (daysChanged) {
    if (chosen_ >= static_cast<int>(model_.pastDays.size())) chosen_ = -1;
    FillDays();
    shownBonuses_ = static_cast<std::size_t>(-1);
  } else {
    FillTodayRow();
  }
  FitDayColumns();
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
  const QString which =
      today ? QStringLiteral("本日") : QString::fromStdString(day.date.substr(5)).replace('-', '/');
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
}

void QtCounterWindow::FillDays() {
  const int n = static_cast<int>(model_.pastDays.size());
  days_->setRowCount(n + 1);
  FillTodayRow();
  for (int i = 0; i < n; ++i) {
    const CounterDay& d = model_.pastDays[static_cast<std::size_t>(i)];
    SetCell(days_, i + 1, 0, QString::fromStdString(d.date.substr(5)).replace('-', '/'), QColor(), false);
    SetCell(days_, i + 1, 1, QString::number(d.games));
    SetCell(days_, i + 1, 2, QString::number(d.mc));
    SetCell(days_, i + 1, 3, QString::number(d.pmc));
    SetCell(days_, i + 1, 4, Grouped(d.CoinDifference()), d.CoinDifference() < 0 ? QColor(0x5c, 0xe1, 0xff) : QColor());
    SetCell(days_, i + 1, 5, QString::number(d.setting));
  }
}

void QtCounterWindow::FitDayColumns() {
  // Each column as wide as its longest text; what the list has to spare goes to the figures' columns evenly.
  const QFontMetrics fm(days_->font());
  const int columns = days_->columnCount();
  std::vector<int> width(static_cast<std::size_t>(columns));
  int total = 0;
  for (int c = 0; c < columns; ++c) {
    int w = fm.horizontalAdvance(days_->horizontalHeaderItem(c)->text());
    for (int r = 0; r < days_->rowCount(); ++r)
      if (const QTableWidgetItem* item = days_->item(r, c)) w = std::max(w, fm.horizontalAdvance(item->text()));
    width[static_cast<std::size_t>(c)] = w + 10;
    total += w + 10;
  }
  const int spare = days_->viewport()->width() - total;
  for (int c = 0; c < columns; ++c) {
    int w = width[static_cast<std::size_t>(c)];
    if (spare > 0 && c > 0) w += spare / (columns - 1) + (c <= spare % (columns - 1) ? 1 : 0);
    days_->setColumnWidth(c, w);
  }
}

bool QtCounterWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == days_->viewport() && event->type() == QEvent::Resize) FitDayColumns();
  return QWidget::eventFilter(watched, event);
}

void QtCounterWindow::FillTodayRow() {
  SetCell(days_, 0, 0, model_.dayRunning ? QStringLiteral("本日（プレイ中）") : QStringLiteral("本日"), QColor(),
          false);
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
