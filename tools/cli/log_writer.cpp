#include "log_writer.h"

#include <cstring>

namespace kx::cli {

namespace {

std::string Reason(const log::AppendResult& result) {
  switch (result.outcome) {
    case log::AppendOutcome::kNoFileName:
      return "no file name was given";
    case log::AppendOutcome::kDirectoryMissing:
      return "its directory does not exist";
    case log::AppendOutcome::kAccessDenied:
      return "it may not be written";
    case log::AppendOutcome::kNotAFile:
      return "it is no regular file";
    case log::AppendOutcome::kLocked:
      return "another program keeps it locked";
    default:
      return result.systemError != 0 ? std::strerror(result.systemError) : "it cannot be written";
  }
}

}  // namespace

LogWriter::LogWriter(const std::optional<std::string>& path) {
  if (path)
    file_.emplace(*path);
}

void LogWriter::Append(const Job& job, std::string_view value, Output& out) {
  if (!file_)
    return;
  log::LogRecord record;
  record.format = job.format;
  record.startBlock = static_cast<int>(job.UsedStartBlock());
  record.byteCount = job.n;
  record.value = std::string(value);
  const log::AppendResult result = file_->AppendLine(record);
  if (!result.ok())
    out.Warning("the log line was not written to '" + file_->Path() + "': " + Reason(result) + ".");
}

}  // namespace kx::cli
