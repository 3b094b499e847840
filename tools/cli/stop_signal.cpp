#include "stop_signal.h"

#include <pthread.h>

namespace kx::cli {

namespace {

// Sent by the destructor to end the waiting thread; never a stop request.
constexpr int kWakeSignal = SIGUSR1;

}  // namespace

StopSignal::StopSignal() {
  sigemptyset(&signals_);
  sigaddset(&signals_, SIGINT);
  sigaddset(&signals_, SIGTERM);
  sigaddset(&signals_, kWakeSignal);
  pthread_sigmask(SIG_BLOCK, &signals_, &previousMask_);
  waiter_ = std::thread([this] { Wait(); });
}

StopSignal::~StopSignal() {
  quitting_ = true;
  pthread_kill(waiter_.native_handle(), kWakeSignal);
  waiter_.join();
  pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

void StopSignal::Wait() {
  for (;;) {
    int received = 0;
    if (sigwait(&signals_, &received) != 0)
      continue;
    if (received == kWakeSignal) {
      if (quitting_)
        return;
      continue;
    }
    {
      std::lock_guard lock(mutex_);
      signal_ = received;
    }
    stopped_.notify_all();
  }
}

bool StopSignal::Sleep(std::chrono::milliseconds duration) {
  std::unique_lock lock(mutex_);
  return !stopped_.wait_for(lock, duration, [this] { return Requested(); });
}

}  // namespace kx::cli
