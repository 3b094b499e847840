// Ctrl-C (SIGINT) and SIGTERM as a request to stop between two transponders. The signals are
// blocked in every thread and taken by one waiting thread, so that no reader command is cut
// short and the SDK's own threads never see them.
#pragma once

#include <signal.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kx::cli {

class StopSignal {
 public:
  // Must exist before any other thread is started: threads inherit the blocked signals.
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  bool Requested() const { return signal_.load() != 0; }
  int Signal() const { return signal_.load(); }

  // Waits for `duration`; false (at once) when a stop was requested.
  bool Sleep(std::chrono::milliseconds duration);

 private:
  void Wait();

  sigset_t signals_;
  sigset_t previousMask_;
  std::atomic<int> signal_{0};
  std::atomic<bool> quitting_{false};
  std::mutex mutex_;
  std::condition_variable stopped_;
  std::thread waiter_;
};

}  // namespace kx::cli
