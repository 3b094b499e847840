#include "chip_session.h"

#include "connection.h"
#include "flows/transponder_types.h"
#include "kxlf.h"

namespace kx::cli {

namespace {

std::string_view Label(int typeIndex) {
  const flows::TransponderType* type = flows::FindTransponderType(typeIndex);
  return type != nullptr ? std::string_view(type->label) : std::string_view();
}

}  // namespace

ChipSession::ChipSession(const Context& context, int typeIndex)
    : context_(context), typeIndex_(typeIndex) {
  if (context.options.wait)
    stop_.emplace();
}

ChipSession::~ChipSession() {
  if (handle_ > 0)
    KxLfClose(handle_);
}

std::optional<int> ChipSession::Start() {
  flows::ConnectResult connected;
  if (auto problem = ConnectReader(context_.options, context_.stored, connected))
    return context_.out.Fail(*problem);
  handle_ = connected.handle;
  if (!context_.options.wait)
    return std::nullopt;
  context_.out.Progress(Prefix() + "waiting for a " + std::string(Label(typeIndex_)) +
                        " transponder (Ctrl-C stops)");
  const FieldResult entered =
      FieldWatch(handle_, typeIndex_, *stop_).WaitForEntry([](const std::string&) { return true; });
  if (entered.event != FieldEvent::kSeen)
    return Failed(entered);
  uid_ = entered.uid;
  return std::nullopt;
}

int ChipSession::Finish(int exitCode) {
  if (!context_.options.wait || uid_.empty())
    return exitCode;
  context_.out.Progress(Prefix() + "take transponder " + uid_ + " off the reader");
  const FieldResult left = FieldWatch(handle_, typeIndex_, *stop_).WaitForExit(uid_);
  return left.event == FieldEvent::kSeen ? exitCode : Failed(left);
}

std::string ChipSession::Prefix() const {
  return std::string(CommandName(context_.options.command)) + ": ";
}

int ChipSession::Failed(const FieldResult& result) {
  if (result.event == FieldEvent::kStopped) {
    context_.out.Progress(Prefix() + "stopped by Ctrl-C");
    return kExitInterrupted;
  }
  return context_.out.Fail(FlowProblem(*result.failure, Label(typeIndex_), {}));
}

}  // namespace kx::cli
