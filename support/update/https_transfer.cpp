#include "update/https_transfer.h"

#include <curl/curl.h>
#include <stdlib.h>

#include <memory>
#include <mutex>

namespace kx::update {

namespace {

// How long one wait for the sockets lasts at most; an abort wakes it earlier.
constexpr int kPollMilliseconds = 1000;
constexpr long kMostRedirects = 5;
// Loopback never goes through a proxy, whatever the environment says.
constexpr char kLoopbackHosts[] = "localhost,127.0.0.1,::1";

struct Body {
  const BodyReceiver& receive;
  uint64_t maxBytes;
  uint64_t bytes = 0;
  bool tooLarge = false;
  bool refused = false;
};

size_t WriteBody(char* data, size_t, size_t size, void* user) {
  auto& body = *static_cast<Body*>(user);
  if (body.maxBytes != 0 && body.bytes + size > body.maxBytes) {
    body.tooLarge = true;
    return 0;
  }
  body.bytes += size;
  if (!body.receive(data, size)) {
    body.refused = true;
    return 0;
  }
  return size;
}

int ReportProgress(void* user, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t) {
  const auto& progress = *static_cast<const TransferProgress*>(user);
  progress(static_cast<uint64_t>(received), static_cast<uint64_t>(total));
  return 0;
}

TransferError ErrorOf(CURLcode code) {
  switch (code) {
    case CURLE_OK:
      return TransferError::kNone;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return TransferError::kNotHttps;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
      return TransferError::kConnectFailed;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
      return TransferError::kCertificate;
    case CURLE_HTTP_RETURNED_ERROR:
      return TransferError::kHttpStatus;
    case CURLE_FILESIZE_EXCEEDED:
      return TransferError::kTooLarge;
    case CURLE_OPERATION_TIMEDOUT:
      return TransferError::kTimedOut;
    default:
      return TransferError::kOther;
  }
}

std::string NoProxyHosts() {
  std::string hosts = kLoopbackHosts;
  for (const char* name : {"no_proxy", "NO_PROXY"}) {
    if (const char* value = getenv(name); value != nullptr && *value != '\0') {
      hosts = std::string(value) + ',' + hosts;
      break;
    }
  }
  return hosts;
}

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

}  // namespace

// Keeps a multi handle known to its abort switch for as long as its transfer runs.
class TransferRegistration {
 public:
  TransferRegistration(TransferAbort& abort, void* multi)
      : abort_(abort), multi_(multi), registered_(abort.Register(multi)) {}
  ~TransferRegistration() {
    if (registered_)
      abort_.Unregister(multi_);
  }
  bool registered() const { return registered_; }

 private:
  TransferAbort& abort_;
  void* multi_;
  bool registered_;
};

void TransferAbort::Abort() {
  std::lock_guard<std::mutex> lock(mutex_);
  aborted_ = true;
  for (void* multi : running_)
    curl_multi_wakeup(static_cast<CURLM*>(multi));
}

bool TransferAbort::Register(void* multi) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (aborted_)
    return false;
  running_.insert(multi);
  return true;
}

void TransferAbort::Unregister(void* multi) {
  std::lock_guard<std::mutex> lock(mutex_);
  running_.erase(multi);
}

bool IsHttpsAddress(std::string_view address) {
  constexpr std::string_view kScheme = "https://";
  if (address.size() <= kScheme.size())
    return false;
  for (size_t i = 0; i < kScheme.size(); ++i) {
    const char c = address[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kScheme[i])
      return false;
  }
  return true;
}

void InitTransfers() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

TransferResult Fetch(const std::string& address, const TransferOptions& options,
                     TransferAbort& abort, const BodyReceiver& receive,
                     const TransferProgress& progress) {
  TransferResult result;
  if (!IsHttpsAddress(address)) {
    result.error = TransferError::kNotHttps;
    return result;
  }
  InitTransfers();
  const std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  const std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
  if (easy == nullptr || multi == nullptr) {
    result.error = TransferError::kOther;
    return result;
  }
  Body body{receive, options.maxBytes};
  char errorText[CURL_ERROR_SIZE] = "";
  const std::string noProxy = NoProxyHosts();
  CURL* e = easy.get();
  curl_easy_setopt(e, CURLOPT_URL, address.c_str());
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "https");
  curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "https");
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMostRedirects);
  curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!options.trustedAuthorities.empty()) {
    curl_easy_setopt(e, CURLOPT_CAINFO, options.trustedAuthorities.c_str());
    curl_easy_setopt(e, CURLOPT_CAPATH, nullptr);
  }
  curl_easy_setopt(e, CURLOPT_NOPROXY, noProxy.c_str());
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_FAILONERROR, options.failOnHttpError ? 1L : 0L);
  curl_easy_setopt(e, CURLOPT_USERAGENT, "KX-M71 Vantrel");
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, static_cast<long>(options.connectTimeout.count()));
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, static_cast<long>(options.lowSpeedTime.count()));
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, options.lowSpeedBytes);
  if (options.maxBytes != 0)
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBytes));
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorText);
  if (progress) {
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, ReportProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &progress);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
  }

  const TransferRegistration registration(abort, multi.get());
  if (!registration.registered()) {
    result.error = TransferError::kAborted;
    return result;
  }
  curl_multi_add_handle(multi.get(), e);
  CURLcode code = CURLE_OK;
  bool finished = false;
  while (!finished) {
    int running = 0;
    if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
      code = CURLE_FAILED_INIT;
      break;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
      if (message->msg == CURLMSG_DONE) {
        code = message->data.result;
        finished = true;
      }
    }
    if (finished)
      break;
    if (abort.Aborted()) {
      result.error = TransferError::kAborted;
      break;
    }
    curl_multi_poll(multi.get(), nullptr, 0, kPollMilliseconds, nullptr);
    if (abort.Aborted()) {
      result.error = TransferError::kAborted;
      break;
    }
  }
  curl_multi_remove_handle(multi.get(), e);
  result.bytes = body.bytes;
  if (result.error == TransferError::kAborted)
    return result;
  if (body.tooLarge)
    result.error = TransferError::kTooLarge;
  else if (body.refused)
    result.error = TransferError::kStoppedByReceiver;
  else
    result.error = ErrorOf(code);
  result.detail = errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
  return result;
}

}  // namespace kx::update
