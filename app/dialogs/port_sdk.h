// The reader SDK calls of the interface dialog, behind an interface so that tests can hand the
// dialog the devices of their choice. KxLfPortSdk() forwards to the SDK itself.
#pragma once

namespace kx::dialogs {

class PortSdk {
 public:
  virtual ~PortSdk() = default;

  // String lists as the SDK writes them; the result is the number of bytes written.
  virtual int ListComPorts(char* buffer, int size) = 0;
  virtual int ListUsbReaders(char* buffer, int size) = 0;
  virtual int FindLanReaders(char* buffer, int size) = 0;
  virtual int ProbeLanReader(const char* name) = 0;
  // Bit 0: an FTDI-based reader without driver, bit 1: a virtual COM reader without driver.
  virtual int CheckUsbDrivers() = 0;
  virtual int IsVcomDriverInstalled() = 0;

  virtual int Open(const char* portName, int baudRate, int options, int timeoutMs) = 0;
  virtual int SetUsbInterface(int handle, int mode) = 0;
  virtual int CommandF6(int handle, int value1, int value2) = 0;
  virtual int Close(int handle) = 0;
};

// Forwards every call to the SDK's entry points.
class KxLfPortSdk : public PortSdk {
 public:
  int ListComPorts(char* buffer, int size) override;
  int ListUsbReaders(char* buffer, int size) override;
  int FindLanReaders(char* buffer, int size) override;
  int ProbeLanReader(const char* name) override;
  int CheckUsbDrivers() override;
  int IsVcomDriverInstalled() override;
  int Open(const char* portName, int baudRate, int options, int timeoutMs) override;
  int SetUsbInterface(int handle, int mode) override;
  int CommandF6(int handle, int value1, int value2) override;
  int Close(int handle) override;
};

}  // namespace kx::dialogs
