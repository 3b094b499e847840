#include "framework/progress_bar.h"

#include <algorithm>
#include <cstdint>

namespace kx::ui {

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
  setTextVisible(false);
  setRange(0, 100);
  setValue(0);
}

void ProgressBar::SetRange(int lower, int upper) {
  const int previous = value();
  setRange(lower, std::max(lower, upper));
  // Qt resets a position that the new range leaves out; the bar keeps it, clamped.
  setValue(std::clamp(previous, minimum(), maximum()));
}

int ProgressBar::SetStep(int step) {
  const int previous = step_;
  step_ = step;
  return previous;
}

int ProgressBar::SetPos(int position) {
  const int previous = value();
  setValue(std::clamp(position, minimum(), maximum()));
  return previous;
}

int ProgressBar::StepIt() {
  const int previous = value();
  // In 64 bits, so that a large step near the top of the range does not overflow.
  const int64_t lower = minimum();
  const int64_t span = static_cast<int64_t>(maximum()) - lower;
  int64_t next = previous + static_cast<int64_t>(step_);
  if (span == 0)
    next = lower;
  else if (next < lower || next > maximum())
    next = lower + (((next - lower) % span) + span) % span;
  setValue(static_cast<int>(next));
  return previous;
}

}  // namespace kx::ui
