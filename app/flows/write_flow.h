// Writing the operator's value to a transponder once, and reading written blocks back.
#pragma once

#include <optional>
#include <string>

#include "convert/data_format.h"
#include "convert/write_conversion.h"
#include "flows/failure.h"

namespace kx::flows {

// One KxLfWriteBlocks per block of the buffer, block numbers counting up by one from the first
// block of the type. SIC7900 and SIC7999 are selected first. Stops at the first failing block;
// blocks written before stay written.
std::optional<Failure> WriteBlocks(int handle, int typeIndex, unsigned startBlock,
                                   const convert::WriteBuffer& buffer);

struct WriteRequest {
  int typeIndex = 2;
  unsigned startBlock = 1;
  int n = 4;
  convert::DataFormat format = convert::DataFormat::kHexBinary;
  std::string text;  // the write text
  bool leadingZeros = false;
  bool extraText = false;
  bool autoIncrement = false;
};

// The write text after a successful write, in its three forms.
struct WrittenTexts {
  std::string loggedText;  // the text as the write log records it
  std::string shownText;   // the text of the success line and of the write edit
  std::string nextText;    // the write text for the next write (incremented when asked)
  StatusMessage successLine = StatusMessage::kValueWritten;  // or kDataWritten with a counter
};

// What a successful write of the request makes of its text.
WrittenTexts TextsAfterWrite(const WriteRequest& request);

struct WriteOutcome : WrittenTexts {
  std::optional<Failure> failure;  // nothing else is set then
  convert::WriteBuffer buffer;     // the bytes that were written

  bool ok() const { return !failure.has_value(); }
};

// The text converted to the blocks of the format, the blocks written, and the text normalised
// for the log, the success line and the next write. The beep and the status line are the
// caller's.
WriteOutcome WriteOnce(int handle, const WriteRequest& request);

// The success line of a format: the data formats count their writes, the others show the value.
StatusMessage SuccessLineFor(convert::DataFormat format);

struct Verification {
  std::optional<Failure> failure;  // the read-back itself failed
  convert::Bytes readBack;
  bool matches = false;

  bool ok() const { return !failure.has_value(); }
};

// Reads back exactly the blocks WriteBlocks wrote (one KxLfReadBlocks per block, block numbers
// counting up by one, SIC7900 and SIC7999 selected first) and compares them with the buffer.
Verification VerifyBlocks(int handle, int typeIndex, unsigned startBlock,
                          const convert::WriteBuffer& buffer);

}  // namespace kx::flows
