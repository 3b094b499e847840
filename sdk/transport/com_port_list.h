// The list of serial ports that the port dialog offers: every tty device of the machine that
// belongs to real hardware, with a description for the family's own USB readers.
#pragma once

#include <string>
#include <vector>

namespace kxlf {

struct TtyPort {
  std::string device;       // "/dev/ttyUSB0"
  std::string product;      // the USB product string, empty when there is none
  std::string usbVendorId;  // four hex digits, empty for a port that is not on USB
  std::string usbProductId;
};

// Entries "<device>", "<device> [<product>]" for the family's readers that name themselves,
// or "<device> [Orv Virtual COM]" for a reader known only by its USB identifiers; ordered by
// device name and then numerically by port number (ttyS2 before ttyS10).
std::vector<std::string> FormatComPortList(const std::vector<TtyPort>& ports);

// The tty devices of this machine from udev; false when udev cannot be asked.
bool EnumerateTtyPorts(std::vector<TtyPort>& ports);
// Without udev: the usual device names that can be opened right now.
std::vector<TtyPort> ProbeTtyPorts();

}  // namespace kxlf
