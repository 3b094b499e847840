// Who the emulated reader claims to be. The version text decides, as on a real reader of the
// family, which commands the host may use: its type code and firmware character give the
// reader's capability word. The emulator consults that word where older readers really behave
// differently (bit-packed type-3 commands, reversed byte order of word-0 readers).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kxemu {

// Type code: the first three characters as hexadecimal, up to the first non-digit.
int VersionTypeCode(const std::string& versionText);
// Firmware value of the fourth character: 0-9, A-Z = 10-35, a-z = 36-61, anything else 255.
uint8_t VersionValue(const std::string& versionText);
// The capability word a host derives from the version answer. Bit 0x100 = extended command set.
uint16_t CapabilityWord(const std::string& versionText);

struct IdentityPreset {
  const char* name;
  const char* versionText;
  const char* description;
};

// Named identities for tests and the command line; the first one is the default reader.
std::span<const IdentityPreset> IdentityPresets();
std::optional<IdentityPreset> FindIdentityPreset(const std::string& name);

}  // namespace kxemu
