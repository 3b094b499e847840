// The success beep of a write. The window thread waits for it to end, as the operator hears it.
#pragma once

namespace kx::app {

class Beeper {
 public:
  virtual ~Beeper() = default;
  // durationMs 0 or less: no sound.
  virtual void Beep(int frequencyHz, int durationMs) = 0;
};

// For machines without a sound device.
class SilentBeeper : public Beeper {
 public:
  void Beep(int, int) override {}
};

}  // namespace kx::app
