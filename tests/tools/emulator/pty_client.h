// A host end written the plain way, with termios and blocking waits in poll(), to check the pty
// server without the SDK's transport in between.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "link/frame_codec.h"

namespace kxemu::testing {

class PtyClient {
 public:
  explicit PtyClient(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
    termios settings;
    if (fd_ >= 0 && tcgetattr(fd_, &settings) == 0) {
      cfmakeraw(&settings);
      tcsetattr(fd_, TCSANOW, &settings);
    }
  }
  ~PtyClient() {
    if (fd_ >= 0)
      close(fd_);
  }
  PtyClient(const PtyClient&) = delete;
  PtyClient& operator=(const PtyClient&) = delete;

  bool IsOpen() const { return fd_ >= 0; }

  bool Write(const kxlf::Bytes& bytes) {
    return write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }

  // Events of the device within the timeout (0 when nothing happened).
  short Wait(std::chrono::milliseconds timeout) {
    pollfd entry = {fd_, POLLIN, 0};
    return poll(&entry, 1, static_cast<int>(timeout.count())) > 0 ? entry.revents : 0;
  }

  // Reads until `count` bytes have arrived, the device fails or `timeout` passes in silence.
  kxlf::Bytes Read(size_t count, std::chrono::milliseconds timeout) {
    kxlf::Bytes bytes;
    while (bytes.size() < count && (Wait(timeout) & POLLIN) != 0) {
      uint8_t buffer[256];
      const ssize_t got = read(fd_, buffer, std::min(sizeof buffer, count - bytes.size()));
      if (got <= 0)
        break;
      bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
  }

  // One answer frame: the header tells how many bytes follow.
  kxlf::Bytes ReadFrame(kxlf::FrameMode mode,
                        std::chrono::milliseconds timeout = std::chrono::seconds(2)) {
    kxlf::Bytes frame = Read(kxlf::LengthOffset(mode) + 1, timeout);
    if (frame.size() <= kxlf::LengthOffset(mode))
      return frame;
    const size_t total = frame[kxlf::LengthOffset(mode)] + kxlf::kFrameOverhead;
    const kxlf::Bytes rest = Read(total - frame.size(), timeout);
    frame.insert(frame.end(), rest.begin(), rest.end());
    return frame;
  }

  kxlf::Bytes Exchange(kxlf::FrameMode mode, uint8_t command, const kxlf::Bytes& params) {
    if (!Write(kxlf::BuildFrame(mode, 1, command, params)))
      return {};
    return ReadFrame(mode);
  }

 private:
  int fd_;
};

}  // namespace kxemu::testing
