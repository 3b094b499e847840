// Kept apart from termios_line.cpp: the kernel's termios2 declarations cannot share a file with
// the C library's <termios.h>.
#include "transport/custom_baud_rate_linux.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cstdlib>

namespace kxlf {
namespace {

// Two UARTs still understand each other when their clocks differ by up to about 2 %; a driver
// that rounds to its divisor within that has set the rate.
bool CloseEnough(unsigned int applied, int wanted) {
  return std::abs(static_cast<long long>(applied) - wanted) * 50 <= wanted;
}

}  // namespace

bool SetCustomBaudRate(int fd, int baudRate) {
  if (baudRate <= 0)
    return false;  // 0 would hang the line up
  termios2 tio{};
  if (::ioctl(fd, TCGETS2, &tio) != 0)
    return false;
  tio.c_cflag &= ~CBAUD;
  tio.c_cflag |= BOTHER;
  tio.c_cflag &= ~(CBAUD << IBSHIFT);  // the input rate follows the output rate
  tio.c_ispeed = static_cast<unsigned int>(baudRate);
  tio.c_ospeed = static_cast<unsigned int>(baudRate);
  if (::ioctl(fd, TCSETS2, &tio) != 0)
    return false;
  termios2 applied{};
  if (::ioctl(fd, TCGETS2, &applied) != 0)
    return false;
  return CloseEnough(applied.c_ospeed, baudRate);
}

}  // namespace kxlf
