// The --help texts of kx-cli and of each of its commands, and --version.
#pragma once

#include <string>

#include "options.h"

namespace kx::cli {

// Command::kNone gives the overview.
std::string HelpText(Command command);
std::string VersionText();

}  // namespace kx::cli
