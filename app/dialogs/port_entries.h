// The texts of the interface dialog: list entries of the three interface kinds, the two kinds of
// reader that can change their USB personality, the connection name, and the baud code that
// packs the serial format into the stored baud rate.
#pragma once

#include <QString>
#include <QStringList>
#include <list>
#include <string>

namespace kx::dialogs {

inline constexpr char kUsbPrefix[] = "USB: ";
inline constexpr char kLanPrefix[] = "LAN: ";

// The list box entries as the operator reads them: COM ports (a leading "\\.\" removed), then
// "USB: " + each USB reader, then "LAN: " + each LAN reader. A port that the SDK lists under its
// stable link ("/dev/serial/by-id/... [description] (/dev/ttyACM0)") shows its short kernel name
// with the description: "/dev/ttyACM0 [description]".
QStringList EntryTexts(const std::list<std::string>& comPorts,
                       const std::list<std::string>& usbReaders,
                       const std::list<std::string>& lanReaders);
// The names behind the same entries, which the dialog stores and opens: a port listed under its
// stable link is stored by the link with its description, so that the next start finds the
// same device whatever kernel name it has got meanwhile.
QStringList EntryNames(const std::list<std::string>& comPorts,
                       const std::list<std::string>& usbReaders,
                       const std::list<std::string>& lanReaders);

// A USB reader of the family in its HID personality that can switch to virtual COM: " HID" and
// one of the article prefixes after the first character.
bool IsSwitchableHidReader(const QString& text);
// A serial port entry ("COMn" or a device path) that the family's virtual COM driver serves.
bool IsMakersVirtualComPort(const QString& text);

// USB and LAN interfaces carry no serial parameters.
bool HasSerialParameters(const QString& name);

// What the open call takes: the name without its "USB: ", "LAN: " or "Bluetooth: " and with
// ":" and the device address appended.
QString ConnectionName(const QString& name, int deviceAddress);

// The baud rates offered, as the combo box lists them.
inline constexpr int kBaudRates[] = {2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};

// The stored "Baudrate": the rate plus a format code in its last two decimal digits.
struct BaudSetting {
  int rate = 19200;
  int parityIndex = 0;    // "keine", "gerade", "ungerade"
  int stopBitsIndex = 0;  // "1", "2"
};
BaudSetting SplitBaudCode(int code);
// Parity wins over two stop bits: the format cannot express both.
int ComposeBaudCode(int rate, int parityIndex, int stopBitsIndex);

// The strings of a string list buffer as an SDK list call left them; a result of 0 or less is an
// empty list.
std::list<std::string> ParseStringList(const char* buffer, int size, int result);
// Brings `list` to `fresh` in one pass, keeping the nodes in front that already match; true when
// anything changed.
bool MergeStringList(std::list<std::string>& list, const std::list<std::string>& fresh);

}  // namespace kx::dialogs
