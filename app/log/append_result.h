// What became of one log line. The caller turns a failure into a status line, so that an
// operator learns that the log lacks a record; the read or write itself stays successful.
#pragma once

namespace kx::log {

enum class AppendOutcome {
  kAppended,
  kNoFileName,        // the log has no file name
  kDirectoryMissing,  // a directory on the path does not exist
  kAccessDenied,      // the file or its directory may not be written
  kNotAFile,          // the path names a directory, a device or a pipe
  kLocked,            // another program held the file longer than the append waits
  kOpenFailed,        // the file could not be opened for another reason
  kReadFailed,        // the lines already in the file could not be counted
  kWriteFailed,       // the line could not be written; the file is left as it was
};

struct AppendResult {
  AppendOutcome outcome = AppendOutcome::kAppended;
  long long lineNumber = 0;  // the number the line got; 0 when it was not appended
  int systemError = 0;       // errno of the failing call, 0 where there is none

  bool ok() const { return outcome == AppendOutcome::kAppended; }
};

}  // namespace kx::log
