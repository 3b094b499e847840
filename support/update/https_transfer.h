// One HTTPS transfer with libcurl: certificates and host names verified, every redirect HTTPS
// too, the body limited in size, and connect and low-speed time-outs, so that a server that
// hangs or floods cannot hold the caller. An abort switch ends every running transfer at once.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace kx::update {

enum class TransferError {
  kNone,
  kNotHttps,       // the address, or a redirect, is not https
  kConnectFailed,  // no connection: host unknown, refused, no network
  kCertificate,    // unknown authority, wrong host name, expired, broken handshake
  kHttpStatus,     // the server answered with an error status
  kTooLarge,       // the body is larger than allowed
  kTimedOut,       // no connection in time, or the body stalled
  kStoppedByReceiver,
  kAborted,
  kOther,
};

struct TransferOptions {
  std::string trustedAuthorities;  // PEM file of the authorities; empty: the system's store
  uint64_t maxBytes = 0;           // 0: no limit
  std::chrono::seconds connectTimeout{20};
  // A body that delivers less than lowSpeedBytes per second for lowSpeedTime is given up.
  std::chrono::seconds lowSpeedTime{30};
  long lowSpeedBytes = 1;
  // An error status fails the transfer; without it the body of an error page is delivered.
  bool failOnHttpError = true;
};

struct TransferResult {
  TransferError error = TransferError::kNone;
  std::string detail;  // libcurl's text, for whoever diagnoses it
  uint64_t bytes = 0;
  bool Ok() const { return error == TransferError::kNone; }
};

// Ends the transfers that run under it, from any thread; a transfer started afterwards ends at
// once.
class TransferAbort {
 public:
  void Abort();
  bool Aborted() const { return aborted_.load(); }

 private:
  friend class TransferRegistration;
  bool Register(void* multi);
  void Unregister(void* multi);

  std::atomic<bool> aborted_{false};
  std::mutex mutex_;
  std::set<void*> running_;
};

// Takes each piece of the body; false stops the transfer (kStoppedByReceiver).
using BodyReceiver = std::function<bool(const char* data, size_t size)>;
// Bytes received so far and the expected total (0: unknown).
using TransferProgress = std::function<void(uint64_t received, uint64_t total)>;

bool IsHttpsAddress(std::string_view address);

// Must run once before any transfer, on one thread.
void InitTransfers();

TransferResult Fetch(const std::string& address, const TransferOptions& options,
                     TransferAbort& abort, const BodyReceiver& receive,
                     const TransferProgress& progress = {});

}  // namespace kx::update
