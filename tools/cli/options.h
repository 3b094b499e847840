// The command line of kx-cli: global options anywhere, one command, its options and its value.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/data_format.h"

namespace kx::cli {

enum class Command {
  kNone,
  kPorts,
  kIdentify,
  kRead,
  kWrite,
  kUid,
  kProgram,
  kTune,
  kHdxConfig,
  kLan
};

std::optional<Command> CommandFromName(std::string_view name);
std::string_view CommandName(Command command);

struct Options {
  Command command = Command::kNone;

  // Global options.
  std::optional<std::string> port;  // as given; a list entry's "USB: " or "LAN: " is taken off
  std::optional<int> baudRate;
  std::optional<int> serialFormat;  // 0 8N1, 1 8E1, 2 8O1, 3 8N2
  int timeoutMs = 500;
  bool json = false;
  bool quiet = false;
  bool help = false;
  bool version = false;

  // What to read or write. Start block and length stay text: the main window's rules judge them.
  std::optional<int> typeIndex;
  std::string startText = "1";
  std::string lengthText = "4";
  convert::DataFormat format = convert::DataFormat::kHexBinary;
  bool leadingZeros = false;
  bool extraText = false;
  bool verify = false;
  std::optional<std::string> logFile;
  std::optional<long> count;
  std::optional<std::string> stateFile;
  std::optional<std::string> value;

  // The chip tools. tune: a single measurement instead of the automatic tuning with --measure
  // or --ctune (sent along); hdx-config: "read" or "write", the fields to write. lan: "list",
  // "show" or "set" is the action.
  bool wait = false;
  std::optional<int> setting;
  std::optional<int> ctune;
  bool measure = false;
  std::string action;
  std::optional<int> lifeCycle;
  std::optional<int> qFactor;
  std::optional<int> discharge;
  std::optional<long> rfu;

  // lan: the reader named after show or set, --all for list, and what set changes (checked
  // already). For lan set, --port is the reader's TCP port and `port` stays empty.
  std::optional<std::string> reader;
  bool all = false;
  std::optional<std::string> dhcpName;
  std::optional<std::string> address;
  std::optional<int> tcpPort;
  std::optional<std::string> mask;
  std::optional<std::string> gateway;
};

struct ParsedCommandLine {
  std::optional<Options> options;  // empty: `error` says what is wrong
  std::string error;
  Command command = Command::kNone;  // as far as it was recognised, for the help to point at
  bool json = false;                 // --json was given, so the error goes out as JSON too
};

// `args` without the program name. With --help or --version the rest is not checked.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace kx::cli
