#include "flows/read_flow.h"

#include <array>

#include "convert/block_geometry.h"
#include "convert/display_conversion.h"
#include "flows/select_transponder.h"
#include "flows/transponder_types.h"
#include "kxlf.h"

namespace kx::flows {

namespace {

ReadDisplay Displayed(convert::Bytes bytes, convert::DataFormat format, int n) {
  ReadDisplay result;
  convert::DisplayText display = convert::BytesToText(bytes, format, n);
  if (!display.ok())
    result.failure = Failure{*display.failure, 0};
  result.text = std::move(display.text);
  result.bytes = std::move(bytes);
  return result;
}

}  // namespace

std::optional<Failure> ReadBlockRun(int handle, int transponderCode, int firstBlock, int step,
                                    int blockSize, convert::Bytes& buffer) {
  if (blockSize <= 0)
    return std::nullopt;
  const size_t count = buffer.size() / static_cast<size_t>(blockSize);
  for (size_t i = 0; i < count; ++i) {
    const int block = firstBlock + static_cast<int>(i) * step;
    unsigned char* target = buffer.data() + i * static_cast<size_t>(blockSize);
    if (KxLfReadBlocks(handle, transponderCode, block, target, blockSize) < 0)
      return ReaderFailure(handle);
  }
  return std::nullopt;
}

BlockRead ReadBlocks(int handle, const ReadRequest& request) {
  BlockRead result;
  const TransponderType* type = FindTransponderType(request.typeIndex);
  if (type == nullptr) {
    result.failure = UnknownTypeFailure();
    return result;
  }
  if ((result.failure = SelectIfNeeded(handle, *type)))
    return result;
  const convert::Geometry geometry = convert::BlockGeometry(request.typeIndex, request.n);
  const int count = request.format == convert::DataFormat::kDecimalBinary ? 1 : geometry.blockCount;
  convert::Bytes buffer(static_cast<size_t>(geometry.blockSize) * static_cast<size_t>(count), 0);
  const auto first = static_cast<int>(FirstBlock(*type, request.startBlock));
  if ((result.failure =
           ReadBlockRun(handle, type->code, first, type->readStep, geometry.blockSize, buffer)))
    return result;
  result.bytes = std::move(buffer);
  return result;
}

ReadDisplay ReadOnce(int handle, const ReadRequest& request) {
  BlockRead read = ReadBlocks(handle, request);
  if (!read.ok()) {
    ReadDisplay result;
    result.failure = read.failure;
    return result;
  }
  return Displayed(std::move(read.bytes), request.format, request.n);
}

ReadDisplay ReadUid(int handle, int typeIndex, convert::DataFormat format, int n) {
  ReadDisplay result;
  const TransponderType* type = FindTransponderType(typeIndex);
  if (type == nullptr) {
    result.failure = UnknownTypeFailure();
    return result;
  }
  std::array<unsigned char, kUidSize> uid{};
  const int delivered = KxLfReadTransponder(handle, type->code, uid.data(), kUidSize);
  if (delivered < 0) {
    result.failure = ReaderFailure(handle);
    return result;
  }
  if (delivered != kUidSize) {
    result.failure = Failure{ErrorMessageId(KXLF_ERR_DATA_COUNT), KXLF_ERR_DATA_COUNT};
    return result;
  }
  return Displayed(convert::Bytes(uid.begin(), uid.end()), format, n);
}

}  // namespace kx::flows
