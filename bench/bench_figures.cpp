#include "bench_figures.h"

#include <algorithm>
#include <ctime>
#include <thread>

PairedLatencies AlternateRounds(int count, const ExchangeSeries& baseline,
                                const ExchangeSeries& measured) {
  PairedLatencies all;
  for (int round = 0; round < kBenchRounds; ++round) {
    const std::vector<double> b = baseline(count / kBenchRounds);
    const std::vector<double> m = measured(count / kBenchRounds);
    all.baseline.insert(all.baseline.end(), b.begin(), b.end());
    all.measured.insert(all.measured.end(), m.begin(), m.end());
  }
  return all;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double MicrosecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
      .count();
}

double ProcessCpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

WaitCost MeasureWait(const std::function<bool()>& work) {
  WaitCost cost;
  const double cpuBefore = ProcessCpuSeconds();
  const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  cost.done = work();
  cost.wallSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  cost.cpuShare = (ProcessCpuSeconds() - cpuBefore) / cost.wallSeconds;
  return cost;
}

double IdleCpuShare() {
  const double cpuBefore = ProcessCpuSeconds();
  std::this_thread::sleep_for(std::chrono::seconds(1));
  return ProcessCpuSeconds() - cpuBefore;
}
