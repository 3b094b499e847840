// Every transfer to or from a transponder is made of whole blocks; their size and count depend on
// the transponder type only.
#pragma once

#include <cstdint>

namespace kx::convert {

struct Geometry {
  int blockSize = 8;
  int blockCount = 0;

  // Bytes of one transfer: the value, then zero bytes up to the end of the last block.
  int64_t ByteSize() const { return static_cast<int64_t>(blockSize) * blockCount; }
};

// typeIndex: the transponder type 0..7 of the main window. Read Only and TI Read / Write (and any
// unknown type) always move one 8-byte block; n <= 0 gives no block for the other types.
Geometry BlockGeometry(int typeIndex, int n);

}  // namespace kx::convert
