#include "block_memory.h"

#include <algorithm>

#include "kxemu/status_codes.h"

namespace kxemu::detail {

uint8_t ReadBlocks(const Transponder& transponder, size_t block, size_t count, Bytes& out) {
  if (count == 0)
    return kStatusBadParameter;
  if (block >= BlockCount(transponder) || count > BlockCount(transponder) - block) {
    return kStatusBlockRange;
  }
  const size_t unit = BlockUnit(transponder.type);
  const auto first = transponder.memory.begin() + static_cast<std::ptrdiff_t>(block * unit);
  out.insert(out.end(), first, first + static_cast<std::ptrdiff_t>(count * unit));
  return kStatusOk;
}

Answer ReadAnswer(const Transponder& transponder, size_t block, size_t count) {
  Answer answer;
  answer.status = ReadBlocks(transponder, block, count, answer.payload);
  if (answer.status != kStatusOk)
    answer.payload.clear();
  return answer;
}

uint8_t WriteBlocks(Transponder& transponder, size_t block, const Bytes& data, bool lock) {
  const size_t unit = BlockUnit(transponder.type);
  if (data.empty() || data.size() % unit != 0)
    return kStatusBadParameter;
  const size_t count = data.size() / unit;
  if (block >= BlockCount(transponder) || count > BlockCount(transponder) - block) {
    return kStatusBlockRange;
  }
  for (size_t i = block; i < block + count; ++i) {
    if (IsLocked(transponder, i))
      return kStatusBlockLocked;
  }
  std::copy(data.begin(), data.end(),
            transponder.memory.begin() + static_cast<std::ptrdiff_t>(block * unit));
  if (lock) {
    if (transponder.locked.size() < block + count)
      transponder.locked.resize(block + count);
    std::fill(transponder.locked.begin() + static_cast<std::ptrdiff_t>(block),
              transponder.locked.begin() + static_cast<std::ptrdiff_t>(block + count), true);
  }
  return kStatusOk;
}

}  // namespace kxemu::detail
