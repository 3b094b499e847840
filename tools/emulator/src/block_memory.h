// Block reads and writes on a transponder's memory, with range and lock rules; results are
// reader status bytes.
#pragma once

#include <cstddef>

#include "command_handlers.h"

namespace kxemu::detail {

// Appends `count` blocks from `block` to `out`.
uint8_t ReadBlocks(const Transponder& transponder, size_t block, size_t count, Bytes& out);
// Writes whole blocks from `block`; the data must be a non-empty multiple of the block unit.
// Nothing is written when any of the blocks is locked. `lock` locks them after writing.
uint8_t WriteBlocks(Transponder& transponder, size_t block, const Bytes& data, bool lock);

// The answer to a block read: the blocks, or the refusal without any data.
Answer ReadAnswer(const Transponder& transponder, size_t block, size_t count);

}  // namespace kxemu::detail
