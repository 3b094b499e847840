// Commands addressed to the reader itself rather than to a transponder.
#include "command_handlers.h"

namespace kxemu::detail {

namespace {

constexpr uint8_t kVersion = 0xF0;
constexpr uint8_t kReaderMode = 0xF4;
constexpr uint8_t kCommandF6 = 0xF6;
constexpr uint8_t kUsbInterface = 0xFF;

bool KnownReaderMode(uint8_t mode) {
  return mode <= 3 || mode == 128 || mode == 129 || mode == 131;
}

}  // namespace

std::optional<Answer> ReaderCommand(const std::string& versionText, uint8_t& readerMode,
                                    uint8_t command, const Bytes& p) {
  switch (command) {
    case kVersion:
      return Answer{kStatusOk, Bytes(versionText.begin(), versionText.end())};
    case kReaderMode:
      if (p.size() != 1 || !KnownReaderMode(p[0]))
        return StatusOnly(kStatusBadParameter);
      readerMode = p[0];
      return StatusOnly(kStatusOk);
    case kUsbInterface:
      // 1 = USB HID personality, 2 = virtual COM port personality.
      if (p.size() != 1 || p[0] < 1 || p[0] > 2)
        return StatusOnly(kStatusBadParameter);
      return StatusOnly(kStatusOk);
    case kCommandF6:
      return StatusOnly(p.size() == 2 ? kStatusOk : kStatusBadParameter);
    default:
      return std::nullopt;
  }
}

}  // namespace kxemu::detail
