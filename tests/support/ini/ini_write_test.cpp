#include <gtest/gtest.h>

#include "ini/ini_ex.h"

namespace kx::ini {
namespace {

TEST(Text, NewDataRecordHoldsExactlyItsSection) {
  CIniEx ini;
  ini.SetString("Settings", "LastData", "0099");
  ini.SetInt("Settings", "AutoIncrement", 1);
  ini.SetInt("Settings", "Datenformat", 3);
  ini.SetInt("Settings", "Startblock", -2);
  EXPECT_TRUE(ini.IsModified());
  EXPECT_EQ(ini.Text(),
            "[Settings]\r\nLastData=0099\r\nAutoIncrement=1\r\nDatenformat=3\r\n"
            "Startblock=-2\r\n");
}

TEST(Text, EntriesAreWrittenBackByTheirShape) {
  CIniEx ini;
  ini.ParseText("lonely\r\n=value only\r\n;comment\r\n[S]\r\nk = v\r\n");
  // The end of the text comes back as an empty line.
  EXPECT_EQ(ini.Text(), "lonely=\r\nvalue only\r\n;comment\r\n[S]\r\nk=v\r\n\r\n");

  // What was written parses back: the value-only line has become a key.
  CIniEx again;
  again.ParseText(ini.Text());
  EXPECT_EQ(again.GetString("", "value only", "missing"), "");
  EXPECT_EQ(again.GetString("", "lonely", "missing"), "");
  EXPECT_EQ(again.Text(), "lonely=\r\nvalue only=\r\n;comment\r\n[S]\r\nk=v\r\n\r\n");
}

TEST(SetString, ReplacesTheLastOfDuplicateKeys) {
  CIniEx ini;
  ini.ParseText("[S]\r\nk=1\r\nk=2\r\n");
  ini.SetString("s", "K", "3");
  EXPECT_EQ(ini.GetString("S", "k"), "3");
  EXPECT_EQ(ini.Text(), "[S]\r\nk=1\r\nk=3\r\n\r\n");
}

TEST(SetString, LetterCaseOnlyChangeIsNotAModification) {
  CIniEx ini;
  ini.ParseText("[S]\r\nk=abc\r\n");
  ini.SetString("S", "k", "ABC");
  EXPECT_EQ(ini.GetString("S", "k"), "ABC");
  EXPECT_FALSE(ini.IsModified());
  ini.SetString("S", "k", "ABD");
  EXPECT_TRUE(ini.IsModified());
}

TEST(SetString, NewSectionsFollowTheLastHeader) {
  CIniEx ini;
  ini.ParseText("[A]\r\na=1\r\n[B]\r\nb=2\r\n");
  ini.SetString("C", "c", "3");
  ini.SetString("a", "new", "4");
  ASSERT_EQ(ini.FindSection("C"), 3);
  EXPECT_EQ(ini.Text(), "[A]\r\na=1\r\nnew=4\r\n[B]\r\nb=2\r\n\r\n[C]\r\nc=3\r\n");
}

}  // namespace
}  // namespace kx::ini
