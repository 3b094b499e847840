// After a reader took new network settings it restarts its network module; the configuration
// dialog waits for it under its new address. The wait probes every 100 ms for at most 25 s and
// reports the time passed, which the dialog shows on its progress bar. The clock is an interface
// so that a test can let the 25 s pass at once.
#pragma once

#include <cstdint>
#include <functional>

namespace kx::dialogs {

inline constexpr int kReturnWaitMs = 25000;
inline constexpr int kReturnProbeStepMs = 100;

class WaitClock {
 public:
  virtual ~WaitClock() = default;
  virtual int64_t NowMs() = 0;
  // Lets `ms` pass; the program's clock keeps the windows painted meanwhile.
  virtual void Pause(int ms) = 0;
};

// Probes until `probe` reports the reader back or the wait's range has passed; `progress` gets
// the milliseconds passed before each probe. True when the reader came back.
bool WaitForReaderReturn(WaitClock& clock, const std::function<bool()>& probe,
                         const std::function<void(int elapsedMs)>& progress);

// The steady clock; its pause runs the GUI's events, so the windows repaint while it waits.
class EventLoopClock : public WaitClock {
 public:
  int64_t NowMs() override;
  void Pause(int ms) override;
};

}  // namespace kx::dialogs
