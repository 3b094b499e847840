#include "transport/usb_drivers.h"

#include <sys/utsname.h>

#include <fstream>

#include "transport/usb_reader_ids.h"

namespace kxlf {
namespace {

namespace fs = std::filesystem;

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// Any interface of the device ("<device>:<configuration>.<interface>") bound to a driver.
bool HasBoundInterface(const fs::path& usbDevices, const std::string& device) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(usbDevices, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(device + ":", 0) == 0 && fs::exists(entry.path() / "driver", error))
      return true;
  }
  return false;
}

bool FileMentions(const fs::path& file, const std::string& text) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.find(text) != std::string::npos)
      return true;
  }
  return false;
}

}  // namespace

int MissingUsbDrivers(const fs::path& usbDevices) {
  int missing = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(usbDevices, error)) {
    const std::string name = entry.path().filename().string();
    if (name.find(':') != std::string::npos)
      continue;  // an interface, not a device
    const std::string vendor = FirstLine(entry.path() / "idVendor");
    const std::string product = FirstLine(entry.path() / "idProduct");
    int bit = 0;
    if (IsUsbReader(UsbReaderKind::kFtdi, vendor, product))
      bit = 1;
    if (IsUsbReader(UsbReaderKind::kVirtualCom, vendor, product))
      bit = 2;
    if (bit != 0 && !HasBoundInterface(usbDevices, name))
      missing |= bit;
  }
  return missing;
}

bool IsVirtualComDriverAvailable(const fs::path& loadedModules, const fs::path& kernelModules) {
  std::error_code error;
  if (fs::exists(loadedModules / "cdc_acm", error))
    return true;
  fs::path modules = kernelModules;
  if (modules.empty()) {
    utsname system{};
    if (::uname(&system) != 0)
      return false;
    modules = fs::path("/lib/modules") / system.release;
  }
  return FileMentions(modules / "modules.builtin", "/cdc-acm.ko") ||
         FileMentions(modules / "modules.dep", "/cdc-acm.ko");
}

}  // namespace kxlf
