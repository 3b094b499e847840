// Watching the reader's field for transponders coming and going, by their UID.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "flows/failure.h"
#include "stop_signal.h"

namespace kx::cli {

enum class FieldEvent {
  kSeen,     // the awaited change happened
  kStopped,  // Ctrl-C
  kFailed,   // the reader kept failing
};

struct FieldResult {
  FieldEvent event = FieldEvent::kSeen;
  std::string uid;                        // hex UID of the transponder that entered
  std::optional<flows::Failure> failure;  // the last reader failure of kFailed
};

class FieldWatch {
 public:
  static constexpr std::chrono::milliseconds kPollInterval{100};
  // A transponder at the edge of the field garbles an answer now and then; only this many
  // failures in a row mean that the reader is gone.
  static constexpr int kFailuresInARow = 3;

  FieldWatch(int handle, int typeIndex, StopSignal& stop)
      : handle_(handle), typeIndex_(typeIndex), stop_(stop) {}

  // Until a transponder lies in the field whose UID `accept` takes.
  FieldResult WaitForEntry(const std::function<bool(const std::string& uid)>& accept);
  // Until the transponder with `uid` is no longer in the field (empty, or another one).
  FieldResult WaitForExit(const std::string& uid);

 private:
  // The UID in the field, "" for an empty field; nullopt after a reader failure.
  std::optional<std::string> Look(std::optional<flows::Failure>& failure);
  template <typename Done>
  FieldResult Poll(Done done);

  int handle_;
  int typeIndex_;
  StopSignal& stop_;
};

}  // namespace kx::cli
