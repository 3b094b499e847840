// The automatic tuning of a SIC7999 transponder: two steady measurements at CTune 96 and 32
// locate the chip's resonance curve, an interpolation of 1/f² estimates the CTune that puts the
// resonance inside the window of both frequency settings, a fine adjustment of up to two steps
// corrects the estimate, and a final measurement with setting 1 confirms it.
//
// The procedure knows neither the SDK nor a window: it measures through a FrequencyMeter and
// pauses through a TuningClock, so that tests script both and never sleep.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace kx::flows {

// One measurement of the transponder's resonance with `ctune` sent along and the frequency
// setting 0 or 1. nullopt when the measurement failed; a frequency of 0 or below counts as
// failed too.
class FrequencyMeter {
 public:
  virtual ~FrequencyMeter() = default;
  virtual std::optional<int> Measure(int ctune, int setting) = 0;
};

class TuningClock {
 public:
  virtual ~TuningClock() = default;
  virtual void Pause(std::chrono::milliseconds duration) = 0;
};

// Sleeps the calling thread.
class SleepingClock : public TuningClock {
 public:
  void Pause(std::chrono::milliseconds duration) override;
};

// How the procedure ends; the numbers are those the tuning has always reported.
enum class TuneCode : int {
  kTuned = 0,
  kMeasurementFailed = 1,  // a measurement failed, or two stayed unsteady
  kOutOfLimits = 3,        // the adjusted frequency lies outside its window
  kCtuneOutOfRange = 4,    // the computed CTune lies outside 1 to 126, or cannot be computed
};

// Where the procedure stopped, for a report that says why.
enum class TuneStop {
  kTuned,
  kMeasurementFailed,  // code 1
  kUnsteadyAt96,       // code 1: three pairs at CTune 96 differed by 100 Hz or more
  kUnsteadyAt32,       // code 1: the same at CTune 32
  kNoEstimate,         // code 4: the two points give no curve (equal, or beyond float range)
  kStartOutOfRange,    // code 4: the starting value is 0 or above 126
  kAdjustmentOutside,  // code 3: setting 0 did not reach its window in two steps
  kFinalCheckOutside,  // code 3: setting 1 lies outside its window
};

struct TuneEstimates {
  int mid = 0;           // n(134600) with the points of setting 0
  int high = 0;          // n(134800)
  int low = 0;           // n(134400)
  int highSetting1 = 0;  // n(126200) with the points of setting 1
  int lowSetting1 = 0;   // n(122200)
};

struct TuneResult {
  TuneCode code = TuneCode::kMeasurementFailed;
  TuneStop stop = TuneStop::kMeasurementFailed;
  // The CTune of the last measurement (the result on success); nullopt before the start value.
  std::optional<int> ctune;
  std::optional<TuneEstimates> estimates;  // the ones computed before the procedure ended
  // The last frequency measured with each setting in the fine adjustment and the final check.
  std::optional<int> frequencySetting0;
  std::optional<int> frequencySetting1;
  // The CTune and setting of a failed measurement.
  int failedCtune = 0;
  int failedSetting = 0;

  bool ok() const { return code == TuneCode::kTuned; }
};

inline constexpr std::chrono::milliseconds kTuningPause{20};
// Two measurements agree when they differ by less than this.
inline constexpr int kSteadyToleranceHz = 100;
inline constexpr int kHighestTuningCtune = 126;

TuneResult AutoTune(FrequencyMeter& meter, TuningClock& clock);

// n(F): the CTune at which the line through (96, 1/f96²) and (32, 1/f32²) reaches 1/F², in
// single precision with the squares formed as 64-bit integers; truncated toward zero. nullopt
// when the quotient is not a number that an int can hold (equal points, for one).
std::optional<int> EstimateCtune(int64_t f96, int64_t f32, int64_t target);

// The starting value from the estimates, compared as the unsigned bytes they travel as.
int ChooseStartValue(const TuneEstimates& estimates);

}  // namespace kx::flows
