#include "options.h"

#include <array>
#include <functional>

#include "lan_texts.h"
#include "names.h"
#include "stored_settings.h"
#include "whole_number.h"

namespace kx::cli {

namespace {

constexpr std::array<std::pair<std::string_view, Command>, 9> kCommands = {{
    {"ports", Command::kPorts},
    {"identify", Command::kIdentify},
    {"read", Command::kRead},
    {"write", Command::kWrite},
    {"uid", Command::kUid},
    {"program", Command::kProgram},
    {"tune", Command::kTune},
    {"hdx-config", Command::kHdxConfig},
    {"lan", Command::kLan},
}};

constexpr char kCommandList[] =
    "ports, identify, read, write, uid, program, tune, hdx-config or lan";

constexpr int kLowestTimeoutMs = 10;
constexpr int kHighestTimeoutMs = 300000;
constexpr int kBaudStep = 100;  // the stored baud code keeps the serial format in its last digits

// Which commands take an option; the global options are taken by every command.
enum Scope : unsigned {
  kGlobal = 0,
  kRead = 1u << static_cast<int>(Command::kRead),
  kWrite = 1u << static_cast<int>(Command::kWrite),
  kUid = 1u << static_cast<int>(Command::kUid),
  kProgram = 1u << static_cast<int>(Command::kProgram),
  kTune = 1u << static_cast<int>(Command::kTune),
  kHdxConfig = 1u << static_cast<int>(Command::kHdxConfig),
  kLan = 1u << static_cast<int>(Command::kLan),
};

// "on"/"off", "low"/"high" and the like: the index of the word in `words`, any letter case.
std::optional<int> ParseWord(std::string_view text, std::initializer_list<std::string_view> words) {
  std::string lower(text);
  for (char& c : lower)
    c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  int index = 0;
  for (std::string_view word : words) {
    if (lower == word)
      return index;
    ++index;
  }
  return std::nullopt;
}

std::optional<long> ParseLong(std::string_view text, long lowest, long highest) {
  const std::optional<long> value = ParseWholeNumber<long>(text);
  if (!value || *value < lowest || *value > highest)
    return std::nullopt;
  return value;
}

// The index is the serial-format code of the open call.
std::optional<int> ParseSerialFormat(std::string_view text) {
  constexpr std::array<std::string_view, 4> kFormats = {"8N1", "8E1", "8O1", "8N2"};
  std::string upper(text);
  for (char& c : upper)
    c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  for (size_t i = 0; i < kFormats.size(); ++i) {
    if (upper == kFormats[i])
      return static_cast<int>(i);
  }
  return std::nullopt;
}

// Stores an option's value (or its switch); returns an error text, empty when fine.
using Apply = std::function<std::string(Options&, const std::string&)>;

struct OptionRule {
  std::string_view name;
  unsigned scope;
  bool takesValue;
  Apply apply;
};

Apply Switch(bool Options::*member) {
  return [member](Options& o, const std::string&) {
    o.*member = true;
    return std::string();
  };
}

template <typename Text>
Apply Keep(Text Options::*member) {
  return [member](Options& o, const std::string& value) {
    o.*member = value;
    return std::string();
  };
}

// Keeps a value that `check` accepts (its error text is empty).
Apply Checked(std::optional<std::string> Options::*member, std::string (*check)(std::string_view)) {
  return [member, check](Options& o, const std::string& value) {
    std::string error = check(value);
    if (error.empty())
      o.*member = value;
    return error;
  };
}

std::vector<OptionRule> OptionRules() {
  const unsigned job = kRead | kWrite | kProgram;
  return {
      {"--port", kGlobal, true,
       [](Options& o, const std::string& v) {
         // The list entries of the ports command are taken as they are shown.
         o.port = std::string(WithoutListPrefix(v));
         return o.port->empty() ? std::string("--port wants a port name") : std::string();
       }},
      {"--baud", kGlobal, true,
       [](Options& o, const std::string& v) {
         const auto baud = ParseLong(v, kBaudStep, 100000000);
         if (!baud || *baud % kBaudStep != 0)
           return std::string("--baud wants a baud rate such as 9600, 19200 or 115200");
         o.baudRate = static_cast<int>(*baud);
         return std::string();
       }},
      {"--serial", kGlobal, true,
       [](Options& o, const std::string& v) {
         o.serialFormat = ParseSerialFormat(v);
         return o.serialFormat ? std::string() : std::string("--serial wants 8N1, 8E1, 8O1 or 8N2");
       }},
      {"--timeout", kGlobal, true,
       [](Options& o, const std::string& v) {
         const auto timeout = ParseLong(v, kLowestTimeoutMs, kHighestTimeoutMs);
         if (!timeout)
           return std::string("--timeout wants milliseconds from 10 to 300000");
         o.timeoutMs = static_cast<int>(*timeout);
         return std::string();
       }},
      {"--json", kGlobal, false, Switch(&Options::json)},
      {"--quiet", kGlobal, false, Switch(&Options::quiet)},
      {"--help", kGlobal, false, Switch(&Options::help)},
      {"--version", kGlobal, false, Switch(&Options::version)},
      {"--type", job | kUid, true,
       [](Options& o, const std::string& v) {
         o.typeIndex = ParseTransponderType(v);
         return o.typeIndex ? std::string()
                            : "unknown transponder type '" + v +
                                  "': use read-only, ti-rw, ti-multipage, ti-hdx+, incide-hdx, "
                                  "sic7900, sic7999 or em4017";
       }},
      {"--start", job, true, Keep(&Options::startText)},
      {"--length", job, true, Keep(&Options::lengthText)},
      {"--format", job | kUid, true,
       [](Options& o, const std::string& v) {
         const auto format = ParseDataFormat(v);
         if (!format) {
           return "unknown data format '" + v +
                  "': use hex-binary, hex-ascii, decimal-binary, decimal-ascii, data-binary, "
                  "data-ascii or 0 to 5";
         }
         o.format = *format;
         return std::string();
       }},
      {"--leading-zeros", kWrite | kProgram, false, Switch(&Options::leadingZeros)},
      {"--extra-text", kWrite | kProgram, false, Switch(&Options::extraText)},
      // program always verifies; the switch is taken there for symmetry with write.
      {"--verify", kWrite | kProgram, false, Switch(&Options::verify)},
      {"--log", job, true, Keep(&Options::logFile)},
      {"--count", kProgram, true,
       [](Options& o, const std::string& v) {
         o.count = ParseLong(v, 1, 1000000000);
         return o.count ? std::string() : std::string("--count wants a number of transponders");
       }},
      {"--state", kProgram, true, Keep(&Options::stateFile)},
      {"--wait", kTune | kHdxConfig, false, Switch(&Options::wait)},
      {"--setting", kTune, true,
       [](Options& o, const std::string& v) {
         const auto setting = ParseLong(v, 0, 1);
         o.setting = setting ? std::optional<int>(static_cast<int>(*setting)) : std::nullopt;
         return o.setting ? std::string() : std::string("--setting wants 0 or 1");
       }},
      {"--ctune", kTune, true,
       [](Options& o, const std::string& v) {
         const auto ctune = ParseLong(v, 0, 255);
         o.ctune = ctune ? std::optional<int>(static_cast<int>(*ctune)) : std::nullopt;
         return o.ctune ? std::string()
                        : "--ctune wants a CTune value from 0 to 255, not '" + v + "'";
       }},
      {"--measure", kTune, false, Switch(&Options::measure)},
      {"--life-cycle", kHdxConfig, true,
       [](Options& o, const std::string& v) {
         const auto cycle = ParseLong(v, 0, 7);
         o.lifeCycle = cycle ? std::optional<int>(static_cast<int>(*cycle)) : std::nullopt;
         return o.lifeCycle ? std::string()
                            : "--life-cycle wants a whole number from 0 to 7, not '" + v + "'";
       }},
      {"--q-factor", kHdxConfig, true,
       [](Options& o, const std::string& v) {
         o.qFactor = ParseWord(v, {"low", "high"});
         return o.qFactor ? std::string() : std::string("--q-factor wants low or high");
       }},
      {"--discharge", kHdxConfig, true,
       [](Options& o, const std::string& v) {
         o.discharge = ParseWord(v, {"off", "on"});
         return o.discharge ? std::string() : std::string("--discharge wants on or off");
       }},
      {"--all", kLan, false, Switch(&Options::all)},
      {"--dhcp", kLan, true, Checked(&Options::dhcpName, CheckDhcpName)},
      {"--address", kLan, true, Checked(&Options::address, CheckFixedAddress)},
      {"--mask", kLan, true, Checked(&Options::mask, CheckSubnetMask)},
      {"--gateway", kLan, true, Checked(&Options::gateway, CheckGateway)},
      {"--rfu", kHdxConfig, true,
       [](Options& o, const std::string& v) {
         o.rfu = ParseLong(v, 0, 1000000000);
         return o.rfu ? std::string()
                      : "--rfu wants a whole number from 0 (its lowest three bits are written), "
                        "not '" +
                            v + "'";
       }},
  };
}

bool WritesValue(Command command) {
  return command == Command::kWrite || command == Command::kProgram;
}

bool LooksLikeOption(const std::string& arg) {
  // "-5" is a negative value, not an option.
  return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

struct Parser {
  ParsedCommandLine result;
  Options options;
  std::vector<std::pair<const OptionRule*, std::string>> seen;  // option and how it was written
  std::vector<std::string> positional;

  void Fail(std::string error) {
    if (result.error.empty())
      result.error = std::move(error);
  }
};

std::string CheckLan(const Options& o) {
  if (o.action != "list" && o.action != "show" && o.action != "set")
    return "lan needs list, show or set";
  if (o.action == "list" && o.reader)
    return "lan list takes no READER";
  if (o.action != "list" && (!o.reader || o.reader->empty()))
    return "lan " + o.action + " needs the READER, as 'kx-cli lan list' shows it";
  if (o.all && o.action != "list")
    return "--all belongs to lan list";
  const bool changes = o.dhcpName || o.address || o.tcpPort || o.mask || o.gateway;
  if (o.action != "set" && changes)
    return "--dhcp, --address, --mask and --gateway belong to lan set";
  if (o.action == "list" && o.port)
    return "lan list searches every network and takes no --port";
  if (o.action == "show" && o.port)
    return "lan show takes the reader as READER, not --port";
  if (o.action == "set") {
    if (o.dhcpName && o.address)
      return "--dhcp and --address exclude each other: a reader takes its address from DHCP "
             "or has a fixed one";
    if (!changes)
      return "lan set needs at least one of --dhcp, --address, --port, --mask and --gateway";
  }
  return {};
}

std::string CheckRequired(const Options& o) {
  const std::string command(CommandName(o.command));
  switch (o.command) {
    case Command::kNone:
      return std::string("name a command: ") + kCommandList;
    case Command::kRead:
    case Command::kWrite:
    case Command::kUid:
    case Command::kProgram:
      if (!o.typeIndex)
        return command + " needs --type";
      break;
    default:
      break;
  }
  if (o.command == Command::kProgram && !o.count)
    return "program needs --count";
  if (o.command == Command::kTune && o.setting && !o.measure && !o.ctune)
    return "--setting chooses the setting of a single measurement: add --measure or --ctune";
  if (o.command == Command::kHdxConfig) {
    if (o.action != "read" && o.action != "write")
      return "hdx-config needs read or write";
    const bool fields = o.lifeCycle || o.qFactor || o.discharge || o.rfu;
    if (o.action == "read" && fields)
      return "--life-cycle, --q-factor, --discharge and --rfu belong to hdx-config write";
    if (o.action == "write" && !fields)
      return "hdx-config write needs at least one of --life-cycle, --q-factor, --discharge "
             "and --rfu";
  }
  if (o.command == Command::kLan) {
    if (std::string error = CheckLan(o); !error.empty())
      return error;
  }
  if (WritesValue(o.command) && !o.value)
    return command + " needs the VALUE to write";
  return {};
}

}  // namespace

std::optional<Command> CommandFromName(std::string_view name) {
  for (const auto& [text, command] : kCommands) {
    if (name == text)
      return command;
  }
  return std::nullopt;
}

std::string_view CommandName(Command command) {
  for (const auto& [text, value] : kCommands) {
    if (value == command)
      return text;
  }
  return {};
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  const std::vector<OptionRule> rules = OptionRules();
  Parser p;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || !LooksLikeOption(arg)) {
      if (p.options.command == Command::kNone) {
        if (const auto command = CommandFromName(arg)) {
          p.options.command = *command;
          continue;
        }
        p.Fail("unknown command '" + arg + "': use " + kCommandList);
        continue;
      }
      p.positional.push_back(arg);
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const std::string shortName = name == "-h" ? "--help" : name;
    const OptionRule* rule = nullptr;
    for (const OptionRule& candidate : rules) {
      if (candidate.name == shortName)
        rule = &candidate;
    }
    if (rule == nullptr) {
      p.Fail("unknown option '" + name + "'");
      continue;
    }
    std::string value;
    if (rule->takesValue) {
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        p.Fail(name + " wants a value");
        continue;
      }
    } else if (equals != std::string::npos) {
      p.Fail(name + " takes no value");
      continue;
    }
    const std::string error = rule->apply(p.options, value);
    if (!error.empty())
      p.Fail(error);
    p.seen.emplace_back(rule, name);
  }

  const Command command = p.options.command;
  p.result.command = command;
  p.result.json = p.options.json;
  if (p.options.help || p.options.version) {
    p.result.options = p.options;
    return p.result;
  }
  for (const auto& [rule, written] : p.seen) {
    const unsigned bit = 1u << static_cast<int>(command);
    if (rule->scope != kGlobal && (rule->scope & bit) == 0 && command != Command::kNone) {
      p.Fail(written + " is not an option of " + std::string(CommandName(command)));
    }
  }
  if (WritesValue(command) && p.positional.size() == 1) {
    p.options.value = p.positional.front();
  } else if (command == Command::kHdxConfig && p.positional.size() == 1) {
    p.options.action = p.positional.front();
  } else if (command == Command::kLan && !p.positional.empty() && p.positional.size() <= 2) {
    p.options.action = p.positional.front();
    if (p.positional.size() == 2)
      p.options.reader = std::string(WithoutListPrefix(p.positional[1]));
  } else if (!p.positional.empty()) {
    const size_t takes = WritesValue(command) || command == Command::kHdxConfig ? 1
                         : command == Command::kLan                             ? 2
                                                                                : 0;
    p.Fail("unexpected argument '" + p.positional[takes] + "'");
  }
  // lan set changes the reader's TCP port with --port; it names the reader as READER.
  if (command == Command::kLan && p.options.action == "set" && p.options.port) {
    p.options.tcpPort = ParseTcpPort(*p.options.port);
    if (!p.options.tcpPort)
      p.Fail("--port of lan set wants the reader's TCP port, 1 to 65535, not '" + *p.options.port +
             "'");
    p.options.port.reset();
  }
  if (p.result.error.empty())
    p.Fail(CheckRequired(p.options));
  if (p.result.error.empty())
    p.result.options = p.options;
  return p.result;
}

}  // namespace kx::cli
