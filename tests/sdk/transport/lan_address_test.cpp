// LAN names and the texts of a network configuration.
#include "transport/lan_address.h"

#include <gtest/gtest.h>

namespace kxlf {
namespace {

TEST(LanAddress, AReaderNameSplitsAtItsLastDashIntoHostAndPort) {
  EXPECT_EQ(SplitHostPort("192.168.1.20").host, "192.168.1.20");
  EXPECT_EQ(SplitHostPort("192.168.1.20").port, 10001);
  EXPECT_EQ(SplitHostPort("192.168.1.20-4001").port, 4001);
  EXPECT_EQ(SplitHostPort("192.168.1.20-4001").host, "192.168.1.20");
  // Only leading digits count; a number no port can be is no port.
  EXPECT_EQ(SplitHostPort("10.0.0.1-80x").port, 80);
  EXPECT_EQ(SplitHostPort("10.0.0.1-65536").port, 0);
  EXPECT_EQ(SplitHostPort("10.0.0.1-").port, 0);
  EXPECT_EQ(HostOfName("[LAB01]192.168.1.33-10001"), "[LAB01]192.168.1.33");
  EXPECT_EQ(HostOfName("192.168.1.33"), "192.168.1.33");
}

TEST(LanAddress, StrictAddressesRefuseAnythingButFourNumbers) {
  EXPECT_EQ(ParseIpv4("198.18.0.255"), (Ipv4{198, 18, 0, 255}));
  for (const char* bad : {"", "1.2.3", "1.2.3.4.", "1.2.3.256", "1.2.3.4 ", " 1.2.3.4", "1..3.4",
                          "1.2.3.0004", "[LAB]"})
    EXPECT_FALSE(ParseIpv4(bad)) << bad;
}

TEST(LanAddress, MasksConvertToHostBitCountsAndBack) {
  EXPECT_EQ(HostBitCount({255, 255, 255, 0}), 8);
  EXPECT_EQ(HostBitCount({255, 255, 0, 0}), 16);
  EXPECT_EQ(HostBitCount({255, 255, 255, 252}), 2);
  EXPECT_EQ(HostBitCount({0, 0, 0, 0}), 32);
  // Only the lowest one bit counts, whatever lies above it.
  EXPECT_EQ(HostBitCount({0, 0, 1, 0}), 8);
  EXPECT_EQ(MaskFromHostBits(8), (Ipv4{255, 255, 255, 0}));
  EXPECT_EQ(MaskFromHostBits(0), (Ipv4{255, 255, 255, 255}));
  EXPECT_EQ(MaskFromHostBits(31), (Ipv4{128, 0, 0, 0}));
  EXPECT_EQ(MaskFromHostBits(32), (Ipv4{}));
  EXPECT_EQ(MaskFromHostBits(200), (Ipv4{}));
}

TEST(LanAddress, ConfigurationAddressesAskForAFixedAddressOrForDhcpByName) {
  const ConfigAddress fixed = ParseConfigAddress("192.168.1.20-4001");
  EXPECT_EQ(fixed.address, (Ipv4{192, 168, 1, 20}));
  EXPECT_EQ(fixed.port, 4001);
  EXPECT_FALSE(fixed.nameGiven);
  EXPECT_EQ(ParseConfigAddress("192.168.1.20").port, 0);

  const ConfigAddress dhcp = ParseConfigAddress("[LAB-01]-10002");
  EXPECT_EQ(dhcp.address, Ipv4{});
  EXPECT_TRUE(dhcp.nameGiven);
  EXPECT_EQ(dhcp.name, "LAB-01");
  EXPECT_EQ(dhcp.port, 10002);
  EXPECT_EQ(ParseConfigAddress("[ABCDEFGHIJKLMNOPQRS]").name, "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(ParseConfigAddress("[OPEN").name, "OPEN");
  EXPECT_EQ(ParseConfigAddress("0.0.0.0-10001").port, 10001);
}

TEST(LanAddress, MalformedConfigurationTextsGiveNoAddressAndNoPort) {
  // Numbers are taken modulo 256, ports modulo 65536, stray characters skipped.
  EXPECT_EQ(ParseConfigAddress("300.1x.2.257-70000").address, (Ipv4{44, 1, 2, 1}));
  EXPECT_EQ(ParseConfigAddress("300.1x.2.257-70000").port, 70000 % 65536);
  for (const char* bad : {"", "1.2.3-4", ".1.2.3-10001", "-10001", "garbage"}) {
    const ConfigAddress parsed = ParseConfigAddress(bad);
    EXPECT_EQ(parsed.address, Ipv4{}) << bad;
    EXPECT_EQ(parsed.port, 0) << bad;
    EXPECT_FALSE(parsed.nameGiven) << bad;
  }
}

}  // namespace
}  // namespace kxlf
