// Command line of kx-emulator.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "kxemu/reader_model.h"

namespace kxemu {

struct EmulatorOptions {
  std::string ptyLink;  // path pointed at the pseudo-terminal's device
  ReaderConfig reader;
  Faults faults;
  bool help = false;
};

struct ParsedOptions {
  std::optional<EmulatorOptions> options;  // empty: `error` says what is wrong
  std::string error;
};

// `args` without the program name.
ParsedOptions ParseEmulatorOptions(const std::vector<std::string>& args);
std::string EmulatorUsage();

}  // namespace kxemu
