#include "https_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <utility>

namespace kx::update::testing {

namespace {

EVP_PKEY* NewKey() {
  return EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256");
}

void WritePem(const std::filesystem::path& path, X509* certificate, EVP_PKEY* key) {
  FILE* out = fopen(path.c_str(), "wb");
  if (out == nullptr)
    throw std::runtime_error("cannot write " + path.string());
  if (certificate != nullptr)
    PEM_write_X509(out, certificate);
  if (key != nullptr)
    PEM_write_PrivateKey(out, key, nullptr, nullptr, 0, nullptr, nullptr);
  fclose(out);
}

void AddExtension(X509* certificate, X509* issuer, int nid, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
  if (extension == nullptr)
    throw std::runtime_error("bad certificate extension");
  X509_add_ext(certificate, extension, -1);
  X509_EXTENSION_free(extension);
}

X509* NewCertificate(EVP_PKEY* key, const std::string& commonName, long serial) {
  X509* certificate = X509_new();
  X509_set_version(certificate, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(certificate), serial);
  X509_gmtime_adj(X509_getm_notBefore(certificate), -3600);
  X509_gmtime_adj(X509_getm_notAfter(certificate), 24 * 3600);
  X509_set_pubkey(certificate, key);
  X509_NAME* name = X509_get_subject_name(certificate);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0);
  return certificate;
}

bool SendAll(SSL* ssl, const char* data, size_t size) {
  while (size > 0) {
    const int sent = SSL_write(ssl, data, static_cast<int>(size));
    if (sent <= 0)
      return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

const char* Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 404:
      return "Not Found";
    default:
      return "Status";
  }
}

}  // namespace

TestAuthority::TestAuthority(const std::filesystem::path& directory, const std::string& name)
    : directory_(directory), certificateFile_(directory / (name + ".pem")) {
  EVP_PKEY* key = NewKey();
  X509* certificate = NewCertificate(key, name, 1);
  X509_set_issuer_name(certificate, X509_get_subject_name(certificate));
  AddExtension(certificate, certificate, NID_basic_constraints, "critical,CA:TRUE");
  AddExtension(certificate, certificate, NID_key_usage, "critical,keyCertSign,cRLSign");
  AddExtension(certificate, certificate, NID_subject_key_identifier, "hash");
  X509_sign(certificate, key, EVP_sha256());
  WritePem(certificateFile_, certificate, nullptr);
  key_ = key;
  certificate_ = certificate;
}

TestAuthority::~TestAuthority() {
  X509_free(static_cast<X509*>(certificate_));
  EVP_PKEY_free(static_cast<EVP_PKEY*>(key_));
}

TestAuthority::Issued TestAuthority::Issue(const std::string& alternativeNames,
                                           const std::string& fileStem) const {
  static std::atomic<long> serial{100};
  auto* issuer = static_cast<X509*>(certificate_);
  EVP_PKEY* key = NewKey();
  X509* certificate = NewCertificate(key, "test server", serial++);
  X509_set_issuer_name(certificate, X509_get_subject_name(issuer));
  AddExtension(certificate, issuer, NID_basic_constraints, "CA:FALSE");
  AddExtension(certificate, issuer, NID_ext_key_usage, "serverAuth");
  AddExtension(certificate, issuer, NID_subject_alt_name, alternativeNames.c_str());
  AddExtension(certificate, issuer, NID_authority_key_identifier, "keyid");
  X509_sign(certificate, static_cast<EVP_PKEY*>(key_), EVP_sha256());
  Issued issued{directory_ / (fileStem + ".crt"), directory_ / (fileStem + ".key")};
  WritePem(issued.certificateFile, certificate, nullptr);
  WritePem(issued.keyFile, nullptr, key);
  X509_free(certificate);
  EVP_PKEY_free(key);
  return issued;
}

HttpsTestServer::HttpsTestServer(const TestAuthority::Issued& certificate) {
  // A client that hangs up while the server writes must not end the test program.
  signal(SIGPIPE, SIG_IGN);
  SSL_CTX* context = SSL_CTX_new(TLS_server_method());
  if (SSL_CTX_use_certificate_file(context, certificate.certificateFile.c_str(),
                                   SSL_FILETYPE_PEM) != 1 ||
      SSL_CTX_use_PrivateKey_file(context, certificate.keyFile.c_str(), SSL_FILETYPE_PEM) != 1)
    throw std::runtime_error("test server certificate not usable");
  context_ = context;

  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      ::pipe(wake_) != 0)
    throw std::runtime_error("test server cannot listen");
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

HttpsTestServer::~HttpsTestServer() {
  const char wake = 1;
  (void)!::write(wake_[1], &wake, 1);
  thread_.join();
  ::close(listener_);
  ::close(wake_[0]);
  ::close(wake_[1]);
  SSL_CTX_free(static_cast<SSL_CTX*>(context_));
}

void HttpsTestServer::Serve(const std::string& path, Answer answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[path] = std::move(answer);
}

std::string HttpsTestServer::Address(const std::string& path, const std::string& host) const {
  return "https://" + host + ":" + std::to_string(port_) + path;
}

int HttpsTestServer::Requests(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = requests_.find(path);
  return found != requests_.end() ? found->second : 0;
}

void HttpsTestServer::Run() {
  for (;;) {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0)
      continue;
    if (fds[1].revents != 0)
      return;
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
      continue;
    ++connections_;
    Handle(fd);
    ::close(fd);
  }
}

void HttpsTestServer::Handle(int fd) {
  // A client that never speaks cannot hold the server.
  timeval timeout{5, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  SSL* ssl = SSL_new(static_cast<SSL_CTX*>(context_));
  SSL_set_fd(ssl, fd);
  if (SSL_accept(ssl) != 1) {
    ERR_clear_error();
    SSL_free(ssl);
    return;
  }
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    const int received = SSL_read(ssl, buffer, sizeof buffer);
    if (received <= 0)
      break;
    request.append(buffer, static_cast<size_t>(received));
  }
  const size_t pathStart = request.find(' ');
  const size_t pathEnd = request.find(' ', pathStart + 1);
  const std::string path = pathStart == std::string::npos || pathEnd == std::string::npos
                               ? std::string()
                               : request.substr(pathStart + 1, pathEnd - pathStart - 1);
  Answer answer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++requests_[path];
    const auto found = answers_.find(path);
    if (found != answers_.end())
      answer = found->second;
    else
      answer.status = 404;
  }
  std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " + Reason(answer.status) +
                     "\r\nConnection: close\r\n";
  if (answer.announceLength)
    head += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
  if (!answer.location.empty())
    head += "Location: " + answer.location + "\r\n";
  head += "\r\n";
  const size_t bodyBytes = std::min(answer.stallAfter, answer.body.size());
  if (SendAll(ssl, head.data(), head.size()) && SendAll(ssl, answer.body.data(), bodyBytes) &&
      bodyBytes < answer.body.size()) {
    // Silence until the client gives up or the server stops.
    pollfd fds[2] = {{fd, POLLRDHUP, 0}, {wake_[0], POLLIN, 0}};
    while (::poll(fds, 2, -1) < 0 && errno == EINTR) {
    }
  }
  SSL_shutdown(ssl);
  SSL_free(ssl);
  ERR_clear_error();
}

}  // namespace kx::update::testing
