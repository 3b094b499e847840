#include "dialogs/reader_return_wait.h"

#include <QEventLoop>
#include <QTimer>
#include <chrono>

namespace kx::dialogs {

bool WaitForReaderReturn(WaitClock& clock, const std::function<bool()>& probe,
                         const std::function<void(int elapsedMs)>& progress) {
  const int64_t start = clock.NowMs();
  for (;;) {
    const int64_t elapsed = clock.NowMs() - start;
    if (elapsed >= kReturnWaitMs)
      return false;
    progress(static_cast<int>(elapsed));
    if (probe())
      return true;
    clock.Pause(kReturnProbeStepMs);
  }
}

int64_t EventLoopClock::NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void EventLoopClock::Pause(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace kx::dialogs
