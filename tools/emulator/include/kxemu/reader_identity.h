// Who the emulated reader claims to be. The version text decides, as on a real reader of the
// family, which commands the host may use: the host's own evaluation of the version answer
// (kxlf::EvaluateVersionAnswer) gives the reader's capability word. The emulator consults that
// word where older readers really behave differently (bit-packed type-3 commands, reversed byte
// order of word-0 readers), so emulator and host can never disagree about a reader's identity.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kxemu {

// The capability word a host derives from this version answer. Bit 0x100 = extended command set.
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
