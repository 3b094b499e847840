// What the update check's tests share: a private temporary directory (also $TMPDIR, where the
// installer directories are made), the loopback HTTPS server with its own authority, a release
// key pair of the test's own, and a window that records the messages posted to it.
#pragma once

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "https_test_server.h"
#include "update/update_checker.h"

namespace kx::update::testing {

inline constexpr char kVersionFilePath[] = "/rfid/software/RFIDVersionsLF.txt";

struct Posted {
  int message;
  intptr_t first;
  intptr_t second;
  bool operator==(const Posted&) const = default;
};

// Collects what the checker posts, from whichever thread.
class RecordingWindow {
 public:
  PostToWindow Poster();
  // Waits until count messages have come (at most 10 s).
  bool WaitFor(size_t count);
  std::vector<Posted> messages() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<Posted> messages_;
};

// The server, the directory and the key, for fixtures of their own (GUI tests).
class UpdateServerSetup {
 public:
  UpdateServerSetup();
  ~UpdateServerSetup();
  UpdateServerSetup(const UpdateServerSetup&) = delete;
  UpdateServerSetup& operator=(const UpdateServerSetup&) = delete;

  // A checker of the version file at the server's path, trusting the test authority and the
  // test's release key.
  std::unique_ptr<UpdateChecker> MakeChecker(const std::string& address,
                                             InstalledRelease installed = {"1.0 ", "2026-01-01"},
                                             UpdateLimits limits = ShortLimits());
  // Serves the text as the version file, runs the check and waits until it is done.
  std::unique_ptr<UpdateChecker> CheckedAgainst(const std::string& versionFile,
                                                InstalledRelease installed = {"1.0 ", "2026-01-01"},
                                                UpdateLimits limits = ShortLimits());
  static UpdateLimits ShortLimits();

  // Serves the installer at path and returns a version file for it, signed with the given key
  // file (the test's release key when empty).
  std::string PublishInstaller(const std::string& path, const std::string& content,
                               const std::filesystem::path& keyFile = {});
  // The SHA256 and Signature lines of the content.
  std::string SignatureLines(const std::string& content, const std::filesystem::path& keyFile);
  // Directories that downloads left in $TMPDIR.
  std::vector<std::filesystem::path> DownloadDirectories() const;

  std::filesystem::path dir_;
  std::string oldTmpDir_;
  std::unique_ptr<TestAuthority> authority_;
  std::unique_ptr<HttpsTestServer> server_;
  std::filesystem::path releaseKeyFile_;
  std::string releaseKey_;
  RecordingWindow window_;
  std::vector<std::unique_ptr<RecordingWindow>> checkWindows_;
};

class UpdateTest : public ::testing::Test, public UpdateServerSetup {};

}  // namespace kx::update::testing
