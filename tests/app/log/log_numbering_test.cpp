// Line numbers across appends, and across what other programs do to the file between appends.
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>

#include "log/line_tally.h"
#include "log_test_support.h"

namespace kx::log {
namespace {

constexpr char kFirstLine[] = "     1\t08.12.2025 14:03:59\tHEX BIN\t   3\t   4\t1A2B\r\n";

long long LinesIn(std::string_view bytes) {
  LineTally tally;
  tally.Add(bytes);
  return tally.Lines();
}

TEST(LineTally, CountsLineFeedsAndAnOpenLastLine) {
  EXPECT_EQ(LinesIn(""), 0);
  EXPECT_EQ(LinesIn("a"), 1);
  EXPECT_EQ(LinesIn("a\n"), 1);
  EXPECT_EQ(LinesIn("a\r\nb\nc"), 3);
  EXPECT_EQ(LinesIn("\n\n"), 2);
  EXPECT_EQ(LinesIn("a\rb\r"), 1);
  EXPECT_EQ(LinesIn(std::string("\0\n\0", 3)), 2);
}

TEST(LineTally, CountsTheSameInPieces) {
  LineTally tally;
  tally.Add("a\r");
  tally.Add("\nb");
  EXPECT_EQ(tally.Lines(), 2);
  tally.Add("");
  EXPECT_EQ(tally.Lines(), 2);
  tally.Add("\n");
  EXPECT_EQ(tally.Lines(), 2);
}

using LogNumbering = LogDirTest;

TEST_F(LogNumbering, FirstAppendCreatesTheFile) {
  const std::string path = PathOf("Protokoll_S.txt");
  LogFile log = LogAt(path);
  const AppendResult result = log.AppendLine(HexRecord("1A2B"));
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(result.lineNumber, 1);
  EXPECT_EQ(ReadFile(path), kFirstLine);
}

TEST_F(LogNumbering, AnOpenLastLineCountsAndIsContinued) {
  const std::string path = PathOf("log.txt");
  WriteFile(path, "first\nthird");
  LogFile log = LogAt(path);
  EXPECT_EQ(log.AppendLine(HexRecord("01")).lineNumber, 3);
  EXPECT_EQ(ReadFile(path), "first\nthird     3\t08.12.2025 14:03:59\tHEX BIN\t   3\t   4\t01\r\n");
  // The line went behind the open line, so the file now holds two lines, and the remembered
  // count says the same as a fresh one.
  EXPECT_EQ(log.AppendLine(HexRecord("02")).lineNumber, 3);
  EXPECT_EQ(LogAt(path).AppendLine(HexRecord("03")).lineNumber, 4);
}

TEST_F(LogNumbering, TwoWritersOfOneFileShareTheNumbering) {
  const std::string path = PathOf("log.txt");
  LogFile window = LogAt(path);
  LogFile tool = LogAt(path);
  EXPECT_EQ(window.AppendLine(HexRecord("01")).lineNumber, 1);
  EXPECT_EQ(tool.AppendLine(HexRecord("02")).lineNumber, 2);
  EXPECT_EQ(tool.AppendLine(HexRecord("03")).lineNumber, 3);
  EXPECT_EQ(window.AppendLine(HexRecord("04")).lineNumber, 4);
}

TEST_F(LogNumbering, LinesAddedByAnotherProgramAreCounted) {
  const std::string path = PathOf("log.txt");
  LogFile log = LogAt(path);
  log.AppendLine(HexRecord("01"));
  AppendFile(path, "note\nnote\n");
  EXPECT_EQ(log.AppendLine(HexRecord("02")).lineNumber, 4);
  AppendFile(path, "note without break");
  EXPECT_EQ(log.AppendLine(HexRecord("03")).lineNumber, 6);
}

TEST_F(LogNumbering, AShortenedFileIsCountedAfresh) {
  const std::string path = PathOf("log.txt");
  LogFile log = LogAt(path);
  for (int i = 0; i < 3; ++i)
    log.AppendLine(HexRecord("01"));
  ASSERT_EQ(::truncate(path.c_str(), 0), 0);
  EXPECT_EQ(log.AppendLine(HexRecord("02")).lineNumber, 1);
  WriteFile(path, "kept\r\n");
  EXPECT_EQ(log.AppendLine(HexRecord("03")).lineNumber, 2);
  ASSERT_EQ(std::remove(path.c_str()), 0);
  EXPECT_EQ(log.AppendLine(HexRecord("04")).lineNumber, 1);
}

TEST_F(LogNumbering, AReplacedFileOfTheSameSizeAndTimeIsCountedAfresh) {
  const std::string path = PathOf("log.txt");
  LogFile log = LogAt(path);
  log.AppendLine(HexRecord("01"));
  struct stat old {};
  ASSERT_EQ(::stat(path.c_str(), &old), 0);
  // An editor's save: a new file with as many bytes but more lines, renamed over the log.
  const std::string replacement = PathOf("log.new");
  WriteFile(replacement, std::string(static_cast<size_t>(old.st_size) - 6, 'x') + "\n\n\n\n\n\n");
  const timespec times[2] = {old.st_atim, old.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, replacement.c_str(), times, 0), 0);
  ASSERT_EQ(std::rename(replacement.c_str(), path.c_str()), 0);
  EXPECT_EQ(log.AppendLine(HexRecord("02")).lineNumber, 7);
}

TEST_F(LogNumbering, AnEditThatKeepsTheSizeIsCountedAfresh) {
  const std::string path = PathOf("log.txt");
  LogFile log = LogAt(path);
  log.AppendLine(HexRecord("01"));
  const std::string content = ReadFile(path);
  const int fd = ::open(path.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::pwrite(fd, "\n\n", 2, 0), 2);
  // Dated an hour later, as an edit made at a human's pace would be.
  timespec later[2] = {{0, UTIME_OMIT}, {}};
  ::clock_gettime(CLOCK_REALTIME, &later[1]);
  later[1].tv_sec += 3600;
  ASSERT_EQ(::futimens(fd, later), 0);
  ::close(fd);
  EXPECT_EQ(ReadFile(path).size(), content.size());
  EXPECT_EQ(log.AppendLine(HexRecord("02")).lineNumber, 4);
}

}  // namespace
}  // namespace kx::log
