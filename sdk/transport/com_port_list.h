// The list of serial ports that the port dialog offers: every tty device of the machine that
// belongs to real hardware, with a description for the family's own USB readers.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kxlf {

struct TtyPort {
  std::string device;       // what opens it: "/dev/ttyS0", or a link of /dev/serial/by-id
  std::string product;      // the USB product string, empty when there is none
  std::string usbVendorId;  // four hex digits, empty for a port that is not on USB
  std::string usbProductId;
  std::string kernelDevice;  // "/dev/ttyACM0"; empty when it is `device` itself
};

// Entries "<device>", or "<device> [Orv Virtual COM]" for the family's virtual COM reader (by
// its USB ids) and "<device> [<product>]" for a reader that names itself; a port opened by a
// stable link ends in " (<kernel device>)", so that the operator still sees the short name.
// Ordered by kernel device name and then numerically by port number (ttyS2 before ttyS10).
std::vector<std::string> FormatComPortList(const std::vector<TtyPort>& ports);

// The root under which the SDK finds sysfs ("sys") and udev's stable serial links
// ("dev/serial/by-id"): "/", unless the environment variable KXLF_SYSFS_ROOT names another one.
// Tests of the whole program point it at a recorded tree (tests/data/sysfs).
std::filesystem::path SysfsRoot();

// Where the tty devices are read from; tests point both at recorded trees.
struct TtySources {
  std::filesystem::path sysfs = SysfsRoot() / "sys";
  std::filesystem::path byId = SysfsRoot() / "dev" / "serial" / "by-id";
};

// The tty devices of this machine from sysfs, without opening any: consoles and
// pseudo-terminals have no hardware behind them, and the built-in UART slots without a chip
// report port type 0. A USB port is named by its /dev/serial/by-id link where udev made one,
// since kernel names follow the order in which devices appeared. False when sysfs cannot be
// read.
bool EnumerateTtyPorts(std::vector<TtyPort>& ports, const TtySources& sources = {});
// Without sysfs: the usual device names that can be opened right now.
std::vector<TtyPort> ProbeTtyPorts();

}  // namespace kxlf
