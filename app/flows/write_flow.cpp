#include "flows/write_flow.h"

#include "convert/increment.h"
#include "convert/leading_zeros.h"
#include "flows/read_flow.h"
#include "flows/select_transponder.h"
#include "flows/transponder_types.h"
#include "kxlf.h"

namespace kx::flows {

std::optional<Failure> WriteBlocks(int handle, int typeIndex, unsigned startBlock,
                                   const convert::WriteBuffer& buffer) {
  const TransponderType* type = FindTransponderType(typeIndex);
  if (type == nullptr)
    return UnknownTypeFailure();
  if (auto failure = SelectIfNeeded(handle, *type))
    return failure;
  const int blockSize = buffer.geometry.blockSize;
  const auto first = static_cast<int>(FirstBlock(*type, startBlock));
  for (int i = 0; i < buffer.geometry.blockCount; ++i) {
    const size_t offset = static_cast<size_t>(i) * static_cast<size_t>(blockSize);
    if (offset + static_cast<size_t>(blockSize) > buffer.bytes.size())
      return Failure{ErrorMessageId(KXLF_ERR_DATA_COUNT), 0};
    if (KxLfWriteBlocks(handle, type->code, first + i, buffer.bytes.data() + offset, blockSize, 0) <
        0) {
      return ReaderFailure(handle);
    }
  }
  return std::nullopt;
}

StatusMessage SuccessLineFor(convert::DataFormat format) {
  const bool data =
      format == convert::DataFormat::kDataBinary || format == convert::DataFormat::kDataAscii;
  return data ? StatusMessage::kDataWritten : StatusMessage::kValueWritten;
}

WriteOutcome WriteOnce(int handle, const WriteRequest& request) {
  WriteOutcome outcome;
  convert::WriteBuffer buffer = convert::TextToBytes(request.text, request.format, request.n,
                                                     request.typeIndex, request.leadingZeros);
  if (!buffer.ok()) {
    outcome.failure = Failure{*buffer.failure, 0};
    return outcome;
  }
  if (auto failure = WriteBlocks(handle, request.typeIndex, request.startBlock, buffer)) {
    outcome.failure = failure;
    return outcome;
  }
  static_cast<WrittenTexts&>(outcome) = TextsAfterWrite(request);
  outcome.buffer = std::move(buffer);
  return outcome;
}

WrittenTexts TextsAfterWrite(const WriteRequest& request) {
  WrittenTexts texts;
  texts.loggedText = convert::TrimAfterWrite(request.format, request.text);
  texts.shownText = convert::UpperCaseAfterWrite(request.format, texts.loggedText);
  texts.successLine = SuccessLineFor(request.format);
  texts.nextText = request.autoIncrement
                       ? convert::IncrementValue(texts.shownText, request.format, request.n,
                                                 request.extraText, request.leadingZeros)
                       : texts.shownText;
  return texts;
}

Verification VerifyBlocks(int handle, int typeIndex, unsigned startBlock,
                          const convert::WriteBuffer& buffer) {
  Verification result;
  const TransponderType* type = FindTransponderType(typeIndex);
  if (type == nullptr) {
    result.failure = UnknownTypeFailure();
    return result;
  }
  if ((result.failure = SelectIfNeeded(handle, *type)))
    return result;
  const auto first = static_cast<int>(FirstBlock(*type, startBlock));
  convert::Bytes readBack(static_cast<size_t>(buffer.geometry.ByteSize()), 0);
  if ((result.failure =
           ReadBlockRun(handle, type->code, first, 1, buffer.geometry.blockSize, readBack)))
    return result;
  result.matches = readBack == buffer.bytes;
  result.readBack = std::move(readBack);
  return result;
}

}  // namespace kx::flows
