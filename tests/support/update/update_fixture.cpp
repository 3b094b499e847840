#include "update_fixture.h"

#include <stdlib.h>

#include <chrono>
#include <fstream>

#include "release/release_signing.h"

namespace kx::update::testing {

PostToWindow RecordingWindow::Poster() {
  return [this](int message, intptr_t first, intptr_t second) {
    // Under the lock: a waiter that has seen enough may destroy the window right afterwards.
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({message, first, second});
    arrived_.notify_all();
    return true;
  };
}

bool RecordingWindow::WaitFor(size_t count) {
  std::unique_lock<std::mutex> lock(mutex_);
  return arrived_.wait_for(lock, std::chrono::seconds(10),
                           [&] { return messages_.size() >= count; });
}

std::vector<Posted> RecordingWindow::messages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return messages_;
}

UpdateServerSetup::UpdateServerSetup() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kx_update_XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("no temporary directory");
  dir_ = pattern;
  if (const char* old = getenv("TMPDIR"))
    oldTmpDir_ = old;
  setenv("TMPDIR", dir_.c_str(), 1);
  authority_ = std::make_unique<TestAuthority>(dir_, "authority");
  server_ = std::make_unique<HttpsTestServer>(
      authority_->Issue("DNS:localhost,IP:127.0.0.1", "loopback"));
  releaseKeyFile_ = dir_ / "release.pem";
  std::string error;
  releaseKey_ = release::MakeReleaseKey(releaseKeyFile_, error).value_or("");
}

UpdateServerSetup::~UpdateServerSetup() {
  server_.reset();
  if (oldTmpDir_.empty())
    unsetenv("TMPDIR");
  else
    setenv("TMPDIR", oldTmpDir_.c_str(), 1);
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

UpdateLimits UpdateServerSetup::ShortLimits() {
  UpdateLimits limits;
  limits.connectTimeout = std::chrono::seconds(5);
  limits.lowSpeedTime = std::chrono::seconds(1);
  return limits;
}

std::unique_ptr<UpdateChecker> UpdateServerSetup::MakeChecker(const std::string& address,
                                                              InstalledRelease installed,
                                                              UpdateLimits limits) {
  return std::make_unique<UpdateChecker>(
      UpdateSource{address, authority_->certificateFile().string(), releaseKey_},
      std::move(installed), limits);
}

std::unique_ptr<UpdateChecker> UpdateServerSetup::CheckedAgainst(const std::string& versionFile,
                                                                 InstalledRelease installed,
                                                                 UpdateLimits limits) {
  server_->Serve(kVersionFilePath, {200, versionFile});
  auto checker = MakeChecker(server_->Address(kVersionFilePath), std::move(installed), limits);
  // The checker keeps its window for as long as it lives.
  checkWindows_.push_back(std::make_unique<RecordingWindow>());
  checker->StartUpdateCheck(checkWindows_.back()->Poster());
  EXPECT_TRUE(checkWindows_.back()->WaitFor(2));
  return checker;
}

std::string UpdateServerSetup::SignatureLines(const std::string& content,
                                              const std::filesystem::path& keyFile) {
  const std::filesystem::path file = dir_ / "to-sign";
  std::ofstream(file, std::ios::binary) << content;
  std::string error;
  const auto lines =
      release::SignInstaller(file, keyFile.empty() ? releaseKeyFile_ : keyFile, error);
  std::filesystem::remove(file);
  return lines.value_or("");
}

std::string UpdateServerSetup::PublishInstaller(const std::string& path, const std::string& content,
                                                const std::filesystem::path& keyFile) {
  server_->Serve(path, {200, content});
  return "[KX_M71_Vantrel]\nVersion=1.1\nBuild=2026-11-30\nInstaller=" + server_->Address(path) +
         "\n" + SignatureLines(content, keyFile);
}

std::vector<std::filesystem::path> UpdateServerSetup::DownloadDirectories() const {
  std::vector<std::filesystem::path> found;
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    if (entry.path().filename().string().rfind("kx-vantrel-update-", 0) == 0)
      found.push_back(entry.path());
  }
  return found;
}

}  // namespace kx::update::testing
