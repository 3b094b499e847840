#include "names.h"

#include <array>
#include <cstdio>

#include "flows/transponder_types.h"
#include "whole_number.h"

namespace kx::cli {

namespace {

constexpr std::array<std::string_view, flows::kTransponderTypeCount> kTypeNames = {
    "read-only", "ti-rw", "ti-multipage", "ti-hdx+", "incide-hdx", "sic7900", "sic7999", "em4017",
};

struct FormatNames {
  std::string_view name;
  std::string_view label;
};

constexpr std::array<FormatNames, 6> kFormatNames = {{
    {"hex-binary", "Hexadezimalzahl binär"},
    {"hex-ascii", "Hexadezimalzahl ASCII"},
    {"decimal-binary", "Dezimalzahl binär"},
    {"decimal-ascii", "Dezimalzahl ASCII"},
    {"data-binary", "Daten binär"},
    {"data-ascii", "Daten ASCII"},
}};

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i]))
      return false;
  }
  return true;
}

std::optional<int> IndexBelow(std::string_view text, int count) {
  if (text.empty() || text.front() < '0' || text.front() > '9')
    return std::nullopt;
  const std::optional<int> value = ParseWholeNumber<int>(text);
  if (!value || *value >= count)
    return std::nullopt;
  return value;
}

}  // namespace

std::optional<int> ParseTransponderType(std::string_view text) {
  for (const flows::TransponderType& type : flows::TransponderTypes()) {
    if (EqualsNoCase(text, kTypeNames[static_cast<size_t>(type.index)]) ||
        EqualsNoCase(text, type.label)) {
      return type.index;
    }
  }
  return IndexBelow(text, flows::kTransponderTypeCount);
}

std::optional<convert::DataFormat> ParseDataFormat(std::string_view text) {
  for (size_t i = 0; i < kFormatNames.size(); ++i) {
    if (EqualsNoCase(text, kFormatNames[i].name) || EqualsNoCase(text, kFormatNames[i].label))
      return static_cast<convert::DataFormat>(i);
  }
  if (const auto index = IndexBelow(text, static_cast<int>(kFormatNames.size())))
    return static_cast<convert::DataFormat>(*index);
  return std::nullopt;
}

std::string_view TypeName(int typeIndex) {
  if (typeIndex < 0 || typeIndex >= flows::kTransponderTypeCount)
    return {};
  return kTypeNames[static_cast<size_t>(typeIndex)];
}

std::string TypeCodeText(int typeCode) {
  char text[16];
  std::snprintf(text, sizeof text, "%03X", typeCode);
  return text;
}

std::string_view FormatName(convert::DataFormat format) {
  const auto index = static_cast<size_t>(format);
  return index < kFormatNames.size() ? kFormatNames[index].name : std::string_view{};
}

}  // namespace kx::cli
