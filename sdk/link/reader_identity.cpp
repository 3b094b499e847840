#include "link/reader_identity.h"

#include <iterator>

namespace kxlf {
namespace {

// Product data: every code that the application accepts carries the name of its model, and the
// emulator's default identity 054A is the desktop reader the application is sold with.
constexpr ModelRow kModels[] = {
    {"KX-S10", 0x001},  {"KX-S11", 0x002},  {"KX-S12", 0x003},  {"KX-S14", 0x004},
    {"KX-S18", 0x008},  {"KX-S20", 0x010},  {"KX-R21", 0x021},  {"KX-R22", 0x022},
    {"KX-R23", 0x023},  {"KX-R24", 0x024},  {"KX-R25", 0x025},  {"KX-R26", 0x026},
    {"KX-R29", 0x029},  {"KX-R39", 0x039},  {"KX-T41", 0x041},  {"KX-T43", 0x043},
    {"KX-T44", 0x044},  {"KX-T45", 0x045},  {"KX-P51", 0x051},  {"KX-P51S", 0x052},
    {"KX-P53", 0x053},  {"KX-P71D", 0x054}, {"KX-P55", 0x055},  {"KX-R61", 0x061},
    {"KX-R62", 0x062},  {"KX-R63", 0x063},  {"KX-R65", 0x065},  {"KX-R69", 0x069},
    {"KX-C81", 0x081},  {"KX-D10", 0x101},  {"KX-D12", 0x102},  {"KX-D13", 0x103},
    {"KX-D15", 0x105},  {"KX-D19", 0x109},  {"KX-E11", 0x211},  {"KX-E12", 0x212},
    {"KX-E13", 0x213},  {"KX-E15", 0x215},  {"KX-E19", 0x219},  {"KX-M71", 0x231},
    {"KX-P41", 0x241},  {"KX-P42", 0x242},  {"KX-P43", 0x243},  {"KX-P71", 0x244},
    {"KX-P45", 0x245},  {"KX-M51", 0x251},  {"KX-M53", 0x253},  {"KX-M71L", 0x254},
    {"KX-M55", 0x255},  {"KX-W71", 0x271},  {"KX-W73", 0x273},  {"KX-P81", 0x281},
    {"KX-P83", 0x283},  {"KX-P71L", 0x284}, {"KX-P85", 0x285},  {"KX-M91", 0x291},
    {"KX-M93", 0x293},  {"KX-M71D", 0x294}, {"KX-N21", 0x521},  {"KX-N23", 0x523},
    {"KX-N31", 0x531},  {"KX-N33", 0x533},  {"KX-P52", 0x541},  {"KX-P52D", 0x543},
    {"KX-M52", 0x544},  {"KX-P56", 0x551},  {"KX-P56D", 0x553}, {"KX-P71U", 0x554},
    {"KX-P56L", 0x555}, {"KX-M56", 0x561},  {"KX-M56D", 0x563}, {"KX-M71U", 0x564},
    {"KX-M71H", 0x565}, {"KX-M57", 0x571},  {"KX-M57D", 0x573}, {"KX-M57U", 0x574},
    {"KX-M57L", 0x575},
};

constexpr bool CodesAreUnique() {
  for (size_t i = 0; i < std::size(kModels); ++i) {
    for (size_t j = i + 1; j < std::size(kModels); ++j) {
      if (kModels[i].typeCode == kModels[j].typeCode)
        return false;
    }
  }
  return true;
}
static_assert(std::size(kModels) == 77, "the model table has one row per reader of the family");
static_assert(CodesAreUnique(), "a type code names one model");

int HexDigitValue(uint8_t c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

int Group(int typeCode) {
  return typeCode & 0xFF0;
}

// Two reader lines whose word depends on the firmware: below version 7 one word for the whole
// line, above it one for every model but `steppedType`, whose word grows with the firmware.
uint16_t SteppedWord(int typeCode, uint8_t version, int steppedType) {
  if (version < 7)
    return 0x001;
  if (typeCode != steppedType)
    return 0x003;
  if (version < 13)
    return 0x013;
  if (version == 13)
    return 0x033;
  return 0x073;
}

bool LowDigitIn345(int typeCode) {
  const int digit = typeCode & 0xF;
  return digit >= 3 && digit <= 5;
}

}  // namespace

uint8_t VersionValue(uint8_t c) {
  if (c >= '0' && c <= '9')
    return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'Z')
    return static_cast<uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'z')
    return static_cast<uint8_t>(c - 'a' + 36);
  return kUnknownVersionValue;
}

int TypeCodeFromText(const uint8_t* text, size_t size) {
  int code = 0;
  for (size_t i = 0; i < size && i < 3; ++i) {
    const int digit = HexDigitValue(text[i]);
    if (digit < 0)
      break;
    code = code * 16 + digit;
  }
  return code;
}

std::span<const ModelRow> ModelNameTable() {
  return kModels;
}

std::string ModelName(const uint8_t* payload, size_t size) {
  if (size < 3)
    return "---";
  const int code = TypeCodeFromText(payload, 3);
  for (const ModelRow& row : kModels) {
    if (row.typeCode == code)
      return row.name;
  }
  std::string name = "KX-#";
  name.append(reinterpret_cast<const char*>(payload), 3);
  return name;
}

std::string ModelName(const Bytes& payload) {
  return ModelName(payload.data(), payload.size());
}

uint16_t CapabilityWordFor(int t, uint8_t v) {
  const int group = Group(t);
  if (t == 0x001)
    return 0x010;
  if (t <= 0x010)
    return 0x000;
  if (group == 0x020)
    return SteppedWord(t, v, 0x029);
  if (t == 0x039 || group == 0x040)
    return 0x073;
  if (group == 0x050)
    return (t == 0x053 || t == 0x054) ? 0x7F3 : 0x303;
  if (group == 0x540)
    return (t == 0x543 || t == 0x544) ? 0x7F3 : 0x303;
  if (group == 0x060)
    return SteppedWord(t, v, 0x069);
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
    const bool full = t == 0x243 || t == 0x244 || t == 0x245;
    uint16_t word = full ? 0x1F3 : 0x103;
    if (v >= 3)
      word |= 0x200;
    if (full && v >= 38)
      word |= 0x400;
    return word;
  }
  if (group == 0x250) {
    uint16_t word = (t == 0x253 || t == 0x254) ? 0x1F3 : 0x103;
    if (v >= 3)
      word |= 0x200;
    return word;
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
    return (t == 0x283 || t == 0x284) ? 0x3F3 : 0x303;
  if (group == 0x290)
    return (t == 0x293 || t == 0x294) ? 0x7F3 : 0x303;
  if (group == 0x550 || group == 0x560 || group == 0x570) {
    return LowDigitIn345(t) ? 0x7F3 : 0x303;
  }
  return 0x000;
}

ReaderIdentity EvaluateVersionAnswer(const uint8_t* payload, size_t size) {
  ReaderIdentity identity;
  if (size == kVersionAnswerSize) {
    identity.typeCode = TypeCodeFromText(payload, 3);
    identity.versionValue = VersionValue(payload[3]);
    identity.capabilityWord = CapabilityWordFor(identity.typeCode, identity.versionValue);
  } else if (size > kVersionAnswerSize) {
    // Only early readers of the 0x242 line answer with a longer version text, and they all
    // share one firmware state.
    identity.typeCode = 0x242;
    identity.versionValue = 3;
    identity.capabilityWord = 0x103;
  }
  return identity;
}

ReaderIdentity EvaluateVersionAnswer(const Bytes& payload) {
  return EvaluateVersionAnswer(payload.data(), payload.size());
}

}  // namespace kxlf
