// The chip tools through the SDK against the emulated reader: the automatic tuning of typical and
// untunable SIC7999 chips with the exact commands sent, CTune reads, measurements without a
// frequency, and the TI HDX+ configuration byte.
#include "emulated_reader.h"
#include "flows/auto_tune.h"
#include "flows/hdx_plus_config.h"
#include "flows/sic7999_tuning.h"

namespace kx::flows::testing {
namespace {

constexpr uint8_t kSpecial = kxlf::kSpecialCommand;

class NoPauses : public TuningClock {
 public:
  void Pause(std::chrono::milliseconds) override { ++pauses; }
  int pauses = 0;
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
    TuneResult result = AutoTune(meter, clock_);
    lastError_ = meter.lastError();
    return result;
  }
  void AnswerWith(const Bytes& payload) {
    kxemu::Faults faults;
    faults.payloadOverride = payload;
    model_->SetFaults(faults);
  }
  NoPauses clock_;
  int lastError_ = 0;
};

TEST_F(ChipToolsTest, TypicalChipTunesIntoBothWindows) {
  WithSic();
  const TuneResult result = Tune();
  ASSERT_EQ(result.code, TuneCode::kTuned) << static_cast<int>(result.stop);
  ASSERT_TRUE(result.ctune);
  EXPECT_EQ(model_->CurrentTransponder()->ctune, *result.ctune) << "the chip keeps the value";
  EXPECT_GE(*result.frequencySetting0, 134400);
  EXPECT_LE(*result.frequencySetting0, 134800);
  EXPECT_GE(*result.frequencySetting1, 122200);
  EXPECT_LE(*result.frequencySetting1, 126200);
  // Every command is a measurement with the CTune applied; the first six locate the curve.
  const std::vector<Bytes> commands = Commands();
  ASSERT_GE(commands.size(), 8u);
  const std::vector<Bytes> curve(commands.begin(), commands.begin() + 6);
  EXPECT_EQ(curve, (std::vector<Bytes>{{kSpecial, 38, 1, 96, 1, 0, 0},
                                       {kSpecial, 38, 1, 96, 1, 0, 0},
                                       {kSpecial, 38, 1, 32, 1, 0, 0},
                                       {kSpecial, 38, 1, 32, 1, 0, 0},
                                       {kSpecial, 38, 1, 96, 1, 1, 0},
                                       {kSpecial, 38, 1, 32, 1, 1, 0}}));
  EXPECT_EQ(commands.back(),
            (Bytes{kSpecial, 38, 1, static_cast<uint8_t>(*result.ctune), 1, 1, 0}));
  EXPECT_GE(clock_.pauses, 6);
}

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

TEST_F(ChipToolsTest, FailedMeasurementsEndTheTuningWithTheReadersError) {
  // Three failing requests are one failed measurement after the SDK's attempts.
  WithSic([](kxemu::Transponder& t) { t.measurementFaults.failures = 3; });
  TuneResult result = Tune();
  EXPECT_EQ(result.code, TuneCode::kMeasurementFailed);
  EXPECT_EQ(result.stop, TuneStop::kMeasurementFailed);
  EXPECT_EQ(lastError_, kNoTransponderStatus);
  EXPECT_EQ(Commands().size(), 3u);

  // A measurement that succeeds without a frequency is a failed one; no new error code.
  model_->ClearReceivedRequests();
  AnswerWith({0x7F});
  result = Tune();
  EXPECT_EQ(result.code, TuneCode::kMeasurementFailed);
  EXPECT_EQ(lastError_, 0);
  EXPECT_EQ(Commands().size(), 1u);
  EXPECT_FALSE(MeasureResonance(handle_, 0, 0, false));

  // A reader with no transponder at all.
  model_->SetFaults({});
  model_->SetTransponder(std::nullopt);
  EXPECT_EQ(Tune().code, TuneCode::kMeasurementFailed);
  EXPECT_EQ(lastError_, kNoTransponderStatus);
}

TEST_F(ChipToolsTest, MeasurementsWithAndWithoutTheCtune) {
  WithSic([](kxemu::Transponder& t) { t.ctune = 61; });
  AnswerWith({0x6F, 0x3B});  // 15215: 134604 Hz
  const std::optional<Measurement> present = MeasureResonance(handle_, 0, 0, false);
  ASSERT_TRUE(present);
  EXPECT_EQ(present->frequencyHz, 134604);
  EXPECT_EQ(present->periodUs, 15215);
  EXPECT_EQ(present->deviationHz, 4);
  model_->SetFaults({});
  ASSERT_TRUE(MeasureResonance(handle_, 1, 70, true));
  SweepCtune(handle_, 1);
  const std::vector<Bytes> commands = Commands();
  ASSERT_EQ(commands.size(), 2u + 65u);
  EXPECT_EQ(commands[0], (Bytes{kSpecial, 38, 1, 0, 0, 0, 0}));
  EXPECT_EQ(commands[1], (Bytes{kSpecial, 38, 1, 70, 1, 1, 0}));
  EXPECT_EQ(commands[2], (Bytes{kSpecial, 38, 1, 32, 1, 1, 0}));
  EXPECT_EQ(commands.back(), (Bytes{kSpecial, 38, 1, 96, 1, 1, 0}));
}

TEST_F(ChipToolsTest, CtuneComesFromByteEightOfTheTuningRecord) {
  WithSic([](kxemu::Transponder& t) { t.ctune = 77; });
  EXPECT_EQ(ReadCtune(handle_), 77);
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{kSpecial, 38, 2}}));
  AnswerWith({1, 2, 3, 4, 5, 6, 7, 8, 9});
  EXPECT_EQ(ReadCtune(handle_), 9) << "nine bytes are enough";
  AnswerWith({1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(ReadCtune(handle_), std::nullopt);
  model_->SetFaults({});
  model_->SetTransponder(std::nullopt);
  EXPECT_EQ(ReadCtune(handle_), std::nullopt);
}

TEST_F(ChipToolsTest, HdxPlusConfigurationByteTravelsWithChipCode35) {
  kxemu::Transponder hdx = kxemu::MakeTransponder(35);
  hdx.chipConfig = 0xB5;
  With(hdx);
  EXPECT_EQ(ReadHdxPlusConfig(handle_), 0xB5);
  EXPECT_TRUE(WriteHdxPlusConfig(handle_, 0x4F));
  EXPECT_EQ(model_->CurrentTransponder()->chipConfig, 0x4F);
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{kSpecial, 35, 1}, {kSpecial, 35, 2, 0x4F}}));
  AnswerWith({});
  EXPECT_EQ(ReadHdxPlusConfig(handle_), std::nullopt) << "an empty answer holds no byte";
  model_->SetFaults({});
  model_->SetTransponder(kxemu::MakeTransponder(38));
  EXPECT_EQ(ReadHdxPlusConfig(handle_), std::nullopt);
  EXPECT_FALSE(WriteHdxPlusConfig(handle_, 0));
  EXPECT_EQ(KxLfGetLastError(handle_), kNoTransponderStatus);
}

}  // namespace
}  // namespace kx::flows::testing
