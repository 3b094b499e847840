// Opening a reader and checking that it is a model this program supports.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "flows/failure.h"

namespace kx::flows {

// The stored baud code: the baud rate plus the serial-format code 0..3 in its last two decimal
// digits (9601: 9600 baud, even parity).
struct BaudCode {
  int baudRate = 19200;
  int serialFormat = 0;  // options of KxLfOpen: 0 8N1, 1 8E1, 2 8O1, 3 8N2
};
BaudCode SplitBaudCode(int code);
int JoinBaudCode(const BaudCode& baud);

struct ReaderIdentity {
  std::string modelName;
  std::string versionText;  // the version answer: three hex digits of type code, one revision
  int typeCode = 0;
  int firmwareRevision = 0;  // value of the fourth version character
  bool usb = false;
};

// Type codes of the readers this program works with.
bool IsAcceptedReaderType(int typeCode);

// The firmware as the window caption shows it, e.g. "FW V1.05".
std::string FirmwareText(int firmwareRevision);

// model name + " " + "USB:" for USB connections + the connection name.
std::string ReaderText(const ReaderIdentity& reader, std::string_view connectionName);

struct ConnectResult {
  int handle = 0;                        // > 0: open and accepted; the caller closes it
  int openResult = 0;                    // what KxLfOpen returned
  std::optional<ReaderIdentity> reader;  // set once the reader answered, also when refused
  std::optional<Failure> failure;

  bool ok() const { return handle > 0; }
};

// Opens the connection, asks the reader who it is and refuses models that are not accepted
// (the connection is then closed again). An accepted reader is put into reader mode 0 and keeps
// the window enabled while it works.
ConnectResult Connect(const std::string& connectionName, int baudCode, int timeoutMs);

}  // namespace kx::flows
