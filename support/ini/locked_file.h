// Files held for exclusive use while they are read or replaced. "Exclusive" is an advisory lock
// (flock) that every INI object takes, so two objects never read a half-replaced file or write
// at the same time.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kx::ini {

class LockedFile {
 public:
  // Opens the regular file at path for reading and writing, creating it when it is missing, and
  // locks it. A lock held elsewhere is retried every 10 ms for up to giveUp; nullopt when that
  // runs out or the file cannot be opened (missing directory, no permission, a directory...).
  static std::optional<LockedFile> Open(const std::string& path, std::chrono::milliseconds giveUp);

  LockedFile(LockedFile&& other) noexcept;
  LockedFile& operator=(LockedFile&&) = delete;
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;
  ~LockedFile();

  // The whole content from the start; false on a read error.
  bool ReadAll(std::string& content) const;

 private:
  explicit LockedFile(int fd) : fd_(fd) {}
  friend bool ReplaceFileContent(const std::string&, std::string_view, std::chrono::milliseconds);

  int fd_;
};

// Writes content into a temporary file beside path and renames it over path while path is
// locked, so that readers see either the old or the new content, never a part. A failure leaves
// the old content in place, with errno telling why. The file keeps its permission bits; a
// symbolic link keeps pointing to the replaced file. The directory is flushed too, so that the
// new content survives a power cut once this returns true.
bool ReplaceFileContent(const std::string& path, std::string_view content,
                        std::chrono::milliseconds giveUp);

}  // namespace kx::ini
