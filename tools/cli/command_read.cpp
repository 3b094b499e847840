// read and uid: one read of the transponder in the field.
#include "commands.h"
#include "connection.h"
#include "job.h"
#include "log_writer.h"
#include "names.h"

namespace kx::cli {

int RunRead(const Context& context) {
  Job job;
  if (auto problem = ParseJob(context.options, job))
    return context.out.Fail(*problem);
  flows::ConnectResult connected;
  if (auto problem = ConnectReader(context.options, context.stored, connected))
    return context.out.Fail(*problem);
  const OpenConnection connection(connected);

  const flows::ReadDisplay read = flows::ReadOnce(connection.Handle(), job.Read());
  if (!read.ok()) {
    return context.out.Fail(
        FlowProblem(*read.failure, job.type->label, ValueContext{{}, job.n, job.format}));
  }
  LogWriter(context.options.logFile).Append(job, read.text, context.out);
  JsonObject json = context.out.Begin();
  job.AddTo(json).Add("text", read.text).Add("bytes", HexText(read.bytes));
  context.out.Result(json, read.text);
  return kExitSuccess;
}

int RunUid(const Context& context) {
  const flows::TransponderType* type = flows::FindTransponderType(*context.options.typeIndex);
  const convert::DataFormat format = context.options.format;
  flows::ConnectResult connected;
  if (auto problem = ConnectReader(context.options, context.stored, connected))
    return context.out.Fail(*problem);
  const OpenConnection connection(connected);

  const flows::ReadDisplay uid =
      flows::ReadUid(connection.Handle(), type->index, format, flows::kUidSize);
  // The window shows as many UID bytes as its length says; the tool shows them all.
  if (!uid.ok()) {
    return context.out.Fail(
        FlowProblem(*uid.failure, type->label, ValueContext{{}, flows::kUidSize, format}));
  }
  JsonObject json = context.out.Begin();
  json.Add("type", TypeName(type->index))
      .Add("format", FormatName(format))
      .Add("text", uid.text)
      .Add("uid", HexText(uid.bytes));
  context.out.Result(json, uid.text);
  return kExitSuccess;
}

}  // namespace kx::cli
