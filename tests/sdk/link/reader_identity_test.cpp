#include "link/reader_identity.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kxlf {
namespace {

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

TEST(ReaderIdentity, VersionCharacterIsABase62Digit) {
  EXPECT_EQ(VersionValue('0'), 0);
  EXPECT_EQ(VersionValue('9'), 9);
  EXPECT_EQ(VersionValue('A'), 10);
  EXPECT_EQ(VersionValue('Z'), 35);
  EXPECT_EQ(VersionValue('a'), 36);
  EXPECT_EQ(VersionValue('z'), 61);
  for (uint8_t outside : {'-', '/', ':', '@', '[', '`', '{', '\0', '\xFF'}) {
    EXPECT_EQ(VersionValue(outside), 255) << int(outside);
  }
}

TEST(ReaderIdentity, FourByteAnswersGiveCodeVersionAndWord) {
  struct Case {
    const char* text;
    ReaderIdentity identity;
  };
  const Case cases[] = {
      {"054A", {0x054, 10, 0x7F3}},  // the emulator's default reader, FW V1.10
      {"2310", {0x231, 0, 0x3F3}},   {"2g1x", {0x002, 59, 0x000}},  // the hex digits end at the g
      {"g12A", {0x000, 10, 0x000}},  {"ABCz", {0xABC, 61, 0x000}},
      {"2a1C", {0x2A1, 12, 0x000}},  // lower case hex; group 0x2A0 has no word
      {"029E", {0x029, 14, 0x073}},  {"0297", {0x029, 7, 0x013}},
      {"244-", {0x244, 255, 0x7F3}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EvaluateVersionAnswer(Text(c.text)), c.identity) << c.text;
  }
}

TEST(ReaderIdentity, LongerAndShorterAnswers) {
  EXPECT_EQ(EvaluateVersionAnswer(Text("V2.31 LF")), (ReaderIdentity{0x242, 3, 0x103}));
  EXPECT_EQ(EvaluateVersionAnswer(Text(std::string("054A\0", 5))),
            (ReaderIdentity{0x242, 3, 0x103}));
  EXPECT_EQ(EvaluateVersionAnswer(Text("054")), ReaderIdentity{});
  EXPECT_EQ(EvaluateVersionAnswer(Bytes{}), ReaderIdentity{});
}

TEST(ReaderIdentity, CapabilityWordRowsInOrder) {
  struct Case {
    int type;
    uint8_t version;
    uint16_t word;
  };
  const Case cases[] = {
      {0x001, 0, 0x010},
      {0x000, 0, 0x000},
      {0x010, 50, 0x000},
      // group 0x020 and 0x060 step with the firmware
      {0x021, 6, 0x001},
      {0x021, 7, 0x003},
      {0x029, 6, 0x001},
      {0x029, 12, 0x013},
      {0x029, 13, 0x033},
      {0x029, 14, 0x073},
      {0x061, 6, 0x001},
      {0x061, 40, 0x003},
      {0x069, 12, 0x013},
      {0x069, 13, 0x033},
      {0x069, 14, 0x073},
      {0x039, 0, 0x073},
      {0x038, 0, 0x000},
      {0x04F, 0, 0x073},
      {0x053, 0, 0x7F3},
      {0x054, 0, 0x7F3},
      {0x055, 0, 0x303},
      {0x543, 0, 0x7F3},
      {0x544, 0, 0x7F3},
      {0x540, 0, 0x303},
      {0x081, 0, 0x003},
      {0x082, 0, 0x000},
      {0x109, 0, 0x073},
      {0x100, 0, 0x003},
      {0x211, 20, 0x003},
      {0x219, 13, 0x033},
      {0x219, 14, 0x073},
      {0x242, 2, 0x103},
      {0x242, 3, 0x303},
      {0x243, 2, 0x1F3},
      {0x244, 3, 0x3F3},
      {0x245, 37, 0x3F3},
      {0x245, 38, 0x7F3},
      {0x241, 38, 0x303},
      {0x251, 2, 0x103},
      {0x253, 3, 0x3F3},
      {0x254, 38, 0x3F3},
      {0x52F, 0, 0x103},
      {0x530, 0, 0x103},
      {0x271, 0, 0x003},
      {0x273, 0, 0x103},
      {0x272, 0, 0x000},
      {0x231, 0, 0x3F3},
      {0x232, 0, 0x000},
      {0x283, 0, 0x3F3},
      {0x284, 0, 0x3F3},
      {0x280, 0, 0x303},
      {0x293, 0, 0x7F3},
      {0x294, 0, 0x7F3},
      {0x29A, 0, 0x303},
      {0x553, 0, 0x7F3},
      {0x564, 0, 0x7F3},
      {0x575, 0, 0x7F3},
      {0x556, 0, 0x303},
      {0x560, 0, 0x303},
      {0x580, 0, 0x000},
      {0xFFF, 0, 0x000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CapabilityWordFor(c.type, c.version), c.word)
        << std::hex << c.type << " v" << std::dec << int(c.version);
  }
}

TEST(ReaderIdentity, ModelNamesAndFallbacks) {
  EXPECT_EQ(ModelName(Text("054A")), "KX-P71D");
  EXPECT_EQ(ModelName(Text("231")), "KX-M71");
  EXPECT_EQ(ModelName(Text("54")), "---");
  EXPECT_EQ(ModelName(Bytes{}), "---");
  EXPECT_EQ(ModelName(Text("ABCz")), "KX-#ABC");
  EXPECT_EQ(ModelName(Text("abcz")), "KX-#abc");
  EXPECT_EQ(ModelName(Text("x5")), "---");
  // "0g5" reads as code 0, which no reader has
  EXPECT_EQ(ModelName(Text("0g5A")), "KX-#0g5");
}

TEST(ReaderIdentity, EveryAcceptedReaderHasAProperName) {
  const auto table = ModelNameTable();
  EXPECT_EQ(table.size(), 77u);
  std::set<std::string> names;
  for (const ModelRow& row : table) {
    EXPECT_TRUE(std::string(row.name).starts_with("KX-")) << row.name;
    EXPECT_TRUE(names.insert(row.name).second) << row.name << " twice";
  }
  for (const char* accepted : {"054", "231", "244", "254", "284", "294", "554", "564", "565"}) {
    const std::string name = ModelName(Text(accepted));
    EXPECT_FALSE(name.starts_with("KX-#")) << accepted;
  }
}

}  // namespace
}  // namespace kxlf
