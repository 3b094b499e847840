// A fresh directory per test, a clock that always says 08.12.2025 14:03:59, and other processes
// that hold a log or append to it without this program's help.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <fstream>
#include <functional>
#include <string>

#include "log/log_file.h"
#include "temp_dir.h"

namespace kx::log {

inline std::tm FixedTime() {
  std::tm time{};
  time.tm_mday = 8;
  time.tm_mon = 11;
  time.tm_year = 125;
  time.tm_hour = 14;
  time.tm_min = 3;
  time.tm_sec = 59;
  return time;
}

inline LogRecord HexRecord(std::string value) {
  return {convert::DataFormat::kHexBinary, 3, 4, std::move(value)};
}

// Runs body in a child process; its result is the child's exit code (-1 if it did not exit).
inline int ExitCodeOfChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0)
    ::_exit(body());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Another process that holds the exclusive lock on a file until Release().
class OtherProcessLock {
 public:
  explicit OtherProcessLock(const std::string& path) {
    int locked[2];
    int release[2];
    EXPECT_EQ(::pipe(locked), 0);
    EXPECT_EQ(::pipe(release), 0);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(release[1]);
      const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0644);
      const char state = ::flock(fd, LOCK_EX) == 0 ? 'L' : 'E';
      char ignored;
      if (::write(locked[1], &state, 1) == 1) {
        while (::read(release[0], &ignored, 1) > 0) {
        }
      }
      ::_exit(0);
    }
    ::close(locked[1]);
    ::close(release[0]);
    releaseFd_ = release[1];
    char byte = 0;
    EXPECT_EQ(::read(locked[0], &byte, 1), 1);
    EXPECT_EQ(byte, 'L');
    ::close(locked[0]);
  }
  ~OtherProcessLock() { Release(); }
  void Release() {
    if (pid_ <= 0)
      return;
    ::close(releaseFd_);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int releaseFd_ = -1;
};

class LogDirTest : public ini::TempDirTest {
 protected:
  LogFile LogAt(const std::string& path) const { return LogFile(path, FixedTime); }

  static void AppendFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::app) << content;
  }
};

}  // namespace kx::log
