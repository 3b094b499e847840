#include <gtest/gtest.h>

#include "ini/ini_ex.h"

namespace kx::ini {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries EntriesOf(const CSection& section) {
  Entries entries;
  for (size_t i = 0; i < section.keys.size(); ++i) {
    entries.emplace_back(section.keys[i], section.values[i]);
  }
  return entries;
}

TEST(ParseText, LinesOfEveryShape) {
  CIniEx ini;
  ini.ParseText(
      "top=1\r\n"
      "; comment = kept whole\r\n"
      "[ Main ]\n"
      "  key  =  value with = sign  \t\r\n"
      "lonely\r"
      "=only value\r\n"
      "tab\t=\tv\t\t\n"
      "[\n"
      "a]\n");
  const auto& sections = ini.Sections();
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_EQ(sections[0].name, "");
  EXPECT_EQ(EntriesOf(sections[0]), (Entries{{"top", "1"}, {"; comment = kept whole", ""}}));
  EXPECT_EQ(sections[1].name, " Main ");
  EXPECT_EQ(EntriesOf(sections[1]), (Entries{{"  key", "value with = sign  "},
                                             {"lonely", ""},
                                             {"", "only value"},
                                             {"tab\t", "\tv"},
                                             {"[", ""},
                                             {"a]", ""},
                                             {"", ""}}));
}

TEST(ParseText, EmptyLinesVanishAndTheEndOfTheTextIsAnEntry) {
  CIniEx ini;
  ini.ParseText("\r\n\r\n[S]\r\n\r\n\n\nk=v\r\n\r\n");
  ASSERT_EQ(ini.Sections().size(), 2u);
  EXPECT_EQ(EntriesOf(ini.Sections()[1]), (Entries{{"k", "v"}, {"", ""}}));
  EXPECT_TRUE(ini.Sections()[0].keys.empty());
}

TEST(ParseText, HeaderOnTheLastLineKeepsItsSection) {
  CIniEx ini;
  ini.ParseText("[A]\r\nk=1\r\n[Last]");
  ASSERT_EQ(ini.FindSection("Last"), 2);
  EXPECT_EQ(EntriesOf(ini.Sections()[2]), (Entries{{"", ""}}));
}

TEST(ParseText, EmptySectionBetweenTwoOthersLosesItsName) {
  CIniEx ini;
  ini.ParseText("[A]\r\na=1\r\n[Empty]\r\n[B]\r\nb=2\r\n");
  EXPECT_EQ(ini.FindSection("Empty"), -1);
  ASSERT_EQ(ini.Sections().size(), 4u);
  EXPECT_TRUE(ini.Sections()[2].name.empty());
  EXPECT_EQ(ini.Text(), "[A]\r\na=1\r\n[B]\r\nb=2\r\n\r\n");
}

TEST(GetString, LooksUpWithoutLetterCase) {
  CIniEx ini;
  ini.ParseText(
      "before=0\r\n[Settings]\r\nKey=first\r\nkey=second\r\n[SETTINGS]\r\nkey=other\r\n"
      "[ Spaced ]\r\nx=1\r\n");
  EXPECT_EQ(ini.GetString("settings", "KEY"), "second");
  EXPECT_EQ(ini.GetString("Settings", "missing", "dflt"), "dflt");
  EXPECT_EQ(ini.GetString("nowhere", "key", "dflt"), "dflt");
  EXPECT_EQ(ini.GetString("", "BEFORE"), "0");
  EXPECT_EQ(ini.GetString("Spaced", "x"), "");
  EXPECT_EQ(ini.GetString(" Spaced ", "x"), "1");
  EXPECT_EQ(ini.FindKey(ini.FindSection("Settings"), "KEY"), 1);
  EXPECT_EQ(ini.FindKey(99, "key"), -1);
}

TEST(GetString, FoldsTheLettersOfTheEightBitCodePage) {
  CIniEx ini;
  // Windows-1252: "Grüße" / "ÄRGER" in upper and lower case.
  ini.ParseText(
      "[GR\xDC\xDF"
      "E]\r\n\xC4rger=ja\r\n\x8Aum=1\r\n");
  EXPECT_EQ(ini.GetString("gr\xFC\xDF"
                          "e",
                          "\xE4RGER"),
            "ja");
  EXPECT_EQ(ini.GetString("GR\xDC\xDF"
                          "E",
                          "\x9A"
                          "UM"),
            "1");
  // The multiplication and division signs are no letters.
  ini.ParseText("[\xD7]\r\nk=1\r\n");
  EXPECT_EQ(ini.GetString("\xF7", "k", "none"), "none");
}

}  // namespace
}  // namespace kx::ini
