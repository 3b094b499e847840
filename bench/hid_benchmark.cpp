// Cost of one reader exchange over a HID device through the SDK's connection, beside the same
// reports moved by direct calls into the hidapi library (the least any implementation can do),
// both against the emulator program serving its reader as a HID device of the test build of
// hidapi (kx-emulator --hid-bus), answering at once: every report crosses a socket to another
// process, as it crosses the kernel to a real reader. Also the processor time the connection
// uses while it waits 200 ms for a late answer.
//
// Usage: hid_benchmark <path of kx-emulator> <path of libkx_fake_hidapi.so> [exchanges]
#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench_figures.h"
#include "emulator_process.h"
#include "kx_fake_hidapi/fake_hid_control.h"
#include "link/reader_commands.h"
#include "link/rw_port.h"
#include "transport/hidapi_library.h"
#include "version_exchange.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace hidapi = kxlf::hidapi;

constexpr const char* kName = "7731-0042 HID";

struct Direct {
  hidapi::hid_enumerate_t enumerate;
  hidapi::hid_free_enumeration_t freeEnumeration;
  hidapi::hid_open_path_t open;
  hidapi::hid_close_t close;
  hidapi::hid_write_t write;
  hidapi::hid_read_timeout_t read;
};

// The request as one report, the answer read report by report with blocking reads. The version
// request fits one 9-byte report; its 9-byte answer comes in two (7 + 2 bytes).
std::vector<double> DirectExchanges(const Direct& api, int count) {
  hidapi::hid_device_info* all = api.enumerate(0, 0);
  hidapi::hid_device* device = all != nullptr ? api.open(all->path) : nullptr;
  if (all != nullptr)
    api.freeEnumeration(all);
  if (device == nullptr)
    return {};
  uint8_t report[9] = {0, static_cast<uint8_t>(kVersionRequest.size())};
  std::copy(kVersionRequest.begin(), kVersionRequest.end(), report + 2);
  std::vector<double> latencies;
  for (int i = 0; i < count; ++i) {
    const Clock::time_point start = Clock::now();
    if (api.write(device, report, sizeof report) != sizeof report)
      break;
    size_t got = 0;
    while (got < kVersionAnswerSize) {
      uint8_t input[8];
      if (api.read(device, input, sizeof input, -1) <= 0)
        break;
      got += input[0];
    }
    latencies.push_back(MicrosecondsSince(start));
  }
  api.close(device);
  return latencies;
}

std::vector<double> SdkExchanges(int count) {
  kxlf::CKX_RW_Port port;
  if (!port.Hid().OpenHidDevice(kName))
    return {};
  return TimedVersionExchanges(port, count);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <kx-emulator> <libkx_fake_hidapi.so> [exchanges]\n", argv[0]);
    return 2;
  }
  const std::string emulator = argv[1];
  const std::string library = argv[2];
  const int count = argc > 3 ? std::atoi(argv[3]) : 2000;
  char folder[] = "/tmp/kx-hid-bench.XXXXXX";
  if (mkdtemp(folder) == nullptr)
    return 1;
  setenv("KX_FAKE_HID_BUS", folder, 1);
  setenv(kxlf::kHidapiLibraryVariable, library.c_str(), 1);
  kxfake::FakeHidControl fake(library);
  if (!fake.Loaded()) {
    std::fprintf(stderr, "cannot load %s\n", library.c_str());
    return 1;
  }
  kxlf::HidapiLibrary binding;
  binding.Bind();
  kxlf::SetBoundHidapi(&binding);
  const Direct direct{
      fake.Symbol<hidapi::hid_enumerate_t>("hid_enumerate"),
      fake.Symbol<hidapi::hid_free_enumeration_t>("hid_free_enumeration"),
      fake.Symbol<hidapi::hid_open_path_t>("hid_open_path"),
      fake.Symbol<hidapi::hid_close_t>("hid_close"),
      fake.Symbol<hidapi::hid_write_t>("hid_write"),
      fake.Symbol<hidapi::hid_read_timeout_t>("hid_read_timeout"),
  };
  const std::vector<std::string> hidReader{"--hid-bus", folder, "--hid", "--hid-serial",
                                           "7731-0042"};

  PairedLatencies exchanges;
  {
    EmulatorProcess prompt(emulator, hidReader);
    if (!prompt.Running() || prompt.Device() != kName) {
      std::fprintf(stderr, "the emulator did not start\n");
      return 1;
    }
    exchanges = AlternateRounds(
        count, [&](int n) { return DirectExchanges(direct, n); }, SdkExchanges);
  }
  const std::vector<double>& raw = exchanges.baseline;
  const std::vector<double>& sdk = exchanges.measured;
  if (raw.size() < static_cast<size_t>(count / 2) || sdk.size() < static_cast<size_t>(count / 2)) {
    std::fprintf(stderr, "exchanges failed (direct %zu, sdk %zu)\n", raw.size(), sdk.size());
    return 1;
  }

  WaitCost wait;
  {
    std::vector<std::string> late = hidReader;
    late.insert(late.end(), {"--delay", "200"});
    EmulatorProcess lateReader(emulator, late);
    kxlf::CKX_RW_Port port;
    if (!lateReader.Running() || !port.Hid().OpenHidDevice(kName))
      return 1;
    port.SetTimeout(1000);
    kxlf::Bytes payload;
    wait = MeasureWait([&] { return port.Execute(kxlf::kVersionCommand, {}, payload); });
    if (!wait.done)
      return 1;
  }
  kxlf::SetBoundHidapi(nullptr);
  rmdir(folder);

  std::printf("version exchange over HID (9-byte reports), %zu exchanges each\n", sdk.size());
  std::printf("  direct hidapi median    %8.1f us\n", Median(raw));
  std::printf("  SDK connection median   %8.1f us\n", Median(sdk));
  std::printf("  ratio SDK / direct      %8.2f   (target <= 1.5)\n", Median(sdk) / Median(raw));
  std::printf("CPU while waiting %.0f ms  %6.2f %% of the wait   (target <= 5 %%)\n",
              wait.wallSeconds * 1000, wait.cpuShare * 100);
  return 0;
}
