#include "log/locked_log_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <vector>

namespace kx::log {

namespace {

constexpr std::chrono::milliseconds kRetryInterval{10};

AppendOutcome OpenOutcome(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return AppendOutcome::kDirectoryMissing;
    case EACCES:
    case EPERM:
    case EROFS:
      return AppendOutcome::kAccessDenied;
    case EISDIR:
      return AppendOutcome::kNotAFile;
    default:
      return AppendOutcome::kOpenFailed;
  }
}

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

bool FileState::operator==(const FileState& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

LockedLogFile::LockedLogFile(const std::string& path, std::chrono::milliseconds lockWait) {
  const auto deadline = std::chrono::steady_clock::now() + lockWait;
  for (;;) {
    // Non-blocking, so that a pipe or a device at the path cannot hold the program in open().
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
      failure_ = {OpenOutcome(errno), 0, errno};
      return;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
      failure_ = {AppendOutcome::kOpenFailed, 0, errno};
      ::close(fd);
      return;
    }
    if (!S_ISREG(opened.st_mode)) {
      ::close(fd);
      failure_ = {AppendOutcome::kNotAFile, 0, 0};
      return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // The holder we waited for may have put a new file in place of the one we opened.
      struct stat current {};
      if (::stat(path.c_str(), &current) == 0 && current.st_dev == opened.st_dev &&
          current.st_ino == opened.st_ino) {
        fd_ = fd;
        return;
      }
    } else if (errno != EWOULDBLOCK && errno != EINTR) {
      failure_ = {AppendOutcome::kOpenFailed, 0, errno};
      ::close(fd);
      return;
    }
    ::close(fd);
    if (std::chrono::steady_clock::now() >= deadline) {
      failure_ = {AppendOutcome::kLocked, 0, EWOULDBLOCK};
      return;
    }
    std::this_thread::sleep_for(kRetryInterval);
  }
}

LockedLogFile::~LockedLogFile() {
  if (fd_ >= 0)
    ::close(fd_);
}

int LockedLogFile::ReadState(FileState& state) const {
  struct stat info {};
  if (::fstat(fd_, &info) != 0)
    return errno;
  state = {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
  return 0;
}

int LockedLogFile::CountLines(LineTally& tally) const {
  std::vector<char> chunk(64 * 1024);
  off_t offset = 0;
  for (;;) {
    const ssize_t got = ::pread(fd_, chunk.data(), chunk.size(), offset);
    if (got == 0)
      return 0;
    if (got < 0) {
      if (errno == EINTR)
        continue;
      return errno;
    }
    tally.Add(std::string_view(chunk.data(), static_cast<size_t>(got)));
    offset += got;
  }
}

int LockedLogFile::Append(std::string_view bytes) const {
  struct stat before {};
  if (::fstat(fd_, &before) != 0)
    return errno;
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written > 0) {
      bytes.remove_prefix(static_cast<size_t>(written));
      continue;
    }
    if (written < 0 && errno == EINTR)
      continue;
    const int error = written < 0 ? errno : EIO;
    // Should this fail too, the failure to write is still what the caller must report.
    [[maybe_unused]] const int restored = ::ftruncate(fd_, before.st_size);
    return error;
  }
  return 0;
}

}  // namespace kx::log
