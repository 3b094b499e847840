// kx-release: the release key pair and the version file keys of an installer.
//   kx-release new-key PRIVATE_KEY_FILE       writes a new key, prints the public key
//   kx-release public-key PRIVATE_KEY_FILE    prints the public key of a key file
//   kx-release sign PRIVATE_KEY_FILE INSTALLER prints the SHA256 and Signature keys
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "release/release_signing.h"

namespace {

constexpr char kUsage[] =
    "usage: kx-release new-key PRIVATE_KEY_FILE\n"
    "       kx-release public-key PRIVATE_KEY_FILE\n"
    "       kx-release sign PRIVATE_KEY_FILE INSTALLER\n"
    "new-key writes a new Ed25519 release key (mode 0600; keep it out of any repository) and\n"
    "prints the public key for KX_RELEASE_PUBLIC_KEY. sign prints the SHA256 and Signature keys\n"
    "of the installer for the product's section of the version file.\n";

int Report(const std::optional<std::string>& output, const std::string& error) {
  if (!output) {
    std::fprintf(stderr, "kx-release: %s\n", error.c_str());
    return 1;
  }
  std::fputs(output->c_str(), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  if (argc == 3 && std::strcmp(argv[1], "new-key") == 0) {
    const auto key = kx::release::MakeReleaseKey(argv[2], error);
    return Report(key ? std::optional<std::string>(*key + "\n") : std::nullopt, error);
  }
  if (argc == 3 && std::strcmp(argv[1], "public-key") == 0) {
    const auto key = kx::release::PublicKeyOf(argv[2], error);
    return Report(key ? std::optional<std::string>(*key + "\n") : std::nullopt, error);
  }
  if (argc == 4 && std::strcmp(argv[1], "sign") == 0)
    return Report(kx::release::SignInstaller(argv[3], argv[2], error), error);
  std::fputs(kUsage, argc == 2 && std::strcmp(argv[1], "--help") == 0 ? stdout : stderr);
  return argc == 2 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
}
