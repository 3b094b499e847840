// An HTTPS server on the loopback address for the update check's tests, with a certificate
// authority of its own: every version file and installer that a test fetches comes from here.
// It serves fixed answers by path, counts requests, and can stall in the middle of a body.
#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace kx::update::testing {

// A certificate authority made for one test run, and server certificates issued by it.
class TestAuthority {
 public:
  // Writes its certificate to directory/name.
  TestAuthority(const std::filesystem::path& directory, const std::string& name);
  ~TestAuthority();
  TestAuthority(const TestAuthority&) = delete;
  TestAuthority& operator=(const TestAuthority&) = delete;

  // The PEM file that a client trusts.
  const std::filesystem::path& certificateFile() const { return certificateFile_; }

  struct Issued {
    std::filesystem::path certificateFile;
    std::filesystem::path keyFile;
  };
  // A server certificate for the subject alternative names ("DNS:localhost,IP:127.0.0.1").
  Issued Issue(const std::string& alternativeNames, const std::string& fileStem) const;

 private:
  std::filesystem::path directory_;
  std::filesystem::path certificateFile_;
  void* key_;
  void* certificate_;
};

struct Answer {
  Answer() = default;
  Answer(int status, std::string body, std::string location = {})
      : status(status), body(std::move(body)), location(std::move(location)) {}

  int status = 200;
  std::string body;
  std::string location;  // a Location header for redirects
  // Without a length the body ends when the connection closes.
  bool announceLength = true;
  // The server sends this many bytes of the body and then says nothing more until it stops.
  size_t stallAfter = std::string::npos;
};

class HttpsTestServer {
 public:
  HttpsTestServer(const TestAuthority::Issued& certificate);
  ~HttpsTestServer();
  HttpsTestServer(const HttpsTestServer&) = delete;
  HttpsTestServer& operator=(const HttpsTestServer&) = delete;

  // Unknown paths get 404.
  void Serve(const std::string& path, Answer answer);
  // "https://127.0.0.1:<port><path>", or with another host name.
  std::string Address(const std::string& path, const std::string& host = "127.0.0.1") const;
  int port() const { return port_; }

  int Requests(const std::string& path) const;
  // Every accepted TCP connection, whether its handshake succeeded or not.
  int Connections() const { return connections_.load(); }

 private:
  void Run();
  void Handle(int fd);

  void* context_;
  int listener_ = -1;
  int wake_[2] = {-1, -1};
  int port_ = 0;
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::map<std::string, Answer> answers_;
  std::map<std::string, int> requests_;
  std::thread thread_;
};

}  // namespace kx::update::testing
