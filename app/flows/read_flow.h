// Reading a transponder once, and reading its UID.
#pragma once

#include <optional>
#include <string>

#include "convert/data_format.h"
#include "flows/failure.h"

namespace kx::flows {

struct ReadRequest {
  int typeIndex = 0;
  unsigned startBlock = 1;  // ignored by Read Only and TI Read / Write
  int n = 4;
  convert::DataFormat format = convert::DataFormat::kHexBinary;
};

struct BlockRead {
  convert::Bytes bytes;  // whole blocks, in block order
  std::optional<Failure> failure;

  bool ok() const { return !failure.has_value(); }
};

// Reads blockSize bytes from each of the blocks first, first + step, ... until the buffer is
// full. Stops at the first failing block.
std::optional<Failure> ReadBlockRun(int handle, int transponderCode, int firstBlock, int step,
                                    int blockSize, convert::Bytes& buffer);

// One KxLfReadBlocks per block, TI HDX+ stepping by two block numbers. DecimalBinary reads a
// single block: its value never needs more. SIC7900 and SIC7999 are selected first. Stops at the
// first failing block.
BlockRead ReadBlocks(int handle, const ReadRequest& request);

struct ReadDisplay {
  std::string text;      // the display text of the format
  convert::Bytes bytes;  // what the reader delivered
  std::optional<Failure> failure;

  bool ok() const { return !failure.has_value(); }
};

// ReadBlocks, then the bytes as the display text of the format.
ReadDisplay ReadOnce(int handle, const ReadRequest& request);

// The transponder's 8-byte identity as the display text of the format with byte count n. A
// reader that delivers any other number of bytes fails with KXLF_ERR_DATA_COUNT.
ReadDisplay ReadUid(int handle, int typeIndex, convert::DataFormat format, int n);

}  // namespace kx::flows
