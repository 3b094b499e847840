// A log file held for one append. The exclusive lock (an advisory flock, as the INI files take
// it) keeps two appenders, in this program or in a command-line tool, from giving two lines the
// same number; a program that does not lock can still change the file between two appends.
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <string>
#include <string_view>

#include "log/append_result.h"
#include "log/line_tally.h"

namespace kx::log {

// What tells whether a file may have changed since it was last seen. The change time is part of
// it because no program can set it back, even one that restores the modification time.
struct FileState {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};

  bool operator==(const FileState& other) const;
};

class LockedLogFile {
 public:
  // Opens the regular file at path for reading and appending, creating it when it is missing and
  // keeping its content, and locks it. A lock held elsewhere is retried every 10 ms for up to
  // lockWait. Failure() tells why the file is not open.
  LockedLogFile(const std::string& path, std::chrono::milliseconds lockWait);
  LockedLogFile(const LockedLogFile&) = delete;
  LockedLogFile& operator=(const LockedLogFile&) = delete;
  ~LockedLogFile();

  bool IsOpen() const { return fd_ >= 0; }
  const AppendResult& Failure() const { return failure_; }

  // 0, or the errno of the failing call.
  int ReadState(FileState& state) const;
  // Counts every line of the file from its start into tally.
  int CountLines(LineTally& tally) const;
  // Writes bytes at the end of the file. A failure takes back what was written of them, so that
  // no part of a line stays behind for the next append to number.
  int Append(std::string_view bytes) const;

 private:
  int fd_ = -1;
  AppendResult failure_;
};

}  // namespace kx::log
