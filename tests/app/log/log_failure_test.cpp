// Lines that cannot be appended are reported, nothing crashes or hangs, and the file is left as it
// was.
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "log_test_support.h"

namespace kx::log {
namespace {

using namespace std::chrono_literals;

// Runs body as an ordinary user even when the tests run as root, whom permissions do not stop.
int ExitCodeAsOrdinaryUser(const std::function<int()>& body) {
  return ExitCodeOfChild([&] {
    if (::geteuid() == 0) {
      const uid_t nobody = 65534;
      if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)
        return 100;
    }
    return body();
  });
}

using LogFailure = LogDirTest;

TEST_F(LogFailure, EmptyFileNameWritesNothing) {
  LogFile log = LogAt("");
  const AppendResult result = log.AppendLine(HexRecord("01"));
  EXPECT_EQ(result.outcome, AppendOutcome::kNoFileName);
  EXPECT_EQ(result.lineNumber, 0);
}

TEST_F(LogFailure, MissingDirectoryIsNotCreated) {
  EXPECT_EQ(LogAt(PathOf("gone/log.txt")).AppendLine(HexRecord("01")).outcome,
            AppendOutcome::kDirectoryMissing);
  EXPECT_FALSE(std::filesystem::exists(PathOf("gone")));
  WriteFile(PathOf("plain"), "x");
  const AppendResult underAFile = LogAt(PathOf("plain/log.txt")).AppendLine(HexRecord("01"));
  EXPECT_EQ(underAFile.outcome, AppendOutcome::kDirectoryMissing);
  EXPECT_EQ(underAFile.systemError, ENOTDIR);
}

TEST_F(LogFailure, DirectoriesAndPipesAreNoLogFiles) {
  EXPECT_EQ(LogAt(PathOf("")).AppendLine(HexRecord("01")).outcome, AppendOutcome::kNotAFile);
  const std::string pipe = PathOf("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  // Returns at once: nothing may wait for a reader or count an endless stream.
  EXPECT_EQ(LogAt(pipe).AppendLine(HexRecord("01")).outcome, AppendOutcome::kNotAFile);
}

TEST_F(LogFailure, UnwritableDirectoryOrFileIsReported) {
  std::filesystem::permissions(dir_, std::filesystem::perms(0755));
  const std::string readOnlyDir = PathOf("readonly");
  std::filesystem::create_directory(readOnlyDir);
  std::filesystem::permissions(readOnlyDir, std::filesystem::perms(0555));
  const std::string readOnlyFile = PathOf("readonly.txt");
  WriteFile(readOnlyFile, "kept\n");
  std::filesystem::permissions(readOnlyFile, std::filesystem::perms(0444));

  EXPECT_EQ(ExitCodeAsOrdinaryUser([&] {
              const AppendResult inDir =
                  LogAt(readOnlyDir + "/log.txt").AppendLine(HexRecord("01"));
              const AppendResult file = LogAt(readOnlyFile).AppendLine(HexRecord("01"));
              return (inDir.outcome == AppendOutcome::kAccessDenied ? 0 : 1) +
                     (file.outcome == AppendOutcome::kAccessDenied ? 0 : 2);
            }),
            0);
  EXPECT_EQ(ReadFile(readOnlyFile), "kept\n");
}

TEST_F(LogFailure, FileLockedByAnotherProcessIsReportedAfterABoundedWait) {
  const std::string path = PathOf("log.txt");
  WriteFile(path, "one\r\n");
  LogFile log(path, FixedTime, 100ms);
  {
    OtherProcessLock other(path);
    const auto start = std::chrono::steady_clock::now();
    const AppendResult result = log.AppendLine(HexRecord("01"));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.outcome, AppendOutcome::kLocked);
    EXPECT_GE(waited, 100ms);
    EXPECT_LT(waited, 2s);
    EXPECT_EQ(ReadFile(path), "one\r\n");
  }
  EXPECT_EQ(log.AppendLine(HexRecord("02")).lineNumber, 2);
}

TEST_F(LogFailure, AppendWaitsForALockReleasedInTime) {
  const std::string path = PathOf("log.txt");
  LogFile log(path, FixedTime, 5s);
  OtherProcessLock other(path);
  std::thread release([&] {
    std::this_thread::sleep_for(50ms);
    other.Release();
  });
  EXPECT_EQ(log.AppendLine(HexRecord("01")).lineNumber, 1);
  release.join();
}

TEST_F(LogFailure, ALineThatDoesNotFitLeavesNoPartBehind) {
  const std::string path = PathOf("log.txt");
  WriteFile(path, "one\r\n");
  // A file size limit stops the write in the middle of the line, as a full disk would.
  EXPECT_EQ(ExitCodeOfChild([&] {
              ::signal(SIGXFSZ, SIG_IGN);
              rlimit limit{};
              ::getrlimit(RLIMIT_FSIZE, &limit);
              const rlimit tight{10, limit.rlim_max};
              ::setrlimit(RLIMIT_FSIZE, &tight);
              LogFile log(path, FixedTime);
              const AppendResult failed = log.AppendLine(HexRecord("01"));
              if (failed.outcome != AppendOutcome::kWriteFailed || failed.systemError != EFBIG)
                return 1;
              if (ReadFile(path) != "one\r\n")
                return 2;
              ::setrlimit(RLIMIT_FSIZE, &limit);
              return log.AppendLine(HexRecord("02")).lineNumber == 2 ? 0 : 3;
            }),
            0);
}

}  // namespace
}  // namespace kx::log
