#include "string_list.h"

namespace kx::cli {

namespace {

// What the interface dialog gives its list calls.
constexpr int kListBufferSize = 2500;

}  // namespace

std::vector<std::string> ReadStringList(int (*entryPoint)(char*, int)) {
  std::vector<char> buffer(kListBufferSize, '\0');
  const int size = entryPoint(buffer.data(), kListBufferSize);
  std::vector<std::string> entries;
  if (size <= 0)
    return entries;
  for (size_t at = 0; at < static_cast<size_t>(size) && buffer[at] != '\0';) {
    std::string entry(buffer.data() + at);
    at += entry.size() + 1;
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace kx::cli
