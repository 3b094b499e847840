// Where a downloaded installer is kept: a fresh directory that only this user can enter, and a
// file name taken from the address only when it cannot lead out of that directory.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kx::update {

// A new directory of mode 0700 in the temporary directory ($TMPDIR, else /tmp); nullopt when it
// cannot be made.
std::optional<std::filesystem::path> MakePrivateDirectory();

// The part of the address after its last "/", without a query or fragment. Nullopt when it is
// empty, "." or "..", starts with ".", or holds anything but letters, digits and "._-+~".
std::optional<std::string> InstallerFileName(std::string_view address);

}  // namespace kx::update
