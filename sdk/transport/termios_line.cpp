#include "transport/termios_line.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "debug_log.h"
#include "transport/custom_baud_rate_linux.h"

namespace kxlf {
namespace {

bool SpeedFor(int baudRate, speed_t& speed) {
  switch (baudRate) {
    case 1200:
      speed = B1200;
      return true;
    case 2400:
      speed = B2400;
      return true;
    case 4800:
      speed = B4800;
      return true;
    case 9600:
      speed = B9600;
      return true;
    case 19200:
      speed = B19200;
      return true;
    case 38400:
      speed = B38400;
      return true;
    case 57600:
      speed = B57600;
      return true;
    case 115200:
      speed = B115200;
      return true;
    case 230400:
      speed = B230400;
      return true;
#ifdef B460800
    case 460800:
      speed = B460800;
      return true;
#endif
#ifdef B921600
    case 921600:
      speed = B921600;
      return true;
#endif
    default:
      return false;
  }
}

}  // namespace

TermiosLine::~TermiosLine() {
  Close();
}

bool TermiosLine::Open(const std::string& device) {
  Close();
  // Non-blocking open, so that a port without carrier does not hang the open.
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return false;
  if (!::isatty(fd)) {
    ::close(fd);
    return false;
  }
  // The port is ours alone while it is open: an advisory lock keeps out every program that
  // asks for it, and TIOCEXCL refuses further opens of the device.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  ::ioctl(fd, TIOCEXCL);
  // The descriptor stays non-blocking: a write takes what the driver has room for and never
  // holds the caller's thread, and the port's worker sends the rest once the device drains.
  fd_ = fd;
  hasModemLines_ = true;
  return true;
}

bool TermiosLine::Configure(const LineSettings& settings) {
  if (fd_ < 0)
    return false;
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0)
    return false;
  ::cfmakeraw(&tio);
  bool ok = true;
  speed_t speed;
  const bool tableRate = SpeedFor(settings.baudRate, speed);
  if (tableRate) {
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
  }
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  switch (settings.dataBits) {
    case 5:
      tio.c_cflag |= CS5;
      break;
    case 6:
      tio.c_cflag |= CS6;
      break;
    case 7:
      tio.c_cflag |= CS7;
      break;
    default:
      tio.c_cflag |= CS8;
      break;
  }
  if (settings.parity == 'E')
    tio.c_cflag |= PARENB;
  if (settings.parity == 'O')
    tio.c_cflag |= PARENB | PARODD;
  if (settings.stopBits == 2)
    tio.c_cflag |= CSTOPB;
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::tcsetattr(fd_, TCSANOW, &tio) != 0)
    ok = false;
  // Any other rate the driver accepts is set by number. One it refuses leaves the line at its
  // previous speed; the open still succeeds and the reader's answer (or none) decides.
  if (!tableRate && !SetCustomBaudRate(fd_, settings.baudRate)) {
    DebugLog("Fehler: Baudrate " + std::to_string(settings.baudRate) +
             " wird vom Treiber abgelehnt");
    ok = false;
  }

  // DTR and RTS on, as a reader powered from the handshake lines expects. Pseudo-terminals
  // have no modem lines; that is no failure.
  int lines = TIOCM_DTR | TIOCM_RTS;
  ::ioctl(fd_, TIOCMBIS, &lines);
  ::tcflush(fd_, TCIOFLUSH);
  return ok;
}

void TermiosLine::Close() {
  if (fd_ < 0)
    return;
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

bool TermiosLine::QueryStatus(LineStatus& status) {
  if (fd_ < 0)
    return false;
  int waiting = 0;
  int queued = 0;
  if (::ioctl(fd_, FIONREAD, &waiting) != 0)
    return false;
  if (::ioctl(fd_, TIOCOUTQ, &queued) != 0)
    queued = 0;
  status.errors = 0;  // termios reports no line-error flags; bad bytes arrive as data
  status.bytesWaiting = waiting > 0 ? static_cast<uint32_t>(waiting) : 0;
  status.bytesQueued = queued > 0 ? static_cast<uint32_t>(queued) : 0;
  return true;
}

bool TermiosLine::QueryModemLines(uint32_t& lines) {
  if (fd_ < 0)
    return false;
  lines = 0;
  if (!hasModemLines_)
    return true;
  int bits = 0;
  if (::ioctl(fd_, TIOCMGET, &bits) != 0) {
    // Pseudo-terminals and some adapters have no modem lines at all.
    if (errno == ENOTTY || errno == EINVAL) {
      hasModemLines_ = false;
      return true;
    }
    return false;
  }
  if (bits & TIOCM_CTS)
    lines |= kModemCts;
  if (bits & TIOCM_DSR)
    lines |= kModemDsr;
  if (bits & TIOCM_RNG)
    lines |= kModemRing;
  if (bits & TIOCM_CAR)
    lines |= kModemRlsd;
  return true;
}

int TermiosLine::Read(uint8_t* buffer, size_t size, int& errorCode) {
  errorCode = 0;
  if (fd_ < 0) {
    errorCode = EBADF;
    return -1;
  }
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, size);
    if (got >= 0)
      return static_cast<int>(got);
    if (errno == EINTR)
      continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK)
      return 0;
    errorCode = errno;
    return -1;
  }
}

WriteOutcome TermiosLine::Write(const uint8_t* data, size_t size) {
  WriteOutcome outcome;
  if (fd_ < 0) {
    outcome.failed = true;
    return outcome;
  }
  while (outcome.written < size) {
    const ssize_t wrote = ::write(fd_, data + outcome.written, size - outcome.written);
    if (wrote < 0) {
      if (errno == EINTR)
        continue;
      outcome.failed = errno != EAGAIN && errno != EWOULDBLOCK;
      break;
    }
    outcome.written += static_cast<size_t>(wrote);
  }
  return outcome;
}

}  // namespace kxlf
