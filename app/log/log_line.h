// One line of the read or write log: line number, time stamp, format text, start block, byte
// count and value, separated by tabs.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "convert/data_format.h"

namespace kx::log {

// What a line records of one successful read or write.
struct LogRecord {
  convert::DataFormat format = convert::DataFormat::kHexBinary;
  int startBlock = 0;  // the caller passes 0 for Read Only and TI Read / Write
  int byteCount = 0;
  std::string value;  // the write text as written, or the display text of the read
};

// "HEX BIN", "HEX ASCII", "DEZ ASCII" (both decimal formats), "DATEN BIN", "DATEN ASCII"; empty
// for a value outside the enumeration.
std::string_view FormatText(convert::DataFormat format);

// "08.12.2025 14:03:59": day, month, four-digit year, 24-hour time.
std::string TimeStampText(const std::tm& localTime);

// Everything of the line but its number, ended by "\n".
std::string LineBody(const LogRecord& record, const std::tm& localTime);

// The body behind its number, right-aligned in six places, and a tab.
std::string NumberedLine(long long number, std::string_view body);

// Every "\n" as "\r\n", which is what a text-mode write on Windows puts into the file. Logs are
// written so on every system, so that a log moves between systems and keeps its numbering.
std::string TextModeBytes(std::string_view text);

}  // namespace kx::log
