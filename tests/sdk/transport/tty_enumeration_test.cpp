// The serial port list from recorded sysfs trees of both kernel layouts (tests/data/sysfs).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transport/com_port_list.h"
#include "transport/usb_serial_port.h"

namespace kxlf {
namespace {

const std::filesystem::path kTrees = KX_SYSFS_TREES;

TtySources Tree(const std::string& kernel) {
  return {kTrees / kernel / "sys", kTrees / kernel / "dev" / "serial" / "by-id"};
}

std::vector<std::string> Listed(const std::string& kernel) {
  std::vector<TtyPort> ports;
  EXPECT_TRUE(EnumerateTtyPorts(ports, Tree(kernel)));
  return FormatComPortList(ports);
}

// The links are named where udev makes them, wherever the tree was read from.
std::string ById(const std::string&, const std::string& link) {
  return "/dev/serial/by-id/" + link;
}

constexpr const char* kReaderLink = "usb-Orv_Applikationen_Orv_KX-M71_Reader_7731-0017-if00";
constexpr const char* kAdapterLink = "usb-FTDI_FT232R_USB_UART_A9XK31QB-if00-port0";

// Empty UART slots are left out by their port type in both layouts, virtual ttys by having no
// hardware; USB ports come under their stable link with the kernel name behind, and the
// virtual COM reader is recognised by its ids whatever its firmware calls itself.
TEST(TtyEnumeration, KernelBefore65) {
  EXPECT_EQ(Listed("kernel-6.1"),
            (std::vector<std::string>{
                ById("kernel-6.1", kReaderLink) + " [Orv Virtual COM] (/dev/ttyACM0)",
                "/dev/ttyS0",
                ById("kernel-6.1", kAdapterLink) + " (/dev/ttyUSB0)",
            }));
}

TEST(TtyEnumeration, KernelFrom65WithSerialBaseDevices) {
  EXPECT_EQ(
      Listed("kernel-6.6"),
      (std::vector<std::string>{
          ById("kernel-6.6", "usb-u-blox_AG_-_www.u-blox.com_u-blox_7_-_GPS_GNSS_Receiver-if00") +
              " (/dev/ttyACM0)",
          ById("kernel-6.6", kReaderLink) + " [Orv Virtual COM] (/dev/ttyACM1)",
          "/dev/ttyS0",
          ById("kernel-6.6", kAdapterLink) + " (/dev/ttyUSB0)",
      }));
}

TEST(TtyEnumeration, WithoutUdevLinksTheKernelNameIsTheName) {
  std::vector<TtyPort> ports;
  ASSERT_TRUE(EnumerateTtyPorts(ports, {kTrees / "kernel-6.1" / "sys", kTrees / "missing"}));
  EXPECT_EQ(FormatComPortList(ports), (std::vector<std::string>{
                                          "/dev/ttyACM0 [Orv Virtual COM]",
                                          "/dev/ttyS0",
                                          "/dev/ttyUSB0",
                                      }));
}

TEST(TtyEnumeration, FailsWithoutSysfs) {
  std::vector<TtyPort> ports{{"/dev/ttyS0", {}, {}, {}, {}}};
  EXPECT_FALSE(EnumerateTtyPorts(ports, Tree("missing")));
  EXPECT_TRUE(ports.empty());
}

// What the list offers opens the port it names: the stable link, not the kernel name shown
// behind it, and without the description.
TEST(TtyEnumeration, EntriesOpenTheirStableLink) {
  for (const std::string& entry : Listed("kernel-6.6")) {
    std::string device;
    ASSERT_TRUE(CUSBSerialPort::ParsePortName(entry, device)) << entry;
    EXPECT_EQ(device, entry.substr(0, entry.find(' '))) << entry;
  }
}

}  // namespace
}  // namespace kxlf
