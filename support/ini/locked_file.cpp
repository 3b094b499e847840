#include "ini/locked_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <thread>
#include <vector>

namespace kx::ini {

namespace {

constexpr std::chrono::milliseconds kRetryInterval{10};

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    content.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// The rename itself reaches the disk only with its directory.
bool SyncDirectory(const std::filesystem::path& directory) {
  const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0)
    return false;
  const bool synced = ::fsync(fd) == 0;
  const int failure = errno;
  ::close(fd);
  errno = failure;
  return synced;
}

// A symbolic link is replaced at its target, not turned into a plain file.
std::string ResolvedPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path : resolved.string();
}

}  // namespace

std::optional<LockedFile> LockedFile::Open(const std::string& path,
                                           std::chrono::milliseconds giveUp) {
  const auto deadline = std::chrono::steady_clock::now() + giveUp;
  for (;;) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
      return std::nullopt;
    LockedFile file(fd);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode))
      return std::nullopt;

    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // The holder we waited for may have renamed a new file over path: lock that one instead.
      struct stat current {};
      if (::stat(path.c_str(), &current) == 0 && SameFile(opened, current))
        return file;
    } else if (errno != EWOULDBLOCK && errno != EINTR) {
      return std::nullopt;
    }
    if (std::chrono::steady_clock::now() >= deadline)
      return std::nullopt;
    std::this_thread::sleep_for(kRetryInterval);
  }
}

LockedFile::LockedFile(LockedFile&& other) noexcept : fd_(other.fd_) {
  other.fd_ = -1;
}

LockedFile::~LockedFile() {
  if (fd_ >= 0)
    ::close(fd_);
}

bool LockedFile::ReadAll(std::string& content) const {
  content.clear();
  std::vector<char> chunk(64 * 1024);
  for (;;) {
    const ssize_t got = ::read(fd_, chunk.data(), chunk.size());
    if (got == 0)
      return true;
    if (got < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    content.append(chunk.data(), static_cast<size_t>(got));
  }
}

bool ReplaceFileContent(const std::string& path, std::string_view content,
                        std::chrono::milliseconds giveUp) {
  const std::string target = ResolvedPath(path);
  // Locking the target also proves that it may be written: a read-only file stays as it is.
  std::optional<LockedFile> lock = LockedFile::Open(target, giveUp);
  if (!lock)
    return false;
  struct stat targetStat {};
  if (::fstat(lock->fd_, &targetStat) != 0)
    return false;

  std::string temporary = target + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0)
    return false;
  bool ok =
      ::fchmod(fd, targetStat.st_mode & 07777) == 0 && WriteAll(fd, content) && ::fsync(fd) == 0;
  int failure = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    failure = errno;
  }
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    ok = false;
    failure = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    errno = failure;
    return false;
  }
  return SyncDirectory(std::filesystem::path(target).parent_path());
}

}  // namespace kx::ini
