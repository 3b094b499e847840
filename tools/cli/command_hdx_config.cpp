// hdx-config: the configuration byte of the TI HDX+ (TMS37190) in the field, read, or written
// and read back.
#include <cstdio>
#include <string>

#include "chip_session.h"
#include "commands.h"
#include "flows/failure.h"
#include "flows/hdx_plus_config.h"
#include "kxlf.h"

namespace kx::cli {

namespace {

constexpr int kHdxPlusIndex = 3;
constexpr char kHdxPlusLabel[] = "TI HDX+";
constexpr long kRfuMask = 7;

std::string ByteText(uint8_t byte) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", byte);
  return text;
}

std::string Describe(uint8_t byte) {
  const flows::HdxPlusConfig config = flows::DecodeHdxPlusConfig(byte);
  return ByteText(byte) + ": life cycle " + std::to_string(config.lifeCycle) + ", " +
         (config.qFactor != 0 ? "HighQ" : "LowQ") + ", discharge " +
         (config.discharge != 0 ? "on" : "off") + ", RFU " + std::to_string(config.rfu);
}

void AddFields(JsonObject& json, uint8_t byte) {
  const flows::HdxPlusConfig config = flows::DecodeHdxPlusConfig(byte);
  json.Add("byte", ByteText(byte))
      .Add("life_cycle", config.lifeCycle)
      .Add("q_factor", config.qFactor != 0 ? "high" : "low")
      .Add("discharge", config.discharge != 0 ? "on" : "off")
      .Add("rfu", config.rfu);
}

// A failed chip function; an empty answer leaves no error code of its own.
Problem ChipProblem(int handle, std::string_view what) {
  const int error = KxLfGetLastError(handle);
  if (error == 0) {
    return {kExitReaderError, "the reader answered the " + std::string(what) +
                                  " without the configuration byte. Try again."};
  }
  return FlowProblem(flows::Failure{flows::ErrorMessageId(error), error}, kHdxPlusLabel, {});
}

int ReadConfig(const Context& context, int handle) {
  const std::optional<uint8_t> byte = flows::ReadHdxPlusConfig(handle);
  if (!byte)
    return context.out.Fail(ChipProblem(handle, "configuration read"));
  JsonObject json = context.out.Begin();
  AddFields(json, *byte);
  context.out.Result(json, Describe(*byte));
  return kExitSuccess;
}

int WriteConfig(const Context& context, int handle) {
  const Options& options = context.options;
  Output& out = context.out;
  // Fields that are not given keep the chip's present values.
  std::optional<uint8_t> previous;
  if (!options.lifeCycle || !options.qFactor || !options.discharge || !options.rfu) {
    previous = flows::ReadHdxPlusConfig(handle);
    if (!previous)
      return out.Fail(ChipProblem(handle, "configuration read"));
  }
  flows::HdxPlusConfig config = flows::DecodeHdxPlusConfig(previous.value_or(0));
  config.lifeCycle = options.lifeCycle.value_or(config.lifeCycle);
  config.qFactor = options.qFactor.value_or(config.qFactor);
  config.discharge = options.discharge.value_or(config.discharge);
  if (options.rfu) {
    if (*options.rfu > kRfuMask) {
      out.Warning("--rfu " + std::to_string(*options.rfu) + " has three bits only: RFU " +
                  std::to_string(*options.rfu & kRfuMask) + " is written");
    }
    config.rfu = static_cast<int>(*options.rfu & kRfuMask);
  }
  const uint8_t byte = flows::EncodeHdxPlusConfig(config);
  if (!flows::WriteHdxPlusConfig(handle, byte))
    return out.Fail(ChipProblem(handle, "configuration write"));
  const std::optional<uint8_t> readBack = flows::ReadHdxPlusConfig(handle);
  if (!readBack)
    return out.Fail(ChipProblem(handle, "read-back"));
  if (*readBack != byte) {
    return out.Fail(Problem{kExitVerifyFailed, "the chip holds " + ByteText(*readBack) + " after " +
                                                   ByteText(byte) +
                                                   " was written. Check that the transponder "
                                                   "lies still on the reader and try again."});
  }
  JsonObject json = out.Begin();
  AddFields(json, byte);
  if (previous)
    json.Add("previous", ByteText(*previous));
  out.Result(json, "written and read back " + Describe(byte));
  return kExitSuccess;
}

}  // namespace

int RunHdxConfig(const Context& context) {
  ChipSession session(context, kHdxPlusIndex);
  if (std::optional<int> failed = session.Start())
    return *failed;
  const bool read = context.options.action == "read";
  return session.Finish(read ? ReadConfig(context, session.Handle())
                             : WriteConfig(context, session.Handle()));
}

}  // namespace kx::cli
