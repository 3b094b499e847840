#include "flows/connect.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "convert/byte_text.h"
#include "kxlf.h"

namespace kx::flows {

namespace {

constexpr int kVersionSize = 4;
constexpr int kModelNameSize = 30;
constexpr int kTypeCodeDigits = 3;
constexpr int kUnknownRevision = 255;

constexpr std::array<int, 9> kAcceptedTypeCodes = {0x054, 0x231, 0x244, 0x254, 0x284,
                                                   0x294, 0x554, 0x564, 0x565};

// The first three characters as a hexadecimal number; reading stops at a non-digit.
int TypeCodeOf(const unsigned char* version) {
  int code = 0;
  for (int i = 0; i < kTypeCodeDigits; ++i) {
    const uint8_t digit = kx::convert::HexDigitValue(static_cast<char>(version[i]));
    if (digit == kx::convert::kNotAHexDigit)
      break;
    code = code * 16 + digit;
  }
  return code;
}

// '0'..'9' 0..9, 'A'..'Z' 10..35, 'a'..'z' 36..61.
int RevisionOf(unsigned char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'Z')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'z')
    return c - 'a' + 36;
  return kUnknownRevision;
}

}  // namespace

BaudCode SplitBaudCode(int code) {
  const int format = code % 100;
  return BaudCode{code - format, format};
}

int JoinBaudCode(const BaudCode& baud) {
  return baud.baudRate + baud.serialFormat;
}

bool IsAcceptedReaderType(int typeCode) {
  return std::find(kAcceptedTypeCodes.begin(), kAcceptedTypeCodes.end(), typeCode) !=
         kAcceptedTypeCodes.end();
}

std::string FirmwareText(int firmwareRevision) {
  char text[32];
  std::snprintf(text, sizeof text, "FW V%d.%02d", 1, firmwareRevision);
  return text;
}

std::string ReaderText(const ReaderIdentity& reader, std::string_view connectionName) {
  std::string text = reader.modelName + " ";
  if (reader.usb)
    text += "USB:";
  text += connectionName;
  return text;
}

ConnectResult Connect(const std::string& connectionName, int baudCode, int timeoutMs) {
  ConnectResult result;
  const BaudCode baud = SplitBaudCode(baudCode);
  const int handle = KxLfOpen(connectionName.c_str(), baud.baudRate, baud.serialFormat, timeoutMs);
  result.openResult = handle;
  if (handle <= 0) {
    // A failed open leaves no connection, so this is the "no connection" code.
    result.failure = ReaderFailure(handle);
    return result;
  }

  std::array<unsigned char, kVersionSize> version{};
  std::array<char, kModelNameSize> model{};
  const int delivered =
      KxLfGetVersion(handle, version.data(), kVersionSize, model.data(), kModelNameSize);
  if (delivered < 0) {
    const int code = KxLfGetLastError(handle);
    KxLfClose(handle);
    result.failure = Failure{StatusMessage::kNoReaderAtPort, code};
    return result;
  }
  ReaderIdentity reader;
  reader.modelName = std::string(model.data(), std::find(model.begin(), model.end(), '\0'));
  reader.versionText.assign(version.begin(), version.begin() + std::min(delivered, kVersionSize));
  reader.typeCode = TypeCodeOf(version.data());
  reader.firmwareRevision = RevisionOf(version[3]);
  reader.usb = KxLfIsUsbConnection(handle) != 0;
  result.reader = reader;

  if (!IsAcceptedReaderType(reader.typeCode)) {
    KxLfClose(handle);
    result.failure = Failure{StatusMessage::kReaderNotSupported, 0};
    return result;
  }
  KxLfSetReaderMode(handle, 0);
  KxLfSetKeepWindowEnabled(handle, 1);
  result.handle = handle;
  return result;
}

}  // namespace kx::flows
