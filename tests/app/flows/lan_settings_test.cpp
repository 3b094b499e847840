// A LAN reader's settings and the reader search's list as texts, as both the network dialogs
// and kx-cli's lan commands read and write them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flows/lan_settings.h"

namespace kx::flows {
namespace {

TEST(LanSettingsTest, ConfigurationTextsGiveModeNameAddressAndPort) {
  const LanSettings dhcp =
      SettingsFromConfigTexts("[LAB01]-10002", "", "255.255.255.0", "198.18.0.254");
  EXPECT_EQ(dhcp, (LanSettings{true, "LAB01", "", 10002, "255.255.255.0", "198.18.0.254"}));

  // The name text's port counts only in DHCP mode; the address text's in fixed mode.
  const LanSettings fixed =
      SettingsFromConfigTexts("[LAB01]-10002", "198.18.0.20-4001", "255.255.0.0", "0.0.0.0");
  EXPECT_EQ(fixed, (LanSettings{false, "LAB01", "198.18.0.20", 4001, "255.255.0.0", "0.0.0.0"}));

  // Without a port in the address text the default stays, whatever the name text says.
  const LanSettings noPort = SettingsFromConfigTexts("[]-10002", "198.18.0.20", "", "");
  EXPECT_FALSE(noPort.dhcp);
  EXPECT_EQ(noPort.address, "198.18.0.20");
  EXPECT_EQ(noPort.port, kDefaultLanPort);
  EXPECT_EQ(noPort.dhcpName, "");

  // A name text without brackets is the name.
  EXPECT_EQ(SettingsFromConfigTexts("odd", "", "", "").dhcpName, "odd");
  EXPECT_EQ(SettingsFromConfigTexts("odd", "", "", "").port, kDefaultLanPort);
}

TEST(LanSettingsTest, PortTextsReadAsTheirLeadingDecimalNumber) {
  EXPECT_EQ(SettingsFromConfigTexts("", "198.18.0.20-4001x", "", "").port, 4001);
  EXPECT_EQ(SettingsFromConfigTexts("", "198.18.0.20-", "", "").port, 0);
  // Many leading zeros still give the port behind them.
  EXPECT_EQ(SettingsFromConfigTexts("[A]-000000000004001", "", "", "").port, 4001);
  // A number beyond any port reads as one above the highest, which every port check refuses,
  // never as a port it would wrap to.
  EXPECT_EQ(SettingsFromConfigTexts("", "198.18.0.20-70000", "", "").port, 65536);
  EXPECT_EQ(SettingsFromConfigTexts("[A]-99999999999999999999", "", "", "").port, 65536);
}

TEST(LanSettingsTest, AddressTextIsTheBracketedNameOrTheAddressThenThePort) {
  EXPECT_EQ(AddressText({true, "LAB01", "198.18.0.9", 10001, "", ""}), "[LAB01]-10001");
  EXPECT_EQ(AddressText({false, "LAB01", "198.18.0.9", 0, "", ""}), "198.18.0.9-0");
  // What is read back is written back unchanged.
  for (const char* text : {"[LAB01]-10002", "198.18.0.20-4001"}) {
    const std::string_view address = text[0] == '[' ? "" : text;
    EXPECT_EQ(AddressText(SettingsFromConfigTexts(text, address, "", "")), text);
  }
}

std::vector<std::pair<std::string, bool>> Listed(const std::vector<LanEntry>& entries) {
  std::vector<std::pair<std::string, bool>> listed;
  for (const LanEntry& entry : entries)
    listed.emplace_back(entry.entry, entry.confirmed);
  return listed;
}

TEST(MergeLanListsTest, ConfirmedReadersTakeTheirDeviceEntryInPlaceOthersFollow) {
  const std::vector<LanEntry> merged =
      MergeLanLists({"198.18.0.20-10001", "[LAB01]"},
                    {"198.18.0.20-10001", "198.18.0.50-10001", "[lab01]198.18.0.33-10001", ""});
  EXPECT_EQ(Listed(merged),
            (std::vector<std::pair<std::string, bool>>{{"198.18.0.20-10001", true},
                                                       {"[lab01]198.18.0.33-10001", true},
                                                       {"198.18.0.50-10001", false}}));
  EXPECT_EQ(merged[0].reader, "198.18.0.20-10001");
  EXPECT_EQ(merged[0].address, "198.18.0.20");
  EXPECT_EQ(merged[0].port, 10001);
  EXPECT_EQ(merged[1].reader, "[lab01]");
  EXPECT_EQ(merged[1].dhcpName, "lab01");
  EXPECT_EQ(merged[1].address, "198.18.0.33");
  EXPECT_EQ(merged[1].port, 10001);
}

TEST(MergeLanListsTest, NamesMatchWithoutLetterCaseAndEmptyEntriesAreSkipped) {
  EXPECT_EQ(Listed(MergeLanLists({"[lab01]", ""}, {"", "[LAB01]198.18.0.33-10001"})),
            (std::vector<std::pair<std::string, bool>>{{"[LAB01]198.18.0.33-10001", true}}));
  // A device's bracketed name without its closing bracket is compared whole.
  EXPECT_EQ(Listed(MergeLanLists({"[LAB01]"}, {"[LAB01"})),
            (std::vector<std::pair<std::string, bool>>{{"[LAB01]", true}, {"[LAB01", false}}));
  EXPECT_TRUE(MergeLanLists({}, {}).empty());

  // A confirmed name whose device entry did not come keeps its short form.
  const LanEntry alone = MergeLanLists({"[LAB01]"}, {}).at(0);
  EXPECT_EQ(alone.reader, "[LAB01]");
  EXPECT_EQ(alone.address, "");
  EXPECT_FALSE(alone.port);
}

}  // namespace
}  // namespace kx::flows
