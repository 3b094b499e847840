// program: counting values written to one transponder after another, resumable from a state
// file without writing a value twice or skipping one.
#include <cstdint>
#include <limits>

#include "commands.h"
#include "connection.h"
#include "convert/decimal.h"
#include "convert/write_conversion.h"
#include "field_watch.h"
#include "job.h"
#include "log_writer.h"
#include "program_state.h"
#include "stop_signal.h"

namespace kx::cli {

namespace {

std::string Transponders(long count) {
  return std::to_string(count) + (count == 1 ? " transponder" : " transponders");
}

bool IsNumberFormat(convert::DataFormat format) {
  return format == convert::DataFormat::kHexBinary || format == convert::DataFormat::kHexAscii ||
         format == convert::DataFormat::kDecimalBinary ||
         format == convert::DataFormat::kDecimalAscii;
}

std::string Upper(std::string text) {
  for (char& c : text)
    c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  return text;
}

// Whether `next` comes after `current` in the sequence, so that it was not written before.
bool CountsUp(convert::DataFormat format, const std::string& current, const std::string& next) {
  if (next == current)
    return false;
  if (format == convert::DataFormat::kHexBinary || format == convert::DataFormat::kHexAscii) {
    // The hex increment never lengthens the text: an all-F number comes back as zeros.
    return !(next.size() == current.size() && Upper(next) < Upper(current));
  }
  // The decimal increment wraps from the largest 64-bit number to the smallest.
  const std::string smallest = convert::FormatDecimal(std::numeric_limits<int64_t>::min());
  return next.find(smallest) == std::string::npos || current.find(smallest) != std::string::npos;
}

class ProgramRun {
 public:
  ProgramRun(const Context& context, const Job& job, StopSignal& stop)
      : context_(context),
        out_(context.out),
        job_(job),
        stop_(stop),
        count_(*context.options.count),
        log_(context.options.logFile) {}

  int Run();

 private:
  enum class Step { kNext, kStop, kEnd };

  // Loads or starts the state; a problem ends the run before the reader is touched.
  std::optional<Problem> Prepare();
  std::optional<Problem> Save();
  Step ProgramOne(int handle);
  // Verifies, logs, rings and records one programmed transponder.
  std::optional<Problem> Succeeded(const std::string& uid, bool resumed,
                                   const std::string& counter);
  void Rejected(const std::string& uid, const Problem& problem, const std::string& counter);
  int Finish(int exitCode, std::string_view stopped, const std::optional<Problem>& problem = {});
  std::string Counter() const {
    return "[" + std::to_string(state_.done + 1) + "/" + std::to_string(count_) + "] ";
  }

  const Context& context_;
  Output& out_;
  Job job_;
  StopSignal& stop_;
  long count_;
  LogWriter log_;
  std::optional<std::string> statePath_;
  StateLock lock_;
  ProgramState state_;
  std::optional<Problem> endProblem_;
};

std::optional<Problem> ProgramRun::Prepare() {
  const Options& options = context_.options;
  state_.job = ProgramJob{job_.type->index,  job_.startBlock, job_.n,        job_.format,
                          job_.leadingZeros, job_.extraText,  *options.value};
  state_.nextValue = *options.value;
  if (!options.stateFile) {
    out_.Progress("program: no --state file, so an interrupted run cannot be continued");
    return std::nullopt;
  }
  statePath_ = options.stateFile;
  std::string error;
  if (!lock_.Acquire(*statePath_, &error))
    return Problem{kExitUsage, "cannot use the state file '" + *statePath_ + "': " + error + "."};
  ProgramState stored;
  switch (LoadStateFile(*statePath_, stored, &error)) {
    case StateLoad::kMissing:
      return Save();
    case StateLoad::kBroken:
      return Problem{kExitUsage, "the state file '" + *statePath_ + "' cannot be read: " + error +
                                     ". Give another --state file, or delete it to start afresh."};
    case StateLoad::kLoaded:
      break;
  }
  if (!(stored.job == state_.job)) {
    return Problem{kExitUsage, "the state file '" + *statePath_ +
                                   "' belongs to another job (other type, blocks, format, "
                                   "switches or first value). Give the same options and VALUE "
                                   "as that job, or another --state file."};
  }
  state_ = stored;
  if (state_.exhausted && state_.done < count_) {
    return Problem{kExitUsage, "the values of this job are used up at " + state_.nextValue +
                                   ": start a new job with another --state file."};
  }
  out_.Progress("program: continuing the job of '" + *statePath_ + "', " +
                Transponders(state_.done) + " done");
  return std::nullopt;
}

std::optional<Problem> ProgramRun::Save() {
  if (!statePath_)
    return std::nullopt;
  std::string error;
  if (SaveStateFile(*statePath_, state_, &error))
    return std::nullopt;
  return Problem{kExitUsage, "cannot save the state file '" + *statePath_ + "': " + error +
                                 ". Nothing more is written; free the disk or fix the path and "
                                 "run the same command again."};
}

int ProgramRun::Run() {
  if (auto problem = Prepare())
    return out_.Fail(*problem);
  if (state_.done >= count_)
    return Finish(kExitSuccess, "count");
  if (auto problem = CheckWriteValue(job_, state_.nextValue))
    return out_.Fail(*problem);

  flows::ConnectResult connected;
  if (auto problem = ConnectReader(context_.options, context_.stored, connected))
    return out_.Fail(*problem);
  const OpenConnection connection(connected);
  out_.Progress("program: " + Transponders(count_ - state_.done) + " to go, next value " +
                state_.nextValue + " (Ctrl-C stops)");

  while (state_.done < count_) {
    switch (ProgramOne(connection.Handle())) {
      case Step::kNext:
        continue;
      case Step::kStop:
        return Finish(kExitInterrupted, "interrupted");
      case Step::kEnd:
        return Finish(endProblem_->exitCode, ProblemKey(endProblem_->exitCode), endProblem_);
    }
  }
  return Finish(kExitSuccess, "count");
}

ProgramRun::Step ProgramRun::ProgramOne(int handle) {
  FieldWatch field(handle, job_.type->index, stop_);
  const std::string counter = Counter();
  const std::string value = state_.nextValue;
  const bool resuming = !state_.pendingUid.empty();
  if (resuming) {
    out_.Progress(counter + "put transponder " + state_.pendingUid +
                  " back on the reader: the write of " + value + " to it was interrupted");
  } else {
    out_.Progress(counter + "waiting for a transponder for " + value);
  }
  const FieldResult entered = field.WaitForEntry([&](const std::string& uid) {
    return uid != state_.lastUid && (!resuming || uid == state_.pendingUid);
  });
  if (entered.event == FieldEvent::kStopped)
    return Step::kStop;
  if (entered.event == FieldEvent::kFailed) {
    endProblem_ = FlowProblem(*entered.failure, job_.type->label, {});
    return Step::kEnd;
  }
  const std::string& uid = entered.uid;
  const convert::WriteBuffer expected =
      convert::TextToBytes(value, job_.format, job_.n, job_.type->index, job_.leadingZeros);

  bool done = false;
  bool resumed = false;
  if (resuming) {
    // The interrupted write may have reached the transponder: then it is finished already.
    const flows::Verification already =
        flows::VerifyBlocks(handle, job_.type->index, job_.startBlock, expected);
    done = resumed = already.ok() && already.matches;
  }
  if (!done) {
    state_.pendingUid = uid;
    if ((endProblem_ = Save()))
      return Step::kEnd;
    const flows::WriteOutcome written = flows::WriteOnce(handle, job_.Write(value, true));
    const flows::Verification check =
        flows::VerifyBlocks(handle, job_.type->index, job_.startBlock, expected);
    done = check.ok() && check.matches;
    if (!done && check.ok()) {
      // The transponder answers and does not hold the value: it is certainly not written.
      const Problem problem =
          written.ok() ? Problem{kExitVerifyFailed, "the blocks read back differ from the value"}
                       : FlowProblem(*written.failure, job_.type->label, {});
      Rejected(uid, problem, counter);
      state_.pendingUid.clear();
      if ((endProblem_ = Save()))
        return Step::kEnd;
    } else if (!done) {
      out_.Progress(counter + uid + " left the field or failed before " + value +
                    " could be checked; the value waits for it");
      const FieldResult left = field.WaitForExit(uid);
      return left.event == FieldEvent::kStopped ? Step::kStop : Step::kNext;
    }
  }
  if (done) {
    if ((endProblem_ = Succeeded(uid, resumed, counter)))
      return Step::kEnd;
    // The last one may stay on the reader.
    if (state_.done >= count_)
      return Step::kNext;
    if (state_.exhausted) {
      endProblem_ = Problem{kExitUsage, "the values are used up: " + state_.nextValue +
                                            " would repeat or cut off an earlier value. Start a "
                                            "new job with another first value and --state file."};
      return Step::kEnd;
    }
  }

  out_.Progress(counter + "take transponder " + uid + " off the reader");
  const FieldResult left = field.WaitForExit(uid);
  if (left.event == FieldEvent::kStopped)
    return Step::kStop;
  if (left.event == FieldEvent::kFailed) {
    endProblem_ = FlowProblem(*left.failure, job_.type->label, {});
    return Step::kEnd;
  }
  return Step::kNext;
}

std::optional<Problem> ProgramRun::Succeeded(const std::string& uid, bool resumed,
                                             const std::string& counter) {
  const std::string value = state_.nextValue;
  const flows::WrittenTexts texts = flows::TextsAfterWrite(job_.Write(value, true));
  log_.Append(job_, texts.loggedText, out_);
  if (context_.stored.beepTimeMs > 0)
    out_.Bell();
  const long number = state_.done + 1;
  JsonObject json = out_.Begin();
  json.Add("number", static_cast<int64_t>(number))
      .Add("count", static_cast<int64_t>(count_))
      .Add("uid", uid)
      .Add("value", texts.shownText)
      .Add("next", texts.nextText)
      .Add("resumed", resumed);
  if (!out_.Quiet() || out_.Json()) {
    out_.Result(json, SuccessLine(texts.successLine, texts.shownText, static_cast<int>(number)) +
                          " (transponder " + uid + ", " + std::to_string(number) + " of " +
                          std::to_string(count_) + ")");
  }
  out_.Progress(counter + uid + ": " + texts.shownText +
                (resumed ? " was written before the interruption" : " written and verified"));

  state_.done = number;
  state_.lastUid = uid;
  state_.pendingUid.clear();
  state_.exhausted = !CountsUp(job_.format, texts.shownText, texts.nextText) ||
                     CheckWriteValue(job_, texts.nextText).has_value();
  state_.nextValue = texts.nextText;
  return Save();
}

void ProgramRun::Rejected(const std::string& uid, const Problem& problem,
                          const std::string& counter) {
  JsonObject json = out_.Begin(false);
  json.Add("number", static_cast<int64_t>(state_.done + 1))
      .Add("uid", uid)
      .Add("value", state_.nextValue)
      .Add("error", ProblemKey(problem.exitCode))
      .Add("message", problem.message);
  out_.JsonLine(json);
  out_.Progress(counter + uid + " failed: " + problem.message + " - " + state_.nextValue +
                " goes to the next transponder");
}

int ProgramRun::Finish(int exitCode, std::string_view stopped,
                       const std::optional<Problem>& problem) {
  if (problem)
    out_.Error(problem->message);
  else if (exitCode == kExitInterrupted)
    out_.Progress("program: stopped by Ctrl-C");
  out_.Progress("program: " + std::to_string(state_.done) + " of " + Transponders(count_) +
                " done, next value " + state_.nextValue);
  JsonObject json = out_.Begin(exitCode == kExitSuccess);
  json.Add("exit_code", exitCode)
      .Add("stopped", stopped)
      .Add("done", static_cast<int64_t>(state_.done))
      .Add("count", static_cast<int64_t>(count_))
      .Add("next", state_.nextValue);
  if (problem)
    json.Add("message", problem->message);
  out_.JsonLine(json);
  return exitCode;
}

}  // namespace

int RunProgram(const Context& context) {
  const Options& options = context.options;
  Job job;
  if (auto problem = ParseJob(options, job))
    return context.out.Fail(*problem);
  if (!IsNumberFormat(job.format)) {
    return context.out.Fail(Problem{kExitUsage,
                                    "program counts values up, which only the number "
                                    "formats can: use hex-binary, hex-ascii, "
                                    "decimal-binary or decimal-ascii."});
  }
  if (auto problem = CheckWriteValue(job, *options.value))
    return context.out.Fail(*problem);
  // Before the SDK starts its threads, so that they never take the stop signals.
  StopSignal stop;
  ProgramRun run(context, job, stop);
  return run.Run();
}

}  // namespace kx::cli
