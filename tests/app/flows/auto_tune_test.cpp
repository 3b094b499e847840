// The automatic tuning against scripted frequency sequences: the worked example, the steady-value
// rules and their pauses, every branch of the fine adjustment, the final check, and the chips
// whose points give no estimate.
#include <gtest/gtest.h>

#include <deque>
#include <utility>
#include <vector>

#include "flows/auto_tune.h"

namespace kx::flows {
namespace {

using Call = std::pair<int, int>;  // CTune, setting

// Answers the measurements in order; an empty script entry is a failed measurement. Every
// measurement also counts the pauses before it, so that a test sees where the pauses fall.
class ScriptedMeter : public FrequencyMeter, public TuningClock {
 public:
  explicit ScriptedMeter(std::deque<std::optional<int>> answers) : answers_(std::move(answers)) {}

  std::optional<int> Measure(int ctune, int setting) override {
    calls.emplace_back(ctune, setting);
    pausesBefore.push_back(pendingPauses_);
    pendingPauses_ = 0;
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected measurement at CTune " << ctune << ", setting " << setting;
      return std::nullopt;
    }
    std::optional<int> answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  void Pause(std::chrono::milliseconds duration) override {
    EXPECT_EQ(duration, std::chrono::milliseconds(20));
    ++pendingPauses_;
    ++pauses;
  }
  bool AllAnswered() const { return answers_.empty(); }

  std::vector<Call> calls;
  std::vector<int> pausesBefore;
  int pauses = 0;

 private:
  std::deque<std::optional<int>> answers_;
  int pendingPauses_ = 0;
};

// The measurements up to the start value of the worked example: setting 0 steady at 128000 Hz
// (CTune 96) and 141000 Hz (CTune 32), setting 1 at 119000 Hz and 131000 Hz; start value 61.
std::deque<std::optional<int>> WorkedExampleStart() {
  return {128000, 128000, 141000, 141000, 119000, 131000};
}

std::deque<std::optional<int>> With(std::deque<std::optional<int>> head,
                                    std::initializer_list<std::optional<int>> tail) {
  head.insert(head.end(), tail);
  return head;
}

TuneResult Tune(ScriptedMeter& meter) {
  TuneResult result = AutoTune(meter, meter);
  EXPECT_TRUE(meter.AllAnswered()) << "measurements left over";
  return result;
}

TEST(AutoTune, WorkedExampleEstimatesAndTunesAt61) {
  EXPECT_EQ(EstimateCtune(128000, 141000, 134600), 61);
  EXPECT_EQ(EstimateCtune(128000, 141000, 134800), 60);
  EXPECT_EQ(EstimateCtune(128000, 141000, 134400), 62);
  EXPECT_EQ(EstimateCtune(119000, 131000, 126200), 55);
  EXPECT_EQ(EstimateCtune(119000, 131000, 122200), 77);

  ScriptedMeter meter(With(WorkedExampleStart(), {134600, 124000}));
  const TuneResult result = Tune(meter);
  EXPECT_EQ(result.code, TuneCode::kTuned);
  EXPECT_EQ(result.ctune, 61);
  ASSERT_TRUE(result.estimates);
  EXPECT_EQ(result.estimates->mid, 61);
  EXPECT_EQ(result.estimates->high, 60);
  EXPECT_EQ(result.estimates->low, 62);
  EXPECT_EQ(result.estimates->highSetting1, 55);
  EXPECT_EQ(result.estimates->lowSetting1, 77);
  EXPECT_EQ(result.frequencySetting0, 134600);
  EXPECT_EQ(result.frequencySetting1, 124000);
  EXPECT_EQ(
      meter.calls,
      (std::vector<Call>{{96, 0}, {96, 0}, {32, 0}, {32, 0}, {96, 1}, {32, 1}, {61, 0}, {61, 1}}));
  // Within the first pair, after it, within the second pair (none after it), between the two
  // setting-1 points, none before the fine adjustment, one before the final check.
  EXPECT_EQ(meter.pausesBefore, (std::vector<int>{0, 1, 1, 1, 1, 1, 0, 1}));
}

TEST(AutoTune, StartValueComparesTheLowBytes) {
  // nMid above n'Low: the larger of nHigh and n'Low.
  EXPECT_EQ(ChooseStartValue({80, 79, 81, 55, 77}), 79);
  EXPECT_EQ(ChooseStartValue({80, 70, 81, 55, 77}), 77);
  // nMid between n'High and n'Low, both ends included.
  EXPECT_EQ(ChooseStartValue({55, 54, 56, 55, 77}), 55);
  EXPECT_EQ(ChooseStartValue({77, 76, 78, 55, 77}), 77);
  // nMid below n'High: the smaller of nLow and n'High.
  EXPECT_EQ(ChooseStartValue({50, 49, 51, 55, 77}), 51);
  EXPECT_EQ(ChooseStartValue({50, 49, 58, 55, 77}), 55);
  // A negative estimate is a large byte: -2 travels as 254.
  EXPECT_EQ(ChooseStartValue({-2, -3, -1, 55, 77}), 253);
  EXPECT_EQ(ChooseStartValue({300, 299, 301, 40, 50}), 44) << "300 travels as 44, inside 40 to 50";
}

TEST(AutoTune, SteadyValuesNeedLessThan100HzBetweenTwoMeasurements) {
  // Exactly 100 Hz apart is unsteady; the third pair agrees with 99 Hz.
  ScriptedMeter meter(
      With({128000, 128100, 128000, 127900, 128000, 128099, 141000, 141000, 119000, 131000},
           {134600, 124000}));
  const TuneResult result = Tune(meter);
  EXPECT_EQ(result.code, TuneCode::kTuned);
  EXPECT_EQ(result.ctune, 61) << "the second value of the pair counts";
  EXPECT_EQ(std::vector<int>(meter.pausesBefore.begin(), meter.pausesBefore.begin() + 7),
            (std::vector<int>{0, 1, 1, 1, 1, 1, 1}));
}

TEST(AutoTune, ThreeUnsteadyPairsEndWithCodeOne) {
  ScriptedMeter at96({128000, 128100, 128000, 128200, 128000, 127000});
  TuneResult result = Tune(at96);
  EXPECT_EQ(result.code, TuneCode::kMeasurementFailed);
  EXPECT_EQ(result.stop, TuneStop::kUnsteadyAt96);
  EXPECT_FALSE(result.ctune);

  ScriptedMeter at32({128000, 128000, 141000, 141500, 141000, 140000, 141000, 141100});
  result = Tune(at32);
  EXPECT_EQ(result.code, TuneCode::kMeasurementFailed);
  EXPECT_EQ(result.stop, TuneStop::kUnsteadyAt32);
  // No pause inside the steady pairs at 32 is missing: one between, one after each unsteady pair.
  EXPECT_EQ(at32.pausesBefore, (std::vector<int>{0, 1, 1, 1, 1, 1, 1, 1}));
}

TEST(AutoTune, FailedMeasurementsEndWithCodeOneExceptTheRepeatAtCtune32) {
  const std::optional<int> failed;
  // At 96 nothing is repeated.
  ScriptedMeter at96({128000, failed});
  EXPECT_EQ(Tune(at96).code, TuneCode::kMeasurementFailed);

  // At 32 each measurement of a pair gets a second chance after a pause.
  ScriptedMeter repeated(
      With({128000, 128000, failed, 141000, failed, 141000, 119000, 131000}, {134600, 124000}));
  const TuneResult recovered = Tune(repeated);
  EXPECT_EQ(recovered.code, TuneCode::kTuned);
  EXPECT_EQ(std::vector<int>(repeated.pausesBefore.begin() + 2, repeated.pausesBefore.begin() + 6),
            (std::vector<int>{1, 1, 1, 1}));
  ScriptedMeter twice({128000, 128000, 141000, failed, failed});
  TuneResult result = Tune(twice);
  EXPECT_EQ(result.code, TuneCode::kMeasurementFailed);
  EXPECT_EQ(result.stop, TuneStop::kMeasurementFailed);
  EXPECT_EQ(result.failedCtune, 32);
  EXPECT_EQ(result.failedSetting, 0);

  // Setting 1's points, the fine adjustment and the final check are measured once each.
  for (const auto& script : std::vector<std::deque<std::optional<int>>>{
           {128000, 128000, 141000, 141000, failed},
           {128000, 128000, 141000, 141000, 119000, failed},
           With(WorkedExampleStart(), {failed}),
           With(WorkedExampleStart(), {134800, failed}),
           With(WorkedExampleStart(), {134800, 134750, failed}),
           With(WorkedExampleStart(), {134300, 134400, failed}),
           With(WorkedExampleStart(), {134600, failed}),
       }) {
    ScriptedMeter meter(script);
    EXPECT_EQ(Tune(meter).code, TuneCode::kMeasurementFailed) << script.size();
  }
}

TEST(AutoTune, ZeroOrNegativeFrequenciesAreFailedMeasurements) {
  for (int frequency : {0, -5}) {
    ScriptedMeter meter({128000, frequency});
    EXPECT_EQ(Tune(meter).code, TuneCode::kMeasurementFailed) << frequency;
  }
  ScriptedMeter final(With(WorkedExampleStart(), {134600, 0}));
  EXPECT_EQ(Tune(final).code, TuneCode::kMeasurementFailed);
}

struct Adjustment {
  const char* branch;
  std::vector<int> setting0;  // the fine adjustment's measurements
  int finalHz;                // the final check with setting 1
  TuneCode code;
  int ctune;                // of the last measurement
  std::vector<int> ctunes;  // of the fine adjustment's measurements
};

TEST(AutoTune, FineAdjustmentTakesEachBranch) {
  const Adjustment cases[] = {
      {"inside the inner window", {134500}, 124000, TuneCode::kTuned, 61, {61}},
      {"upper edge of the inner window", {134700}, 124000, TuneCode::kTuned, 61, {61}},
      {"high, one step up is enough", {134701, 134700}, 124000, TuneCode::kTuned, 62, {61, 62}},
      {"high, one step up falls far", {134900, 133000}, 124000, TuneCode::kTuned, 62, {61, 62}},
      {"high, two steps reach the window",
       {134900, 134850, 134800},
       124000,
       TuneCode::kTuned,
       63,
       {61, 62, 63}},
      {"high, two steps overshoot",
       {134900, 134850, 134399},
       124000,
       TuneCode::kOutOfLimits,
       63,
       {61, 62, 63}},
      {"high, two steps not enough",
       {134900, 134850, 134801},
       124000,
       TuneCode::kOutOfLimits,
       63,
       {61, 62, 63}},
      {"low, one step down is enough", {134499, 134500}, 124000, TuneCode::kTuned, 60, {61, 60}},
      {"low, two steps reach the window",
       {134000, 134300, 134400},
       124000,
       TuneCode::kTuned,
       59,
       {61, 60, 59}},
      {"low, two steps not enough",
       {134000, 134300, 134399},
       124000,
       TuneCode::kOutOfLimits,
       59,
       {61, 60, 59}},
      {"final check at its lower edge", {134600}, 122200, TuneCode::kTuned, 61, {61}},
      {"final check at its upper edge", {134600}, 126200, TuneCode::kTuned, 61, {61}},
      {"final check below", {134600}, 122199, TuneCode::kOutOfLimits, 61, {61}},
      {"final check above", {134600}, 126201, TuneCode::kOutOfLimits, 61, {61}},
  };
  for (const Adjustment& c : cases) {
    std::deque<std::optional<int>> script = WorkedExampleStart();
    script.insert(script.end(), c.setting0.begin(), c.setting0.end());
    const bool adjustmentFails = c.code == TuneCode::kOutOfLimits && c.setting0.size() == 3;
    if (!adjustmentFails)
      script.push_back(c.finalHz);
    ScriptedMeter meter(script);
    const TuneResult result = Tune(meter);
    EXPECT_EQ(result.code, c.code) << c.branch;
    EXPECT_EQ(result.ctune, c.ctune) << c.branch;
    EXPECT_EQ(result.stop, c.code == TuneCode::kTuned ? TuneStop::kTuned
                           : adjustmentFails          ? TuneStop::kAdjustmentOutside
                                                      : TuneStop::kFinalCheckOutside)
        << c.branch;
    std::vector<Call> expected;
    for (int ctune : c.ctunes)
      expected.emplace_back(ctune, 0);
    if (!adjustmentFails)
      expected.emplace_back(c.ctune, 1);
    EXPECT_EQ(std::vector<Call>(meter.calls.begin() + 6, meter.calls.end()), expected) << c.branch;
    // One pause before every step and before the final check, none before the first.
    const std::vector<int> pauses(meter.pausesBefore.begin() + 6, meter.pausesBefore.end());
    EXPECT_EQ(pauses.front(), 0) << c.branch;
    for (size_t i = 1; i < pauses.size(); ++i)
      EXPECT_EQ(pauses[i], 1) << c.branch << " " << i;
  }
}

// A start value of 126 or 1: the adjustment stops at 127 and at 0, and the final check decides.
TEST(AutoTune, AdjustmentStopsAtTheEndsOfTheRange) {
  ScriptedMeter top({138000, 138000, 146000, 146000, 124000, 126000, 134900, 134800, 124000});
  TuneResult result = Tune(top);
  ASSERT_TRUE(result.estimates);
  EXPECT_EQ(result.estimates->mid, 126);
  EXPECT_EQ(result.code, TuneCode::kTuned);
  EXPECT_EQ(result.ctune, 127);
  EXPECT_EQ(std::vector<Call>(top.calls.begin() + 6, top.calls.end()),
            (std::vector<Call>{{126, 0}, {127, 0}, {127, 1}}));

  ScriptedMeter bottom({110000, 110000, 125000, 125000, 101000, 116000, 134000, 134100, 124000});
  result = Tune(bottom);
  ASSERT_TRUE(result.estimates);
  EXPECT_EQ(result.estimates->mid, 1);
  EXPECT_EQ(result.code, TuneCode::kTuned);
  EXPECT_EQ(result.ctune, 0);
  EXPECT_EQ(std::vector<Call>(bottom.calls.begin() + 6, bottom.calls.end()),
            (std::vector<Call>{{1, 0}, {0, 0}, {0, 1}}));
}

TEST(AutoTune, StartValuesOutsideOneTo126EndWithCodeFour) {
  EXPECT_EQ(ChooseStartValue({127, 127, 127, 120, 126}), 127);
  // A chip that resonates too high everywhere estimates CTune 223 (nHigh 221) for setting 0,
  // above n'Low = 77, so 221 is the start value; nothing more is measured.
  ScriptedMeter high({150000, 150000, 160000, 160000, 119000, 131000});
  TuneResult result = Tune(high);
  EXPECT_EQ(result.code, TuneCode::kCtuneOutOfRange);
  EXPECT_EQ(result.stop, TuneStop::kStartOutOfRange);
  EXPECT_EQ(result.ctune, 221);
  // nMid 0 between n'High 0 and n'Low 12 is the start value 0.
  ScriptedMeter zero({105000, 105000, 122000, 122000, 101000, 116000});
  result = Tune(zero);
  EXPECT_EQ(result.code, TuneCode::kCtuneOutOfRange);
  EXPECT_EQ(result.stop, TuneStop::kStartOutOfRange);
  EXPECT_EQ(result.ctune, 0);
}

TEST(AutoTune, PointsThatGiveNoCurveEndWithCodeFourWithoutADivision) {
  // A chip whose resonance does not move with CTune: equal steady values at 96 and 32.
  EXPECT_EQ(EstimateCtune(130000, 130000, 134600), std::nullopt);
  ScriptedMeter still({130000, 130000, 130000, 130000});
  TuneResult result = Tune(still);
  EXPECT_EQ(result.code, TuneCode::kCtuneOutOfRange);
  EXPECT_EQ(result.stop, TuneStop::kNoEstimate);
  EXPECT_FALSE(result.ctune);
  EXPECT_EQ(still.calls.size(), 4u) << "nothing is measured with setting 1";

  // The same for setting 1 only.
  ScriptedMeter still1({128000, 128000, 141000, 141000, 125000, 125000});
  result = Tune(still1);
  EXPECT_EQ(result.code, TuneCode::kCtuneOutOfRange);
  EXPECT_EQ(result.stop, TuneStop::kNoEstimate);

  // Points so close that the quotient leaves an int's range; a far-off but representable
  // estimate is a number all the same.
  EXPECT_EQ(EstimateCtune(130000, 130001, 5000), std::nullopt);
  EXPECT_EQ(EstimateCtune(130000, 130001, 20000), 171852528);
}

}  // namespace
}  // namespace kx::flows
