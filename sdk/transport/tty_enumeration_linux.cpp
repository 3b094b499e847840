// Serial port enumeration on Linux, from sysfs alone. Nothing is opened: opening a port toggles
// DTR and RTS on a device that is there, and fails for a port that another program holds.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "transport/com_port_list.h"
#include "transport/sysfs_files.h"

namespace kxlf {
namespace {

namespace fs = std::filesystem;

constexpr const char* kStableLinks = "/dev/serial/by-id";

// The device node's name as the kernel announces it; the tty's own name otherwise.
std::string DeviceName(const fs::path& tty) {
  std::ifstream uevent(tty / "uevent");
  constexpr std::string_view kKey = "DEVNAME=";
  for (std::string line; std::getline(uevent, line);) {
    if (line.rfind(kKey, 0) == 0)
      return line.substr(kKey.size());
  }
  return tty.filename().string();
}

// Serial-core ports (8250 and the like) carry a port type; 0 means no UART answered at the
// slot. This holds for the old layout (tty under the serial8250 platform device) and for the
// serial-base port devices of kernel 6.5 and later alike.
bool IsEmptyUartSlot(const fs::path& tty) {
  std::error_code error;
  return fs::exists(tty / "type", error) && FirstLine(tty / "type") == "0";
}

// The USB device above the tty's hardware, if any: the nearest ancestor with USB ids.
void ReadUsbIdentity(const fs::path& tty, const fs::path& sysfs, TtyPort& port) {
  std::error_code error;
  const fs::path top = fs::weakly_canonical(sysfs, error);
  for (fs::path at = fs::canonical(tty / "device", error);
       !error && at != top && at.has_parent_path() && at != at.parent_path();
       at = at.parent_path()) {
    if (fs::exists(at / "idVendor", error) && fs::exists(at / "idProduct", error)) {
      port.usbVendorId = FirstLine(at / "idVendor");
      port.usbProductId = FirstLine(at / "idProduct");
      port.product = FirstLine(at / "product");
      return;
    }
  }
}

// Kernel name ("ttyACM0") -> the stable link that udev made for it in /dev/serial/by-id.
std::map<std::string, std::string> StableLinks(const fs::path& byId) {
  std::map<std::string, std::string> links;
  for (const fs::path& link : FolderEntries(byId)) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    // Named where udev puts it, also when read from a recorded tree.
    if (!error)
      links.emplace(target.filename().string(),
                    (fs::path(kStableLinks) / link.filename()).string());
  }
  return links;
}

bool CanOpen(const std::string& device) {
  const int fd = ::open(device.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0)
    return false;
  const bool tty = ::isatty(fd) != 0;
  ::close(fd);
  return tty;
}

}  // namespace

fs::path SysfsRoot() {
  const char* root = std::getenv("KXLF_SYSFS_ROOT");
  return root != nullptr && *root != '\0' ? fs::path(root) : fs::path("/");
}

bool EnumerateTtyPorts(std::vector<TtyPort>& ports, const TtySources& sources) {
  ports.clear();
  const fs::path ttys = sources.sysfs / "class" / "tty";
  std::error_code error;
  if (!fs::is_directory(ttys, error))
    return false;
  const std::map<std::string, std::string> links = StableLinks(sources.byId);
  for (const fs::path& tty : FolderEntries(ttys)) {
    // Consoles and pseudo-terminals have no hardware behind them.
    if (!fs::exists(tty / "device", error) || IsEmptyUartSlot(tty))
      continue;
    TtyPort port;
    const std::string name = DeviceName(tty);
    port.device = "/dev/" + name;
    ReadUsbIdentity(tty, sources.sysfs, port);
    if (auto link = links.find(fs::path(name).filename().string()); link != links.end()) {
      port.kernelDevice = port.device;
      port.device = link->second;
    }
    ports.push_back(port);
  }
  return true;
}

std::vector<TtyPort> ProbeTtyPorts() {
  std::vector<TtyPort> ports;
  for (const fs::path& device : FolderEntries("/dev")) {
    const std::string name = device.filename().string();
    const bool serialName =
        name.rfind("ttyS", 0) == 0 || name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0;
    if (serialName && CanOpen(device.string()))
      ports.push_back({device.string(), {}, {}, {}, {}});
  }
  return ports;
}

}  // namespace kxlf
