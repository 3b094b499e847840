#include "command_handlers.h"
#include "kxemu/reader_identity.h"
#include "link/frame_codec.h"

namespace kxemu::detail {

Answer ExecuteCommand(const std::string& versionText, uint8_t& readerMode, Field& field,
                      uint8_t command, const Bytes& params) {
  std::optional<Answer> answer = ReaderCommand(versionText, readerMode, command, params);
  if (!answer)
    answer = ExtendedCommand(field, command, params);
  if (!answer)
    answer = LegacyCommand(field, CapabilityWord(versionText), command, params);
  if (!answer)
    return StatusOnly(kStatusUnknownCommand);
  // One answer frame cannot carry more; a reader asked for more refuses the request.
  if (answer->payload.size() > kxlf::kMaxFrameData)
    return StatusOnly(kStatusBadParameter);
  return *answer;
}

}  // namespace kxemu::detail
