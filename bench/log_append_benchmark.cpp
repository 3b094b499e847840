// Cost of a log append at the start and at the end of a 100 000-line log, beside the baseline
// that counts the whole file at every append, measured in the same run on the same disk. Every
// append opens, locks, counts (or trusts the remembered count), writes and closes, as the main
// window does for each logged read or write.
//
// Reproduce:
//   cmake --preset default -B build/h9 && cmake --build build/h9 --target log_append_benchmark
//   build/h9/bench/log_append_benchmark [appends=100000] [baseline appends=20000]
// The log lies in a fresh directory under $TMPDIR (or /tmp) and is removed afterwards.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "log/line_tally.h"
#include "log/local_clock.h"
#include "log/locked_log_file.h"
#include "log/log_file.h"
#include "log/log_line.h"

namespace {

using Clock = std::chrono::steady_clock;
using kx::log::LogRecord;

constexpr size_t kWindow = 1000;
// Appends of the baseline on the finished 100 000-line log, for its cost at that length.
constexpr int kBaselineProbes = 20;

LogRecord RecordOf(int i) {
  char value[16];
  std::snprintf(value, sizeof value, "%08X", i);
  return {kx::convert::DataFormat::kHexAscii, 3, 8, value};
}

// Every append reads the whole file to count its lines.
bool AppendCountingTheWholeFile(const std::string& path, const LogRecord& record) {
  const std::string body = kx::log::LineBody(record, kx::log::SystemLocalTime());
  kx::log::LockedLogFile file(path, kx::log::LogFile::kDefaultLockWait);
  kx::log::LineTally tally;
  if (!file.IsOpen() || file.CountLines(tally) != 0)
    return false;
  return file.Append(kx::log::TextModeBytes(kx::log::NumberedLine(tally.Lines() + 1, body))) == 0;
}

double Microseconds(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

double Sum(const std::vector<double>& v, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i)
    sum += v[i];
  return sum;
}

// First and last kWindow appends in milliseconds, and how much dearer the last are.
void PrintWindows(const char* name, const std::vector<double>& micros) {
  const size_t n = micros.size();
  const size_t window = std::min(kWindow, n);
  const double first = Sum(micros, 0, window) / 1000;
  const double last = Sum(micros, n - window, n) / 1000;
  std::printf("%-10s %7zu appends  first %zu: %9.2f ms  last %zu: %9.2f ms  ratio %7.2f\n", name, n,
              window, first, window, last, last / first);
}

long long LinesIn(const std::string& path) {
  kx::log::LockedLogFile file(path, kx::log::LogFile::kDefaultLockWait);
  kx::log::LineTally tally;
  if (!file.IsOpen() || file.CountLines(tally) != 0)
    return -1;
  return tally.Lines();
}

}  // namespace

int main(int argc, char** argv) {
  const int appends = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int baselineAppends = argc > 2 ? std::atoi(argv[2]) : 20000;
  if (appends < 1 || baselineAppends < 1) {
    std::fprintf(stderr, "usage: %s [appends] [baseline appends]\n", argv[0]);
    return 2;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "kx_log_bench_XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::filesystem::path dir = pattern;
  const std::string mendedPath = (dir / "Protokoll_S.txt").string();
  const std::string baselinePath = (dir / "Protokoll_L.txt").string();
  int failures = 0;

  kx::log::LogFile log(mendedPath);
  std::vector<double> mended;
  mended.reserve(static_cast<size_t>(appends));
  for (int i = 0; i < appends; ++i) {
    const LogRecord record = RecordOf(i);
    const Clock::time_point start = Clock::now();
    const kx::log::AppendResult result = log.AppendLine(record);
    mended.push_back(Microseconds(Clock::now() - start));
    failures += result.ok() && result.lineNumber == i + 1 ? 0 : 1;
  }

  std::vector<double> probes;
  for (int i = 0; i < kBaselineProbes; ++i) {
    const LogRecord record = RecordOf(appends + i);
    const Clock::time_point start = Clock::now();
    failures += AppendCountingTheWholeFile(mendedPath, record) ? 0 : 1;
    probes.push_back(Microseconds(Clock::now() - start));
  }
  const long long mendedLines = LinesIn(mendedPath);

  std::vector<double> baseline;
  baseline.reserve(static_cast<size_t>(baselineAppends));
  for (int i = 0; i < baselineAppends; ++i) {
    const LogRecord record = RecordOf(i);
    const Clock::time_point start = Clock::now();
    failures += AppendCountingTheWholeFile(baselinePath, record) ? 0 : 1;
    baseline.push_back(Microseconds(Clock::now() - start));
  }
  const long long baselineLines = LinesIn(baselinePath);

  std::printf("log appends in %s\n", dir.c_str());
  PrintWindows("remembered", mended);
  PrintWindows("baseline", baseline);
  std::printf("per append behind line %d: remembered %.1f us, baseline %.1f us (mean of %d)\n",
              appends,
              Sum(mended, mended.size() - std::min(kWindow, mended.size()), mended.size()) /
                  static_cast<double>(std::min(kWindow, mended.size())),
              Sum(probes, 0, probes.size()) / kBaselineProbes, kBaselineProbes);
  std::printf("lines in the logs: %lld (expected %d), %lld (expected %d)\n", mendedLines,
              appends + kBaselineProbes, baselineLines, baselineAppends);

  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  if (failures != 0 || mendedLines != appends + kBaselineProbes ||
      baselineLines != baselineAppends) {
    std::fprintf(stderr, "%d appends failed or were misnumbered\n", failures);
    return 1;
  }
  return 0;
}
