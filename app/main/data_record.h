// A data record file ("*.HWDat"): one programming job, the write text and the settings that decide
// how it is written, in the section "Settings" of an INI file under the settings' own key names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kx::app {

inline constexpr char kDataRecordSection[] = "Settings";

// The values as they stand in the file; they are not checked against the window's ranges.
struct DataRecord {
  std::string writeText;  // "LastData", 8-bit text
  int autoIncrement = 0;
  int leadingZeros = 0;
  int extraText = 0;
  int dataFormat = 0;
  int startBlock = 0;
  int byteCount = 0;
};

// Sets the seven keys in the file, which is created when missing; other sections and entries
// stay where they are. False when the file cannot be opened or written; it then keeps what it
// held.
bool SaveDataRecord(const std::string& path, const DataRecord& record);

// The record in an existing file: a missing key reads as an empty text or 0. nullopt when there
// is no such file or it cannot be read; nothing is created then.
std::optional<DataRecord> ReadDataRecord(const std::string& path);

// A record's number as the C library reads one: leading blanks and a sign, then the digits up to
// the first other character; 0 without digits. Values beyond an int are held at its limits.
int RecordInteger(std::string_view text);

}  // namespace kx::app
