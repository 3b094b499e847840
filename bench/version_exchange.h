// The exchange every reader benchmark measures: the version request to address 1, and the size
// of its answer from the emulator's default reader (4 bytes of version).
#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

#include "bench_figures.h"
#include "link/frame_codec.h"
#include "link/reader_commands.h"
#include "link/rw_port.h"

inline const kxlf::Bytes kVersionRequest =
    kxlf::BuildFrame(kxlf::FrameMode::kXor, 1, kxlf::kVersionCommand, {});
inline constexpr size_t kVersionAnswerSize = kxlf::kFrameOverhead + 4;

// Latencies (microseconds) of up to `count` version exchanges through the SDK's connection on
// an open port; they end at the first that fails.
inline std::vector<double> TimedVersionExchanges(kxlf::CKX_RW_Port& port, int count) {
  std::vector<double> latencies;
  kxlf::Bytes payload;
  for (int i = 0; i < count; ++i) {
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    if (!port.Execute(kxlf::kVersionCommand, {}, payload))
      break;
    latencies.push_back(MicrosecondsSince(start));
  }
  return latencies;
}
