#include "flows/status_messages.h"

#include "kxlf.h"

namespace kx::flows {

StatusMessage ErrorMessageId(int sdkErrorCode) {
  switch (sdkErrorCode) {
    case KXLF_ERR_NO_CONNECTION:
      return StatusMessage::kPortOpenFailed;
    case KXLF_ERR_TIMEOUT:
      return StatusMessage::kTimeout;
    case KXLF_ERR_BUFFER_TOO_SMALL:
      return StatusMessage::kBlockLengthWrong;
    case KXLF_ERR_DATA_COUNT:
      return StatusMessage::kWrongDataCount;
    case KXLF_ERR_NO_SEND_DATA:
      return StatusMessage::kNoSendData;
    case KXLF_ERR_NO_READER:
      return StatusMessage::kNoReaderAtPort;
    case kNoTransponderStatus:
      return StatusMessage::kNoTransponder;
    default:
      return StatusMessage::kUnknownError;
  }
}

}  // namespace kx::flows
