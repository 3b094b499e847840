#include "log/line_tally.h"

#include <algorithm>

namespace kx::log {

void LineTally::Add(std::string_view bytes) {
  if (bytes.empty())
    return;
  lineBreaks_ += std::count(bytes.begin(), bytes.end(), '\n');
  openLine_ = bytes.back() != '\n';
}

}  // namespace kx::log
