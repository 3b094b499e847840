#include "kxemu/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace kxemu {

namespace {

bool Fail(std::string* error, const std::string& what) {
  if (error != nullptr)
    *error = what + ": " + std::strerror(errno);
  return false;
}

void CloseFd(int& fd) {
  if (fd >= 0)
    close(fd);
  fd = -1;
}

bool SetNonBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

// Points `linkPath` at `target` in one step, so that a client never sees the link missing.
bool ReplaceLink(const std::string& target, const std::string& linkPath, std::string* error) {
  struct stat existing;
  if (lstat(linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
    errno = EEXIST;
    return Fail(error, "not replacing " + linkPath + ", it is no symbolic link");
  }
  const std::string temporary = linkPath + ".kxemu-" + std::to_string(getpid());
  unlink(temporary.c_str());
  if (symlink(target.c_str(), temporary.c_str()) != 0) {
    return Fail(error, "cannot create link " + temporary);
  }
  if (rename(temporary.c_str(), linkPath.c_str()) != 0) {
    const bool failed = Fail(error, "cannot move link to " + linkPath);
    unlink(temporary.c_str());
    return failed;
  }
  return true;
}

}  // namespace

PtyServer::PtyServer(ReaderModel& model) : model_(model) {}

PtyServer::~PtyServer() {
  Stop();
}

bool PtyServer::Start(const std::string& linkPath, std::string* error) {
  Stop();
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0)
    return Fail(error, "posix_openpt");
  std::array<char, 128> name{};
  if (grantpt(master_) != 0 || unlockpt(master_) != 0 ||
      ptsname_r(master_, name.data(), name.size()) != 0) {
    const bool failed = Fail(error, "cannot unlock the pseudo-terminal");
    CloseAll();
    return failed;
  }
  devicePath_ = name.data();

  // Raw before anyone can open it: a client must never see its own request echoed as an answer.
  slave_ = open(devicePath_.c_str(), O_RDWR | O_NOCTTY);
  termios settings;
  if (slave_ < 0 || tcgetattr(slave_, &settings) != 0) {
    const bool failed = Fail(error, "cannot open " + devicePath_);
    CloseAll();
    return failed;
  }
  cfmakeraw(&settings);
  int pipeFds[2];
  if (tcsetattr(slave_, TCSANOW, &settings) != 0 || !SetNonBlocking(master_) ||
      pipe(pipeFds) != 0) {
    const bool failed = Fail(error, "cannot prepare " + devicePath_);
    CloseAll();
    return failed;
  }
  wakeRead_ = pipeFds[0];
  wakeWrite_ = pipeFds[1];

  if (!linkPath.empty()) {
    if (!ReplaceLink(devicePath_, linkPath, error)) {
      CloseAll();
      return false;
    }
    linkPath_ = linkPath;
  }

  serving_ = true;
  thread_ = std::thread(&PtyServer::Serve, this);
  return true;
}

void PtyServer::Stop() {
  if (thread_.joinable()) {
    const char stop = 1;
    while (write(wakeWrite_, &stop, 1) < 0 && errno == EINTR) {
    }
    thread_.join();
  }
  CloseAll();
}

void PtyServer::CloseAll() {
  if (!linkPath_.empty()) {
    // Only our own link goes: another server may have taken the name over meanwhile.
    std::error_code ignored;
    if (std::filesystem::read_symlink(linkPath_, ignored) == devicePath_) {
      std::filesystem::remove(linkPath_, ignored);
    }
    linkPath_.clear();
  }
  CloseFd(slave_);
  CloseFd(master_);
  CloseFd(wakeRead_);
  CloseFd(wakeWrite_);
  devicePath_.clear();
  serving_ = false;
}

bool PtyServer::IsRunning() const {
  return serving_;
}

std::string PtyServer::DevicePath() const {
  return devicePath_;
}

std::string PtyServer::LinkPath() const {
  return linkPath_;
}

bool PtyServer::WaitFor(int fd, short events, int timeoutMs) {
  std::array<pollfd, 2> fds = {{{wakeRead_, POLLIN, 0}, {fd, events, 0}}};
  const nfds_t count = fd >= 0 ? 2 : 1;
  const int result = poll(fds.data(), count, timeoutMs);
  if (result < 0 && errno != EINTR)
    return false;
  return (fds[0].revents & POLLIN) == 0;
}

bool PtyServer::Pause(std::chrono::milliseconds pause) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + pause;
  for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now);
    if (!WaitFor(-1, 0, static_cast<int>(left.count())))
      return false;
  }
  return true;
}

bool PtyServer::WriteAll(const Bytes& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t result = write(master_, bytes.data() + written, bytes.size() - written);
    if (result > 0) {
      written += static_cast<size_t>(result);
    } else if (result < 0 && errno == EINTR) {
      continue;
    } else if (result < 0 && errno == EAGAIN) {
      // The client is not reading; wait until the terminal takes bytes again.
      if (!WaitFor(master_, POLLOUT, -1))
        return false;
    } else {
      return false;
    }
  }
  return true;
}

void PtyServer::Serve() {
  std::array<uint8_t, 512> buffer;
  while (WaitFor(master_, POLLIN, -1)) {
    const ssize_t count = read(master_, buffer.data(), buffer.size());
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
      continue;
    if (count <= 0)
      break;  // the terminal is gone; the own hold keeps this from a mere close
    for (const AnswerPiece& piece : model_.Receive(buffer.data(), static_cast<size_t>(count))) {
      if (!Pause(piece.pauseBefore) || !WriteAll(piece.bytes)) {
        serving_ = false;
        return;
      }
    }
  }
  serving_ = false;
}

}  // namespace kxemu
