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

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_figures.h"
#include "emulator_process.h"
#include "kxlf.h"
#include "link/reader_commands.h"
#include "link/rw_port.h"
#include "version_exchange.h"

namespace {

using Clock = std::chrono::steady_clock;

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
    latencies.push_back(MicrosecondsSince(start));
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
  return TimedVersionExchanges(port, count);
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
    latencies.push_back(MicrosecondsSince(start));
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
  const PairedLatencies exchanges = AlternateRounds(
      count,
      [&](int n) { return RawExchanges(prompt.Device(), n, kVersionRequest, kVersionAnswerSize); },
      [&](int n) { return SdkExchanges(prompt.Device(), n); });
  const std::vector<double>& raw = exchanges.baseline;
  const std::vector<double>& sdk = exchanges.measured;
  if (raw.size() < static_cast<size_t>(count / 2) || sdk.size() < static_cast<size_t>(count / 2)) {
    std::fprintf(stderr, "exchanges failed (raw %zu, sdk %zu)\n", raw.size(), sdk.size());
    return 1;
  }
  const double rawMedian = Median(raw);
  const double sdkMedian = Median(sdk);

  // Block 0 of type 33; the answer carries its 8 bytes.
  const kxlf::Bytes blockRequest =
      kxlf::BuildFrame(kxlf::FrameMode::kXor, 1, kxlf::kBlockReadCommand, {33, 0, 1});
  const PairedLatencies reads = AlternateRounds(
      count,
      [&](int n) {
        return RawExchanges(prompt.Device(), n, blockRequest, kxlf::kFrameOverhead + 8);
      },
      [&](int n) { return SdkBlockReads(prompt.Device(), n); });
  const std::vector<double>& rawReads = reads.baseline;
  const std::vector<double>& sdkReads = reads.measured;
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
    const WaitCost wait =
        MeasureWait([&] { return port.Execute(kxlf::kVersionCommand, {}, payload); });
    if (!wait.done)
      return 1;
    waitCpuShare = wait.cpuShare;
  }

  double idleCpuShare;
  {
    kxlf::CKX_RW_Port port;
    if (!OpenConnection(port, prompt.Device()))
      return 1;
    idleCpuShare = IdleCpuShare();
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
