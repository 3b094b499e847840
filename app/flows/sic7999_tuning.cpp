#include "flows/sic7999_tuning.h"

#include "kxlf.h"

namespace kx::flows {

namespace {

constexpr int kRecordCapacity = 20;
constexpr int kCtuneOffset = 8;
constexpr int kPeriodClock = 2048000000;
constexpr int kSweepFirst = 32;
constexpr int kSweepLast = 96;

// The SDK leaves its result alone when the answer carries no frequency, and never delivers one
// of 0 or below: a result still at this value after a success means "no frequency".
constexpr int kNoFrequency = -1;

// The frequency of one measurement; nullopt when there is none to compute with.
std::optional<int> Frequency(int handle, int ctune, int apply, int setting, int& error) {
  int frequency = kNoFrequency;
  if (KxLfMeasureFrequency(handle, kSic7999Code, ctune, apply, setting, 0, &frequency) != 0) {
    error = KxLfGetLastError(handle);
    return std::nullopt;
  }
  if (frequency <= 0) {
    error = 0;
    return std::nullopt;
  }
  return frequency;
}

}  // namespace

const FrequencySetting& FrequencySettingOf(int setting) {
  return kFrequencySettings[setting == 0 ? 0 : 1];
}

std::optional<int> ReadCtune(int handle) {
  unsigned char record[kRecordCapacity] = {};
  if (KxLfReadConfiguration(handle, kSic7999Code, record, kRecordCapacity) <= kCtuneOffset)
    return std::nullopt;
  return record[kCtuneOffset];
}

Measurement MeasurementOf(int frequencyHz, int setting) {
  return Measurement{frequencyHz, kPeriodClock / frequencyHz,
                     frequencyHz - FrequencySettingOf(setting).targetHz};
}

std::optional<Measurement> MeasureResonance(int handle, int setting, int ctune, bool apply,
                                            int* error) {
  int failure = 0;
  const std::optional<int> frequency = Frequency(handle, ctune, apply ? 1 : 0, setting, failure);
  if (!frequency) {
    if (error != nullptr)
      *error = failure;
    return std::nullopt;
  }
  return MeasurementOf(*frequency, setting);
}

void SweepCtune(int handle, int setting) {
  int ignored = 0;
  for (int ctune = kSweepFirst; ctune <= kSweepLast; ++ctune)
    Frequency(handle, ctune, 1, setting, ignored);
}

std::optional<int> SdkFrequencyMeter::Measure(int ctune, int setting) {
  return Frequency(handle_, ctune, 1, setting, lastError_);
}

}  // namespace kx::flows
