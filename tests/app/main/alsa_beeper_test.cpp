#include "alsa_beeper.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace kx::app {
namespace {

// An ALSA configuration whose default device cannot be opened, as on a machine without sound:
// ALSA then reports the failure through its error handler.
class AlsaWithoutDevice : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { setenv("ALSA_CONFIG_PATH", KX_ALSA_TEST_CONFIG, 1); }
  void TearDown() override { unsetenv("KXLF_DEBUG"); }

  static std::string ErrorsOfOneBeep() {
    ::testing::internal::CaptureStderr();
    AlsaBeeper().Beep(440, 10);
    return ::testing::internal::GetCapturedStderr();
  }
};

TEST_F(AlsaWithoutDevice, BeepsSilentlyWithoutAWord) {
  unsetenv("KXLF_DEBUG");
  EXPECT_EQ(ErrorsOfOneBeep(), "");
  setenv("KXLF_DEBUG", "0", 1);
  EXPECT_EQ(ErrorsOfOneBeep(), "");
}

TEST_F(AlsaWithoutDevice, ShowsAlsasOwnLinesForATrace) {
  setenv("KXLF_DEBUG", "1", 1);
  EXPECT_NE(ErrorsOfOneBeep().find("ALSA lib"), std::string::npos);
  // Switched off again, the next beep is quiet again.
  unsetenv("KXLF_DEBUG");
  EXPECT_EQ(ErrorsOfOneBeep(), "");
}

}  // namespace
}  // namespace kx::app
