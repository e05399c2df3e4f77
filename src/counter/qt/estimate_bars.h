// The setting estimate as six bars with their percentages.
#pragma once
#include <QWidget>
#include <array>

class EstimateBars : public QWidget {
 public:
  explicit EstimateBars(QWidget* parent = nullptr);
  void SetProbabilities(const std::array<double, 6>& p);
  const std::array<double, 6>& Probabilities() const { return p_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  std::array<double, 6> p_{};
};
