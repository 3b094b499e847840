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

TEST(EmulatorOptions, SwitchableUsbReader) {
  const ParsedOptions hid = ParseEmulatorOptions({"--hid-bus", "/tmp/bus", "--hid"});
  ASSERT_TRUE(hid.options) << hid.error;
  EXPECT_EQ(hid.options->hidBus, "/tmp/bus");
  EXPECT_TRUE(hid.options->startAsHid);
  EXPECT_EQ(hid.options->hidSerial, "5391-0001") << "a switchable article by default";
  const ParsedOptions anonymous =
      ParseEmulatorOptions({"--pty", "x", "--hid-bus", "/tmp/bus", "--no-hid-serial"});
  ASSERT_TRUE(anonymous.options) << anonymous.error;
  EXPECT_FALSE(anonymous.options->hidSerial);
  EXPECT_EQ(
      ParseEmulatorOptions({"--hid-bus", "/b", "--hid-serial", "6040-0002"}).options->hidSerial,
      "6040-0002");
  EXPECT_FALSE(ParseEmulatorOptions({"--pty", "x", "--hid"}).options) << "no bus to serve on";
}

TEST(EmulatorOptions, ChipOptions) {
  const ParsedOptions sic = ParseEmulatorOptions(
      {"--pty", "x", "--transponder", "38", "--ctune", "90", "--detune", "-2.5", "--setting1-pf",
       "120", "--unsteady", "70", "--measure-failures", "3", "--no-frequency"});
  ASSERT_TRUE(sic.options) << sic.error;
  const Transponder& chip = *sic.options->reader.transponder;
  EXPECT_EQ(chip.ctune, 90);
  EXPECT_DOUBLE_EQ(chip.circuit.frequencyScale, 0.975);
  EXPECT_DOUBLE_EQ(chip.circuit.settingCapacitanceF, 120e-12);
  EXPECT_EQ(chip.measurementFaults.unsteadyHz, 70);
  EXPECT_EQ(chip.measurementFaults.failures, 3);
  EXPECT_TRUE(chip.measurementFaults.withoutFrequency);

  const ParsedOptions hdx =
      ParseEmulatorOptions({"--pty", "x", "--transponder", "35", "--chip-config", "B5"});
  ASSERT_TRUE(hdx.options) << hdx.error;
  EXPECT_EQ(hdx.options->reader.transponder->chipConfig, 0xB5);

  const std::vector<std::vector<std::string>> bad = {
      {"--pty", "x", "--ctune", "5"},
      {"--pty", "x", "--transponder", "33", "--ctune", "5"},
      {"--pty", "x", "--transponder", "38", "--ctune", "256"},
      {"--pty", "x", "--transponder", "38", "--detune", "51"},
      {"--pty", "x", "--transponder", "38", "--detune", "nan"},
      {"--pty", "x", "--transponder", "38", "--unsteady", "-1"},
      {"--pty", "x", "--transponder", "38", "--chip-config", "B5"},
      {"--pty", "x", "--transponder", "35", "--chip-config", "B5C6"},
      {"--pty", "x", "--transponder", "35", "--measure-failures", "1"},
  };
  for (const std::vector<std::string>& args : bad)
    EXPECT_FALSE(ParseEmulatorOptions(args).options) << args[args.size() - 2];
}

TEST(EmulatorOptions, ATcpListenerNeedsNoTerminal) {
  const ParsedOptions parsed = ParseEmulatorOptions({"--tcp", "198.18.0.2:4001"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->tcpAddress, "198.18.0.2");
  EXPECT_EQ(parsed.options->tcpPort, 4001);
  EXPECT_TRUE(parsed.options->ptyLink.empty());
  EXPECT_EQ(ParseEmulatorOptions({"--tcp", "198.18.0.2"}).options->tcpPort, 10001);
  const ParsedOptions module = ParseEmulatorOptions(
      {"--tcp", "198.18.0.2", "--network-module", "--dhcp", "LAB01", "--no-maker-code"});
  ASSERT_TRUE(module.options) << module.error;
  EXPECT_TRUE(module.options->networkModule);
  EXPECT_EQ(module.options->dhcpName, "LAB01");
  EXPECT_FALSE(module.options->makerCode);
}

TEST(EmulatorOptions, RefusesWhatItCannotServe) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--pty"},
      {"--tcp", "198.18.0.2:0"},
      {"--tcp", ":10001"},
      {"--pty", "x", "--network-module"},
      {"--tcp", "198.18.0.2", "--dhcp", "SEVENTEEN-LETTERS"},
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
