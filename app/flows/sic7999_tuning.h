// The SIC7999 tuning through the SDK: the two frequency settings, reading the chip's CTune from
// its tuning record, and measuring the resonance with or without a CTune value sent along.
#pragma once

#include <optional>

#include "flows/auto_tune.h"

namespace kx::flows {

inline constexpr int kSic7999Code = 38;

struct FrequencySetting {
  int targetHz;
  int toleranceHz;
  int minimumHz() const { return targetHz - toleranceHz; }
  int maximumHz() const { return targetHz + toleranceHz; }
};

inline constexpr FrequencySetting kFrequencySettings[] = {{134600, 200}, {124200, 1600}};
inline constexpr int kFrequencySettingCount = 2;

// The setting 0 or 1; any other index is taken as 1, the setting the dialog starts with.
const FrequencySetting& FrequencySettingOf(int setting);

// The CTune at byte 8 of the tuning record; nullopt when the read fails or delivers fewer than
// 9 bytes.
std::optional<int> ReadCtune(int handle);

struct Measurement {
  int frequencyHz = 0;
  int periodUs = 0;     // the measured duration: 2048000000 / frequency, in integer division
  int deviationHz = 0;  // frequency minus the setting's target
};

// What the tuning shows of a frequency measured with the setting; the frequency is above 0.
Measurement MeasurementOf(int frequencyHz, int setting);

// One measurement with the CTune sent to the chip (apply) or of the chip's present tuning.
// nullopt when it failed, or when the reader answered without a frequency; `error` then receives
// the connection's error code, or 0 for an answer without a frequency.
std::optional<Measurement> MeasureResonance(int handle, int setting, int ctune, bool apply,
                                            int* error = nullptr);

// Sends the CTune values 32 to 96 in turn with a measurement each; every result is ignored.
void SweepCtune(int handle, int setting);

// The meter of the automatic tuning: every measurement sends its CTune along. Remembers the SDK
// error of the last failed measurement (0 when the reader answered without a frequency).
class SdkFrequencyMeter : public FrequencyMeter {
 public:
  explicit SdkFrequencyMeter(int handle) : handle_(handle) {}
  std::optional<int> Measure(int ctune, int setting) override;
  int lastError() const { return lastError_; }

 private:
  int handle_;
  int lastError_ = 0;
};

}  // namespace kx::flows
