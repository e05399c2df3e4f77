// The data counter's window on Qt: a window of its own beside the machine that never takes the keyboard from it.
// It shows what the counter hands it at each game end; it reads nothing of the game by itself.
#pragma once
#include <QWidget>

#include "counter/counter_view.h"

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
  int ChosenPastDay() const { return chosen_; }
  void ChoosePastDay(int index);  // -1: today
  // Every update that reached the window since it was made.
  int Updates() const { return updates_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowChosenDay();
  void FillBonuses(const CounterDay& day);
  void FillDays();
  void FillTodayRow();
  void FitDayColumns();
  void PlaceBesideMachine();

  CounterModel model_;
  int chosen_ = -1;
  int updates_ = 0;
  std::size_t shownBonuses_ = static_cast<std::size_t>(-1);
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
