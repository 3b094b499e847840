#include "transport/com_port_list.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "transport/usb_reader_ids.h"

namespace kxlf {
namespace {

// The maker's virtual COM reader is known by its USB ids first: its product string is the
// firmware's, not the driver's description, and may read otherwise than the interface dialog
// expects.
std::string Description(const TtyPort& port) {
  if (IsUsbReader(UsbReaderKind::kVirtualCom, port.usbVendorId, port.usbProductId))
    return " [Orv Virtual COM]";
  if (port.product.rfind("Orv", 0) == 0 || port.product.rfind("QL-4", 0) == 0)
    return " [" + port.product + "]";
  return "";
}

std::string Describe(const TtyPort& port) {
  std::string entry = port.device + Description(port);
  if (!port.kernelDevice.empty())
    entry += " (" + port.kernelDevice + ")";
  return entry;
}

const std::string& KernelName(const TtyPort& port) {
  return port.kernelDevice.empty() ? port.device : port.kernelDevice;
}

// "/dev/ttyUSB10" -> ("/dev/ttyUSB", 10); a name without trailing digits has number -1.
std::pair<std::string, long> SortKey(const std::string& device) {
  size_t digits = device.size();
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(device[digits - 1])))
    --digits;
  const std::string number = device.substr(digits);
  if (number.empty() || number.size() > 9)
    return {device, -1};
  return {device.substr(0, digits), std::strtol(number.c_str(), nullptr, 10)};
}

}  // namespace

std::vector<std::string> FormatComPortList(const std::vector<TtyPort>& ports) {
  std::vector<TtyPort> sorted = ports;
  std::stable_sort(sorted.begin(), sorted.end(), [](const TtyPort& a, const TtyPort& b) {
    return SortKey(KernelName(a)) < SortKey(KernelName(b));
  });
  std::vector<std::string> list;
  list.reserve(sorted.size());
  for (const TtyPort& port : sorted)
    list.push_back(Describe(port));
  return list;
}

}  // namespace kxlf
