#include "convert/block_geometry.h"

#include <cstdint>

namespace kx::convert {

namespace {

int BlocksFor(int n, int blockSize) {
  if (n <= 0)
    return 0;
  // 64-bit so that n near INT_MAX does not overflow while rounding up.
  return static_cast<int>((static_cast<int64_t>(n) + blockSize - 1) / blockSize);
}

}  // namespace

Geometry BlockGeometry(int typeIndex, int n) {
  switch (typeIndex) {
    case 2:  // TI Multi Page
    case 3:  // TI HDX+
    case 4:  // Incide HDX
      return {8, BlocksFor(n, 8)};
    case 5:  // SIC7900
    case 6:  // SIC7999 / SIC279
    case 7:  // EM4017
      return {4, BlocksFor(n, 4)};
    default:  // Read Only, TI Read / Write
      return {8, 1};
  }
}

}  // namespace kx::convert
