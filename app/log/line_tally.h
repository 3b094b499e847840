// The line count of a log as the append sees it, kept up to date chunk by chunk so that a whole
// file can be counted in pieces and a remembered count can be carried past an appended line.
#pragma once

#include <string_view>

namespace kx::log {

// A line ends with "\n"; a "\r" before it is part of the line end, a "\r" anywhere else is an
// ordinary character. A last line without a line break counts too.
class LineTally {
 public:
  // The next bytes of the file, in order.
  void Add(std::string_view bytes);

  long long Lines() const { return lineBreaks_ + (openLine_ ? 1 : 0); }

 private:
  long long lineBreaks_ = 0;
  bool openLine_ = false;  // bytes follow the last line break
};

}  // namespace kx::log
