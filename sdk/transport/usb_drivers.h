// Whether the drivers that the family's USB readers need are there. A reader without its
// driver shows up on the bus but offers no port.
//
// On Linux the FTDI-based reader is driven from user space through the D2XX library, so no
// kernel driver is bound to it while nobody has it open: its driver is the library. The virtual
// COM reader needs the kernel's CDC-ACM driver.
#pragma once

#include <filesystem>
#include <string>

#include "transport/com_port_list.h"

namespace kxlf {

// Where the checks look; tests point them at recorded trees.
struct DriverSources {
  std::filesystem::path usbDevices = SysfsRoot() / "sys/bus/usb/devices";  // and interfaces
  std::filesystem::path loadedModules = SysfsRoot() / "sys/module";
  std::filesystem::path kernelModules;  // empty: /lib/modules/<running kernel>
};

// Bits of the readers attached to this machine (ids in usb_reader_ids.h) whose driver is
// missing: bit 0 for an FTDI-based reader when the D2XX library cannot be loaded or lacks functions
// the reader needs, bit 1 for a virtual COM reader that no CDC-ACM interface serves while the
// CDC-ACM driver is not available either. 0 when every attached reader has its driver, or none is
// attached.
int MissingUsbDrivers(const DriverSources& sources = {});

// Whether the kernel can drive a virtual COM reader: the CDC-ACM driver is loaded, built in or
// installed as a module of the running kernel.
bool IsVirtualComDriverAvailable(const DriverSources& sources = {});

}  // namespace kxlf
