// The values the chip tools show: the frequency settings, a measurement's duration and
// deviation, and the fields of the TI HDX+ configuration byte.
#include <gtest/gtest.h>

#include "flows/hdx_plus_config.h"
#include "flows/sic7999_tuning.h"

namespace kx::flows {
namespace {

TEST(ChipValues, FrequencySettingsAndMeasurements) {
  EXPECT_EQ(FrequencySettingOf(0).minimumHz(), 134400);
  EXPECT_EQ(FrequencySettingOf(0).maximumHz(), 134800);
  EXPECT_EQ(FrequencySettingOf(1).targetHz, 124200);
  EXPECT_EQ(FrequencySettingOf(1).minimumHz(), 122600);
  EXPECT_EQ(FrequencySettingOf(1).maximumHz(), 125800);

  const Measurement at0 = MeasurementOf(134650, 0);
  EXPECT_EQ(at0.periodUs, 15209);
  EXPECT_EQ(at0.frequencyHz, 134650);
  EXPECT_EQ(at0.deviationHz, 50);
  EXPECT_EQ(MeasurementOf(123000, 1).deviationHz, -1200);
}

TEST(ChipValues, HdxPlusConfigurationByte) {
  EXPECT_EQ(DecodeHdxPlusConfig(0xB5), (HdxPlusConfig{5, 0, 1, 5}));
  EXPECT_EQ(DecodeHdxPlusConfig(0xFF), (HdxPlusConfig{7, 1, 1, 7}));
  EXPECT_EQ(EncodeHdxPlusConfig({7, 1, 0, 2}), 0x4F);
  EXPECT_EQ(EncodeHdxPlusConfig({0, 0, 0, 9}), EncodeHdxPlusConfig({0, 0, 0, 1}));
  EXPECT_EQ(EncodeHdxPlusConfig({0, 5, -1, 0}), 0x18) << "any non-zero switch sets its bit";
  for (int byte = 0; byte < 256; ++byte) {
    EXPECT_EQ(EncodeHdxPlusConfig(DecodeHdxPlusConfig(static_cast<uint8_t>(byte))), byte);
  }
}

}  // namespace
}  // namespace kx::flows
