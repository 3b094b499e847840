// tune: the automatic tuning of the SIC7999 in the field, or one measurement of its resonance.
#include <string>

#include "chip_session.h"
#include "commands.h"
#include "flows/auto_tune.h"
#include "flows/failure.h"
#include "flows/sic7999_tuning.h"

namespace kx::cli {

namespace {

constexpr int kSic7999Index = 6;
constexpr char kSic7999Label[] = "SIC7999 / SIC279";
// The setting the program's tuning window starts with.
constexpr int kDefaultSetting = 1;

std::string Hz(int frequency) {
  return std::to_string(frequency) + " Hz";
}

std::string Signed(int value) {
  return (value > 0 ? "+" : "") + std::to_string(value);
}

// A failed measurement: the reader's error, or an answer without a frequency.
// `which` names the measurement: "at CTune 61 with setting 0".
Problem MeasurementProblem(int error, const std::string& which) {
  if (error == 0) {
    return {kExitReaderError, "the reader answered the measurement " + which +
                                  " without a frequency. Check the transponder's position and "
                                  "try again."};
  }
  return FlowProblem(flows::Failure{flows::ErrorMessageId(error), error}, kSic7999Label, {});
}

std::string Window(int low, int high) {
  return Hz(low) + " to " + Hz(high);
}

// Why a tuning that measured everything failed.
std::string NotTunedReason(const flows::TuneResult& result) {
  using flows::TuneStop;
  const std::string ctune = result.ctune ? std::to_string(*result.ctune) : std::string("?");
  switch (result.stop) {
    case TuneStop::kUnsteadyAt96:
    case TuneStop::kUnsteadyAt32:
      return std::string("the measurements at CTune ") +
             (result.stop == TuneStop::kUnsteadyAt96 ? "96" : "32") +
             " kept differing by 100 Hz or more. Lay the transponder still in the middle of the "
             "field and try again.";
    case TuneStop::kNoEstimate:
      return "the resonance hardly moves between CTune 32 and 96, so no CTune can be computed. "
             "The chip's tuning does not work.";
    case TuneStop::kStartOutOfRange:
      return "the chip would need CTune " + ctune +
             ", outside 1 to 126: its resonance lies too far from the targets.";
    case TuneStop::kAdjustmentOutside:
      return "with setting 0 the chip reaches " + Hz(result.frequencySetting0.value_or(0)) +
             " at CTune " + ctune + ", outside " + Window(134400, 134800) + ".";
    case TuneStop::kFinalCheckOutside:
      return "with setting 1 the chip resonates at " + Hz(result.frequencySetting1.value_or(0)) +
             " at CTune " + ctune + ", outside " + Window(122200, 126200) + ".";
    case TuneStop::kTuned:
    case TuneStop::kMeasurementFailed:
      break;
  }
  return {};
}

void AddTuneFields(JsonObject& json, const flows::TuneResult& result, const std::string& uid) {
  if (!uid.empty())
    json.Add("uid", uid);
  json.Add("code", static_cast<int>(result.code));
  if (result.ctune)
    json.Add("ctune", *result.ctune);
  if (result.frequencySetting0)
    json.Add("frequency_setting0", *result.frequencySetting0);
  if (result.frequencySetting1)
    json.Add("frequency_setting1", *result.frequencySetting1);
}

int AutoTuneChip(const Context& context, const ChipSession& session) {
  Output& out = context.out;
  out.Progress("tune: tuning the chip");
  flows::SdkFrequencyMeter meter(session.Handle());
  flows::SleepingClock clock;
  const flows::TuneResult result = flows::AutoTune(meter, clock);
  if (result.ok()) {
    JsonObject json = out.Begin();
    AddTuneFields(json, result, session.Uid());
    out.Result(json, "CTune " + std::to_string(*result.ctune) + ": " +
                         Hz(*result.frequencySetting0) + " with setting 0, " +
                         Hz(*result.frequencySetting1) + " with setting 1");
    return kExitSuccess;
  }
  if (result.stop == flows::TuneStop::kMeasurementFailed) {
    return out.Fail(MeasurementProblem(
        meter.lastError(), "at CTune " + std::to_string(result.failedCtune) + " with setting " +
                               std::to_string(result.failedSetting)));
  }
  const std::string message = "the chip cannot be tuned (code " +
                              std::to_string(static_cast<int>(result.code)) +
                              "): " + NotTunedReason(result);
  out.Error(message);
  JsonObject json = out.Begin(false);
  json.Add("exit_code", static_cast<int>(kExitNotTuned))
      .Add("error", ProblemKey(kExitNotTuned))
      .Add("message", message);
  AddTuneFields(json, result, session.Uid());
  out.JsonLine(json);
  return kExitNotTuned;
}

int MeasureOnce(const Context& context, const ChipSession& session) {
  const Options& options = context.options;
  const int setting = options.setting.value_or(kDefaultSetting);
  const int ctune = options.ctune.value_or(0);
  const int handle = session.Handle();
  int error = 0;
  const std::optional<flows::Measurement> measured =
      flows::MeasureResonance(handle, setting, ctune, options.ctune.has_value(), &error);
  if (!measured)
    return context.out.Fail(MeasurementProblem(
        error, (options.ctune ? "at CTune " + std::to_string(ctune) : std::string("of the chip")) +
                   " with setting " + std::to_string(setting)));
  const flows::FrequencySetting& target = flows::FrequencySettingOf(setting);
  JsonObject json = context.out.Begin();
  if (!session.Uid().empty())
    json.Add("uid", session.Uid());
  json.Add("setting", setting);
  if (options.ctune)
    json.Add("ctune", *options.ctune);
  json.Add("frequency", measured->frequencyHz)
      .Add("period_us", measured->periodUs)
      .Add("deviation", measured->deviationHz)
      .Add("in_window", measured->frequencyHz >= target.minimumHz() &&
                            measured->frequencyHz <= target.maximumHz());
  std::string text = Hz(measured->frequencyHz) + ", " + std::to_string(measured->periodUs) +
                     " µs, " + Signed(measured->deviationHz) + " Hz from " + Hz(target.targetHz) +
                     " (setting " + std::to_string(setting) +
                     (options.ctune ? ", CTune " + std::to_string(*options.ctune) + " sent" : "") +
                     ")";
  context.out.Result(json, text);
  return kExitSuccess;
}

}  // namespace

int RunTune(const Context& context) {
  ChipSession session(context, kSic7999Index);
  if (std::optional<int> failed = session.Start())
    return *failed;
  const bool single = context.options.measure || context.options.ctune.has_value();
  return session.Finish(single ? MeasureOnce(context, session) : AutoTuneChip(context, session));
}

}  // namespace kx::cli
