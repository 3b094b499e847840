#include "kxemu/reader_identity.h"

#include <array>

#include "link/reader_identity.h"

namespace kxemu {

namespace {

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

uint16_t CapabilityWord(const std::string& versionText) {
  return kxlf::EvaluateVersionAnswer(reinterpret_cast<const uint8_t*>(versionText.data()),
                                     versionText.size())
      .capabilityWord;
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
