// A sine tone as 16-bit mono samples, for the success beep.
#pragma once

#include <cstdint>
#include <vector>

namespace kx::app {

// durationMs of a frequencyHz sine at sampleRate, a fifth of full scale, with 5 ms ramps at
// both ends so that the speaker does not click. Empty for a duration or frequency of 0 or less.
std::vector<int16_t> ToneSamples(int frequencyHz, int durationMs, int sampleRate);

}  // namespace kx::app
