// The reader SDK calls of the two network dialogs, behind an interface so that a test or a
// screenshot can hand the dialogs readers of its choice. KxLfLanSdk forwards to the SDK itself.
#pragma once

namespace kx::dialogs {

class LanSdk {
 public:
  virtual ~LanSdk() = default;

  // String lists as the SDK writes them; the result is the number of bytes written.
  virtual int FindLanReaders(char* buffer, int size) = 0;
  virtual int FindLanDevices(char* buffer, int size) = 0;
  // 1 when the reader answers under `name`.
  virtual int ProbeLanReader(const char* name) = 0;
  // 0, or a negative code. The buffers take 25, 22, 16 and 16 bytes.
  virtual int GetNetworkConfig(const char* readerName, char* dhcpName, char* address,
                               char* subnetMask, char* gateway) = 0;
  virtual int SetNetworkConfig(const char* readerName, const char* address, const char* subnetMask,
                               const char* gateway) = 0;
};

class KxLfLanSdk : public LanSdk {
 public:
  int FindLanReaders(char* buffer, int size) override;
  int FindLanDevices(char* buffer, int size) override;
  int ProbeLanReader(const char* name) override;
  int GetNetworkConfig(const char* readerName, char* dhcpName, char* address, char* subnetMask,
                       char* gateway) override;
  int SetNetworkConfig(const char* readerName, const char* address, const char* subnetMask,
                       const char* gateway) override;
};

// The program's forwarder.
LanSdk& ProgramLanSdk();

}  // namespace kx::dialogs
