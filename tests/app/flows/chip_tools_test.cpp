// The automatic tuning through the SDK against the emulator's resonance model: chips that a
// technician can tune and those that the tuning must refuse, each for its own reason. The
// commands sent and the other chip functions are tested with the dialogs and kx-cli.
#include "emulated_reader.h"
#include "flows/auto_tune.h"
#include "flows/sic7999_tuning.h"

namespace kx::flows::testing {
namespace {

class NoPauses : public TuningClock {
 public:
  void Pause(std::chrono::milliseconds) override {}
};

class ChipToolsTest : public ConnectedReader {
 protected:
  void WithSic(const std::function<void(kxemu::Transponder&)>& change = {}) {
    kxemu::Transponder chip = kxemu::MakeTransponder(38);
    if (change)
      change(chip);
    With(chip);
  }
  TuneResult Tune() {
    SdkFrequencyMeter meter(handle_);
    return AutoTune(meter, clock_);
  }
  NoPauses clock_;
};

TEST_F(ChipToolsTest, ChipsOutsideTheWindowFailAsTheyShould) {
  struct Case {
    const char* chip;
    std::function<void(kxemu::Transponder&)> change;
    TuneCode code;
    TuneStop stop;
  };
  const Case cases[] = {
      {"resonates 6 % too high", [](kxemu::Transponder& t) { t.circuit.frequencyScale = 1.06; },
       TuneCode::kTuned, TuneStop::kTuned},
      {"resonates 6 % too low", [](kxemu::Transponder& t) { t.circuit.frequencyScale = 0.94; },
       TuneCode::kTuned, TuneStop::kTuned},
      {"resonates 10 % too high", [](kxemu::Transponder& t) { t.circuit.frequencyScale = 1.10; },
       TuneCode::kCtuneOutOfRange, TuneStop::kStartOutOfRange},
      {"resonates 10 % too low", [](kxemu::Transponder& t) { t.circuit.frequencyScale = 0.90; },
       TuneCode::kCtuneOutOfRange, TuneStop::kStartOutOfRange},
      {"setting 1 switches in too much",
       [](kxemu::Transponder& t) { t.circuit.settingCapacitanceF = 130e-12; },
       TuneCode::kOutOfLimits, TuneStop::kFinalCheckOutside},
      {"does not move with CTune", [](kxemu::Transponder& t) { t.circuit.ctuneStepF = 0; },
       TuneCode::kCtuneOutOfRange, TuneStop::kNoEstimate},
      {"wobbles", [](kxemu::Transponder& t) { t.measurementFaults.unsteadyHz = 60; },
       TuneCode::kMeasurementFailed, TuneStop::kUnsteadyAt96},
  };
  for (const Case& c : cases) {
    WithSic(c.change);
    const TuneResult result = Tune();
    EXPECT_EQ(result.code, c.code) << c.chip;
    EXPECT_EQ(result.stop, c.stop) << c.chip;
    TearDown();
    handle_ = 0;
  }
}

}  // namespace
}  // namespace kx::flows::testing
