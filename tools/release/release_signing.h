// The publisher's side of installer signatures: the release key pair, and the two keys of the
// version file that let the program trust an installer.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kx::release {

// Writes a new Ed25519 private key as PEM to a file that must not exist yet (mode 0600) and
// returns the public key as base64 (the value of KX_RELEASE_PUBLIC_KEY). nullopt and error on
// failure.
std::optional<std::string> MakeReleaseKey(const std::filesystem::path& privateKeyFile,
                                          std::string& error);

// The public key of a private key file, base64.
std::optional<std::string> PublicKeyOf(const std::filesystem::path& privateKeyFile,
                                       std::string& error);

// "SHA256=<hex>\nSignature=<base64>\n" for the installer: its digest and the digest signed with
// the private key.
std::optional<std::string> SignInstaller(const std::filesystem::path& installer,
                                         const std::filesystem::path& privateKeyFile,
                                         std::string& error);

}  // namespace kx::release
