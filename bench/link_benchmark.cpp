// Cost of one reader exchange through the SDK's connection, and of single-block reads through
// KxLfReadBlocks, each beside the same bytes moved with plain blocking termios (the least any
// implementation can do), all against the emulator program on a pseudo-terminal answering at
// once. Also the processor time the connection uses while it waits for a late answer, and
// while a port sits idle.
//
// Usage: link_benchmark <path of kx-emulator> [exchanges]
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

#include "emulator_process.h"
#include "kxlf.h"
#include "link/reader_commands.h"
#include "link/rw_port.h"

namespace {

using Clock = std::chrono::steady_clock;

// The two sides alternate in short rounds, so that both meet the same load on the machine.
constexpr int kRounds = 20;

// The emulator's default reader answers the version command with 4 bytes.
const kxlf::Bytes kVersionRequest =
    kxlf::BuildFrame(kxlf::FrameMode::kXor, 1, kxlf::kVersionCommand, {});
constexpr size_t kVersionAnswerSize = kxlf::kFrameOverhead + 4;

double ProcessCpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// One request and its answer of `answerSize` bytes, moved with blocking reads and writes.
std::vector<double> RawExchanges(const std::string& device, int count,
                                 const std::vector<uint8_t>& request, size_t answerSize) {
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0)
    return {};
  termios tio{};
  ::tcgetattr(fd, &tio);
  ::cfmakeraw(&tio);
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  ::tcsetattr(fd, TCSANOW, &tio);
  std::vector<double> latencies;
  for (int i = 0; i < count; ++i) {
    const Clock::time_point start = Clock::now();
    if (::write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size()))
      break;
    uint8_t answer[300];
    size_t got = 0;
    while (got < answerSize) {
      const ssize_t n = ::read(fd, answer + got, sizeof answer - got);
      if (n <= 0)
        break;
      got += static_cast<size_t>(n);
    }
    latencies.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  ::close(fd);
  return latencies;
}

bool OpenConnection(kxlf::CKX_RW_Port& port, const std::string& device) {
  return port.OpenPort(device, 19200, 'N', 8, 1, 512) && port.StartWorker();
}

std::vector<double> SdkExchanges(const std::string& device, int count) {
  kxlf::CKX_RW_Port port;
  if (!OpenConnection(port, device))
    return {};
  std::vector<double> latencies;
  kxlf::Bytes payload;
  for (int i = 0; i < count; ++i) {
    const Clock::time_point start = Clock::now();
    if (!port.Execute(kxlf::kVersionCommand, {}, payload))
      break;
    latencies.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  return latencies;
}

// Single-block reads of type 33 (8 bytes) through the public entry point.
std::vector<double> SdkBlockReads(const std::string& device, int count) {
  const int handle = KxLfOpen(device.c_str(), 19200, 0, 500);
  if (handle <= 0)
    return {};
  std::vector<double> latencies;
  unsigned char block[8];
  for (int i = 0; i < count; ++i) {
    const Clock::time_point start = Clock::now();
    if (KxLfReadBlocks(handle, 33, i % 8, block, 8) != 8)
      break;
    latencies.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  KxLfClose(handle);
  return latencies;
}

double PerSecond(const std::vector<double>& latenciesUs) {
  double total = 0;
  for (double latency : latenciesUs)
    total += latency;
  return latenciesUs.size() / (total / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <kx-emulator> [exchanges]\n", argv[0]);
    return 2;
  }
  const std::string emulator = argv[1];
  const int count = argc > 2 ? std::atoi(argv[2]) : 2000;

  EmulatorProcess prompt(emulator, {"--transponder", "33"});
  if (!prompt.Running()) {
    std::fprintf(stderr, "the emulator did not start\n");
    return 1;
  }
  std::vector<double> raw, sdk;
  for (int round = 0; round < kRounds; ++round) {
    const std::vector<double> r =
        RawExchanges(prompt.Device(), count / kRounds, kVersionRequest, kVersionAnswerSize);
    const std::vector<double> s = SdkExchanges(prompt.Device(), count / kRounds);
    raw.insert(raw.end(), r.begin(), r.end());
    sdk.insert(sdk.end(), s.begin(), s.end());
  }
  if (raw.size() < static_cast<size_t>(count / 2) || sdk.size() < static_cast<size_t>(count / 2)) {
    std::fprintf(stderr, "exchanges failed (raw %zu, sdk %zu)\n", raw.size(), sdk.size());
    return 1;
  }
  const double rawMedian = Median(raw);
  const double sdkMedian = Median(sdk);

  // Block 0 of type 33; the answer carries its 8 bytes.
  const kxlf::Bytes blockRequest =
      kxlf::BuildFrame(kxlf::FrameMode::kXor, 1, kxlf::kBlockReadCommand, {33, 0, 1});
  std::vector<double> rawReads, sdkReads;
  for (int round = 0; round < kRounds; ++round) {
    const std::vector<double> r =
        RawExchanges(prompt.Device(), count / kRounds, blockRequest, kxlf::kFrameOverhead + 8);
    const std::vector<double> s = SdkBlockReads(prompt.Device(), count / kRounds);
    rawReads.insert(rawReads.end(), r.begin(), r.end());
    sdkReads.insert(sdkReads.end(), s.begin(), s.end());
  }
  if (rawReads.size() < static_cast<size_t>(count / 2) ||
      sdkReads.size() < static_cast<size_t>(count / 2)) {
    std::fprintf(stderr, "block reads failed (raw %zu, sdk %zu)\n", rawReads.size(),
                 sdkReads.size());
    return 1;
  }

  double waitCpuShare;
  {
    EmulatorProcess late(emulator, {"--delay", "200"});
    kxlf::CKX_RW_Port port;
    if (!late.Running() || !OpenConnection(port, late.Device()))
      return 1;
    port.SetTimeout(1000);
    kxlf::Bytes payload;
    const double cpuBefore = ProcessCpuSeconds();
    const Clock::time_point start = Clock::now();
    const bool answered = port.Execute(kxlf::kVersionCommand, {}, payload);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    waitCpuShare = (ProcessCpuSeconds() - cpuBefore) / wall;
    if (!answered)
      return 1;
  }

  double idleCpuShare;
  {
    kxlf::CKX_RW_Port port;
    if (!OpenConnection(port, prompt.Device()))
      return 1;
    const double cpuBefore = ProcessCpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    idleCpuShare = ProcessCpuSeconds() - cpuBefore;
  }

  std::printf("version exchange over a pseudo-terminal, %zu exchanges each\n", sdk.size());
  std::printf("  raw termios median      %8.1f us\n", rawMedian);
  std::printf("  SDK connection median   %8.1f us\n", sdkMedian);
  std::printf("  ratio SDK / raw         %8.2f   (target <= 1.5)\n", sdkMedian / rawMedian);
  std::printf("single-block reads (type 33, 8 bytes), %zu reads each\n", sdkReads.size());
  std::printf("  raw termios             %8.0f reads/s\n", PerSecond(rawReads));
  std::printf("  KxLfReadBlocks          %8.0f reads/s\n", PerSecond(sdkReads));
  std::printf("  ratio SDK / raw         %8.2f   (target >= 0.8)\n",
              PerSecond(sdkReads) / PerSecond(rawReads));
  std::printf("CPU while waiting 200 ms  %8.2f %% of the wait   (target <= 5 %%)\n",
              waitCpuShare * 100);
  std::printf("CPU of one idle open port %8.3f %% of a core      (target <= 1 %%)\n",
              idleCpuShare * 100);
  return 0;
}
