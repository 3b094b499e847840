// Fetching the version file: once per run, the result pair posted to the latest window, and
// every way the fetch can fail leaving no text (the About dialog then shows "no connection").
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "update_fixture.h"

namespace kx::update {
namespace {

using testing::Answer;
using testing::kVersionFilePath;
using testing::Posted;
using testing::RecordingWindow;
using testing::TestAuthority;
using testing::UpdateTest;

constexpr char kVersionFile[] = "[KX_M71_Vantrel]\nVersion=1.1\nBuild=2026-11-30\n";
const std::vector<Posted> kResultPair = {{kCommandMessage, kNotifyId, 0},
                                         {kUpdateStateMessage, kNotifyId, 0}};

class VersionFileFetchTest : public UpdateTest {
 protected:
  // Runs the check against the address and returns the checker once it is done.
  std::unique_ptr<UpdateChecker> CheckAt(const std::string& address,
                                         const std::string& authorities = {}) {
    auto checker = authorities.empty() ? MakeChecker(address)
                                       : std::make_unique<UpdateChecker>(
                                             UpdateSource{address, authorities, releaseKey_},
                                             InstalledRelease{"1.0 ", "2026-01-01"}, ShortLimits());
    EXPECT_TRUE(checker->StartUpdateCheck(window_.Poster()));
    EXPECT_TRUE(window_.WaitFor(2));
    return checker;
  }
};

TEST_F(VersionFileFetchTest, ResultPairGoesToTheWindowAndLaterWindowsHearItWithoutAFetch) {
  server_->Serve(kVersionFilePath, {200, kVersionFile});
  const auto checker = CheckAt(server_->Address(kVersionFilePath));
  EXPECT_EQ(window_.messages(), kResultPair);
  EXPECT_TRUE(checker->Done());
  EXPECT_EQ(checker->VersionFileText(), kVersionFile);
  EXPECT_TRUE(checker->IsUpdateAvailable());

  RecordingWindow second;
  EXPECT_TRUE(checker->StartUpdateCheck(second.Poster()));
  ASSERT_TRUE(second.WaitFor(2));
  EXPECT_EQ(second.messages(), kResultPair);
  EXPECT_EQ(window_.messages().size(), 2u);
  EXPECT_EQ(server_->Requests(kVersionFilePath), 1);
}

TEST_F(VersionFileFetchTest, WindowReplacedWhileTheFetchRunsHearsTheResultOnce) {
  server_->Serve(kVersionFilePath, {200, kVersionFile});
  for (int round = 0; round < 20; ++round) {
    RecordingWindow first;
    RecordingWindow second;
    const auto checker = MakeChecker(server_->Address(kVersionFilePath));
    checker->StartUpdateCheck(first.Poster());
    checker->StartUpdateCheck(second.Poster());
    ASSERT_TRUE(second.WaitFor(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(second.messages(), kResultPair);
  }
}

TEST_F(VersionFileFetchTest, RedirectsAreFollowedOnlyOverHttps) {
  server_->Serve("/moved", {302, "", server_->Address(kVersionFilePath, "localhost")});
  server_->Serve(kVersionFilePath, {200, kVersionFile});
  EXPECT_EQ(CheckAt(server_->Address("/moved"))->VersionFileText(), kVersionFile);
}

TEST_F(VersionFileFetchTest, RedirectToHttpIsRefused) {
  const std::string plain = "http://127.0.0.1:" + std::to_string(server_->port()) + "/plain";
  server_->Serve("/moved", {302, "", plain});
  server_->Serve("/plain", {200, kVersionFile});
  const auto checker = CheckAt(server_->Address("/moved"));
  EXPECT_EQ(checker->VersionFileText(), "");
  EXPECT_EQ(checker->FetchResult().error, TransferError::kNotHttps);
  EXPECT_EQ(server_->Requests("/plain"), 0);
}

TEST_F(VersionFileFetchTest, HttpAddressIsNeverTried) {
  const auto checker =
      CheckAt("http://127.0.0.1:" + std::to_string(server_->port()) + kVersionFilePath);
  EXPECT_EQ(checker->FetchResult().error, TransferError::kNotHttps);
  EXPECT_EQ(server_->Connections(), 0);
  EXPECT_EQ(window_.messages(), kResultPair);
}

TEST_F(VersionFileFetchTest, NoServerLeavesNoText) {
  int closedPort = 0;
  {
    TestAuthority::Issued certificate = authority_->Issue("IP:127.0.0.1", "gone");
    testing::HttpsTestServer gone(certificate);
    closedPort = gone.port();
  }
  const auto checker =
      CheckAt("https://127.0.0.1:" + std::to_string(closedPort) + kVersionFilePath);
  EXPECT_EQ(checker->VersionFileText(), "");
  EXPECT_EQ(checker->FetchResult().error, TransferError::kConnectFailed);
  std::string version = "x";
  std::string build = "x";
  EXPECT_FALSE(checker->ReadLatestVersion(version, build));
  EXPECT_EQ(version + build, "");
  EXPECT_FALSE(checker->IsUpdateAvailable());
}

TEST_F(VersionFileFetchTest, CertificateOfAnUnknownAuthorityIsRefused) {
  server_->Serve(kVersionFilePath, {200, kVersionFile});
  const TestAuthority stranger(dir_, "stranger");
  const auto checker =
      CheckAt(server_->Address(kVersionFilePath), stranger.certificateFile().string());
  EXPECT_EQ(checker->VersionFileText(), "");
  EXPECT_EQ(checker->FetchResult().error, TransferError::kCertificate);
  EXPECT_EQ(server_->Requests(kVersionFilePath), 0);
}

TEST_F(VersionFileFetchTest, CertificateForAnotherHostIsRefused) {
  testing::HttpsTestServer other(authority_->Issue("DNS:updates.other.invalid", "other"));
  other.Serve(kVersionFilePath, {200, kVersionFile});
  const auto checker = CheckAt(other.Address(kVersionFilePath));
  EXPECT_EQ(checker->FetchResult().error, TransferError::kCertificate);
  EXPECT_EQ(other.Requests(kVersionFilePath), 0);
}

TEST_F(VersionFileFetchTest, VersionFileOverTheLimitIsDropped) {
  // Without a length the limit must hold while the body comes.
  Answer flood{200, std::string((1u << 20) + 1, 'x')};
  flood.announceLength = false;
  server_->Serve(kVersionFilePath, flood);
  auto checker = CheckAt(server_->Address(kVersionFilePath));
  EXPECT_EQ(checker->VersionFileText(), "");
  EXPECT_EQ(checker->FetchResult().error, TransferError::kTooLarge);

  server_->Serve("/announced", {200, std::string((1u << 20) + 1, 'x')});
  EXPECT_EQ(checker->DownloadText(server_->Address("/announced")), "");
  server_->Serve("/exact", {200, std::string(1u << 20, 'x')});
  EXPECT_EQ(checker->DownloadText(server_->Address("/exact")).size(), 1u << 20);
}

TEST_F(VersionFileFetchTest, BodyThatStopsHalfWayIsDropped) {
  Answer stalled{200, kVersionFile};
  stalled.stallAfter = 20;
  server_->Serve(kVersionFilePath, stalled);
  const auto checker = CheckAt(server_->Address(kVersionFilePath));
  EXPECT_EQ(checker->VersionFileText(), "");
  EXPECT_EQ(checker->FetchResult().error, TransferError::kTimedOut);
}

TEST_F(VersionFileFetchTest, FilesWithoutTheProductsVersionOrBuild) {
  // Each is fetched, so the About dialog says "no file found" rather than "no connection".
  for (const char* file :
       {"[Other]\nVersion=1.1\nBuild=2026-11-30\n", "[KX_M71_Vantrel]\nBuild=2026-11-30\n",
        "[KX_M71_Vantrel]\nVersion=1.1\n", "\x89PNG\r\n\x1a\n\xff\xfe garbage ==== [[[",
        "<html><body>404 Not Found</body></html>"}) {
    const auto checker = CheckedAgainst(file);
    std::string version;
    std::string build;
    ASSERT_TRUE(checker->ReadLatestVersion(version, build)) << file;
    EXPECT_TRUE(version.empty() || build.empty()) << file;
  }
}

TEST_F(VersionFileFetchTest, EmptyAddressFetchesNothingAndStillAnswers) {
  const auto checker = CheckAt("");
  EXPECT_TRUE(checker->Done());
  EXPECT_EQ(checker->VersionFileText(), "");
  EXPECT_EQ(window_.messages(), kResultPair);
}

TEST_F(VersionFileFetchTest, EndOfTheCheckerAbortsAHangingFetch) {
  Answer stalled{200, kVersionFile};
  stalled.stallAfter = 10;
  server_->Serve(kVersionFilePath, stalled);
  UpdateLimits patient = ShortLimits();
  patient.lowSpeedTime = std::chrono::seconds(120);
  auto checker = MakeChecker(server_->Address(kVersionFilePath), {"1.0 ", "2026-01-01"}, patient);
  checker->StartUpdateCheck(window_.Poster());
  while (server_->Requests(kVersionFilePath) == 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto start = std::chrono::steady_clock::now();
  checker.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace kx::update
