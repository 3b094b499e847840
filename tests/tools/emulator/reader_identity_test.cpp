#include "kxemu/reader_identity.h"

#include <gtest/gtest.h>

namespace kxemu {
namespace {

TEST(ReaderIdentity, CapabilityWordFromVersionText) {
  const std::vector<std::pair<std::string, uint16_t>> cases = {
      {"0557", 0x303}, {"0217", 0x003}, {"0297", 0x013}, {"029D", 0x033}, {"029E", 0x073},
      {"069d", 0x073}, {"219D", 0x033}, {"2422", 0x103}, {"2443", 0x3F3}, {"244c", 0x7F3},
      {"5545", 0x7F3}, {"5567", 0x303}, {"0FF1", 0x000}, {"05", 0x000}};
  for (const auto& [text, word] : cases)
    EXPECT_EQ(CapabilityWord(text), word) << text;
}

TEST(ReaderIdentity, PresetsGiveTheAdvertisedReaders) {
  const std::vector<std::pair<std::string, uint16_t>> expected = {
      {"standard", 0x7F3},         {"legacy", 0x073},          {"legacy-em", 0x001},
      {"legacy-bitpacked", 0x010}, {"legacy-reversed", 0x000}, {"text-answer", 0x103}};
  ASSERT_EQ(IdentityPresets().size(), expected.size());
  EXPECT_STREQ(IdentityPresets()[0].versionText, "054A");
  for (const auto& [name, word] : expected) {
    const std::optional<IdentityPreset> preset = FindIdentityPreset(name);
    ASSERT_TRUE(preset) << name;
    EXPECT_EQ(CapabilityWord(preset->versionText), word) << name;
  }
  EXPECT_FALSE(FindIdentityPreset("nonsense"));
}

}  // namespace
}  // namespace kxemu
