// The --log file of read, write and program: the program's log line format.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "job.h"
#include "log/log_file.h"
#include "output.h"

namespace kx::cli {

class LogWriter {
 public:
  explicit LogWriter(const std::optional<std::string>& path);

  // Appends a line when a file was given; a line that cannot be appended is a warning, the read
  // or write itself stays successful.
  void Append(const Job& job, std::string_view value, Output& out);

 private:
  std::optional<log::LogFile> file_;
};

}  // namespace kx::cli
