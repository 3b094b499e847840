// Whether the drivers that the family's USB readers need are there. A reader without its
// driver shows up on the bus but offers no port.
#pragma once

#include <filesystem>
#include <string>

namespace kxlf {

// Bits of the readers attached to this machine whose driver is missing: bit 0 for an
// FTDI-based reader, bit 1 for a virtual COM reader (ids in usb_reader_ids.h). 0 when every
// attached reader has its driver, or none is attached. `usbDevices` is the folder that lists
// the USB devices and their interfaces (sysfs /sys/bus/usb/devices).
int MissingUsbDrivers(const std::filesystem::path& usbDevices = "/sys/bus/usb/devices");

// Whether the kernel can drive a virtual COM reader: the CDC-ACM driver is loaded, built in or
// installed as a module of the running kernel.
bool IsVirtualComDriverAvailable(const std::filesystem::path& loadedModules = "/sys/module",
                                 const std::filesystem::path& kernelModules = "");

}  // namespace kxlf
