#include "flows/select_transponder.h"

#include <array>

#include "kxlf.h"

namespace kx::flows {

namespace {

constexpr int kSelectAnswerSize = 4;

}  // namespace

std::optional<Failure> SelectTransponder(int handle, int transponderCode) {
  std::array<unsigned char, kUidSize> uid{};
  if (KxLfReadTransponder(handle, transponderCode, uid.data(), kUidSize) < 0)
    return ReaderFailure(handle);
  std::array<unsigned char, kSelectAnswerSize> answer{};
  if (KxLfWriteTransponder(handle, transponderCode, uid.data(), kUidSize, answer.data(),
                           kSelectAnswerSize) < 0) {
    return ReaderFailure(handle);
  }
  return std::nullopt;
}

std::optional<Failure> SelectIfNeeded(int handle, const TransponderType& type) {
  if (!type.selectsByUid)
    return std::nullopt;
  return SelectTransponder(handle, type.code);
}

}  // namespace kx::flows
