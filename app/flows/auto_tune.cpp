#include "flows/auto_tune.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace kx::flows {

namespace {

// Setting 0 aims at 134600 Hz within 200 Hz; the fine adjustment aims at the inner half of
// that window first. Setting 1's window for the final check is wider than its displayed one.
constexpr int kTarget0 = 134600;
constexpr int kHigh0 = 134800;
constexpr int kLow0 = 134400;
constexpr int kUpperInner0 = 134700;
constexpr int kLowerInner0 = 134500;
constexpr int kHigh1 = 126200;
constexpr int kLow1 = 122200;

constexpr int kUpperPoint = 96;
constexpr int kLowerPoint = 32;
constexpr int kSteadyAttempts = 3;
// The adjustment may step one past the estimate's range before the final check.
constexpr int kHighestAdjustedCtune = 127;

bool Agree(int first, int second) {
  return std::abs(static_cast<int64_t>(first) - second) < kSteadyToleranceHz;
}

bool InWindow0(int frequency) {
  return frequency >= kLow0 && frequency <= kHigh0;
}

class Run {
 public:
  Run(FrequencyMeter& meter, TuningClock& clock) : meter_(meter), clock_(clock) {}

  TuneResult Tune();

 private:
  std::optional<int> Measure(int ctune, int setting) {
    std::optional<int> frequency = meter_.Measure(ctune, setting);
    if (frequency && *frequency <= 0)
      frequency.reset();
    if (!frequency) {
      result_.failedCtune = ctune;
      result_.failedSetting = setting;
    }
    return frequency;
  }
  // The second measurement of a pair that agrees with the first.
  std::optional<int> SteadyAt96();
  std::optional<int> SteadyAt32();
  std::optional<int> MeasureOnceMore(int ctune);
  void Pause() { clock_.Pause(kTuningPause); }
  TuneResult& End(TuneCode code, TuneStop stop) {
    result_.code = code;
    result_.stop = stop;
    return result_;
  }
  TuneResult& Failed() { return End(TuneCode::kMeasurementFailed, TuneStop::kMeasurementFailed); }

  FrequencyMeter& meter_;
  TuningClock& clock_;
  TuneResult result_;
  bool unsteady_ = false;
};

std::optional<int> Run::SteadyAt96() {
  for (int attempt = 0; attempt < kSteadyAttempts; ++attempt) {
    const std::optional<int> first = Measure(kUpperPoint, 0);
    if (!first)
      return std::nullopt;
    Pause();
    const std::optional<int> second = Measure(kUpperPoint, 0);
    if (!second)
      return std::nullopt;
    Pause();
    if (Agree(*first, *second))
      return second;
  }
  unsteady_ = true;
  return std::nullopt;
}

// A measurement at the lower point gets one more chance: the chip is far from its working
// resonance there.
std::optional<int> Run::MeasureOnceMore(int ctune) {
  if (std::optional<int> frequency = Measure(ctune, 0))
    return frequency;
  Pause();
  return Measure(ctune, 0);
}

std::optional<int> Run::SteadyAt32() {
  for (int attempt = 0; attempt < kSteadyAttempts; ++attempt) {
    const std::optional<int> first = MeasureOnceMore(kLowerPoint);
    if (!first)
      return std::nullopt;
    Pause();
    const std::optional<int> second = MeasureOnceMore(kLowerPoint);
    if (!second)
      return std::nullopt;
    if (Agree(*first, *second))
      return second;
    Pause();
  }
  unsteady_ = true;
  return std::nullopt;
}

TuneResult Run::Tune() {
  const std::optional<int> f96 = SteadyAt96();
  if (!f96)
    return unsteady_ ? End(TuneCode::kMeasurementFailed, TuneStop::kUnsteadyAt96) : Failed();
  const std::optional<int> f32 = SteadyAt32();
  if (!f32)
    return unsteady_ ? End(TuneCode::kMeasurementFailed, TuneStop::kUnsteadyAt32) : Failed();

  const std::optional<int> mid = EstimateCtune(*f96, *f32, kTarget0);
  const std::optional<int> high = EstimateCtune(*f96, *f32, kHigh0);
  const std::optional<int> low = EstimateCtune(*f96, *f32, kLow0);
  if (!mid || !high || !low)
    return End(TuneCode::kCtuneOutOfRange, TuneStop::kNoEstimate);

  Pause();
  const std::optional<int> g96 = Measure(kUpperPoint, 1);
  if (!g96)
    return Failed();
  Pause();
  const std::optional<int> g32 = Measure(kLowerPoint, 1);
  if (!g32)
    return Failed();
  const std::optional<int> highSetting1 = EstimateCtune(*g96, *g32, kHigh1);
  const std::optional<int> lowSetting1 = EstimateCtune(*g96, *g32, kLow1);
  if (!highSetting1 || !lowSetting1)
    return End(TuneCode::kCtuneOutOfRange, TuneStop::kNoEstimate);
  result_.estimates = TuneEstimates{*mid, *high, *low, *highSetting1, *lowSetting1};

  int c = ChooseStartValue(*result_.estimates);
  result_.ctune = c;
  if (c == 0 || c > kHighestTuningCtune)
    return End(TuneCode::kCtuneOutOfRange, TuneStop::kStartOutOfRange);

  // Measures the next CTune one step up or down after a pause.
  const auto step = [&](int direction) {
    c += direction;
    result_.ctune = c;
    Pause();
    result_.frequencySetting0 = Measure(c, 0);
    return result_.frequencySetting0;
  };

  result_.frequencySetting0 = Measure(c, 0);
  if (!result_.frequencySetting0)
    return Failed();
  const int f = *result_.frequencySetting0;
  if (f > kUpperInner0) {
    const std::optional<int> up = step(+1);
    if (!up)
      return Failed();
    if (*up > kUpperInner0 && c < kHighestAdjustedCtune) {
      const std::optional<int> again = step(+1);
      if (!again)
        return Failed();
      if (!InWindow0(*again))
        return End(TuneCode::kOutOfLimits, TuneStop::kAdjustmentOutside);
    }
  } else if (f < kLowerInner0) {
    const std::optional<int> down = step(-1);
    if (!down)
      return Failed();
    if (*down < kLowerInner0 && c != 0) {
      const std::optional<int> again = step(-1);
      if (!again)
        return Failed();
      if (!InWindow0(*again))
        return End(TuneCode::kOutOfLimits, TuneStop::kAdjustmentOutside);
    }
  }

  Pause();
  result_.frequencySetting1 = Measure(c, 1);
  if (!result_.frequencySetting1)
    return Failed();
  if (*result_.frequencySetting1 < kLow1 || *result_.frequencySetting1 > kHigh1)
    return End(TuneCode::kOutOfLimits, TuneStop::kFinalCheckOutside);
  return End(TuneCode::kTuned, TuneStop::kTuned);
}

}  // namespace

void SleepingClock::Pause(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

std::optional<int> EstimateCtune(int64_t f96, int64_t f32, int64_t target) {
  const float a = 1.0f / static_cast<float>(f96 * f96);
  const float b = 1.0f / static_cast<float>(f32 * f32);
  const float inverse = 1.0f / static_cast<float>(target * target);
  const float quotient = (inverse + a / 2.0f - 1.5f * b) / (a - b) * 64.0f;
  // Equal points divide by zero; converting an infinite, undefined or too large quotient to an
  // int is undefined, so there is no estimate at all.
  if (!std::isfinite(quotient) || std::fabs(quotient) >= 2147483648.0f)
    return std::nullopt;
  return static_cast<int>(quotient);
}

int ChooseStartValue(const TuneEstimates& e) {
  const auto byte = [](int value) { return static_cast<int>(static_cast<uint8_t>(value)); };
  if (byte(e.mid) > byte(e.lowSetting1))
    return std::max(byte(e.high), byte(e.lowSetting1));
  if (byte(e.mid) >= byte(e.highSetting1))
    return byte(e.mid);
  return std::min(byte(e.low), byte(e.highSetting1));
}

TuneResult AutoTune(FrequencyMeter& meter, TuningClock& clock) {
  return Run(meter, clock).Tune();
}

}  // namespace kx::flows
