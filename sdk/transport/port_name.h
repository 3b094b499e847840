// The text given to the open call: a port name, optionally ":" and a device address. The name
// picks the transport; the serial transport itself decides between a COM port, a device path
// and an FTDI serial number.
#pragma once

#include <string>
#include <string_view>

namespace kxlf {

constexpr int kDefaultDeviceAddress = 1;
constexpr int kFixedBaudRate = 19200;

struct PortAddress {
  std::string name;
  int deviceAddress = kDefaultDeviceAddress;
};

// Splits at the last ':' unless it ends the text; the address is the leading decimal digits
// after it (none give 0, values beyond int saturate).
PortAddress SplitDeviceAddress(std::string_view text);

enum class PortKind { kLan, kHid, kSerial };

// A serial device given by its path: anything under "/dev/" (kernel names, the stable links of
// /dev/serial/by-id, pseudo-terminals), or any other absolute path to a character device, such
// as a link that the emulator makes to its pseudo-terminal.
bool IsDevicePath(std::string_view name);

// Device paths are always serial. Otherwise a name beginning with '[', or holding
// three '.' after its first character, is a LAN reader; a name containing "HID" a USB HID
// reader; everything else serial.
PortKind ClassifyPortName(std::string_view name);

// Serial lines keep the caller's baud rate: names containing "COM" in any letter case, and
// device paths. Every other transport runs at the fixed rate.
int EffectiveBaudRate(std::string_view portName, int baudRate);

struct SerialFormat {
  char parity = 'N';
  int stopBits = 1;

  bool operator==(const SerialFormat&) const = default;
};

// From the low four bits of the open options: 0 N/1, 1 E/1, 2 O/1, 3 N/2, anything else N/1.
SerialFormat SerialFormatFromOptions(int options);

// USB readers of the family carry their article number in the first four characters of their
// serial number; other FTDI and HID devices are not ours.
bool HasFamilyArticleNumber(std::string_view entry);

}  // namespace kxlf
