#include "update/download_dir.h"

#include <stdlib.h>

namespace kx::update {

namespace {

// Longer names than file systems take are refused rather than cut.
constexpr size_t kLongestName = 255;

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-' || c == '+' || c == '~';
}

}  // namespace

std::optional<std::filesystem::path> MakePrivateDirectory() {
  const char* base = getenv("TMPDIR");
  std::string pattern = (base != nullptr && *base == '/') ? base : "/tmp";
  pattern += "/kx-vantrel-update-XXXXXX";
  // mkdtemp makes the directory with mode 0700 under a name nobody could have guessed.
  if (mkdtemp(pattern.data()) == nullptr)
    return std::nullopt;
  return std::filesystem::path(pattern);
}

std::optional<std::string> InstallerFileName(std::string_view address) {
  address = address.substr(0, address.find_first_of("?#"));
  const size_t slash = address.rfind('/');
  const std::string_view name =
      (slash == std::string_view::npos || slash == 0) ? address : address.substr(slash + 1);
  if (name.empty() || name.size() > kLongestName || name.front() == '.')
    return std::nullopt;
  for (const char c : name) {
    if (!IsNameCharacter(c))
      return std::nullopt;
  }
  return std::string(name);
}

}  // namespace kx::update
