// The success beep on the default sound device through ALSA; silent where no device plays, and
// without a word about it unless KXLF_DEBUG is set.
#pragma once

#include "beeper.h"

namespace kx::app {

class AlsaBeeper : public Beeper {
 public:
  void Beep(int frequencyHz, int durationMs) override;
};

}  // namespace kx::app
