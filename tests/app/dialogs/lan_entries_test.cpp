// The network dialogs' texts and rules without window or network: the merged search result,
// the settings shown for a reader's texts, the address text written back, and the wait for a
// reader under its new address on a clock that the test turns.
#include <gtest/gtest.h>

#include <QString>
#include <list>
#include <string>
#include <vector>

#include "dialogs/lan_entries.h"
#include "dialogs/reader_return_wait.h"

namespace kx::dialogs {
namespace {

using Strings = std::list<std::string>;

std::vector<std::pair<std::string, int>> Listed(const std::vector<FoundEntry>& entries) {
  std::vector<std::pair<std::string, int>> listed;
  for (const FoundEntry& entry : entries)
    listed.emplace_back(entry.text.toStdString(), entry.value);
  return listed;
}

TEST(MergeFoundEntries, ConfirmedReadersTakeTheirDeviceEntryInPlaceOthersFollow) {
  EXPECT_EQ(Listed(MergeFoundEntries({"[LAB01]", "192.168.1.20-10001"},
                                     {"[LAB01]192.168.1.33-10001", "192.168.1.20-10001",
                                      "192.168.1.50-10001"})),
            (std::vector<std::pair<std::string, int>>{{"[LAB01]192.168.1.33-10001", 1},
                                                      {"192.168.1.20-10001", 1},
                                                      {"192.168.1.50-10001", 2}}));
}

TEST(MergeFoundEntries, NamesMatchWithoutLetterCaseAndEmptyEntriesAreSkipped) {
  EXPECT_EQ(Listed(MergeFoundEntries({"[lab01]", ""}, {"", "[LAB01]198.18.0.33-10001"})),
            (std::vector<std::pair<std::string, int>>{{"[LAB01]198.18.0.33-10001", 1}}));
  // A device's bracketed name without its closing bracket is compared whole.
  EXPECT_EQ(Listed(MergeFoundEntries({"[LAB01]"}, {"[LAB01"})),
            (std::vector<std::pair<std::string, int>>{{"[LAB01]", 1}, {"[LAB01", 2}}));
  EXPECT_TRUE(MergeFoundEntries({}, {}).empty());
}

TEST(ReaderNameOf, CutsAfterTheFirstBracketBehindTheFirstCharacter) {
  EXPECT_EQ(ReaderNameOf("[LAB01234]198.18.0.33-10001"), "[LAB01234]");
  EXPECT_EQ(ReaderNameOf("198.18.0.20-10001"), "198.18.0.20-10001");
  EXPECT_EQ(ReaderNameOf("]198.18.0.20-10001"), "]198.18.0.20-10001");
  EXPECT_EQ(ReaderNameOf("][A]x"), "][A]");
}

TEST(SettingsFromConfig, DhcpReaderTakesItsPortFromTheNameText) {
  const LanSettings dhcp = SettingsFromConfig("[LAB01]-10002", "");
  EXPECT_EQ(dhcp.mode, kDhcpMode);
  EXPECT_EQ(dhcp.dhcpName, "LAB01");
  EXPECT_EQ(dhcp.port, 10002);
  EXPECT_EQ(dhcp.fixedAddress, "");
}

TEST(SettingsFromConfig, FixedReaderTakesAddressAndPortFromTheAddressText) {
  const LanSettings fixed = SettingsFromConfig("[LAB02]-10002", "192.168.1.20-10001");
  EXPECT_EQ(fixed.mode, kFixedMode);
  EXPECT_EQ(fixed.fixedAddress, "192.168.1.20");
  EXPECT_EQ(fixed.port, 10001) << "the name text's port counts only in DHCP mode";
  EXPECT_EQ(fixed.dhcpName, "LAB02");

  const LanSettings noPort = SettingsFromConfig("plain", "192.168.1.21");
  EXPECT_EQ(noPort.fixedAddress, "192.168.1.21");
  EXPECT_EQ(noPort.port, kDefaultReaderPort);
  EXPECT_EQ(noPort.dhcpName, "plain") << "a name text without brackets is the name";
}

TEST(AddressTextFor, DhcpNameInBracketsOrTheFixedAddressThenThePort) {
  EXPECT_EQ(AddressTextFor(kDhcpMode, "198.18.0.9", "LAB01", 10001), "[LAB01]-10001");
  EXPECT_EQ(AddressTextFor(kFixedMode, "198.18.0.9", "LAB01", 0), "198.18.0.9-0");
  EXPECT_FALSE(IsUsableFixedAddress(""));
  EXPECT_FALSE(IsUsableFixedAddress("0.0.0.0"));
  EXPECT_TRUE(IsUsableFixedAddress("0.0.0.1"));
}

// Time passes only when the wait pauses, by a step the test chooses.
class TurnedClock : public WaitClock {
 public:
  explicit TurnedClock(int stepMs) : stepMs_(stepMs) {}
  int64_t NowMs() override { return now_; }
  void Pause(int ms) override {
    pauses.push_back(ms);
    now_ += stepMs_;
  }
  std::vector<int> pauses;

 private:
  int stepMs_;
  int64_t now_ = 1000000;
};

TEST(WaitForReaderReturn, ProbesEveryStepAndReportsTheTimePassed) {
  TurnedClock clock(kReturnProbeStepMs);
  std::vector<int> shown;
  int probes = 0;
  EXPECT_TRUE(WaitForReaderReturn(clock, [&] { return ++probes == 3; },
                                  [&](int elapsed) { shown.push_back(elapsed); }));
  EXPECT_EQ(shown, (std::vector<int>{0, 100, 200}));
  EXPECT_EQ(clock.pauses, (std::vector<int>{100, 100}));
}

TEST(WaitForReaderReturn, GivesUpOnceTheRangeHasPassed) {
  TurnedClock clock(kReturnProbeStepMs);
  std::vector<int> shown;
  EXPECT_FALSE(WaitForReaderReturn(clock, [] { return false; },
                                   [&](int elapsed) { shown.push_back(elapsed); }));
  ASSERT_EQ(shown.size(), 250u);
  EXPECT_EQ(shown.back(), 24900);
  // A probe slower than the step still ends the wait at the range.
  TurnedClock slow(7000);
  int probes = 0;
  EXPECT_FALSE(WaitForReaderReturn(slow, [&] { return ++probes > 9; }, [](int) {}));
  EXPECT_EQ(probes, 4);
}

}  // namespace
}  // namespace kx::dialogs
