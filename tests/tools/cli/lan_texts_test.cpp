// The LAN commands without a network: what the command line refuses before anything is sent,
// the address text of a change, and the output of the settings and of the reader list. The
// texts' own rules are tested with the flows (tests/app/flows/lan_settings_test.cpp).
#include <gtest/gtest.h>

#include "lan_output.h"
#include "lan_texts.h"
#include "options.h"

namespace kx::cli {
namespace {

std::string ErrorOf(const std::vector<std::string>& args) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  EXPECT_FALSE(parsed.options) << ::testing::PrintToString(args);
  return parsed.error;
}

Options Parsed(const std::vector<std::string>& args) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  EXPECT_TRUE(parsed.options) << parsed.error;
  return parsed.options.value_or(Options{});
}

TEST(LanOptionsTest, ActionsReaderAndChanges) {
  const Options list = Parsed({"--json", "lan", "list", "--all"});
  EXPECT_EQ(list.command, Command::kLan);
  EXPECT_EQ(list.action, "list");
  EXPECT_TRUE(list.all);
  EXPECT_FALSE(list.reader);

  // A line of 'kx-cli ports' names the reader too.
  EXPECT_EQ(Parsed({"lan", "show", "LAN: [LAB01]"}).reader, "[LAB01]");

  // For lan set, --port is the reader's TCP port, wherever it stands.
  for (const Options& set : {Parsed({"lan", "set", "[LAB01]", "--address", "198.18.0.50", "--port",
                                     "4001", "--mask", "255.255.0.0", "--gateway", "0.0.0.0"}),
                             Parsed({"--port=4001", "lan", "--gateway=0.0.0.0", "set", "--mask",
                                     "255.255.0.0", "[LAB01]", "--address=198.18.0.50"})}) {
    EXPECT_EQ(set.action, "set");
    EXPECT_EQ(set.reader, "[LAB01]");
    EXPECT_EQ(set.address, "198.18.0.50");
    EXPECT_EQ(set.tcpPort, 4001);
    EXPECT_FALSE(set.port);
    EXPECT_EQ(set.mask, "255.255.0.0");
    EXPECT_EQ(set.gateway, "0.0.0.0");
    EXPECT_FALSE(set.dhcpName);
  }
  EXPECT_EQ(Parsed({"lan", "set", "198.18.0.20-10001", "--dhcp", "LINE-7_A.b"}).dhcpName,
            "LINE-7_A.b");
  EXPECT_EQ(Parsed({"lan", "set", "R", "--port", "65535"}).tcpPort, 65535);
  EXPECT_EQ(Parsed({"lan", "set", "R", "--dhcp", "ABCDEFGHIJKLMNO"}).dhcpName, "ABCDEFGHIJKLMNO");
}

TEST(LanOptionsTest, BadInputIsRefusedWithItsReason) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"lan"}, "lan needs list, show or set"},
      {{"lan", "scan"}, "lan needs list, show or set"},
      {{"lan", "list", "[LAB01]"}, "lan list takes no READER"},
      {{"lan", "show"}, "lan show needs the READER"},
      {{"lan", "set", "--dhcp", "LAB01"}, "lan set needs the READER"},
      {{"lan", "show", "R", "extra"}, "unexpected argument 'extra'"},
      {{"lan", "set", "R"}, "needs at least one of"},
      {{"lan", "show", "R", "--all"}, "--all belongs to lan list"},
      {{"lan", "show", "R", "--gateway", "1.2.3.4"}, "belong to lan set"},
      {{"lan", "show", "R", "--port", "198.18.0.2"}, "takes the reader as READER, not --port"},
      {{"lan", "list", "--port", "198.18.0.2"}, "takes no --port"},
      {{"lan", "set", "R", "--dhcp", "ABCDEFGHIJKLMNOP"}, "has 16 characters"},
      {{"lan", "set", "R", "--dhcp", ""}, "--dhcp wants the reader's DHCP name"},
      {{"lan", "set", "R", "--dhcp", "LAB 01"}, "no blanks"},
      {{"lan", "set", "R", "--dhcp", "LAB]01"}, "']'"},
      {{"lan", "set", "R", "--dhcp", "LAB:1"}, "':'"},
      {{"lan", "set", "R", "--dhcp"}, "--dhcp wants a value"},
      {{"lan", "set", "R", "--port", "abc"}, "TCP port, 1 to 65535, not 'abc'"},
      {{"lan", "set", "R", "--port", "65536"}, "not '65536'"},
      {{"lan", "set", "R", "--port", "-1"}, "not '-1'"},
      {{"lan", "set", "R", "--port", "0"}, "not '0'"},
      {{"lan", "set", "R", "--port", "10001x"}, "not '10001x'"},
      {{"lan", "set", "R", "--address", ""}, "wants the reader's fixed IPv4 address"},
      {{"lan", "set", "R", "--address", "  "}, "wants the reader's fixed IPv4 address"},
      {{"lan", "set", "R", "--address", "0.0.0.0"}, "no valid address for a reader"},
      {{"lan", "set", "R", "--address", "255.255.255.255"}, "no valid address"},
      {{"lan", "set", "R", "--address", "127.0.0.1"}, "no valid address"},
      {{"lan", "set", "R", "--address", "224.0.0.9"}, "no valid address"},
      {{"lan", "set", "R", "--address", "198.18.0"}, "dotted IPv4 address"},
      {{"lan", "set", "R", "--address", "198.18.0.256"}, "dotted IPv4 address"},
      {{"lan", "set", "R", "--address", "198.18.0.5.1"}, "dotted IPv4 address"},
      {{"lan", "set", "R", "--address", "198.18. 0.5"}, "dotted IPv4 address"},
      {{"lan", "set", "R", "--address", "198.18.0.50-4001"}, "give the TCP port with --port"},
      {{"lan", "set", "R", "--dhcp", "LAB01", "--address", "198.18.0.50"},
       "--dhcp and --address exclude each other"},
      {{"lan", "set", "R", "--mask", "255.0.255.0"}, "no subnet mask"},
      {{"lan", "set", "R", "--mask", "0.0.0.0"}, "no subnet mask"},
      {{"lan", "set", "R", "--mask", "255.255.255"}, "--mask wants a subnet mask"},
      {{"lan", "set", "R", "--gateway", ""}, "--gateway wants a dotted IPv4 address"},
      {{"lan", "set", "R", "--gateway", "gw.local"}, "--gateway wants a dotted IPv4 address"},
      {{"identify", "--dhcp", "LAB01"}, "--dhcp is not an option of identify"},
  };
  for (const auto& [args, expected] : cases) {
    const std::string error = ErrorOf(args);
    EXPECT_NE(error.find(expected), std::string::npos)
        << ::testing::PrintToString(args) << " gave: " << error;
  }
}

TEST(LanTextsTest, MasksGatewaysAndPorts) {
  for (const char* mask : {"255.255.255.0", "255.255.0.0", "255.0.0.0", "128.0.0.0",
                           "255.255.255.252", "255.255.255.255"})
    EXPECT_EQ(CheckSubnetMask(mask), "") << mask;
  EXPECT_EQ(CheckGateway("0.0.0.0"), "");
  EXPECT_EQ(CheckFixedAddress("198.18.0.50"), "");
  EXPECT_EQ(CheckFixedAddress("1.0.0.0"), "");
  EXPECT_EQ(ParseTcpPort("1"), 1);
  EXPECT_EQ(ParseTcpPort(""), std::nullopt);
  EXPECT_EQ(ParseTcpPort("+80"), std::nullopt);
  EXPECT_EQ(ParseDottedAddress("010.1.2.3"), (std::vector<int>{10, 1, 2, 3}));
  EXPECT_EQ(ParseDottedAddress("1.2.3.4."), std::nullopt);
  EXPECT_EQ(ParseDottedAddress(".1.2.3"), std::nullopt);
  EXPECT_EQ(ParseDottedAddress("1.2.3.0004"), std::nullopt);
}

TEST(LanTextsTest, ChangesKeepWhatIsNotGivenAndMakeTheAddressText) {
  const LanSettings dhcp{true, "LAB01", "", 10001, "255.255.255.0", "198.18.0.254"};

  LanChange toFixed;
  toFixed.address = "198.18.0.50";
  const ChangedSettings fixed = ApplyChange(dhcp, toFixed);
  EXPECT_EQ(fixed.error, "");
  EXPECT_EQ(fixed.settings,
            (LanSettings{false, "LAB01", "198.18.0.50", 10001, "255.255.255.0", "198.18.0.254"}));
  EXPECT_EQ(AddressText(fixed.settings), "198.18.0.50-10001");

  LanChange back;
  back.dhcpName = "LINE7";
  back.port = 4001;
  back.gateway = "0.0.0.0";
  const ChangedSettings again = ApplyChange(fixed.settings, back);
  EXPECT_EQ(again.settings, (LanSettings{true, "LINE7", "", 4001, "255.255.255.0", "0.0.0.0"}));
  EXPECT_EQ(AddressText(again.settings), "[LINE7]-4001");

  LanChange maskOnly;
  maskOnly.mask = "255.255.0.0";
  EXPECT_EQ(AddressText(ApplyChange(dhcp, maskOnly).settings), "[LAB01]-10001");

  // A fixed reader without a name cannot stay in DHCP mode without one.
  LanSettings nameless = dhcp;
  nameless.dhcpName.clear();
  EXPECT_NE(ApplyChange(nameless, maskOnly).error.find("--dhcp NAME"), std::string::npos);
}

TEST(LanOutputTest, SearchEntriesAsLinesAndJson) {
  const std::vector<LanEntry> merged =
      MergeLanLists({"198.18.0.20-10001", "[LAB01]"}, {"198.18.0.50-10001"});
  ASSERT_EQ(merged.size(), 3u);
  EXPECT_EQ(LanEntryLine(merged[2]), "198.18.0.50-10001  (not confirmed as a KX reader)");

  JsonObject json;
  AddLanEntry(json, merged[1]);
  EXPECT_EQ(json.Text(), R"({"entry":"[LAB01]","reader":"[LAB01]","confirmed":true,"dhcp":true,)"
                         R"("dhcp_name":"LAB01","address":""})");
}

TEST(LanOutputTest, SettingsLinesAndDifferences) {
  const LanSettings fixed{false, "LAB01", "198.18.0.50", 10001, "255.255.255.0", "0.0.0.0"};
  EXPECT_EQ(LanSettingsLines("198.18.0.50-10001", fixed),
            "reader     198.18.0.50-10001\n"
            "mode       fixed address\n"
            "dhcp name  LAB01\n"
            "address    198.18.0.50\n"
            "port       10001\n"
            "mask       255.255.255.0\n"
            "gateway    0.0.0.0");
  LanSettings other = fixed;
  other.gateway = "198.18.0.254";
  other.port = 4001;
  EXPECT_EQ(LanDifferences(fixed, other),
            "port '4001' instead of '10001', gateway '198.18.0.254' instead of '0.0.0.0'");
  EXPECT_EQ(LanDifferences(fixed, fixed), "");
}

}  // namespace
}  // namespace kx::cli
