// Commands addressed to the reader itself rather than to a transponder.
#include "command_handlers.h"

namespace kxemu::detail {

std::optional<Answer> ReaderCommand(const std::string& versionText, uint8_t& readerMode,
                                    uint8_t command, const Bytes& p) {
  switch (command) {
    case kxlf::kVersionCommand:
      return Answer{kStatusOk, Bytes(versionText.begin(), versionText.end())};
    case kxlf::kReaderModeCommand:
      if (p.size() != 1 || !kxlf::IsReaderMode(p[0]))
        return StatusOnly(kStatusBadParameter);
      readerMode = p[0];
      return StatusOnly(kStatusOk);
    case kxlf::kUsbInterfaceCommand:
      // 1 = USB HID personality, 2 = virtual COM port personality.
      if (p.size() != 1 || p[0] < 1 || p[0] > 2)
        return StatusOnly(kStatusBadParameter);
      return StatusOnly(kStatusOk);
    case kxlf::kCommandF6:
      return StatusOnly(p.size() == 2 ? kStatusOk : kStatusBadParameter);
    default:
      return std::nullopt;
  }
}

}  // namespace kxemu::detail
