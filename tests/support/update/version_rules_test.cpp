// How versions compare: the number rule, the installed version text, and when the version file
// names a newer release.
#include <gtest/gtest.h>

#include "update/version_number.h"
#include "update_fixture.h"

namespace kx::update {
namespace {

using testing::UpdateTest;

TEST(VersionNumberTest, MinorNumbersCompareAsNumbers) {
  EXPECT_EQ(VersionNumber("1.13"), 1013u);
  EXPECT_EQ(VersionNumber("1.2"), 1002u);
  EXPECT_GT(VersionNumber("1.13"), VersionNumber("1.2"));
  EXPECT_EQ(VersionNumber("2"), 2000u);
  EXPECT_EQ(VersionNumber("1.0.0"), 1000u);
  EXPECT_EQ(VersionNumber("1.5b"), 1005u);
  // A leading "." does not split: the whole text has no leading digits.
  EXPECT_EQ(VersionNumber(".5"), 0u);
  EXPECT_EQ(VersionNumber("-.--"), 0u);
  EXPECT_EQ(VersionNumber(""), 0u);
  EXPECT_EQ(VersionNumber("99999999999999999999.1"), 0xFFFFFFFFull * 1000 + 1);
}

TEST(VersionNumberTest, InstalledVersionText) {
  EXPECT_EQ(InstalledVersionText(""), "-.--");
  EXPECT_EQ(InstalledVersionText("1.0"), "1.0 ");
  EXPECT_EQ(InstalledVersionText("1.0.0"), "1.0.0");
  EXPECT_EQ(InstalledVersionText(std::string(19, '1')), std::string(19, '1'));
  EXPECT_EQ(InstalledVersionText(std::string(20, '1')), "-.--");
}

using NewerReleaseTest = UpdateTest;

TEST_F(NewerReleaseTest, VersionNumberDecidesThenTheBuildDate) {
  const char* file = "[KX_M71_Vantrel]\nVersion=1.2\nBuild=2026-06-01\n";
  const auto checker = CheckedAgainst(file);
  EXPECT_FALSE(checker->IsNewerAvailable("1.13", "2026-06-01"));
  EXPECT_FALSE(checker->IsNewerAvailable("1.13", "2026-07-01"));
  // A later build of an older or equal version still counts as newer.
  EXPECT_TRUE(checker->IsNewerAvailable("1.13", "2026-05-31"));
  EXPECT_TRUE(checker->IsNewerAvailable("1.1", "2026-07-01"));
  // No installed version: everything from 0.1 on is newer.
  EXPECT_TRUE(checker->IsNewerAvailable("-.--", "2026-07-01"));
}

TEST_F(NewerReleaseTest, WithoutBuildOnlyTheNumbersDecide) {
  const auto checker = CheckedAgainst("[KX_M71_Vantrel]\nVersion=1.3\nBuild=\n");
  EXPECT_TRUE(checker->IsNewerAvailable("1.2", "2099-01-01"));
  EXPECT_FALSE(checker->IsNewerAvailable("1.3", "1999-01-01"));
  std::string version;
  std::string build;
  EXPECT_TRUE(checker->ReadLatestVersion(version, build));
  EXPECT_EQ(version, "1.3");
  EXPECT_EQ(build, "");
}

TEST_F(NewerReleaseTest, OtherProductsAndKeysOfTheFileDoNotCount) {
  const auto checker = CheckedAgainst(
      "; versions of every product\n[KX_M52_Other]\nVersion=9.9\nBuild=2099-01-01\n"
      "[kx_m71_vantrel]\nBuild = 2026-02-03\nVersion = 1.4\nNotes=anything\n",
      {"1.3 ", "2026-02-03"});
  std::string version;
  std::string build;
  ASSERT_TRUE(checker->ReadLatestVersion(version, build));
  EXPECT_EQ(version, "1.4");
  EXPECT_EQ(build, "2026-02-03");
  EXPECT_TRUE(checker->IsUpdateAvailable());
}

}  // namespace
}  // namespace kx::update
