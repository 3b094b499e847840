// What a read, write or program command works on, checked by the main window's rules before
// anything is sent to the reader.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "convert/data_format.h"
#include "flows/read_flow.h"
#include "flows/transponder_types.h"
#include "flows/write_flow.h"
#include "json.h"
#include "options.h"
#include "problems.h"

namespace kx::cli {

struct Job {
  const flows::TransponderType* type = nullptr;
  unsigned startBlock = 1;
  int n = 4;
  convert::DataFormat format = convert::DataFormat::kHexBinary;
  bool leadingZeros = false;
  bool extraText = false;

  // The start block as the log records it: 0 for the types that always use block 0.
  unsigned UsedStartBlock() const { return flows::FirstBlock(*type, startBlock); }
  flows::ReadRequest Read() const;
  flows::WriteRequest Write(std::string_view value, bool autoIncrement) const;
  // The type, start block, length and format fields of a result.
  JsonObject& AddTo(JsonObject& json) const;
};

// Bytes as upper-case hex digit pairs, first byte first; `spaced` puts a blank between pairs.
std::string HexText(const convert::Bytes& bytes, bool spaced = false);

// Type, start block and length; n is 8 for Read Only and TI Read / Write, as the window forces.
std::optional<Problem> ParseJob(const Options& options, Job& job);

// Whether the value can be written with the job: a writable type, the window's validation, the
// conversion, and a decimal-ascii value no longer than n characters (the transponder would get
// only the first n).
std::optional<Problem> CheckWriteValue(const Job& job, std::string_view value);

}  // namespace kx::cli
