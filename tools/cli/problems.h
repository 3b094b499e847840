// Exit codes and English messages of kx-cli. Every message says what went wrong and what to do.
#pragma once

#include <string>
#include <string_view>

#include "convert/data_format.h"
#include "convert/messages.h"
#include "flows/connect.h"
#include "flows/failure.h"

namespace kx::cli {

enum ExitCode : int {
  kExitSuccess = 0,
  kExitUsage = 2,          // usage or validation error; nothing was sent
  kExitNoReader = 3,       // no (supported) reader at the port
  kExitNoTransponder = 4,  // no transponder in the field
  kExitVerifyFailed = 5,   // the read-back differs from what was written
  kExitReaderError = 6,    // any other reader error
  kExitNotTuned = 7,       // tune: the chip cannot be tuned into its window
  kExitInterrupted = 130,  // program stopped by Ctrl-C; the state file holds the progress
};

struct Problem {
  int exitCode = kExitUsage;
  std::string message;
};

// "usage", "no_reader", "no_transponder", "verify_failed", "reader_error", "interrupted".
std::string_view ProblemKey(int exitCode);

// The English status line of the main window.
std::string StatusText(flows::StatusMessage message);
// "Value <1A2B> written successfully" or "<0001> Data written successfully!".
std::string SuccessLine(flows::StatusMessage line, std::string_view shownText, int counter);

// What the value is judged against in validation messages.
struct ValueContext {
  std::string_view value;
  int n = 0;
  convert::DataFormat format = convert::DataFormat::kHexBinary;
};

Problem ValidationProblem(const convert::Message& message, const ValueContext& context);
Problem StartBlockProblem(const convert::Message& message);
Problem ConnectProblem(const flows::ConnectResult& result, std::string_view port);
// A reader or conversion failure of a flow; `typeLabel` names the transponder to put down.
Problem FlowProblem(const flows::Failure& failure, std::string_view typeLabel,
                    const ValueContext& context);

}  // namespace kx::cli
