#include "transport/string_list.h"

#include <cstring>

namespace kxlf {

int WriteStringList(const std::vector<std::string>& entries, char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize < 1)
    return 0;
  const size_t capacity = static_cast<size_t>(bufferSize);
  size_t written = 0;
  for (const std::string& entry : entries) {
    if (entry.size() + 2 > capacity - written)
      break;
    std::memcpy(buffer + written, entry.data(), entry.size());
    written += entry.size();
    buffer[written++] = '\0';
  }
  buffer[written++] = '\0';
  return static_cast<int>(written);
}

}  // namespace kxlf
