// write: one write of the value, as the window's single write.
#include "commands.h"
#include "connection.h"
#include "job.h"
#include "log_writer.h"

namespace kx::cli {

namespace {

// A single write starts the window's write counter at 1.
constexpr int kFirstWrite = 1;

}  // namespace

int RunWrite(const Context& context) {
  const std::string& value = *context.options.value;
  Job job;
  if (auto problem = ParseJob(context.options, job))
    return context.out.Fail(*problem);
  if (auto problem = CheckWriteValue(job, value))
    return context.out.Fail(*problem);
  const ValueContext valueContext{value, job.n, job.format};

  flows::ConnectResult connected;
  if (auto problem = ConnectReader(context.options, context.stored, connected))
    return context.out.Fail(*problem);
  const OpenConnection connection(connected);

  const flows::WriteOutcome written =
      flows::WriteOnce(connection.Handle(), job.Write(value, false));
  if (!written.ok())
    return context.out.Fail(FlowProblem(*written.failure, job.type->label, valueContext));
  if (context.options.verify) {
    const flows::Verification check =
        flows::VerifyBlocks(connection.Handle(), job.type->index, job.startBlock, written.buffer);
    if (!check.ok())
      return context.out.Fail(FlowProblem(*check.failure, job.type->label, valueContext));
    if (!check.matches) {
      return context.out.Fail(
          Problem{kExitVerifyFailed, "the transponder holds other data than was written: wrote " +
                                         HexText(written.buffer.bytes, true) + ", read back " +
                                         HexText(check.readBack, true) +
                                         ". Keep the transponder still on the reader and write "
                                         "again; a locked or damaged transponder keeps failing."});
    }
  }
  LogWriter(context.options.logFile).Append(job, written.loggedText, context.out);

  JsonObject json = context.out.Begin();
  job.AddTo(json)
      .Add("value", written.shownText)
      .Add("bytes", HexText(written.buffer.bytes))
      .Add("verified", context.options.verify);
  if (!context.out.Quiet() || context.out.Json())
    context.out.Result(json, SuccessLine(written.successLine, written.shownText, kFirstWrite));
  return kExitSuccess;
}

}  // namespace kx::cli
