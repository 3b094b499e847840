#include "job.h"

#include "convert/byte_text.h"
#include "convert/validation.h"
#include "convert/write_conversion.h"
#include "names.h"

namespace kx::cli {

std::string HexText(const convert::Bytes& bytes, bool spaced) {
  return convert::FormatBytes(bytes, static_cast<int>(bytes.size()), convert::ByteTextMode::kHex,
                              spaced);
}

flows::ReadRequest Job::Read() const {
  return flows::ReadRequest{type->index, startBlock, n, format};
}

flows::WriteRequest Job::Write(std::string_view value, bool autoIncrement) const {
  flows::WriteRequest request;
  request.typeIndex = type->index;
  request.startBlock = startBlock;
  request.n = n;
  request.format = format;
  request.text = std::string(value);
  request.leadingZeros = leadingZeros;
  request.extraText = extraText;
  request.autoIncrement = autoIncrement;
  return request;
}

JsonObject& Job::AddTo(JsonObject& json) const {
  return json.Add("type", TypeName(type->index))
      .Add("start", static_cast<int>(UsedStartBlock()))
      .Add("length", n)
      .Add("format", FormatName(format));
}

std::optional<Problem> ParseJob(const Options& options, Job& job) {
  job.type = flows::FindTransponderType(options.typeIndex.value_or(-1));
  job.format = options.format;
  job.leadingZeros = options.leadingZeros;
  job.extraText = options.extraText;
  const flows::StartBlock start = flows::ValidateStartBlock(job.type->index, options.startText);
  if (!start.ok())
    return StartBlockProblem(*start.failure);
  job.startBlock = start.value;
  convert::WriteInput input;
  input.format = options.format;
  input.typeIndex = job.type->index;
  input.lengthText = options.lengthText;
  input.checkWriteText = false;
  const convert::ValidatedInput validated = convert::ValidateWriteInput(input);
  if (!validated.ok())
    return ValidationProblem(*validated.failure, ValueContext{{}, 0, options.format});
  job.n = validated.n;
  return std::nullopt;
}

std::optional<Problem> CheckWriteValue(const Job& job, std::string_view value) {
  const ValueContext context{value, job.n, job.format};
  if (!job.type->writable) {
    return Problem{kExitUsage, std::string(job.type->label) +
                                   " transponders cannot be written: choose another --type."};
  }
  convert::WriteInput input;
  input.format = job.format;
  input.typeIndex = job.type->index;
  const std::string length = std::to_string(job.n);
  input.lengthText = length;
  input.writeText = value;
  input.extraTextAllowed = job.extraText;
  const convert::ValidatedInput validated = convert::ValidateWriteInput(input);
  if (!validated.ok())
    return ValidationProblem(*validated.failure, context);
  const convert::WriteBuffer buffer =
      convert::TextToBytes(value, job.format, job.n, job.type->index, job.leadingZeros);
  if (!buffer.ok())
    return ValidationProblem(*buffer.failure, context);
  if (job.format == convert::DataFormat::kDecimalAscii &&
      value.size() > static_cast<size_t>(job.n)) {
    return Problem{kExitUsage, "'" + std::string(value) + "' has more than " +
                                   std::to_string(job.n) +
                                   " characters: the transponder would get only the first " +
                                   std::to_string(job.n) + ". Raise --length."};
  }
  return std::nullopt;
}

}  // namespace kx::cli
