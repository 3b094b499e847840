#include "release/release_signing.h"

#include <fcntl.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include "update/installer_check.h"

namespace kx::release {

namespace {

struct KeyDeleter {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct ContextDeleter {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyDeleter>;

std::string OpenSslError() {
  char text[256] = "";
  ERR_error_string_n(ERR_get_error(), text, sizeof text);
  return text;
}

std::optional<std::string> PublicKeyText(EVP_PKEY* key, std::string& error) {
  uint8_t raw[32];
  size_t size = sizeof raw;
  if (EVP_PKEY_get_raw_public_key(key, raw, &size) != 1 || size != sizeof raw) {
    error = "not an Ed25519 key";
    return std::nullopt;
  }
  return update::EncodeBase64(raw, size);
}

Key ReadPrivateKey(const std::filesystem::path& file, std::string& error) {
  const std::unique_ptr<FILE, FileCloser> in(fopen(file.c_str(), "rb"));
  if (in == nullptr) {
    error = file.string() + ": " + std::strerror(errno);
    return nullptr;
  }
  Key key(PEM_read_PrivateKey(in.get(), nullptr, nullptr, nullptr));
  if (key == nullptr)
    error = file.string() + ": " + OpenSslError();
  else if (EVP_PKEY_get_id(key.get()) != EVP_PKEY_ED25519) {
    error = file.string() + ": not an Ed25519 key";
    key.reset();
  }
  return key;
}

std::optional<update::Digest> DigestOf(const std::filesystem::path& file, std::string& error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = file.string() + ": " + std::strerror(errno);
    return std::nullopt;
  }
  update::Sha256 hash;
  std::vector<char> buffer(1 << 16);
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
    hash.Update(buffer.data(), static_cast<size_t>(in.gcount()));
  if (in.bad()) {
    error = file.string() + ": read error";
    return std::nullopt;
  }
  return hash.Final();
}

}  // namespace

std::optional<std::string> MakeReleaseKey(const std::filesystem::path& privateKeyFile,
                                          std::string& error) {
  Key key(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"));
  if (key == nullptr) {
    error = OpenSslError();
    return std::nullopt;
  }
  const int fd = ::open(privateKeyFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    error = privateKeyFile.string() + ": " + std::strerror(errno);
    return std::nullopt;
  }
  const std::unique_ptr<FILE, FileCloser> out(fdopen(fd, "wb"));
  if (out == nullptr) {
    ::close(fd);
    error = std::strerror(errno);
    return std::nullopt;
  }
  if (PEM_write_PrivateKey(out.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) != 1 ||
      fflush(out.get()) != 0) {
    error = privateKeyFile.string() + ": cannot be written";
    return std::nullopt;
  }
  return PublicKeyText(key.get(), error);
}

std::optional<std::string> PublicKeyOf(const std::filesystem::path& privateKeyFile,
                                       std::string& error) {
  const Key key = ReadPrivateKey(privateKeyFile, error);
  if (key == nullptr)
    return std::nullopt;
  return PublicKeyText(key.get(), error);
}

std::optional<std::string> SignInstaller(const std::filesystem::path& installer,
                                         const std::filesystem::path& privateKeyFile,
                                         std::string& error) {
  const Key key = ReadPrivateKey(privateKeyFile, error);
  if (key == nullptr)
    return std::nullopt;
  const std::optional<update::Digest> digest = DigestOf(installer, error);
  if (!digest)
    return std::nullopt;
  const std::unique_ptr<EVP_MD_CTX, ContextDeleter> context(EVP_MD_CTX_new());
  uint8_t signature[64];
  size_t size = sizeof signature;
  if (context == nullptr ||
      EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1 ||
      EVP_DigestSign(context.get(), signature, &size, digest->data(), digest->size()) != 1) {
    error = OpenSslError();
    return std::nullopt;
  }
  return "SHA256=" + update::EncodeHex(digest->data(), digest->size()) +
         "\nSignature=" + update::EncodeBase64(signature, size) + "\n";
}

}  // namespace kx::release
