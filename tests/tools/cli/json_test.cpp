// JSON lines: every transponder content must give valid JSON.
#include <gtest/gtest.h>

#include "json.h"

namespace kx::cli {
namespace {

TEST(JsonTest, StringsAreEscaped) {
  EXPECT_EQ(JsonString("plain"), "\"plain\"");
  EXPECT_EQ(JsonString("a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(JsonString(std::string("\n\t\x01\x7F", 4)), R"("\u000a\u0009\u0001\u007f")");
  EXPECT_EQ(JsonString("gr\xC3\xBC\xC3\x9F"), "\"gr\xC3\xBC\xC3\x9F\"") << "valid UTF-8 stays";
  // Bytes of a transponder that are no UTF-8 are taken as Latin-1 characters.
  EXPECT_EQ(JsonString("\xFC\xC3"), R"("\u00fc\u00c3")");
  EXPECT_EQ(JsonString("\xE2\x82"), R"("\u00e2\u0082")") << "a cut-off sequence";
}

TEST(JsonTest, ObjectKeepsTheFieldOrder) {
  JsonObject object;
  object.Add("command", "read").Add("ok", true).Add("number", 7).Add("big", int64_t{1} << 40);
  EXPECT_EQ(object.Text(), R"({"command":"read","ok":true,"number":7,"big":1099511627776})");
  EXPECT_EQ(JsonObject().Text(), "{}");
}

}  // namespace
}  // namespace kx::cli
