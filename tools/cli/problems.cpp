#include "problems.h"

#include <cstdio>

#include "kxlf.h"
#include "names.h"

namespace kx::cli {

namespace {

std::string Replace(std::string text, std::string_view marker, std::string_view by) {
  const size_t at = text.find(marker);
  if (at != std::string::npos)
    text.replace(at, marker.size(), by);
  return text;
}

}  // namespace

std::string_view ProblemKey(int exitCode) {
  switch (exitCode) {
    case kExitUsage:
      return "usage";
    case kExitNoReader:
      return "no_reader";
    case kExitNoTransponder:
      return "no_transponder";
    case kExitVerifyFailed:
      return "verify_failed";
    case kExitNotTuned:
      return "not_tuned";
    case kExitInterrupted:
      return "interrupted";
    default:
      return "reader_error";
  }
}

std::string StatusText(flows::StatusMessage message) {
  using flows::StatusMessage;
  switch (message) {
    case StatusMessage::kPortOpenFailed:
      return "Error opening the port";
    case StatusMessage::kTimeout:
      return "Timeout";
    case StatusMessage::kBlockLengthWrong:
      return "Block length is not correct";
    case StatusMessage::kWrongDataCount:
      return "Error: wrong number of data bytes";
    case StatusMessage::kNoSendData:
      return "No data to send";
    case StatusMessage::kNoReaderAtPort:
      return "No reader is connected to this port. Please choose another interface.";
    case StatusMessage::kNoTransponder:
      return "No transponder present";
    case StatusMessage::kReaderNotSupported:
      return "This program needs a KX-P71D!";
    case StatusMessage::kValueWritten:
      return "Value <%s> written successfully";
    case StatusMessage::kDataWritten:
      return "<%04d> Data written successfully!";
    case StatusMessage::kUnknownError:
      break;
  }
  return "An unknown error occurred";
}

std::string SuccessLine(flows::StatusMessage line, std::string_view shownText, int counter) {
  if (line == flows::StatusMessage::kDataWritten) {
    char number[16];
    std::snprintf(number, sizeof number, "%04d", counter);
    return Replace(StatusText(line), "%04d", number);
  }
  return Replace(StatusText(flows::StatusMessage::kValueWritten), "%s", shownText);
}

Problem ValidationProblem(const convert::Message& message, const ValueContext& context) {
  const std::string value = "'" + std::string(context.value) + "'";
  const std::string n = std::to_string(context.n);
  const std::string format(FormatName(context.format));
  if (const auto* id = std::get_if<convert::MessageId>(&message)) {
    switch (*id) {
      case convert::MessageId::kNoHexInput:
        if (context.format == convert::DataFormat::kDataBinary) {
          return {kExitUsage, value +
                                  " is no data-binary value: give hex byte pairs such as "
                                  "'01 A2 FF' (digits 0-9, A-F and blanks)."};
        }
        return {kExitUsage, value + " is no hex number: use the digits 0-9 and A-F only" +
                                (context.format == convert::DataFormat::kHexAscii
                                     ? " (or --extra-text for text around the number)."
                                     : ".")};
      case convert::MessageId::kNoDecimalInput:
        return {kExitUsage, value + " is no decimal number: use the digits 0-9 only" +
                                (context.format == convert::DataFormat::kDecimalAscii
                                     ? " (or --extra-text for text around the number)."
                                     : ".")};
      case convert::MessageId::kByteCountTooSmall:
        return {kExitUsage, value + " does not fit into " + n +
                                " bytes: give a smaller value or a larger --length."};
      case convert::MessageId::kDecimalByteCountAbove8:
        return {kExitUsage, "decimal-binary holds at most 8 bytes: use --length 1 to 8."};
      case convert::MessageId::kNoData:
        return {kExitUsage, "the value to write is empty: give at least one character."};
      case convert::MessageId::kDataFieldTooLong:
        return {kExitUsage, value + " holds more byte pairs than --length " + n +
                                " allows: give fewer bytes or a larger --length."};
    }
  }
  const auto& standard = std::get<convert::StandardMessage>(message);
  switch (standard.id) {
    case convert::StandardMessageId::kEnterPositiveInteger:
      return {kExitUsage, "--length wants a positive whole number of bytes."};
    case convert::StandardMessageId::kEnterIntegerBetween:
      return {kExitUsage, "--length must lie between " + std::to_string(standard.first) + " and " +
                              std::to_string(standard.second) + " bytes for " + format + "."};
    case convert::StandardMessageId::kEnterAtMostChars:
      break;
  }
  return {kExitUsage, value + " is too long: " + format + " with --length " + n +
                          " takes at most " + std::to_string(standard.first) +
                          " characters. Shorten the value or raise --length."};
}

Problem StartBlockProblem(const convert::Message& message) {
  const auto* standard = std::get_if<convert::StandardMessage>(&message);
  if (standard != nullptr && standard->id == convert::StandardMessageId::kEnterIntegerBetween) {
    return {kExitUsage, "--start must lie between " + std::to_string(standard->first) + " and " +
                            std::to_string(standard->second) + " for this transponder type."};
  }
  return {kExitUsage, "--start wants a block number (a whole number from 0)."};
}

Problem ConnectProblem(const flows::ConnectResult& result, std::string_view port) {
  const std::string name = "'" + std::string(port) + "'";
  if (result.reader) {
    return {kExitNoReader, "the reader at " + name + " is a " + result.reader->modelName +
                               " (type code " + TypeCodeText(result.reader->typeCode) +
                               "), which kx-cli does not support. Connect a reader of the "
                               "KX-P71D family."};
  }
  if (result.openResult == -1) {
    return {kExitNoReader, "cannot open the port " + name +
                               ". Check the name with 'kx-cli ports' and that you may use the "
                               "device (for serial ports: member of the group dialout)."};
  }
  return {kExitNoReader, "no reader answers at " + name +
                             ". Check the cable and the power, the --baud and --serial settings "
                             "and the device address after ':', or choose another port "
                             "('kx-cli ports' lists them)."};
}

Problem FlowProblem(const flows::Failure& failure, std::string_view typeLabel,
                    const ValueContext& context) {
  if (const auto* conversion = std::get_if<convert::Message>(&failure.message))
    return ValidationProblem(*conversion, context);
  switch (failure.sdkError) {
    case flows::kNoTransponderStatus:
      return {kExitNoTransponder, "no transponder in the field. Put a transponder of type " +
                                      std::string(typeLabel) + " on the reader and try again."};
    case KXLF_ERR_TIMEOUT:
    case KXLF_ERR_NO_ANSWER:
      return {kExitReaderError,
              "the reader did not answer in time. Check the connection, or "
              "give it longer with --timeout."};
    case KXLF_ERR_CHECKSUM:
      return {kExitReaderError,
              "the reader's answer was garbled (checksum). Check the cable and "
              "the --baud and --serial settings."};
    case KXLF_ERR_NO_CONNECTION:
      return {kExitNoReader,
              "the connection to the reader is gone. Check the cable and run the "
              "command again."};
    default:
      break;
  }
  const auto status = std::get<flows::StatusMessage>(failure.message);
  return {kExitReaderError, StatusText(status) + " (reader error " +
                                std::to_string(failure.sdkError) +
                                "). Check that the transponder type, --start and --length suit "
                                "the transponder, and try again."};
}

}  // namespace kx::cli
