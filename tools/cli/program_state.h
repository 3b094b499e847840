// The state file of a program run: the job, the next value and where the run stands. It is
// replaced as a whole (temporary file, flush to disk, rename) before every transponder is written
// and after every success, so that after a crash or a power loss it holds one or the other.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "convert/data_format.h"

namespace kx::cli {

struct ProgramJob {
  int typeIndex = 2;
  unsigned startBlock = 1;
  int n = 4;
  convert::DataFormat format = convert::DataFormat::kHexBinary;
  bool leadingZeros = false;
  bool extraText = false;
  std::string firstValue;

  bool operator==(const ProgramJob&) const = default;
};

struct ProgramState {
  ProgramJob job;
  std::string nextValue;  // goes to the next transponder
  long done = 0;          // transponders programmed and verified so far
  std::string lastUid;    // hex UID of the last programmed transponder; empty before the first
  // Hex UID of the transponder that nextValue was being written to when the state was saved;
  // empty when no write is under way. After a crash the run finishes that transponder first.
  std::string pendingUid;
  bool exhausted = false;  // the value after the last one would not count up: the run is over

  bool operator==(const ProgramState&) const = default;
};

std::string StateText(const ProgramState& state);
// nullopt with `error` set for a text that is not a complete state.
std::optional<ProgramState> ParseStateText(std::string_view text, std::string* error);

enum class StateLoad { kMissing, kLoaded, kBroken };
StateLoad LoadStateFile(const std::string& path, ProgramState& state, std::string* error);

// Replaces the file's content durably; false with `error` set when the file could not be written
// (the old content then stays).
bool SaveStateFile(const std::string& path, const ProgramState& state, std::string* error);

// Keeps a second run off the same state file for as long as it exists.
class StateLock {
 public:
  // Locks "<path>.lock"; false with `error` set when another run holds it.
  bool Acquire(const std::string& path, std::string* error);
  ~StateLock();

 private:
  int fd_ = -1;
};

}  // namespace kx::cli
