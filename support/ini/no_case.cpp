#include "ini/no_case.h"

#include <array>
#include <cstdint>

namespace kx::ini {

namespace {

// Upper-case letters of Windows-1252 mapped to their lower-case partners.
constexpr std::array<uint8_t, 256> MakeFoldTable() {
  std::array<uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c)
    table[c] = static_cast<uint8_t>(c);
  for (int c = 'A'; c <= 'Z'; ++c)
    table[c] = static_cast<uint8_t>(c + 0x20);
  // À..Þ without the multiplication sign × (0xD7).
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7)
      table[c] = static_cast<uint8_t>(c + 0x20);
  }
  table[0x8A] = 0x9A;  // Š
  table[0x8C] = 0x9C;  // Œ
  table[0x8E] = 0x9E;  // Ž
  table[0x9F] = 0xFF;  // Ÿ
  return table;
}

constexpr std::array<uint8_t, 256> kFold = MakeFoldTable();

uint8_t FoldCase(char c) {
  return kFold[static_cast<uint8_t>(c)];
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i]))
      return false;
  }
  return true;
}

}  // namespace kx::ini
