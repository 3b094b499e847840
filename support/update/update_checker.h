// The update check: the version file is fetched once per run on a worker thread and its result
// announced to a window; the newest version is compared with the installed one; on request the
// installer is fetched into a private directory and verified against the release key.
//
// The result is a pair of posted messages: the window layer's command message with kNotifyId,
// then kUpdateStateMessage with kNotifyId. The main window answers the first, the About dialog
// the second.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "update/https_transfer.h"
#include "update/installed_release.h"
#include "update/installer_check.h"

namespace kx::update {

inline constexpr int kCommandMessage = 0x0111;
inline constexpr int kNotifyId = 1034;
inline constexpr int kUpdateStateMessage = 0x0400 + 10;
// The section of the version file that describes this product.
inline constexpr char kProductKey[] = "KX_M71_Vantrel";

// Posts a message to a window from any thread; false when the window is gone.
using PostToWindow = std::function<bool(int message, intptr_t first, intptr_t second)>;

struct UpdateSource {
  std::string versionFileAddress;  // https only; empty: nothing is fetched
  std::string trustedAuthorities;  // PEM file; empty: the system's authorities
  std::string releaseKey;          // base64 Ed25519 public key installers are checked against
};

struct UpdateLimits {
  uint64_t versionFileBytes = uint64_t{1} << 20;
  uint64_t installerBytes = uint64_t{1} << 30;
  std::chrono::seconds connectTimeout{20};
  std::chrono::seconds lowSpeedTime{30};
};

// The address built in (KX_UPDATE_URL), or the environment's KX_UPDATE_URL when it is set (an
// empty one switches fetching off), with the system's authorities and the built-in release key.
UpdateSource DefaultUpdateSource();

enum class InstallerProblem {
  kNone,
  kNoAddress,       // the version file names no installer
  kUnsafeName,      // its file name could leave the download directory
  kNotSigned,       // the version file carries no digest and signature
  kDownloadFailed,  // includes a transfer that stopped half way
  kDigestMismatch,
  kSignatureInvalid,
};

struct InstallerDownload {
  std::filesystem::path path;  // empty unless verified
  InstallerProblem problem = InstallerProblem::kNone;
};

class UpdateWorker;

class UpdateChecker {
 public:
  UpdateChecker(UpdateSource source, InstalledRelease installed, UpdateLimits limits = {});
  // Aborts a running transfer and waits for the worker, which then ends at once.
  ~UpdateChecker();
  UpdateChecker(const UpdateChecker&) = delete;
  UpdateChecker& operator=(const UpdateChecker&) = delete;

  // Makes window the one that hears the result. The first call starts the worker; once it has
  // finished, a call posts the stored result to the window at once. Returns whether a worker
  // exists.
  bool StartUpdateCheck(PostToWindow window);
  // Whether the worker has stored its result.
  bool Done() const;

  // Version and Build of the product's section; false (both empty) without a version file text.
  bool ReadLatestVersion(std::string& version, std::string& build) const;
  bool IsNewerAvailable(std::string_view installedVersion, std::string_view installedBuild) const;
  bool IsUpdateAvailable() const;
  std::string GetInstallerAddress() const;

  // The body of an https address; empty on any failure, a body over the version file limit
  // included.
  std::string DownloadText(const std::string& address);
  // Into a new file at path (never an existing one); a failed transfer leaves no file.
  bool DownloadFile(const std::string& address, const std::filesystem::path& path,
                    const TransferProgress& progress = {});
  // The installer of the version file into a fresh private directory, kept only when its digest
  // and signature are right.
  InstallerDownload DownloadInstaller(const TransferProgress& progress = {});

  const InstalledRelease& installed() const { return installed_; }
  const UpdateSource& source() const { return source_; }
  std::string VersionFileText() const;
  // Why the version file could not be fetched; kNone after a successful fetch.
  TransferResult FetchResult() const;

 private:
  friend class UpdateWorker;
  // From the worker: stores the result and posts it to the window recorded now.
  void Finish(std::string text, TransferResult result);
  // The whole body or nothing; an empty or non-https address is refused without a transfer.
  TransferResult FetchText(const std::string& address, std::string& text);
  TransferOptions OptionsFor(uint64_t maxBytes, bool failOnHttpError) const;
  std::string ProductValue(std::string_view key) const;
  TransferResult Download(const std::string& address, const std::filesystem::path& path,
                          const TransferProgress& progress, Digest* digest);

  const UpdateSource source_;
  const InstalledRelease installed_;
  const UpdateLimits limits_;
  TransferAbort abort_;

  mutable std::mutex mutex_;
  std::unique_ptr<UpdateWorker> worker_;
  std::string versionFileText_;
  TransferResult fetchResult_;
  PostToWindow notifyWindow_;
  bool done_ = false;
};

}  // namespace kx::update
