#include "data_record.h"

#include <cctype>
#include <climits>
#include <filesystem>
#include <system_error>

#include "ini/ini_ex.h"
#include "main_settings.h"

namespace kx::app {

namespace {

// The integer keys in the order they are written; a file saved into a new name lists them so.
struct IntegerKey {
  const char* name;
  int DataRecord::*value;
};

constexpr IntegerKey kIntegerKeys[] = {
    {key::kAutoIncrement, &DataRecord::autoIncrement},
    {key::kLeadingZeros, &DataRecord::leadingZeros},
    {key::kExtraText, &DataRecord::extraText},
    {key::kDataFormat, &DataRecord::dataFormat},
    {key::kStartBlock, &DataRecord::startBlock},
    {key::kByteCount, &DataRecord::byteCount},
};

}  // namespace

bool SaveDataRecord(const std::string& path, const DataRecord& record) {
  ini::CPrivateProfile profile;
  if (!profile.Open(path))
    return false;
  // The INI rules leave a file unchanged for a value that differs only in letter case, but in a
  // write text the case is data: "abc" and "ABC" put different bytes on a transponder.
  const std::string stored = profile.GetString(kDataRecordSection, key::kLastData);
  if (stored != record.writeText && !stored.empty())
    profile.SetString(kDataRecordSection, key::kLastData, {});
  profile.SetString(kDataRecordSection, key::kLastData, record.writeText);
  for (const IntegerKey& integer : kIntegerKeys)
    profile.SetInt(kDataRecordSection, integer.name, record.*integer.value);
  return profile.Save();
}

std::optional<DataRecord> ReadDataRecord(const std::string& path) {
  // Opening creates a missing file; loading must not.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    return std::nullopt;
  ini::CPrivateProfile profile;
  if (!profile.Open(path))
    return std::nullopt;
  DataRecord record;
  record.writeText = profile.GetString(kDataRecordSection, key::kLastData);
  for (const IntegerKey& integer : kIntegerKeys)
    record.*integer.value = RecordInteger(profile.GetString(kDataRecordSection, integer.name));
  return record;
}

int RecordInteger(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])) != 0)
    ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  // Counted on the negative side, which reaches one further than the positive one.
  long long value = 0;
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0; ++at) {
    value = value * 10 - (text[at] - '0');
    if (value < INT_MIN) {
      value = INT_MIN;
      break;
    }
  }
  if (negative)
    return static_cast<int>(value);
  return value < -INT_MAX ? INT_MAX : static_cast<int>(-value);
}

}  // namespace kx::app
