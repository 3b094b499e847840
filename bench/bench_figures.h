// Figures the benchmarks take alike: latencies of single exchanges, their median, and the
// processor time of this process while it waits.
#pragma once

#include <chrono>
#include <functional>
#include <vector>

// The measured side and its baseline alternate in this many short rounds, so that both meet
// the same load on the machine.
inline constexpr int kBenchRounds = 20;

// Latencies (microseconds) of `count` exchanges of one side.
using ExchangeSeries = std::function<std::vector<double>(int count)>;

struct PairedLatencies {
  std::vector<double> baseline;
  std::vector<double> measured;
};

// About `count` exchanges of each side, in kBenchRounds rounds that alternate between them.
PairedLatencies AlternateRounds(int count, const ExchangeSeries& baseline,
                                const ExchangeSeries& measured);

double Median(std::vector<double> values);

double MicrosecondsSince(std::chrono::steady_clock::time_point start);

// Processor time of the whole process so far, every thread included.
double ProcessCpuSeconds();

struct WaitCost {
  bool done = false;
  double wallSeconds = 0;
  // Processor time of the process during `work`, as a share of its wall time.
  double cpuShare = 0;
};

// Runs `work` (which returns whether it succeeded) and what it cost the process.
WaitCost MeasureWait(const std::function<bool()>& work);

// Processor time of the process (as a share of a core) over one second in which the calling
// thread sleeps: what the threads of an idle open connection cost.
double IdleCpuShare();
