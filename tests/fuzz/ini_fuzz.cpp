// INI texts of any shape: parsed, written as Save writes them, and parsed again. Every entry with
// a key comes back in its section with its value. Entries without a key are written as their
// bare value, which the next parse reads as whatever that line looks like; for texts without
// them, the written form is stable from the first write on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "ini/ini_ex.h"

namespace {

using kx::ini::CIniEx;
using kx::ini::CSection;

void Require(bool condition) {
  if (!condition)
    std::abort();
}

using Entry = std::tuple<std::string, std::string, std::string>;

// Entries with a key, under the name of the header they are written below: a section without a
// name is written without a header and joins the section before it.
std::vector<Entry> KeyedEntries(const CIniEx& ini) {
  std::vector<Entry> entries;
  std::string header;
  for (const CSection& section : ini.Sections()) {
    Require(section.keys.size() == section.values.size());
    if (!section.name.empty())
      header = section.name;
    for (size_t i = 0; i < section.keys.size(); ++i) {
      if (!section.keys[i].empty())
        entries.emplace_back(header, section.keys[i], section.values[i]);
    }
  }
  return entries;
}

bool HasBareValues(const CIniEx& ini) {
  for (const CSection& section : ini.Sections()) {
    for (size_t i = 0; i < section.keys.size(); ++i) {
      if (section.keys[i].empty() && !section.values[i].empty())
        return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CIniEx first;
  first.ParseText(text);
  const std::string written = first.Text();

  CIniEx second;
  second.ParseText(written);
  const bool stable = !HasBareValues(first);
  if (stable)
    Require(KeyedEntries(first) == KeyedEntries(second));

  CIniEx third;
  third.ParseText(second.Text());
  if (stable)
    Require(third.Text() == second.Text());

  // Every key found in the text can be changed and read back under its section's name.
  for (const CSection& section : first.Sections()) {
    if (section.keys.empty() || section.keys.back().empty())
      continue;
    if (first.FindSection(section.name) < 0)
      continue;
    third.SetString(section.name, section.keys.back(), "fuzz");
    Require(third.GetString(section.name, section.keys.back(), "missing") == "fuzz");
  }
  return 0;
}
