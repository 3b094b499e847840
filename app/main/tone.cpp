#include "tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kx::app {

std::vector<int16_t> ToneSamples(int frequencyHz, int durationMs, int sampleRate) {
  if (frequencyHz <= 0 || durationMs <= 0 || sampleRate <= 0)
    return {};
  const auto count = static_cast<size_t>(static_cast<int64_t>(sampleRate) * durationMs / 1000);
  const size_t ramp = std::min<size_t>(static_cast<size_t>(sampleRate / 200), count / 2);
  constexpr double kAmplitude = 32767 * 0.2;
  std::vector<int16_t> samples(count);
  for (size_t i = 0; i < count; ++i) {
    double gain = 1.0;
    if (ramp > 0 && i < ramp)
      gain = static_cast<double>(i) / static_cast<double>(ramp);
    if (ramp > 0 && count - 1 - i < ramp)
      gain = std::min(gain, static_cast<double>(count - 1 - i) / static_cast<double>(ramp));
    const double phase = 2 * std::numbers::pi * frequencyHz * static_cast<double>(i) / sampleRate;
    samples[i] = static_cast<int16_t>(std::lround(kAmplitude * gain * std::sin(phase)));
  }
  return samples;
}

}  // namespace kx::app
