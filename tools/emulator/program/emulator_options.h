// Command line of kx-emulator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kxemu/reader_model.h"

namespace kxemu {

struct EmulatorOptions {
  std::string ptyLink;         // path pointed at the pseudo-terminal's device
  std::string tcpAddress;      // dotted address the reader listens on over TCP
  uint16_t tcpPort = 0;        // 0: no TCP listener
  bool networkModule = false;  // the network module on UDP port 30718
  std::string dhcpName;        // set: the module takes its address from DHCP under this name
  bool makerCode = true;
  std::string interface;    // the module moves this interface's address when its settings change
  std::string hidBus;       // set: a switchable USB reader, HID personality served here
  bool startAsHid = false;  // begins in the HID personality rather than on the terminal
  std::optional<std::string> hidSerial = std::string("5391-0001");  // none: no serial string
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
