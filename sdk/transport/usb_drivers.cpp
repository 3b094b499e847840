#include "transport/usb_drivers.h"

#include <sys/utsname.h>

#include <fstream>

#include "transport/ftd2xx_port.h"
#include "transport/sysfs_files.h"
#include "transport/usb_reader_ids.h"

namespace kxlf {
namespace {

namespace fs = std::filesystem;

constexpr int kFtdiReaderMissing = 1;
constexpr int kVirtualComReaderMissing = 2;

constexpr const char* kVirtualComDriver = "cdc_acm";

// Any interface of the device ("<device>:<configuration>.<interface>") bound to `driver`.
bool HasInterfaceBoundTo(const fs::path& usbDevices, const std::string& device,
                         const std::string& driver) {
  for (const fs::path& entry : FolderEntries(usbDevices)) {
    const std::string name = entry.filename().string();
    if (name.rfind(device + ":", 0) != 0)
      continue;
    std::error_code error;
    const fs::path bound = fs::read_symlink(entry / "driver", error);
    if (!error && bound.filename() == driver)
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

int MissingUsbDrivers(const DriverSources& sources) {
  bool ftdiReader = false;
  bool virtualComWithoutDriver = false;
  for (const fs::path& entry : FolderEntries(sources.usbDevices)) {
    const std::string name = entry.filename().string();
    if (name.find(':') != std::string::npos)
      continue;  // an interface, not a device
    const std::string vendor = FirstLine(entry / "idVendor");
    const std::string product = FirstLine(entry / "idProduct");
    if (IsUsbReader(UsbReaderKind::kFtdi, vendor, product))
      ftdiReader = true;
    if (IsUsbReader(UsbReaderKind::kVirtualCom, vendor, product) &&
        !HasInterfaceBoundTo(sources.usbDevices, name, kVirtualComDriver))
      virtualComWithoutDriver = true;
  }
  int missing = 0;
  if (ftdiReader && !CFTD2xxPort().HasReaderFunctions())
    missing |= kFtdiReaderMissing;
  // An unbound reader is served as soon as the driver loads, which udev sees to.
  if (virtualComWithoutDriver && !IsVirtualComDriverAvailable(sources))
    missing |= kVirtualComReaderMissing;
  return missing;
}

bool IsVirtualComDriverAvailable(const DriverSources& sources) {
  std::error_code error;
  if (fs::exists(sources.loadedModules / kVirtualComDriver, error))
    return true;
  fs::path modules = sources.kernelModules;
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
