// A serial line on a USB reader with an FTDI converter, driven through the D2XX library by the
// device's serial number. D2XX offers no descriptor to wait on, so the worker polls this line.
#pragma once

#include <atomic>
#include <string>

#include "transport/ftd2xx_port.h"
#include "transport/serial_line.h"

namespace kxlf {

class FtdiLine final : public SerialLine {
 public:
  FtdiLine() = default;
  ~FtdiLine() override;
  FtdiLine(const FtdiLine&) = delete;
  FtdiLine& operator=(const FtdiLine&) = delete;

  // `device` is the serial number of the FTDI device.
  bool Open(const std::string& device) override;
  bool Configure(const LineSettings& settings) override;
  void Close() override;
  bool IsOpen() const override { return handle_.load() != nullptr; }

  bool QueryStatus(LineStatus& status) override;
  bool QueryModemLines(uint32_t& lines) override;
  int Read(uint8_t* buffer, size_t size, int& errorCode) override;
  WriteOutcome Write(const uint8_t* data, size_t size) override;

  int WaitDescriptor() const override { return -1; }

 private:
  CFTD2xxPort d2xx_;
  // Written by the thread that opens or closes, read by the worker.
  std::atomic<d2xx::FT_HANDLE> handle_{nullptr};
};

}  // namespace kxlf
