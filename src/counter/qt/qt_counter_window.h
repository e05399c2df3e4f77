// The data counter's window on Qt: a window of its own beside the machine that never takes the keyboard from it.
// It shows what the counter hands it at each game end; it reads nothing of the game by itself.
#pragma once
#include <QMargins>
#include <QWidget>

#include "counter/counter_view.h"

class QGridLayout;
class QLabel;
class QTableWidget;
class SlumpGraph;
class EstimateBars;

class QtCounterWindow : public QWidget, public CounterView {
 public:
  QtCounterWindow();

  void Show(const CounterModel& model) override;
  void Hide() override;
  void Update(const CounterModel& model) override;

  // What it shows, for tests.
  QString TodayText() const;
  const QTableWidget* BonusTable() const { return bonuses_; }
  const QTableWidget* DaysTable() const { return days_; }
  const SlumpGraph* Graph() const { return graph_; }
  const QWidget* EstimatePanel() const { return estimatePanel_; }
  const EstimateBars* Bars() const { return bars_; }
  int ChosenPastDay() const { return chosen_; }
  void ChoosePastDay(int index);  // -1: today
  // Every update that reached the window since it was made.
  int Updates() const { return updates_; }
  // In a single column, for a narrow place.
  bool Narrow() const { return narrow_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowChosenDay();
  void FillBonuses(const CounterDay& day);
  void FillDays();
  void FillTodayRow();
  QString DayLabel(int row) const;  // the first column of the days: today's, or a past day's date
  void FitColumns(QTableWidget* table);
  void Arrange(bool narrow);
  void PlaceBesideMachine();
  void RememberPlace();

  CounterModel model_;
  int chosen_ = -1;
  int updates_ = 0;
  bool narrow_ = false;
  bool shortDates_ = false;  // the days' dates without their times, where the list is too narrow for them
  QRect placed_, kept_;      // where the window was put, and where the player left it
  QMargins frame_;           // the desktop's frame around it, once seen
  std::size_t shownBonuses_ = static_cast<std::size_t>(-1);
  QGridLayout* grid_ = nullptr;
  QGridLayout* todayGrid_ = nullptr;
  QWidget* todayPanel_ = nullptr;
  QWidget* estimatePanel_ = nullptr;
  QLabel* todayHeading_ = nullptr;
  QLabel* daysHeading_ = nullptr;
  QLabel* todayCaptions_[7] = {};
  QLabel* todayValues_[7] = {};
  QLabel* graphTitle_ = nullptr;
  QLabel* bonusTitle_ = nullptr;
  QTableWidget* bonuses_ = nullptr;
  QTableWidget* days_ = nullptr;
  SlumpGraph* graph_ = nullptr;
  EstimateBars* bars_ = nullptr;
  QLabel* estimateLine_ = nullptr;
  QLabel* notice_ = nullptr;
};
