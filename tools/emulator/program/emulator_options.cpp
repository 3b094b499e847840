#include "emulator_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

#include "kxemu/reader_identity.h"
#include "link/reader_commands.h"

namespace kxemu {

namespace {

std::optional<long> ParseNumber(const std::string& text, long min, long max) {
  long value = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || rest != end || value < min || value > max)
    return std::nullopt;
  return value;
}

std::optional<double> ParseDecimal(const std::string& text, double min, double max) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || rest != end || !(value >= min && value <= max))
    return std::nullopt;
  return value;
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  for (std::string part; std::getline(stream, part, ',');)
    parts.push_back(part);
  return parts;
}

// Hex digits in pairs; blanks, ':' and '-' may separate the bytes.
std::optional<Bytes> ParseHex(const std::string& text) {
  std::string digits;
  for (char c : text) {
    if (c == ' ' || c == ':' || c == '-')
      continue;
    if (!std::isxdigit(static_cast<unsigned char>(c)))
      return std::nullopt;
    digits += c;
  }
  if (digits.empty() || digits.size() % 2 != 0)
    return std::nullopt;
  Bytes bytes;
  for (size_t i = 0; i < digits.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

struct TransponderRequest {
  std::optional<std::string> spec;  // TYPE[,BLOCKS]
  std::optional<Bytes> uid;
  std::optional<Bytes> data;
  std::vector<size_t> locked;
  // SIC7999 tuning.
  std::optional<uint8_t> ctune;
  std::optional<double> detunePercent;
  std::optional<double> setting1Picofarad;
  std::optional<int> unsteadyHz;
  std::optional<int> measureFailures;
  bool withoutFrequency = false;
  // HDX+ configuration byte.
  std::optional<uint8_t> chipConfig;

  bool Tuning() const {
    return ctune || detunePercent || setting1Picofarad || unsteadyHz || measureFailures ||
           withoutFrequency;
  }
};

constexpr int kSic7999 = 38;
constexpr double kPicofarad = 1e-12;

std::optional<std::string> BuildTransponder(const TransponderRequest& request,
                                            std::optional<Transponder>& out) {
  if (!request.spec) {
    if (request.uid || request.data || !request.locked.empty() || request.Tuning() ||
        request.chipConfig) {
      return "--uid, --data, --lock and the chip options need --transponder";
    }
    return std::nullopt;
  }
  const std::vector<std::string> parts = SplitCommas(*request.spec);
  const auto type = parts.empty() ? std::nullopt : ParseNumber(parts[0], 1, 255);
  const auto blocks = parts.size() == 2 ? ParseNumber(parts[1], 1, 65536) : std::optional<long>(0);
  if (!type || !blocks || parts.size() > 2)
    return "--transponder wants TYPE[,BLOCKS]";
  Transponder transponder = MakeTransponder(static_cast<int>(*type), static_cast<size_t>(*blocks));
  if (request.uid)
    transponder.uid = *request.uid;
  if (request.data) {
    if (request.data->size() > transponder.memory.size()) {
      return "--data holds more bytes than the transponder's memory";
    }
    std::copy(request.data->begin(), request.data->end(), transponder.memory.begin());
  }
  for (size_t block : request.locked) {
    if (block >= transponder.locked.size())
      return "--lock names a block the transponder lacks";
    transponder.locked[block] = true;
  }
  if (request.Tuning() && transponder.type != kSic7999)
    return "--ctune, --detune, --setting1-pf, --unsteady, --measure-failures and --no-frequency "
           "need a SIC7999 (--transponder 38)";
  if (request.chipConfig && !kxlf::IsChipCode(transponder.type))
    return "--chip-config needs a TI HDX+ (--transponder 35) or chip code 37";
  if (request.ctune)
    transponder.ctune = *request.ctune;
  if (request.detunePercent)
    transponder.circuit.frequencyScale = 1.0 + *request.detunePercent / 100.0;
  if (request.setting1Picofarad)
    transponder.circuit.settingCapacitanceF = *request.setting1Picofarad * kPicofarad;
  if (request.unsteadyHz)
    transponder.measurementFaults.unsteadyHz = *request.unsteadyHz;
  if (request.measureFailures)
    transponder.measurementFaults.failures = *request.measureFailures;
  transponder.measurementFaults.withoutFrequency = request.withoutFrequency;
  if (request.chipConfig)
    transponder.chipConfig = *request.chipConfig;
  out = std::move(transponder);
  return std::nullopt;
}

}  // namespace

ParsedOptions ParseEmulatorOptions(const std::vector<std::string>& args) {
  EmulatorOptions options;
  TransponderRequest transponder;
  ParsedOptions result;
  const auto fail = [&](const std::string& error) {
    result.error = error;
    return result;
  };

  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
      result.options = options;
      return result;
    }
    if (name == "--crc-only") {
      options.reader.answersOnlyInCrcMode = true;
      continue;
    }
    if (name == "--no-frequency") {
      transponder.withoutFrequency = true;
      continue;
    }
    if (name == "--network-module") {
      options.networkModule = true;
      continue;
    }
    if (name == "--hid") {
      options.startAsHid = true;
      continue;
    }
    if (name == "--no-hid-serial") {
      options.hidSerial.reset();
      continue;
    }
    if (name == "--no-maker-code") {
      options.makerCode = false;
      continue;
    }
    if (i + 1 >= args.size())
      return fail("unknown option or missing value: " + name);
    const std::string& value = args[++i];
    if (name == "--pty") {
      options.ptyLink = value;
    } else if (name == "--hid-bus") {
      options.hidBus = value;
    } else if (name == "--hid-serial") {
      options.hidSerial = value;
    } else if (name == "--tcp") {
      const size_t colon = value.rfind(':');
      const auto port = colon == std::string::npos ? std::optional<long>(10001)
                                                   : ParseNumber(value.substr(colon + 1), 1, 65535);
      if (!port || colon == 0)
        return fail("--tcp wants ADDRESS[:PORT], e.g. 198.18.0.2:10001");
      options.tcpAddress = value.substr(0, colon);
      options.tcpPort = static_cast<uint16_t>(*port);
    } else if (name == "--dhcp") {
      if (value.empty() || value.size() > 16)
        return fail("--dhcp wants a name of 1 to 16 characters");
      options.dhcpName = value;
    } else if (name == "--interface") {
      options.interface = value;
    } else if (name == "--version-text") {
      if (value.empty() || value.size() > 255)
        return fail("--version-text wants 1 to 255 bytes");
      options.reader.versionText = value;
    } else if (name == "--identity") {
      const std::optional<IdentityPreset> preset = FindIdentityPreset(value);
      if (!preset)
        return fail("unknown identity: " + value);
      options.reader.versionText = preset->versionText;
    } else if (name == "--address") {
      const auto address = ParseNumber(value, 0, 255);
      if (!address)
        return fail("--address wants 0 to 255");
      options.reader.address = static_cast<uint8_t>(*address);
    } else if (name == "--delay") {
      const auto delay = ParseNumber(value, 0, 600000);
      if (!delay)
        return fail("--delay wants milliseconds, 0 to 600000");
      options.faults.answerDelay = std::chrono::milliseconds(*delay);
    } else if (name == "--transponder") {
      transponder.spec = value;
    } else if (name == "--uid") {
      transponder.uid = ParseHex(value);
      if (!transponder.uid)
        return fail("--uid wants hexadecimal bytes");
    } else if (name == "--data") {
      transponder.data = ParseHex(value);
      if (!transponder.data)
        return fail("--data wants hexadecimal bytes");
    } else if (name == "--lock") {
      for (const std::string& part : SplitCommas(value)) {
        const auto block = ParseNumber(part, 0, 65535);
        if (!block)
          return fail("--lock wants block numbers separated by commas");
        transponder.locked.push_back(static_cast<size_t>(*block));
      }
    } else if (name == "--ctune") {
      const auto ctune = ParseNumber(value, 0, 255);
      if (!ctune)
        return fail("--ctune wants 0 to 255");
      transponder.ctune = static_cast<uint8_t>(*ctune);
    } else if (name == "--detune") {
      transponder.detunePercent = ParseDecimal(value, -50.0, 50.0);
      if (!transponder.detunePercent)
        return fail("--detune wants a percentage from -50 to 50");
    } else if (name == "--setting1-pf") {
      transponder.setting1Picofarad = ParseDecimal(value, 0.0, 10000.0);
      if (!transponder.setting1Picofarad)
        return fail("--setting1-pf wants picofarads from 0 to 10000");
    } else if (name == "--unsteady") {
      const auto hertz = ParseNumber(value, 0, 10000);
      if (!hertz)
        return fail("--unsteady wants hertz, 0 to 10000");
      transponder.unsteadyHz = static_cast<int>(*hertz);
    } else if (name == "--measure-failures") {
      const auto count = ParseNumber(value, 0, 1000000);
      if (!count)
        return fail("--measure-failures wants a count, 0 to 1000000");
      transponder.measureFailures = static_cast<int>(*count);
    } else if (name == "--chip-config") {
      const std::optional<Bytes> byte = ParseHex(value);
      if (!byte || byte->size() != 1)
        return fail("--chip-config wants one byte in hexadecimal, e.g. B5");
      transponder.chipConfig = byte->front();
    } else {
      return fail("unknown option: " + name);
    }
  }

  if (options.ptyLink.empty() && options.tcpPort == 0 && options.hidBus.empty())
    return fail("--pty PATH, --tcp ADDRESS[:PORT] or --hid-bus FOLDER is required");
  if (options.startAsHid && options.hidBus.empty())
    return fail("--hid needs --hid-bus FOLDER");
  if (options.networkModule && options.tcpPort == 0)
    return fail("--network-module needs --tcp ADDRESS[:PORT], the module's own address");
  if (std::optional<std::string> error =
          BuildTransponder(transponder, options.reader.transponder)) {
    return fail(*error);
  }
  result.options = std::move(options);
  return result;
}

std::string EmulatorUsage() {
  std::ostringstream text;
  text << "Usage: kx-emulator --pty PATH | --tcp ADDRESS[:PORT] | --hid-bus FOLDER [options]\n"
          "Emulates one KX family reader on a pseudo-terminal, over TCP or both, until SIGINT\n"
          "or SIGTERM. Prints one line per server on standard output: the terminal's device\n"
          "path, the LAN name ADDRESS-PORT, the HID name.\n"
          "\n"
          "  --pty PATH             link PATH to the terminal device (an old link is replaced)\n"
          "  --hid-bus FOLDER       a USB reader that switches between virtual COM port (the\n"
          "                         terminal) and HID device (served in FOLDER, where the test\n"
          "                         build of hidapi finds it through KX_FAKE_HID_BUS) when the\n"
          "                         host sends 0xFF 1 or 2 and then 0xF6; prints a line\n"
          "                         \"pty DEVICE\" or \"hid NAME\" after every switch\n"
          "  --hid                  start as HID device (needs --hid-bus)\n"
          "  --hid-serial TEXT      its USB serial number (default 5391-0001)\n"
          "  --no-hid-serial        it has no serial number string\n"
          "  --tcp ADDRESS[:PORT]   listen for the host on ADDRESS, port PORT (default 10001),\n"
          "                         one connection after another; run it inside a network\n"
          "                         namespace of its own (ip netns exec)\n"
          "  --network-module       answer the network module's protocol on UDP port 30718,\n"
          "                         with the --tcp address and port as its settings\n"
          "  --dhcp NAME            the module takes its address from DHCP under NAME\n"
          "  --no-maker-code        the module does not understand the extended IP-SETUP\n"
          "  --interface IF         new settings move the address of IF (the namespace's\n"
          "                         interface); without it the module stays where it is\n"
          "  --identity NAME        reader identity, one of the presets below\n"
          "  --version-text TEXT    version answer as given (default 054A)\n"
          "  --crc-only             answer only requests in CRC-16 frame mode\n"
          "  --address N            bus address 0-255 (default 1)\n"
          "  --transponder T[,B]    a transponder of type code T with B blocks in the field\n"
          "                         (default: none; B defaults to the type's usual size)\n"
          "  --uid HEX              its identity, e.g. E004010012345621\n"
          "  --data HEX             its memory from block 0 on\n"
          "  --lock B[,B...]        blocks locked against writes\n"
          "  --ctune N              SIC7999 (type 38): its present CTune (default 64)\n"
          "  --detune PERCENT       SIC7999: every resonance this much higher (negative: lower);\n"
          "                         from about 10 either way no CTune reaches the window\n"
          "  --setting1-pf PF       SIC7999: capacitance that frequency setting 1 adds\n"
          "                         (default 97.6)\n"
          "  --unsteady HZ          SIC7999: measurements wobble this much up and down\n"
          "  --measure-failures N   SIC7999: the next N measurement requests fail (the host\n"
          "                         library tries each measurement three times)\n"
          "  --no-frequency         SIC7999: measurements succeed without a frequency\n"
          "  --chip-config HEX      TI HDX+ (type 35): its configuration byte, e.g. B5\n"
          "  --delay MS             pause before every answer\n"
          "  --help                 this text\n"
          "\n"
          "Identities:\n";
  for (const IdentityPreset& preset : IdentityPresets()) {
    text << "  " << preset.name << " (" << preset.versionText << "): " << preset.description
         << "\n";
  }
  return text.str();
}

}  // namespace kxemu
