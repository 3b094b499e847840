#include "update/installer_check.h"

#include <openssl/evp.h>

#include <algorithm>
#include <memory>

namespace kx::update {

namespace {

constexpr size_t kEd25519KeyBytes = 32;
constexpr size_t kEd25519SignatureBytes = 64;

int HexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z')
    return c - 'A';
  if (c >= 'a' && c <= 'z')
    return c - 'a' + 26;
  if (c >= '0' && c <= '9')
    return c - '0' + 52;
  if (c == '+')
    return 62;
  if (c == '/')
    return 63;
  return -1;
}

struct KeyDeleter {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct ContextDeleter {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

}  // namespace

Sha256::Sha256() : context_(EVP_MD_CTX_new()) {
  EVP_DigestInit_ex(static_cast<EVP_MD_CTX*>(context_), EVP_sha256(), nullptr);
}

Sha256::~Sha256() {
  EVP_MD_CTX_free(static_cast<EVP_MD_CTX*>(context_));
}

void Sha256::Update(const void* data, size_t size) {
  EVP_DigestUpdate(static_cast<EVP_MD_CTX*>(context_), data, size);
}

Digest Sha256::Final() {
  Digest digest{};
  unsigned int size = 0;
  EVP_DigestFinal_ex(static_cast<EVP_MD_CTX*>(context_), digest.data(), &size);
  return digest;
}

std::string EncodeHex(const uint8_t* data, size_t size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    text += kDigits[data[i] >> 4];
    text += kDigits[data[i] & 0xF];
  }
  return text;
}

std::optional<std::vector<uint8_t>> DecodeHex(std::string_view text) {
  if (text.size() % 2 != 0)
    return std::nullopt;
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    const int high = HexValue(text[i]);
    const int low = HexValue(text[i + 1]);
    if (high < 0 || low < 0)
      return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(high << 4 | low));
  }
  return bytes;
}

std::string EncodeBase64(const uint8_t* data, size_t size) {
  std::string text(4 * ((size + 2) / 3) + 1, '\0');
  const int length =
      EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), data, static_cast<int>(size));
  text.resize(static_cast<size_t>(length));
  return text;
}

std::optional<std::vector<uint8_t>> DecodeBase64(std::string_view text) {
  if (text.size() % 4 != 0)
    return std::nullopt;
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 4 * 3);
  for (size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    int values[4];
    int padding = 0;
    for (int j = 0; j < 4; ++j) {
      const char c = text[i + j];
      if (c == '=' && last && j >= 2) {
        values[j] = 0;
        ++padding;
        continue;
      }
      values[j] = padding == 0 ? Base64Value(c) : -1;
      if (values[j] < 0)
        return std::nullopt;
    }
    const uint32_t group =
        static_cast<uint32_t>(values[0] << 18 | values[1] << 12 | values[2] << 6 | values[3]);
    bytes.push_back(static_cast<uint8_t>(group >> 16));
    if (padding < 2)
      bytes.push_back(static_cast<uint8_t>(group >> 8));
    if (padding < 1)
      bytes.push_back(static_cast<uint8_t>(group));
  }
  return bytes;
}

std::string BuiltInReleaseKey() {
  return KX_RELEASE_PUBLIC_KEY;
}

bool VerifyEd25519(const std::vector<uint8_t>& publicKey, const uint8_t* message,
                   size_t messageSize, const std::vector<uint8_t>& signature) {
  if (publicKey.size() != kEd25519KeyBytes || signature.size() != kEd25519SignatureBytes)
    return false;
  const std::unique_ptr<EVP_PKEY, KeyDeleter> key(
      EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, publicKey.data(), publicKey.size()));
  const std::unique_ptr<EVP_MD_CTX, ContextDeleter> context(EVP_MD_CTX_new());
  if (key == nullptr || context == nullptr ||
      EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
    return false;
  return EVP_DigestVerify(context.get(), signature.data(), signature.size(), message,
                          messageSize) == 1;
}

InstallerVerdict CheckInstaller(const Digest& fileDigest, std::string_view digestHex,
                                std::string_view signatureBase64,
                                std::string_view publicKeyBase64) {
  const auto statedDigest = DecodeHex(digestHex);
  const auto signature = DecodeBase64(signatureBase64);
  if (!statedDigest || statedDigest->size() != fileDigest.size() || !signature ||
      signature->empty())
    return InstallerVerdict::kNotSigned;
  if (!std::equal(fileDigest.begin(), fileDigest.end(), statedDigest->begin()))
    return InstallerVerdict::kDigestMismatch;
  const auto publicKey = DecodeBase64(publicKeyBase64);
  if (!publicKey || !VerifyEd25519(*publicKey, fileDigest.data(), fileDigest.size(), *signature))
    return InstallerVerdict::kSignatureInvalid;
  return InstallerVerdict::kVerified;
}

}  // namespace kx::update
