// Fetching the installer: only into a fresh private directory, under a name that stays inside
// it, and kept only when its digest and signature are right.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "release/release_signing.h"
#include "update/download_dir.h"
#include "update/installer_check.h"
#include "update_fixture.h"

namespace kx::update {
namespace {

using testing::Answer;
using testing::UpdateTest;

constexpr char kInstallerPath[] = "/rfid/software/kx-vantrel_1.1_amd64.deb";

std::string Contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Installer() {
  std::string bytes;
  for (int i = 0; i < 300000; ++i)
    bytes += static_cast<char>(i * 7 % 251);
  return bytes;
}

TEST(InstallerFileNameTest, NamesThatStayInTheDirectory) {
  EXPECT_EQ(InstallerFileName("https://h/rfid/software/setup_1.1.deb"), "setup_1.1.deb");
  EXPECT_EQ(InstallerFileName("https://h/a/kx-vantrel+1.1~rc.run?token=1#x"),
            "kx-vantrel+1.1~rc.run");
  // An address without "/" after its first character is the name itself.
  EXPECT_EQ(InstallerFileName("setup.deb"), "setup.deb");
  for (const char* refused :
       {"https://h/rfid/software/", "https://h/rfid/..", "https://h/rfid/.", "https://h/.hidden",
        "https://h/a/..%2F..%2Fetc", "https://h/a\\..\\x.deb", "https://h/a/b c.deb", "",
        "https://h/a/\x01.deb"})
    EXPECT_FALSE(InstallerFileName(refused)) << refused;
  EXPECT_FALSE(InstallerFileName("https://h/" + std::string(256, 'a')));
}

TEST(InstallerFileNameTest, PrivateDirectoriesAreNewAndClosedToOthers) {
  const auto first = MakePrivateDirectory();
  const auto second = MakePrivateDirectory();
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  struct stat info {};
  ASSERT_EQ(::stat(first->c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  std::filesystem::remove(*first);
  std::filesystem::remove(*second);
}

TEST(InstallerCheckTest, HexAndBase64) {
  EXPECT_EQ(DecodeHex("00fFa1"), (std::vector<uint8_t>{0x00, 0xFF, 0xA1}));
  EXPECT_FALSE(DecodeHex("0"));
  EXPECT_FALSE(DecodeHex("0g"));
  EXPECT_EQ(DecodeBase64("TWFu"), (std::vector<uint8_t>{'M', 'a', 'n'}));
  EXPECT_EQ(DecodeBase64("TWE="), (std::vector<uint8_t>{'M', 'a'}));
  EXPECT_EQ(DecodeBase64("TQ=="), (std::vector<uint8_t>{'M'}));
  for (const char* bad : {"TWF", "T===", "TQ=a", "TQ==TWFu", "TW*u"})
    EXPECT_FALSE(DecodeBase64(bad)) << bad;
  const uint8_t bytes[] = {0, 1, 2, 250, 251, 252, 253};
  EXPECT_EQ(DecodeBase64(EncodeBase64(bytes, sizeof bytes)),
            std::vector<uint8_t>(std::begin(bytes), std::end(bytes)));
  EXPECT_EQ(DecodeHex(EncodeHex(bytes, sizeof bytes)),
            std::vector<uint8_t>(std::begin(bytes), std::end(bytes)));
}

TEST(InstallerCheckTest, BuiltInReleaseKeyIsAnEd25519Key) {
  const auto key = DecodeBase64(BuiltInReleaseKey());
  ASSERT_TRUE(key);
  EXPECT_EQ(key->size(), 32u);
}

using InstallerDownloadTest = UpdateTest;

TEST_F(InstallerDownloadTest, VerifiedInstallerLiesInAPrivateDirectoryUnderItsName) {
  const std::string installer = Installer();
  const auto checker = CheckedAgainst(PublishInstaller(kInstallerPath, installer));
  uint64_t lastReceived = 0;
  const InstallerDownload download =
      checker->DownloadInstaller([&](uint64_t received, uint64_t) { lastReceived = received; });
  ASSERT_EQ(download.problem, InstallerProblem::kNone);
  EXPECT_EQ(download.path.filename(), "kx-vantrel_1.1_amd64.deb");
  EXPECT_EQ(Contents(download.path), installer);
  EXPECT_EQ(lastReceived, installer.size());
  struct stat info {};
  ASSERT_EQ(::stat(download.path.parent_path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(download.path.parent_path().parent_path(), dir_);

  // A second download gets a directory of its own.
  const InstallerDownload again = checker->DownloadInstaller();
  ASSERT_EQ(again.problem, InstallerProblem::kNone);
  EXPECT_NE(again.path.parent_path(), download.path.parent_path());
}

TEST_F(InstallerDownloadTest, InstallerThatIsNotThePublishedOneIsDeleted) {
  const std::string versionFile = PublishInstaller(kInstallerPath, Installer());
  server_->Serve(kInstallerPath, {200, Installer() + "tampered"});
  const auto checker = CheckedAgainst(versionFile);
  const InstallerDownload download = checker->DownloadInstaller();
  EXPECT_EQ(download.problem, InstallerProblem::kDigestMismatch);
  EXPECT_TRUE(download.path.empty());
  EXPECT_TRUE(DownloadDirectories().empty());
}

TEST_F(InstallerDownloadTest, SignatureOfAnotherKeyIsRefused) {
  const std::filesystem::path otherKey = dir_ / "other.pem";
  std::string error;
  ASSERT_TRUE(release::MakeReleaseKey(otherKey, error));
  const auto checker = CheckedAgainst(PublishInstaller(kInstallerPath, Installer(), otherKey));
  EXPECT_EQ(checker->DownloadInstaller().problem, InstallerProblem::kSignatureInvalid);
  EXPECT_TRUE(DownloadDirectories().empty());
}

TEST_F(InstallerDownloadTest, DigestAndSignatureMustBothBeThereAndWellFormed) {
  const std::string signedFile = PublishInstaller(kInstallerPath, Installer());
  const std::string head = signedFile.substr(0, signedFile.find("SHA256="));
  const std::string digestLine = signedFile.substr(
      signedFile.find("SHA256="), signedFile.find("Signature=") - signedFile.find("SHA256="));
  for (const std::string& file :
       {head, head + digestLine,
        head + "Signature=" + signedFile.substr(signedFile.find("Signature=") + 10),
        head + "SHA256=abc\nSignature=AAAA\n"}) {
    const auto checker = CheckedAgainst(file);
    const InstallerDownload download = checker->DownloadInstaller();
    EXPECT_EQ(download.problem, InstallerProblem::kNotSigned) << file;
    EXPECT_TRUE(DownloadDirectories().empty());
  }
  // Nothing is fetched that could not be checked, apart from the malformed pair.
  EXPECT_EQ(server_->Requests(kInstallerPath), 1);
}

TEST_F(InstallerDownloadTest, AddressesThatEndInSlashOrDotsAreNotFetched) {
  for (const char* path : {"/rfid/software/", "/rfid/software/..", "/rfid/software/."}) {
    const auto checker = CheckedAgainst(PublishInstaller(path, Installer()));
    EXPECT_EQ(checker->DownloadInstaller().problem, InstallerProblem::kUnsafeName) << path;
    EXPECT_EQ(server_->Requests(path), 0);
  }
  const auto checker = CheckedAgainst("[KX_M71_Vantrel]\nVersion=1.1\nBuild=2026-11-30\n");
  EXPECT_EQ(checker->DownloadInstaller().problem, InstallerProblem::kNoAddress);
}

TEST_F(InstallerDownloadTest, InstallerThatStallsOrFailsLeavesNothing) {
  const std::string installer = Installer();
  const std::string versionFile = PublishInstaller(kInstallerPath, installer);
  const auto checker = CheckedAgainst(versionFile);

  Answer stalled{200, installer};
  stalled.stallAfter = installer.size() / 2;
  server_->Serve(kInstallerPath, stalled);
  EXPECT_EQ(checker->DownloadInstaller().problem, InstallerProblem::kDownloadFailed);
  EXPECT_TRUE(DownloadDirectories().empty());

  server_->Serve(kInstallerPath, {404, installer});
  EXPECT_EQ(checker->DownloadInstaller().problem, InstallerProblem::kDownloadFailed);
  EXPECT_TRUE(DownloadDirectories().empty());
}

TEST_F(InstallerDownloadTest, InstallerOverTheLimitIsDropped) {
  UpdateLimits small = ShortLimits();
  small.installerBytes = 1000;
  const auto checker =
      CheckedAgainst(PublishInstaller(kInstallerPath, Installer()), {"1.0 ", "2026-01-01"}, small);
  EXPECT_EQ(checker->DownloadInstaller().problem, InstallerProblem::kDownloadFailed);
  EXPECT_TRUE(DownloadDirectories().empty());
}

TEST_F(InstallerDownloadTest, DownloadFileNeverReplacesAFile) {
  server_->Serve("/file", {200, "new"});
  const auto checker = MakeChecker("");
  const std::filesystem::path existing = dir_ / "existing";
  std::ofstream(existing) << "old";
  EXPECT_FALSE(checker->DownloadFile(server_->Address("/file"), existing));
  EXPECT_EQ(Contents(existing), "old");
  EXPECT_TRUE(checker->DownloadFile(server_->Address("/file"), dir_ / "fresh"));
  EXPECT_EQ(Contents(dir_ / "fresh"), "new");
}

}  // namespace
}  // namespace kx::update
