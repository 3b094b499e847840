#include "log/log_file.h"

#include <utility>

namespace kx::log {

LogFile::LogFile(std::string path, LocalClock clock, std::chrono::milliseconds lockWait)
    : path_(std::move(path)), clock_(std::move(clock)), lockWait_(lockWait) {}

AppendResult LogFile::AppendLine(const LogRecord& record) {
  const std::string body = LineBody(record, clock_());
  if (path_.empty())
    return {AppendOutcome::kNoFileName, 0, 0};

  LockedLogFile file(path_, lockWait_);
  if (!file.IsOpen()) {
    remembered_.reset();
    return file.Failure();
  }
  FileState before;
  if (const int error = file.ReadState(before))
    return {AppendOutcome::kReadFailed, 0, error};

  LineTally tally;
  if (remembered_ && remembered_->state == before) {
    tally = remembered_->tally;
  } else {
    remembered_.reset();
    if (const int error = file.CountLines(tally))
      return {AppendOutcome::kReadFailed, 0, error};
  }

  const long long number = tally.Lines() + 1;
  const std::string bytes = TextModeBytes(NumberedLine(number, body));
  if (const int error = file.Append(bytes)) {
    remembered_.reset();
    return {AppendOutcome::kWriteFailed, 0, error};
  }
  tally.Add(bytes);

  // Remembered only when nothing but this line reached the file while it was open: a program
  // that writes without locking may have added its own bytes.
  FileState after;
  if (file.ReadState(after) == 0 && after.size == before.size + static_cast<off_t>(bytes.size()))
    remembered_ = Remembered{after, tally};
  else
    remembered_.reset();
  return {AppendOutcome::kAppended, number, 0};
}

}  // namespace kx::log
