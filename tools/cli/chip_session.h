// One chip tool run of tune or hdx-config: the connection, and with --wait the transponder that
// is awaited in the field first and whose removal ends the run, so that a line can call the
// command once per chip.
#pragma once

#include <optional>
#include <string>

#include "commands.h"
#include "field_watch.h"
#include "problems.h"
#include "stop_signal.h"

namespace kx::cli {

class ChipSession {
 public:
  // typeIndex: the transponder type of the main window that the tool works on.
  ChipSession(const Context& context, int typeIndex);

  // Connects and, with --wait, waits for a transponder; the exit code to end with when that
  // fails or is stopped.
  std::optional<int> Start();
  int Handle() const { return handle_; }
  // The UID of the awaited transponder; empty without --wait.
  const std::string& Uid() const { return uid_; }
  // With --wait: asks for the transponder to be taken off and waits for that. Returns
  // `exitCode`, or the code of a stop or reader failure meanwhile.
  int Finish(int exitCode);

  ~ChipSession();
  ChipSession(const ChipSession&) = delete;
  ChipSession& operator=(const ChipSession&) = delete;

 private:
  int Failed(const FieldResult& result);
  std::string Prefix() const;

  const Context& context_;
  const int typeIndex_;
  // With --wait only, so that Ctrl-C ends a single run at once. Made before the SDK starts its
  // threads, so that they never take the stop signals.
  std::optional<StopSignal> stop_;
  int handle_ = 0;
  std::string uid_;
};

}  // namespace kx::cli
