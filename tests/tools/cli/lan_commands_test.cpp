// kx-cli's LAN commands as child processes on a network of namespaces: the host (198.18.0.1),
// where kx-cli runs, and emulated Ethernet readers, each in a namespace of its own, joined by a
// bridge. A reader's module moves its interface when its address changes, as a real one would.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include "cli_process.h"
#include "kxemu/transponder.h"
#include "lan_reader.h"
#include "netns_bench.h"
#include "temp_dir.h"

namespace kx::cli::testing {
namespace {

using kxlf::testing::LanReader;

constexpr const char* kHost = "198.18.0.1";

kxemu::ModuleSettings Fixed(kxlf::Ipv4 address) {
  kxemu::ModuleSettings settings;
  settings.address = address;
  settings.gateway = {198, 18, 0, 254};
  return settings;
}

kxemu::ModuleSettings Dhcp(kxlf::Ipv4 address, const char* name) {
  kxemu::ModuleSettings settings = Fixed(address);
  settings.dhcp = true;
  settings.dhcpName = name;
  return settings;
}

class LanCommandsTest : public ini::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    const kxtest::NetnsBench::BridgedHost bridged =
        bench_.AddBridgedHost(std::string(kHost) + "/24");
    host_ = bridged.host;
    if (host_.empty())
      GTEST_SKIP() << "network namespaces cannot be created here";
    network_ = bridged.network;
    ASSERT_FALSE(network_.empty());
  }
  void TearDown() override {
    inHost_.reset();
    readers_.clear();
    TempDirTest::TearDown();
  }
  // A reader in a namespace of its own; its module moves `interface` (that namespace's link to
  // the bridge) unless `moves` is false, when it keeps answering from its first address.
  LanReader& AddReader(const kxemu::ModuleSettings& settings, bool moves = true) {
    const std::string ns = bench_.AddNamespace();
    const std::string interface =
        bench_.LinkToBridge(ns, kxlf::FormatIpv4(settings.address) + "/24", network_);
    EXPECT_FALSE(interface.empty());
    readers_.push_back(
        std::make_unique<LanReader>(bench_, ns, moves ? interface : "kx-nowhere", settings));
    return *readers_.back();
  }
  // From here on kx-cli runs in the host namespace.
  void EnterHost() {
    inHost_ = std::make_unique<kxtest::ScopedNetns>(host_);
    ASSERT_TRUE(inHost_->Entered());
    ASSERT_TRUE(kxtest::OutsideMachineNamespace());
  }
  CliResult Run(const std::vector<std::string>& args,
                const std::vector<std::string>& variables = {}) const {
    EXPECT_TRUE(kxtest::OutsideMachineNamespace());
    return RunCli(args, dir_.string(), variables);
  }

  kxtest::NetnsBench bench_;
  std::string host_;
  std::string network_;
  std::vector<std::unique_ptr<LanReader>> readers_;
  std::unique_ptr<kxtest::ScopedNetns> inHost_;
};

TEST_F(LanCommandsTest, ListShowsTheReadersAndWithAllTheOtherDevices) {
  AddReader(Fixed({198, 18, 0, 20}));
  AddReader(Dhcp({198, 18, 0, 33}, "LAB01"));
  kxemu::ModuleSettings foreign = Fixed({198, 18, 0, 40});
  foreign.deviceName = "XPORT-AR";
  AddReader(foreign);
  EnterHost();

  const CliResult text = Run({"lan", "list"});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.out, "198.18.0.20-10001\n[LAB01]198.18.0.33-10001\n");

  const CliResult json = Run({"lan", "list", "--all", "--json"});
  EXPECT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(json.OutLines(),
            (std::vector<std::string>{
                R"({"command":"lan","ok":true,"action":"list","entry":"198.18.0.20-10001",)"
                R"("reader":"198.18.0.20-10001","confirmed":true,"dhcp":false,"dhcp_name":"",)"
                R"("address":"198.18.0.20","port":10001})",
                R"({"command":"lan","ok":true,"action":"list","entry":"[LAB01]198.18.0.33-10001",)"
                R"("reader":"[LAB01]","confirmed":true,"dhcp":true,"dhcp_name":"LAB01",)"
                R"("address":"198.18.0.33","port":10001})",
                R"({"command":"lan","ok":true,"action":"list","entry":"198.18.0.40-10001",)"
                R"("reader":"198.18.0.40-10001","confirmed":false,"dhcp":false,"dhcp_name":"",)"
                R"("address":"198.18.0.40","port":10001})"}));
}

TEST_F(LanCommandsTest, ShowInTextAndJsonAndAnUnknownReader) {
  kxemu::ModuleSettings dhcp = Dhcp({198, 18, 0, 33}, "LAB01");
  dhcp.port = 10002;
  AddReader(dhcp);
  kxemu::ModuleSettings fixed = Fixed({198, 18, 0, 20});
  fixed.hostBits = 16;
  AddReader(fixed);
  EnterHost();

  const CliResult text = Run({"lan", "show", "[LAB01]"});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.out,
            "reader     [LAB01]\nmode       DHCP\ndhcp name  LAB01\naddress    (from DHCP)\n"
            "port       10002\nmask       255.255.255.0\ngateway    198.18.0.254\n");

  // A line of 'kx-cli ports' names the reader as well.
  const CliResult json = Run({"--json", "lan", "show", "LAN: 198.18.0.20-10001"});
  EXPECT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(json.out, R"({"command":"lan","ok":true,"action":"show","reader":"198.18.0.20-10001",)"
                      R"("mode":"fixed","dhcp_name":"","address":"198.18.0.20","port":10001,)"
                      R"("mask":"255.255.0.0","gateway":"198.18.0.254"})"
                      "\n");

  const CliResult unknown = Run({"lan", "show", "[NOSUCH]", "--json"});
  EXPECT_EQ(unknown.exitCode, 3);
  EXPECT_NE(unknown.out.find(R"("error":"no_reader")"), std::string::npos) << unknown.out;
  EXPECT_NE(unknown.err.find("answers as '[NOSUCH]'"), std::string::npos) << unknown.err;
}

TEST_F(LanCommandsTest, FromDhcpToAFixedAddressAndBack) {
  LanReader& reader = AddReader(Dhcp({198, 18, 0, 33}, "LAB01"));
  EnterHost();

  const CliResult toFixed = Run({"lan", "set", "[LAB01]", "--address", "198.18.0.50"});
  EXPECT_EQ(toFixed.exitCode, 0) << toFixed.err;
  const std::string headline = "settings written; the reader answers as 198.18.0.50-10001 after ";
  EXPECT_EQ(toFixed.out.rfind(headline, 0), 0u) << toFixed.out;
  EXPECT_NE(toFixed.out.find("\nreader     198.18.0.50-10001\nmode       fixed address\n"
                             "dhcp name  LAB01\naddress    198.18.0.50\nport       10001\n"
                             "mask       255.255.255.0\ngateway    198.18.0.254\n"),
            std::string::npos)
      << toFixed.out;
  EXPECT_NE(toFixed.err.find("waiting up to 25.0 s for the reader as 198.18.0.50-10001"),
            std::string::npos)
      << toFixed.err;
  kxemu::ModuleSettings now = reader.Module().Settings();
  EXPECT_FALSE(now.dhcp);
  EXPECT_EQ(now.address, (kxlf::Ipv4{198, 18, 0, 50}));
  EXPECT_EQ(now.gateway, (kxlf::Ipv4{198, 18, 0, 254})) << "what was not given stays";

  const CliResult toDhcp = Run({"lan", "set", "198.18.0.50-10001", "--dhcp", "LINE-7", "--gateway",
                                "0.0.0.0", "--port", "4001", "--json"});
  EXPECT_EQ(toDhcp.exitCode, 0) << toDhcp.err;
  const std::string start =
      R"({"command":"lan","ok":true,"action":"set","previous":"198.18.0.50-10001",)"
      R"("reader":"[LINE-7]-4001","changed":true,"mode":"dhcp","dhcp_name":"LINE-7",)"
      R"("address":"","port":4001,"mask":"255.255.255.0","gateway":"0.0.0.0",)"
      R"("answered_after_ms":)";
  EXPECT_EQ(toDhcp.out.rfind(start, 0), 0u) << toDhcp.out;
  now = reader.Module().Settings();
  EXPECT_TRUE(now.dhcp);
  EXPECT_EQ(now.dhcpName, "LINE-7");
  EXPECT_EQ(now.port, 4001);
  EXPECT_EQ(now.gateway, (kxlf::Ipv4{}));

  // The same settings again change nothing.
  const CliResult same = Run({"lan", "set", "[LINE-7]", "--port", "4001"});
  EXPECT_EQ(same.exitCode, 0) << same.err;
  EXPECT_EQ(same.out.rfind("the reader had these settings already\nreader     [LINE-7]-4001\n", 0),
            0u)
      << same.out;
  const CliResult quiet = Run({"lan", "set", "[LINE-7]", "--mask", "255.255.0.0", "--quiet"});
  EXPECT_EQ(quiet.exitCode, 0) << quiet.err;
  EXPECT_EQ(quiet.out + quiet.err, "");
  EXPECT_EQ(reader.Module().Settings().hostBits, 16);
}

TEST_F(LanCommandsTest, ReadingAndWritingCommandsTakeALanNameAsPort) {
  LanReader& reader = AddReader(Dhcp({198, 18, 0, 33}, "LAB01"));
  reader.Model().SetTransponder(kxemu::MakeTransponder(33));
  EnterHost();

  const CliResult identify = Run({"--port", "[LAB01]", "identify", "--json"});
  EXPECT_EQ(identify.exitCode, 0) << identify.err;
  EXPECT_EQ(identify.out.rfind(R"({"command":"identify","ok":true,"port":"[LAB01]","model":)", 0),
            0u)
      << identify.out;
  const CliResult write =
      Run({"--port", "198.18.0.33", "write", "--type", "ti-multipage", "--verify", "1A2B"});
  EXPECT_EQ(write.exitCode, 0) << write.err;
  EXPECT_EQ(write.out, "Value <1A2B> written successfully\n");
  const CliResult read = Run({"read", "--type", "ti-multipage", "--port", "LAN: [LAB01]-10001"});
  EXPECT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(read.out, "00001A2B\n");
  const CliResult uid = Run({"--port", "198.18.0.33-10001", "uid", "--type", "ti-multipage"});
  EXPECT_EQ(uid.exitCode, 0) << uid.err;
  EXPECT_EQ(uid.OutLines().size(), 1u);

  const CliResult elsewhere = Run({"--port", "198.18.0.99", "identify"});
  EXPECT_EQ(elsewhere.exitCode, 3);
}

TEST_F(LanCommandsTest, BadInputSendsNothingAndAReaderThatStaysAwayIsReported) {
  LanReader& reader = AddReader(Fixed({198, 18, 0, 20}), /*moves=*/false);
  EnterHost();

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"lan", "set", "198.18.0.20", "--dhcp", "ABCDEFGHIJKLMNOP"},
           {"lan", "set", "198.18.0.20", "--port", "70000"},
           {"lan", "set", "198.18.0.20", "--address", "0.0.0.0"},
           {"lan", "set", "198.18.0.20", "--address", ""},
           {"lan", "set", "198.18.0.20", "--dhcp", "LAB01", "--address", "198.18.0.21"},
           {"lan", "set", "198.18.0.20", "--mask", "255.255.0.255"},
           {"lan", "show", "198.18.0.20", "--mask", "255.255.0.0"}}) {
    std::vector<std::string> withJson = bad;
    withJson.push_back("--json");
    const CliResult result = Run(withJson);
    EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(bad);
    EXPECT_EQ(result.out.rfind(R"({"command":"lan","ok":false,"exit_code":2,"error":"usage",)", 0),
              0u)
        << result.out;
  }
  const CliResult tooLong =
      Run({"lan", "set", "198.18.0.20", "--address", "198.18.0.60"}, {"KX_CLI_LAN_WAIT_MS=30000"});
  EXPECT_EQ(tooLong.exitCode, 2);
  EXPECT_NE(tooLong.err.find("KX_CLI_LAN_WAIT_MS wants milliseconds"), std::string::npos);
  EXPECT_TRUE(reader.Module().Captured().empty()) << "nothing was sent for bad input";

  // The module takes the new address but keeps answering from the old one: the reader is not
  // found under its new name.
  const CliResult away = Run({"lan", "set", "198.18.0.20", "--address", "198.18.0.60", "--json"},
                             {"KX_CLI_LAN_WAIT_MS=1000"});
  EXPECT_EQ(away.exitCode, 3) << away.err;
  EXPECT_NE(away.err.find("the settings were written, but the reader does not answer as "
                          "198.18.0.60-10001 within 1.0 s"),
            std::string::npos)
      << away.err;
  EXPECT_NE(away.out.find(R"("error":"no_reader")"), std::string::npos) << away.out;
}

TEST_F(LanCommandsTest, AReaderThatFallsSilentDuringTheWriteIsAReaderError) {
  LanReader& reader = AddReader(Fixed({198, 18, 0, 20}));
  EnterHost();
  // The reading of the present settings (two datagrams) and the write's channel are answered,
  // the write's own read of the settings no more.
  kxemu::ModuleFaults faults;
  faults.silentAfter = 3;
  reader.Module().SetFaults(faults);
  const CliResult result = Run({"lan", "set", "198.18.0.20", "--gateway", "198.18.0.1"});
  EXPECT_EQ(result.exitCode, 6) << result.err;
  EXPECT_NE(result.err.find("the reader did not take the new settings"), std::string::npos)
      << result.err;
  EXPECT_TRUE(result.out.empty());
  EXPECT_EQ(reader.Module().Settings().gateway, (kxlf::Ipv4{198, 18, 0, 254}));
}

}  // namespace
}  // namespace kx::cli::testing
