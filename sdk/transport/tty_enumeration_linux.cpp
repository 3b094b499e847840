// Serial port enumeration on Linux: udev for the list and the USB identities, termios to
// weed out the built-in UART slots that have no chip behind them.
#include <fcntl.h>
#include <libudev.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "transport/com_port_list.h"

namespace kxlf {
namespace {

struct UdevDeleter {
  void operator()(udev* u) const { udev_unref(u); }
  void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
  void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

std::string Text(const char* value) {
  return value != nullptr ? value : "";
}

// The 8250 driver registers a device for every possible legacy port; only those with a
// UART behind them report a port type.
bool HasUart(const char* devnode) {
  const int fd = ::open(devnode, O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0)
    return false;
  serial_struct info{};
  const bool present = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
  ::close(fd);
  return present;
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

bool EnumerateTtyPorts(std::vector<TtyPort>& ports) {
  ports.clear();
  UdevPtr<udev> context(udev_new());
  if (!context)
    return false;
  UdevPtr<udev_enumerate> enumerate(udev_enumerate_new(context.get()));
  if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "tty") < 0 ||
      udev_enumerate_scan_devices(enumerate.get()) < 0)
    return false;

  udev_list_entry* entry;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
    UdevPtr<udev_device> device(
        udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
    if (!device)
      continue;
    const char* devnode = udev_device_get_devnode(device.get());
    udev_device* parent = udev_device_get_parent(device.get());
    // Consoles and pseudo-terminals have no hardware parent.
    if (devnode == nullptr || parent == nullptr)
      continue;
    const char* driver = udev_device_get_driver(parent);
    if (driver != nullptr && std::strcmp(driver, "serial8250") == 0 && !HasUart(devnode))
      continue;

    TtyPort port;
    port.device = devnode;
    if (udev_device* usb =
            udev_device_get_parent_with_subsystem_devtype(device.get(), "usb", "usb_device")) {
      port.product = Text(udev_device_get_sysattr_value(usb, "product"));
      port.usbVendorId = Text(udev_device_get_sysattr_value(usb, "idVendor"));
      port.usbProductId = Text(udev_device_get_sysattr_value(usb, "idProduct"));
    }
    ports.push_back(port);
  }
  return true;
}

std::vector<TtyPort> ProbeTtyPorts() {
  std::vector<TtyPort> ports;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/dev", error)) {
    const std::string name = entry.path().filename().string();
    const bool serialName =
        name.rfind("ttyS", 0) == 0 || name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0;
    if (serialName && CanOpen(entry.path().string()))
      ports.push_back({entry.path().string(), {}, {}, {}});
  }
  return ports;
}

}  // namespace kxlf
