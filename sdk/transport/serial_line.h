// The device under a serial port: a tty opened through termios, or an FTDI device driven
// through the D2XX library. The serial port and its worker talk only to this interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kxlf {

struct LineSettings {
  int baudRate = 19200;
  char parity = 'N';  // 'N', 'E' or 'O'
  int dataBits = 8;
  int stopBits = 1;
};

// Error flags in the classic communications-error layout, so that the worker can pass them
// to its line-error hook unchanged.
enum LineErrorFlag : uint32_t {
  kLineRxOver = 0x0001,
  kLineOverrun = 0x0002,
  kLineRxParity = 0x0004,
  kLineFrame = 0x0008,
  kLineBreak = 0x0010,
  kLineTxFull = 0x0100,
  kLineIoError = 0x0400,
  kLineGeneralFailure = 0x0800,
};

// Modem status bits, as the classic modem status word gives them.
enum ModemLine : uint32_t {
  kModemCts = 0x0010,
  kModemDsr = 0x0020,
  kModemRing = 0x0040,
  kModemRlsd = 0x0080,
};

// What one write handed to the device: the bytes from the front that it took, and whether it
// refused the rest (rather than merely having no room for it yet).
struct WriteOutcome {
  size_t written = 0;
  bool failed = false;
};

struct LineStatus {
  uint32_t errors = 0;
  uint32_t bytesWaiting = 0;  // received, not yet read
  uint32_t bytesQueued = 0;   // written, not yet sent on the wire
};

class SerialLine {
 public:
  virtual ~SerialLine() = default;

  // Opens the device exclusively. `device` is a device path or an FTDI serial number.
  virtual bool Open(const std::string& device) = 0;
  // Applies the line settings, no flow control, reads that return at once. Failures are not
  // fatal: the port then runs with whatever settings the device had.
  virtual bool Configure(const LineSettings& settings) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  // Error flags and queue counts. False when the device is gone or the call fails.
  virtual bool QueryStatus(LineStatus& status) = 0;
  // Modem status bits (ModemLine). False when the device is gone or the call fails.
  virtual bool QueryModemLines(uint32_t& lines) = 0;
  // Reads up to `size` bytes without blocking; returns the count, or -1 with `errorCode` set.
  virtual int Read(uint8_t* buffer, size_t size, int& errorCode) = 0;
  // Hands over what the device takes. A line with a wait descriptor never blocks here: it stops
  // when the device has no room, and the descriptor turns writable once it has. A line without
  // one writes everything unless the device refuses.
  virtual WriteOutcome Write(const uint8_t* data, size_t size) = 0;

  // A descriptor that becomes readable when bytes arrive or the device goes away, or -1 when
  // the line can only be polled on a timer.
  virtual int WaitDescriptor() const = 0;
};

}  // namespace kxlf
