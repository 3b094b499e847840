#include "update/update_checker.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <system_error>
#include <utility>

#include "ini/ini_ex.h"
#include "update/download_dir.h"
#include "update/update_worker.h"
#include "update/version_number.h"

namespace kx::update {

namespace {

constexpr char kVersionKey[] = "Version";
constexpr char kBuildKey[] = "Build";
constexpr char kInstallerKey[] = "Installer";
constexpr char kDigestKey[] = "SHA256";
constexpr char kSignatureKey[] = "Signature";

void PostResult(const PostToWindow& window) {
  if (!window)
    return;
  window(kCommandMessage, kNotifyId, 0);
  window(kUpdateStateMessage, kNotifyId, 0);
}

// Closes the descriptor when it goes.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const int fd = std::exchange(fd_, -1);
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

UpdateSource DefaultUpdateSource() {
  UpdateSource source{KX_UPDATE_URL, {}, BuiltInReleaseKey()};
  if (const char* address = getenv("KX_UPDATE_URL"))
    source.versionFileAddress = address;
  return source;
}

UpdateChecker::UpdateChecker(UpdateSource source, InstalledRelease installed, UpdateLimits limits)
    : source_(std::move(source)), installed_(std::move(installed)), limits_(limits) {
  InitTransfers();
}

UpdateChecker::~UpdateChecker() {
  abort_.Abort();
  std::unique_ptr<UpdateWorker> worker;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    worker = std::move(worker_);
  }
  worker.reset();
}

bool UpdateChecker::StartUpdateCheck(PostToWindow window) {
  PostToWindow announce;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    notifyWindow_ = std::move(window);
    if (worker_ == nullptr) {
      worker_ = std::make_unique<UpdateWorker>(*this);
      if (!worker_->Start())
        worker_.reset();
      return worker_ != nullptr;
    }
    if (done_)
      announce = notifyWindow_;
  }
  PostResult(announce);
  return true;
}

bool UpdateChecker::Done() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return done_;
}

void UpdateChecker::Finish(std::string text, TransferResult result) {
  PostToWindow announce;
  {
    // Done and the window are read together, so that a window recorded meanwhile hears the
    // result either from here or from StartUpdateCheck, never from neither.
    std::lock_guard<std::mutex> lock(mutex_);
    versionFileText_ = std::move(text);
    fetchResult_ = std::move(result);
    done_ = true;
    announce = notifyWindow_;
  }
  PostResult(announce);
}

std::string UpdateChecker::VersionFileText() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return versionFileText_;
}

TransferResult UpdateChecker::FetchResult() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return fetchResult_;
}

std::string UpdateChecker::ProductValue(std::string_view key) const {
  ini::CPrivateProfile file;
  file.ParseText(VersionFileText());
  return file.GetString(kProductKey, key);
}

bool UpdateChecker::ReadLatestVersion(std::string& version, std::string& build) const {
  version.clear();
  build.clear();
  const std::string text = VersionFileText();
  if (text.empty())
    return false;
  ini::CPrivateProfile file;
  file.ParseText(text);
  version = file.GetString(kProductKey, kVersionKey);
  build = file.GetString(kProductKey, kBuildKey);
  return true;
}

bool UpdateChecker::IsNewerAvailable(std::string_view installedVersion,
                                     std::string_view installedBuild) const {
  std::string version;
  std::string build;
  if (!ReadLatestVersion(version, build))
    return false;
  if (VersionNumber(installedVersion) < VersionNumber(version))
    return true;
  // A later build of the same version counts as newer; dates compare as text.
  return !build.empty() && installedBuild < std::string_view(build);
}

bool UpdateChecker::IsUpdateAvailable() const {
  return IsNewerAvailable(installed_.version, installed_.build);
}

std::string UpdateChecker::GetInstallerAddress() const {
  return ProductValue(kInstallerKey);
}

TransferOptions UpdateChecker::OptionsFor(uint64_t maxBytes, bool failOnHttpError) const {
  TransferOptions options;
  options.trustedAuthorities = source_.trustedAuthorities;
  options.maxBytes = maxBytes;
  options.connectTimeout = limits_.connectTimeout;
  options.lowSpeedTime = limits_.lowSpeedTime;
  options.failOnHttpError = failOnHttpError;
  return options;
}

TransferResult UpdateChecker::FetchText(const std::string& address, std::string& text) {
  text.clear();
  // An error page still counts as an answer: it is no version file, which the check says.
  TransferResult result = Fetch(address, OptionsFor(limits_.versionFileBytes, false), abort_,
                                [&text](const char* data, size_t size) {
                                  text.append(data, size);
                                  return true;
                                });
  // Part of a version file could name a wrong version ("1.1" of "1.13"): all or nothing.
  if (!result.Ok())
    text.clear();
  return result;
}

std::string UpdateChecker::DownloadText(const std::string& address) {
  std::string text;
  FetchText(address, text);
  return text;
}

TransferResult UpdateChecker::Download(const std::string& address,
                                       const std::filesystem::path& path,
                                       const TransferProgress& progress, Digest* digest) {
  TransferResult result;
  FileDescriptor file(
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (file.get() < 0) {
    result.error = TransferError::kStoppedByReceiver;
    result.detail = std::system_category().message(errno);
    return result;
  }
  Sha256 hash;
  result = Fetch(
      address, OptionsFor(limits_.installerBytes, true), abort_,
      [&](const char* data, size_t size) {
        hash.Update(data, size);
        return WriteAll(file.get(), data, size);
      },
      progress);
  if (!file.Close() && result.Ok())
    result.error = TransferError::kStoppedByReceiver;
  if (!result.Ok()) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  } else if (digest != nullptr) {
    *digest = hash.Final();
  }
  return result;
}

bool UpdateChecker::DownloadFile(const std::string& address, const std::filesystem::path& path,
                                 const TransferProgress& progress) {
  return Download(address, path, progress, nullptr).Ok();
}

InstallerDownload UpdateChecker::DownloadInstaller(const TransferProgress& progress) {
  const std::string address = GetInstallerAddress();
  if (address.empty())
    return {{}, InstallerProblem::kNoAddress};
  const std::optional<std::string> name = InstallerFileName(address);
  if (!name)
    return {{}, InstallerProblem::kUnsafeName};
  const std::string digestText = ProductValue(kDigestKey);
  const std::string signature = ProductValue(kSignatureKey);
  // Without both there is nothing to check the file against: it is not even fetched.
  if (digestText.empty() || signature.empty())
    return {{}, InstallerProblem::kNotSigned};

  const std::optional<std::filesystem::path> directory = MakePrivateDirectory();
  if (!directory)
    return {{}, InstallerProblem::kDownloadFailed};
  const std::filesystem::path path = *directory / *name;
  Digest digest{};
  InstallerProblem problem = InstallerProblem::kNone;
  if (!Download(address, path, progress, &digest).Ok()) {
    problem = InstallerProblem::kDownloadFailed;
  } else {
    switch (CheckInstaller(digest, digestText, signature, source_.releaseKey)) {
      case InstallerVerdict::kVerified:
        return {path, InstallerProblem::kNone};
      case InstallerVerdict::kNotSigned:
        problem = InstallerProblem::kNotSigned;
        break;
      case InstallerVerdict::kDigestMismatch:
        problem = InstallerProblem::kDigestMismatch;
        break;
      case InstallerVerdict::kSignatureInvalid:
        problem = InstallerProblem::kSignatureInvalid;
        break;
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(*directory, ignored);
  return {{}, problem};
}

}  // namespace kx::update
