#include "kxemu/reader_identity.h"

#include <array>

namespace kxemu {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

// Readers whose model has an "extended firmware" variant gain bits with the firmware version.
uint16_t FirmwareSteppedWord(int t, int v, int steppedModel) {
  if (v < 7)
    return 0x001;
  if (t != steppedModel)
    return 0x003;
  if (v < 13)
    return 0x013;
  return v == 13 ? 0x033 : 0x073;
}

bool OneOf(int t, int a, int b, int c = -1) {
  return t == a || t == b || t == c;
}

uint16_t WordFor(int t, int v) {
  const int group = t & 0xFF0;
  const int digit = t & 0x00F;
  if (t == 0x001)
    return 0x010;
  if (t <= 0x010)
    return 0x000;
  if (group == 0x020)
    return FirmwareSteppedWord(t, v, 0x029);
  if (t == 0x039 || group == 0x040)
    return 0x073;
  if (group == 0x050)
    return OneOf(t, 0x053, 0x054) ? 0x7F3 : 0x303;
  if (group == 0x540)
    return OneOf(t, 0x543, 0x544) ? 0x7F3 : 0x303;
  if (group == 0x060)
    return FirmwareSteppedWord(t, v, 0x069);
  if (t == 0x081)
    return 0x003;
  if (group == 0x100)
    return t == 0x109 ? 0x073 : 0x003;
  if (group == 0x210) {
    if (t != 0x219)
      return 0x003;
    return v < 14 ? 0x033 : 0x073;
  }
  if (group == 0x240) {
    const uint16_t base = OneOf(t, 0x243, 0x244, 0x245) ? 0x1F3 : 0x103;
    uint16_t word = base;
    if (v >= 3)
      word |= 0x200;
    if (base == 0x1F3 && v >= 38)
      word |= 0x400;
    return word;
  }
  if (group == 0x250) {
    const uint16_t base = OneOf(t, 0x253, 0x254) ? 0x1F3 : 0x103;
    return v >= 3 ? base | 0x200 : base;
  }
  if (group == 0x520 || group == 0x530)
    return 0x103;
  if (t == 0x271)
    return 0x003;
  if (t == 0x273)
    return 0x103;
  if (t == 0x231)
    return 0x3F3;
  if (group == 0x280)
    return OneOf(t, 0x283, 0x284) ? 0x3F3 : 0x303;
  if (group == 0x290)
    return OneOf(t, 0x293, 0x294) ? 0x7F3 : 0x303;
  if (group == 0x550 || group == 0x560 || group == 0x570) {
    return OneOf(digit, 3, 4, 5) ? 0x7F3 : 0x303;
  }
  return 0x000;
}

constexpr std::array<IdentityPreset, 6> kPresets = {{
    {"standard", "054A", "current reader, extended command set (word 0x7F3)"},
    {"legacy", "0394", "older reader, plain per-type commands, unique code with 0x10 (word 0x073)"},
    {"legacy-em", "0206", "older reader, unique code with 0x34 as raw 64-bit code (word 0x001)"},
    {"legacy-bitpacked", "0011", "older reader, type 3 only through 0x31/0x32 (word 0x010)"},
    {"legacy-reversed", "0105",
     "oldest reader, bit-packed type 3, data of types 2, 3, 6 sent last byte first (word 0)"},
    {"text-answer", "KX-LF READER V3", "long text version answer, extended set (word 0x103)"},
}};

}  // namespace

int VersionTypeCode(const std::string& versionText) {
  int code = 0;
  for (size_t i = 0; i < 3 && i < versionText.size(); ++i) {
    const int digit = HexDigit(versionText[i]);
    if (digit < 0)
      break;
    code = code * 16 + digit;
  }
  return code;
}

uint8_t VersionValue(const std::string& versionText) {
  if (versionText.size() < 4)
    return 255;
  const char c = versionText[3];
  if (c >= '0' && c <= '9')
    return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'Z')
    return static_cast<uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'z')
    return static_cast<uint8_t>(c - 'a' + 36);
  return 255;
}

uint16_t CapabilityWord(const std::string& versionText) {
  if (versionText.size() < 4)
    return 0;
  if (versionText.size() > 4)
    return 0x103;
  return WordFor(VersionTypeCode(versionText), VersionValue(versionText));
}

std::span<const IdentityPreset> IdentityPresets() {
  return kPresets;
}

std::optional<IdentityPreset> FindIdentityPreset(const std::string& name) {
  for (const IdentityPreset& preset : kPresets) {
    if (name == preset.name)
      return preset;
  }
  return std::nullopt;
}

}  // namespace kxemu
