// The read log or the write log: appends numbered lines to one file.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "log/append_result.h"
#include "log/line_tally.h"
#include "log/local_clock.h"
#include "log/locked_log_file.h"
#include "log/log_line.h"

namespace kx::log {

class LogFile {
 public:
  // Long enough for another appender to finish its line, short enough for a cyclic read or
  // write not to stall noticeably behind a program that keeps the file locked.
  static constexpr std::chrono::milliseconds kDefaultLockWait{250};

  explicit LogFile(std::string path, LocalClock clock = SystemLocalTime,
                   std::chrono::milliseconds lockWait = kDefaultLockWait);

  const std::string& Path() const { return path_; }

  // Appends one line numbered "lines already in the file + 1", creating the file when it does not
  // exist. The count is remembered between appends and taken afresh from the file whenever the
  // file is not exactly as this object left it, so an append costs the same however long the log
  // is, and another program may still edit, shorten or replace the file between two appends.
  AppendResult AppendLine(const LogRecord& record);

 private:
  struct Remembered {
    FileState state;
    LineTally tally;
  };

  std::string path_;
  LocalClock clock_;
  std::chrono::milliseconds lockWait_;
  std::optional<Remembered> remembered_;
};

}  // namespace kx::log
