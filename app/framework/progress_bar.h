// A progress bar with a range, a step and a position, that steps round: past the top of its range
// it starts again at the bottom. A position outside the range is clamped into it, so that a
// caller measuring elapsed time may overshoot without the bar stopping short of full.
#pragma once

#include <QProgressBar>

namespace kx::ui {

class ProgressBar : public QProgressBar {
  Q_OBJECT

 public:
  explicit ProgressBar(QWidget* parent = nullptr);

  // An upper below lower is taken as lower. The position is clamped into the new range.
  void SetRange(int lower, int upper);
  // Returns the previous step.
  int SetStep(int step);
  int Step() const { return step_; }
  // Returns the previous position.
  int SetPos(int position);
  int Pos() const { return value(); }
  // Advances by the step; past the upper end the position starts again from the lower one.
  // Returns the previous position.
  int StepIt();

 private:
  int step_ = 10;
};

}  // namespace kx::ui
