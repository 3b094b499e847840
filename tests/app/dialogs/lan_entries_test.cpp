// The network dialogs' texts and rules without window or network: the merged search result
// with its item values, the name kept of a chosen entry, the fixed address check, and the wait
// for a reader under its new address on a clock that the test turns. The merge's and the
// settings' rules themselves are tested with the flows.
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
  EXPECT_EQ(
      Listed(MergeFoundEntries(
          {"[LAB01]", "192.168.1.20-10001"},
          {"[LAB01]192.168.1.33-10001", "192.168.1.20-10001", "192.168.1.50-10001"})),
      (std::vector<std::pair<std::string, int>>{
          {"[LAB01]192.168.1.33-10001", 1}, {"192.168.1.20-10001", 1}, {"192.168.1.50-10001", 2}}));
}

TEST(IsUsableFixedAddress, BlankAndNoneAreRefused) {
  EXPECT_FALSE(IsUsableFixedAddress(""));
  EXPECT_FALSE(IsUsableFixedAddress("0.0.0.0"));
  EXPECT_TRUE(IsUsableFixedAddress("0.0.0.1"));
}

TEST(ReaderNameOf, CutsAfterTheFirstBracketBehindTheFirstCharacter) {
  EXPECT_EQ(ReaderNameOf("[LAB01234]198.18.0.33-10001"), "[LAB01234]");
  EXPECT_EQ(ReaderNameOf("198.18.0.20-10001"), "198.18.0.20-10001");
  EXPECT_EQ(ReaderNameOf("]198.18.0.20-10001"), "]198.18.0.20-10001");
  EXPECT_EQ(ReaderNameOf("][A]x"), "][A]");
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
  EXPECT_TRUE(WaitForReaderReturn(
      clock, [&] { return ++probes == 3; }, [&](int elapsed) { shown.push_back(elapsed); }));
  EXPECT_EQ(shown, (std::vector<int>{0, 100, 200}));
  EXPECT_EQ(clock.pauses, (std::vector<int>{100, 100}));
}

TEST(WaitForReaderReturn, GivesUpOnceTheRangeHasPassed) {
  TurnedClock clock(kReturnProbeStepMs);
  std::vector<int> shown;
  EXPECT_FALSE(WaitForReaderReturn(
      clock, [] { return false; }, [&](int elapsed) { shown.push_back(elapsed); }));
  ASSERT_EQ(shown.size(), 250u);
  EXPECT_EQ(shown.back(), 24900);
  // A probe slower than the step still ends the wait at the range.
  TurnedClock slow(7000);
  int probes = 0;
  EXPECT_FALSE(WaitForReaderReturn(
      slow, [&] { return ++probes > 9; }, [](int) {}));
  EXPECT_EQ(probes, 4);
}

}  // namespace
}  // namespace kx::dialogs
