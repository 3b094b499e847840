#include "emulator_options.h"

#include <gtest/gtest.h>

namespace kxemu {
namespace {

TEST(EmulatorOptions, FullCommandLine) {
  const ParsedOptions parsed = ParseEmulatorOptions(
      {"--pty", "/tmp/reader", "--identity", "legacy", "--crc-only", "--address", "7",
       "--transponder", "38,4", "--uid", "01:02:03:04:05:06:07:08", "--data", "AABB", "--lock",
       "1,3", "--delay", "250"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  const EmulatorOptions& options = *parsed.options;
  EXPECT_EQ(options.ptyLink, "/tmp/reader");
  EXPECT_EQ(options.reader.versionText, "0394");
  EXPECT_TRUE(options.reader.answersOnlyInCrcMode);
  EXPECT_EQ(options.reader.address, 7);
  EXPECT_EQ(options.faults.answerDelay, std::chrono::milliseconds(250));
  ASSERT_TRUE(options.reader.transponder);
  const Transponder& transponder = *options.reader.transponder;
  EXPECT_EQ(transponder.type, 38);
  EXPECT_EQ(transponder.memory.size(), 16u);
  EXPECT_EQ(transponder.uid, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(transponder.memory[1], 0xBB);
  EXPECT_EQ(transponder.locked, (std::vector<bool>{false, true, false, true}));
  EXPECT_TRUE(ParseEmulatorOptions({"--help"}).options->help);
}

TEST(EmulatorOptions, RefusesWhatItCannotServe) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--pty"},
      {"--pty", "x", "--address", "1x"},
      {"--pty", "x", "--identity", "nonsense"},
      {"--pty", "x", "--transponder", "33,0"},
      {"--pty", "x", "--uid", "0102"},
      {"--pty", "x", "--transponder", "33", "--uid", "123"},
      {"--pty", "x", "--transponder", "38,1", "--data", "0102030405"},
      {"--pty", "x", "--transponder", "38,1", "--lock", "1"},
  };
  for (const std::vector<std::string>& args : bad) {
    const ParsedOptions parsed = ParseEmulatorOptions(args);
    EXPECT_FALSE(parsed.options) << (args.empty() ? "" : args.back());
    EXPECT_FALSE(parsed.error.empty());
  }
}

}  // namespace
}  // namespace kxemu
