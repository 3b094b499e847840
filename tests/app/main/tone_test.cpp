#include "tone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace kx::app {
namespace {

TEST(ToneSamples, LastsAsLongAsAskedAtTheAskedPitch) {
  const std::vector<int16_t> samples = ToneSamples(440, 300, 44100);
  ASSERT_EQ(samples.size(), 13230u);
  // A 440 Hz sine crosses zero upwards 440 times a second.
  int rising = 0;
  for (size_t i = 1; i < samples.size(); ++i) {
    if (samples[i - 1] < 0 && samples[i] >= 0)
      ++rising;
  }
  EXPECT_NEAR(rising, 132, 2);
  const auto loudest = *std::max_element(samples.begin(), samples.end());
  EXPECT_GT(loudest, 6000);
  EXPECT_LT(loudest, 7000);
}

TEST(ToneSamples, StartsAndEndsQuietly) {
  const std::vector<int16_t> samples = ToneSamples(440, 100, 44100);
  EXPECT_EQ(samples.front(), 0);
  EXPECT_LT(std::abs(samples.back()), 100);
}

TEST(ToneSamples, NothingForNoDuration) {
  EXPECT_TRUE(ToneSamples(440, 0, 44100).empty());
  EXPECT_TRUE(ToneSamples(440, -5, 44100).empty());
  EXPECT_TRUE(ToneSamples(0, 300, 44100).empty());
  EXPECT_EQ(ToneSamples(440, 1, 44100).size(), 44u);
}

}  // namespace
}  // namespace kx::app
