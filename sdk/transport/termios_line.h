// A tty device (serial port, USB virtual COM port, pseudo-terminal) driven through termios.
#pragma once

#include "transport/serial_line.h"

namespace kxlf {

class TermiosLine final : public SerialLine {
 public:
  ~TermiosLine() override;

  bool Open(const std::string& device) override;
  bool Configure(const LineSettings& settings) override;
  void Close() override;
  bool IsOpen() const override { return fd_ >= 0; }

  bool QueryStatus(LineStatus& status) override;
  bool QueryModemLines(uint32_t& lines) override;
  int Read(uint8_t* buffer, size_t size, int& errorCode) override;
  WriteOutcome Write(const uint8_t* data, size_t size) override;
  int WaitDescriptor() const override { return fd_; }

 private:
  int fd_ = -1;
  bool hasModemLines_ = true;
};

}  // namespace kxlf
