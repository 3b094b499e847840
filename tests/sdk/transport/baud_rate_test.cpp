// Baud rates on a tty: the fixed table and any other rate the driver accepts, on a
// pseudo-terminal, whose driver keeps whatever rate it is given.
#include <asm/termbits.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "pseudo_terminal_test.h"
#include "transport/termios_line.h"
#include "transport/usb_serial_port.h"

namespace kxlf {
namespace {

class PseudoTerminal : public testing::PseudoTerminalTest {
 protected:
  // The output rate of the line as its driver holds it, read through a second descriptor that
  // the test opens before the port takes the line for itself.
  unsigned int RateOf(int fd) {
    termios2 tio{};
    EXPECT_EQ(::ioctl(fd, TCGETS2, &tio), 0);
    return tio.c_ospeed;
  }
};

TEST_F(PseudoTerminal, RatesOutsideTheTableAreSetByNumber) {
  const int observer = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(observer, 0);
  TermiosLine line;
  ASSERT_TRUE(line.Open(slavePath_));
  EXPECT_TRUE(line.Configure(LineSettings{14400, 'N', 8, 1}));
  EXPECT_EQ(RateOf(observer), 14400u);
  EXPECT_TRUE(line.Configure(LineSettings{250000, 'N', 8, 2}));
  EXPECT_EQ(RateOf(observer), 250000u);
  EXPECT_TRUE(line.Configure(LineSettings{9600, 'N', 8, 1})) << "table rates as before";
  EXPECT_EQ(RateOf(observer), 9600u);
  ::close(observer);
}

TEST_F(PseudoTerminal, RefusedRateKeepsTheSpeedOpensAndSaysWhich) {
  const int observer = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(observer, 0);
  ::setenv("KXLF_DEBUG", "1", 1);
  CUSBSerialPort port;
  ASSERT_TRUE(port.OpenPort(slavePath_, 14400, 'N', 8, 1, 512));
  port.ClosePort();
  ::testing::internal::CaptureStderr();
  // A rate of 0 would hang the line up; no driver is asked for it.
  EXPECT_TRUE(port.OpenPort(slavePath_, 0, 'N', 8, 1, 512));
  const std::string debug = ::testing::internal::GetCapturedStderr();
  ::unsetenv("KXLF_DEBUG");
  EXPECT_NE(debug.find("Baudrate 0 wird vom Treiber abgelehnt"), std::string::npos) << debug;
  EXPECT_EQ(RateOf(observer), 14400u);
  ::close(observer);
}

}  // namespace
}  // namespace kxlf
