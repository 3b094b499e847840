#include "log/log_line.h"

#include <cstdio>

namespace kx::log {

namespace {

std::string Printed(const char* format, long long number) {
  char text[32];
  const int length = std::snprintf(text, sizeof text, format, number);
  return std::string(text, static_cast<size_t>(length));
}

}  // namespace

std::string_view FormatText(convert::DataFormat format) {
  using convert::DataFormat;
  switch (format) {
    case DataFormat::kHexBinary:
      return "HEX BIN";
    case DataFormat::kHexAscii:
      return "HEX ASCII";
    case DataFormat::kDecimalBinary:
    case DataFormat::kDecimalAscii:
      return "DEZ ASCII";
    case DataFormat::kDataBinary:
      return "DATEN BIN";
    case DataFormat::kDataAscii:
      return "DATEN ASCII";
  }
  return {};
}

std::string TimeStampText(const std::tm& localTime) {
  char text[64];
  const size_t length = std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &localTime);
  return std::string(text, length);
}

std::string LineBody(const LogRecord& record, const std::tm& localTime) {
  std::string body = TimeStampText(localTime);
  body += '\t';
  body += FormatText(record.format);
  body += '\t';
  body += Printed("%4lld", record.startBlock);
  body += '\t';
  body += Printed("%4lld", record.byteCount);
  body += '\t';
  body += record.value;
  body += '\n';
  return body;
}

std::string NumberedLine(long long number, std::string_view body) {
  std::string line = Printed("%6lld", number);
  line += '\t';
  line += body;
  return line;
}

std::string TextModeBytes(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() + 2);
  for (const char c : text) {
    if (c == '\n')
      bytes += '\r';
    bytes += c;
  }
  return bytes;
}

}  // namespace kx::log
