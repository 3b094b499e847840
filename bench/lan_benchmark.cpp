// Cost of a LAN reader connection: the version exchange through the SDK beside the same bytes
// over a plain blocking TCP socket in the same run, the processor time of one idle open LAN
// connection, and the time of one reader search. The emulator program serves the reader in a
// network namespace of its own, the measuring process works in another; both are created
// here and removed at the end, so nothing leaves the machine's own namespace.
//
// Usage (as root): lan_benchmark <path of kx-emulator> [exchanges]
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench_figures.h"
#include "kxlf.h"
#include "link/reader_commands.h"
#include "netns_bench.h"
#include "sdk_app.h"
#include "version_exchange.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kReader = "198.18.0.2";
constexpr uint16_t kPort = 10001;

int ConnectRaw() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in reader{};
  reader.sin_family = AF_INET;
  reader.sin_port = htons(kPort);
  inet_pton(AF_INET, kReader, &reader.sin_addr);
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&reader), sizeof reader) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The least any implementation can do: blocking writes and reads on one TCP connection.
std::vector<double> RawExchanges(int count) {
  const int fd = ConnectRaw();
  std::vector<double> latencies;
  for (int i = 0; fd >= 0 && i < count; ++i) {
    const Clock::time_point start = Clock::now();
    if (::send(fd, kVersionRequest.data(), kVersionRequest.size(), 0) !=
        static_cast<ssize_t>(kVersionRequest.size()))
      break;
    uint8_t answer[64];
    size_t got = 0;
    while (got < kVersionAnswerSize) {
      const ssize_t n = ::recv(fd, answer + got, sizeof answer - got, 0);
      if (n <= 0)
        break;
      got += static_cast<size_t>(n);
    }
    latencies.push_back(MicrosecondsSince(start));
  }
  if (fd >= 0)
    ::close(fd);
  return latencies;
}

std::vector<double> SdkExchanges(int count) {
  const int handle = KxLfOpen(kReader, 19200, 0, 500);
  // The connection itself, as the link benchmark measures the serial one: the entry point's
  // own work (finding the handle, copying the answer) is the same for every transport.
  const std::shared_ptr<kxlf::Connection> connection =
      kxlf::CKX_LF_SDKApp::Instance().FindConnection(handle);
  std::vector<double> latencies;
  if (connection)
    latencies = TimedVersionExchanges(connection->port, count);
  if (handle > 0)
    KxLfClose(handle);
  return latencies;
}

pid_t StartEmulator(const std::string& ns, const std::string& emulator) {
  const std::string tcp = std::string(kReader) + ":" + std::to_string(kPort);
  std::vector<std::string> args = {"ip",     "netns", "exec", ns,
                                   emulator, "--tcp", tcp,    "--network-module"};
  std::vector<char*> argv;
  for (std::string& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawnp(&pid, "ip", &actions, nullptr, argv.data(), environ) != 0)
    pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <kx-emulator> [exchanges]\n", argv[0]);
    return 2;
  }
  const int count = argc > 2 ? std::max(kBenchRounds, std::atoi(argv[2])) : 2000;

  kxtest::NetnsBench bench;
  const std::string host = bench.AddNamespace();
  const std::string reader = host.empty() ? std::string() : bench.AddNamespace();
  if (reader.empty() ||
      bench.Link(host, "198.18.0.1/24", reader, std::string(kReader) + "/24").empty()) {
    std::fprintf(stderr, "network namespaces cannot be created here (run as root)\n");
    return 77;
  }
  const pid_t emulator = StartEmulator(reader, argv[1]);
  int result = 1;
  {
    kxtest::ScopedNetns inHost(host);
    // The emulator is up when it takes a connection.
    for (int attempt = 0; attempt < 200; ++attempt) {
      const int probe = ConnectRaw();
      if (probe >= 0) {
        ::close(probe);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const PairedLatencies exchanges = AlternateRounds(count, RawExchanges, SdkExchanges);
    const std::vector<double>& raw = exchanges.baseline;
    const std::vector<double>& sdk = exchanges.measured;

    double idleShare = -1;
    const int handle = KxLfOpen(kReader, 19200, 0, 500);
    if (handle > 0) {
      idleShare = IdleCpuShare();
      KxLfClose(handle);
    }

    std::vector<double> searches;
    std::vector<char> list(4096);
    for (int i = 0; i < 3; ++i) {
      const Clock::time_point start = Clock::now();
      KxLfFindLanReaders(list.data(), static_cast<int>(list.size()));
      searches.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }

    if (raw.size() >= static_cast<size_t>(count / 2) &&
        sdk.size() >= static_cast<size_t>(count / 2) && idleShare >= 0 && list[0] != '\0') {
      const double rawMedian = Median(raw);
      const double sdkMedian = Median(sdk);
      std::printf("LAN version exchange, %zu exchanges each\n", sdk.size());
      std::printf("  plain blocking TCP median %8.1f us\n", rawMedian);
      std::printf("  SDK LAN connection median %8.1f us\n", sdkMedian);
      std::printf("  ratio SDK / plain         %8.2f   (target <= 1.2)\n", sdkMedian / rawMedian);
      std::printf("CPU of one idle LAN connection %7.3f %% of a core   (target < 0.1 %%)\n",
                  idleShare * 100);
      std::printf("KxLfFindLanReaders, one adapter, one reader (%s): median %.0f ms of 3\n",
                  list.data(), Median(searches));
      result = 0;
    } else {
      std::fprintf(stderr, "measurement failed (raw %zu, sdk %zu exchanges)\n", raw.size(),
                   sdk.size());
    }
  }
  if (emulator > 0) {
    ::kill(emulator, SIGTERM);
    ::waitpid(emulator, nullptr, 0);
  }
  return result;
}
