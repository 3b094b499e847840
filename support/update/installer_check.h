// Whether a downloaded installer is the one the maker published: the version file names its
// SHA-256 digest (hex) and an Ed25519 signature of that digest (base64), made with the release
// key whose public half the program carries.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx::update {

using Digest = std::array<uint8_t, 32>;

// SHA-256 over pieces of data.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Update(const void* data, size_t size);
  Digest Final();

 private:
  void* context_;
};

std::string EncodeHex(const uint8_t* data, size_t size);
// Upper or lower case; nullopt for anything else or an odd length.
std::optional<std::vector<uint8_t>> DecodeHex(std::string_view text);
std::string EncodeBase64(const uint8_t* data, size_t size);
// Standard alphabet with padding; nullopt for anything malformed.
std::optional<std::vector<uint8_t>> DecodeBase64(std::string_view text);

// The release key built into this program: 32 bytes, base64.
std::string BuiltInReleaseKey();

bool VerifyEd25519(const std::vector<uint8_t>& publicKey, const uint8_t* message,
                   size_t messageSize, const std::vector<uint8_t>& signature);

enum class InstallerVerdict {
  kVerified,
  kNotSigned,         // digest or signature missing or malformed in the version file
  kDigestMismatch,    // the file is not the one the version file names
  kSignatureInvalid,  // the digest was not signed with the release key
};

// digestHex and signatureBase64 as the version file gives them; publicKeyBase64 the release key.
InstallerVerdict CheckInstaller(const Digest& fileDigest, std::string_view digestHex,
                                std::string_view signatureBase64, std::string_view publicKeyBase64);

}  // namespace kx::update
