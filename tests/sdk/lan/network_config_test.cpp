// Finding readers and changing their network settings through the network module, on a small
// network of namespaces: the host (198.18.0.1) and every emulated reader joined by a bridge.
// The datagrams are checked as the emulated module received them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "kxlf.h"
#include "lan_reader.h"
#include "netns_bench.h"
#include "sdk_app.h"

namespace kxlf {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;
using testing::LanReader;

constexpr const char* kHost = "198.18.0.1";

std::vector<std::string> ParseList(const char* buffer, int length) {
  std::vector<std::string> entries;
  for (int at = 0; at < length - 1;) {
    entries.emplace_back(buffer + at);
    at += static_cast<int>(entries.back().size()) + 1;
  }
  return entries;
}

Bytes Text(const char* text) {
  return Bytes(text, text + std::strlen(text));
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

kxemu::ModuleSettings Fixed(const char* address) {
  kxemu::ModuleSettings settings;
  settings.address = *ParseIpv4(address);
  settings.gateway = {198, 18, 0, 254};
  return settings;
}

kxemu::ModuleSettings Dhcp(const char* address, const char* name) {
  kxemu::ModuleSettings settings = Fixed(address);
  settings.dhcp = true;
  settings.dhcpName = name;
  return settings;
}

class NetworkConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
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
    EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 0u);
  }
  LanReader& AddReader(const kxemu::ModuleSettings& settings) {
    const std::string ns = bench_.AddNamespace();
    const std::string interface =
        bench_.LinkToBridge(ns, FormatIpv4(settings.address) + "/24", network_);
    EXPECT_FALSE(interface.empty());
    readers_.push_back(std::make_unique<LanReader>(bench_, ns, interface, settings));
    readerNamespaces_.push_back(ns);
    readerInterfaces_.push_back(interface);
    return *readers_.back();
  }
  // From here on the test body is the host: everything the SDK opens lives there.
  void EnterHost() {
    inHost_ = std::make_unique<kxtest::ScopedNetns>(host_);
    ASSERT_TRUE(inHost_->Entered());
    ASSERT_TRUE(kxtest::OutsideMachineNamespace());
  }
  std::vector<std::string> Find(bool identityTest, int bufferSize = 4096) {
    std::vector<char> buffer(static_cast<size_t>(bufferSize), '\x7F');
    const int length = identityTest ? KxLfFindLanReaders(buffer.data(), bufferSize)
                                    : KxLfFindLanDevices(buffer.data(), bufferSize);
    EXPECT_GE(length, 1);
    EXPECT_LE(length, bufferSize);
    EXPECT_EQ(buffer[static_cast<size_t>(length) - 1], '\0');
    return ParseList(buffer.data(), length);
  }
  // The datagrams a module received, without the senders, once the last one is a closing
  // command or a second has passed: the SDK does not wait for the closing command to arrive.
  static std::vector<Bytes> Received(LanReader& reader) {
    const Clock::time_point end = Clock::now() + std::chrono::seconds(1);
    while (Clock::now() < end && reader.Module().ClosingCommands() == 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::vector<Bytes> datagrams;
    for (const kxemu::CapturedDatagram& captured : reader.Module().Captured())
      datagrams.push_back(captured.bytes);
    return datagrams;
  }

  kxtest::NetnsBench bench_;
  std::string host_;
  std::string network_;
  std::vector<std::string> readerNamespaces_;
  std::vector<std::string> readerInterfaces_;
  std::vector<std::unique_ptr<LanReader>> readers_;
  std::unique_ptr<kxtest::ScopedNetns> inHost_;
};

const Bytes kQuery = {0x00, 0x01, 0x00, 0xF8};
const Bytes kReadRecord2 = {0x00, 0x01, 0x00, 0xE2};
const Bytes kReadRecord3 = {0x00, 0x01, 0x00, 0xE3};
const Bytes kInfoRequest = {0x00, 0x01, 0x00, 0xF6};
const Bytes kClosing = {0x00, 0x00, 0x00, 0x03, 'X', '3'};

TEST_F(NetworkConfigTest, FixedAndDhcpReadersAreListedAsTheSearchCallsDescribeThem) {
  AddReader(Fixed("198.18.0.20"));
  AddReader(Dhcp("198.18.0.33", "LAB01"));
  kxemu::ModuleSettings foreign = Fixed("198.18.0.40");
  foreign.deviceName = "XPORT-AR";
  AddReader(foreign);
  kxemu::ModuleSettings lowerCase = Fixed("198.18.0.41");
  lowerCase.deviceName = "kx-m71 with a name that runs to the very end of the record";
  AddReader(lowerCase);
  EnterHost();

  EXPECT_EQ(Find(false),
            (std::vector<std::string>{"198.18.0.20-10001", "198.18.0.40-10001", "198.18.0.41-10001",
                                      "[LAB01]198.18.0.33-10001"}));
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(Find(true),
            (std::vector<std::string>{"198.18.0.20-10001", "198.18.0.41-10001", "[LAB01]"}));
  // One adapter: the 500 ms window after the last answer, and one identity read per reader
  // that answers at once; a machine under load gets some slack.
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(3000));

  // The query went out as a broadcast, the identity reads to each reader itself.
  const std::vector<kxemu::CapturedDatagram> captured = readers_[0]->Module().Captured();
  ASSERT_EQ(captured.size(), 3u);
  EXPECT_EQ(captured[0].bytes, kQuery);
  EXPECT_TRUE(captured[0].broadcast);
  EXPECT_EQ(captured[0].sender, kHost);
  EXPECT_EQ(captured[2].bytes, kReadRecord2);
  EXPECT_FALSE(captured[2].broadcast);
}

TEST_F(NetworkConfigTest, ShortRecordsAndForeignDevicesAreLeftOut) {
  LanReader& shortRecords = AddReader(Fixed("198.18.0.20"));
  kxemu::ModuleFaults faults;
  faults.recordSize = 119;
  shortRecords.Module().SetFaults(faults);
  LanReader& shortRecord2 = AddReader(Fixed("198.18.0.21"));
  faults.recordSize = 125;  // enough for record 0, one byte short for the device name
  shortRecord2.Module().SetFaults(faults);
  EnterHost();
  EXPECT_EQ(Find(false), std::vector<std::string>{"198.18.0.21-10001"});
  EXPECT_EQ(Find(true), std::vector<std::string>{});
}

TEST_F(NetworkConfigTest, AReaderOnANetworkOfTwoAdaptersIsListedOnce) {
  ASSERT_FALSE(bench_.LinkToBridge(host_, "198.18.0.11/24", network_).empty());
  LanReader& reader = AddReader(Dhcp("198.18.0.33", "LAB01"));
  EnterHost();
  EXPECT_EQ(Find(false), std::vector<std::string>{"[LAB01]198.18.0.33-10001"});
  // It was asked once from each adapter.
  std::vector<std::string> senders;
  for (const kxemu::CapturedDatagram& captured : reader.Module().Captured())
    senders.push_back(captured.sender);
  EXPECT_EQ(senders, (std::vector<std::string>{kHost, "198.18.0.11"}));
}

TEST_F(NetworkConfigTest, AFloodOfAnswersAndJunkDatagramsStillObeyTheBufferSize) {
  LanReader& reader = AddReader(Fixed("198.18.0.20"));
  kxemu::ModuleFaults faults;
  faults.extraDevices = 60;
  faults.junk = true;  // 3-byte and 600-byte datagrams ahead of every answer
  reader.Module().SetFaults(faults);
  EnterHost();
  const std::vector<std::string> all = Find(false);
  ASSERT_EQ(all.size(), 61u);
  EXPECT_EQ(all.front(), "198.18.0.20-10001");
  EXPECT_EQ(all.back(), "[DEV00059]198.18.0.20-10001");
  // 17 + 1 bytes for the first entry and 27 + 1 for each other: three fit into 90 bytes with
  // the final NUL.
  const std::vector<std::string> some = Find(false, 90);
  EXPECT_EQ(some, std::vector<std::string>(all.begin(), all.begin() + 3));
  char one[1];
  EXPECT_EQ(KxLfFindLanDevices(one, 1), 1);
  EXPECT_EQ(one[0], '\0');
}

TEST_F(NetworkConfigTest, ProbesAndBracketedNamesFindOnlyReadersThatAnswer) {
  LanReader& fixed = AddReader(Fixed("198.18.0.20"));
  LanReader& dhcp = AddReader(Dhcp("198.18.0.33", "LAB01"));
  kxemu::Transponder transponder = kxemu::MakeTransponder(33);
  transponder.memory[0] = 0x42;
  dhcp.Model().SetTransponder(transponder);
  EnterHost();

  EXPECT_EQ(KxLfProbeLanReader("198.18.0.20-10001:1"), 1);
  EXPECT_EQ(KxLfProbeLanReader("[LAB01]"), 1);
  EXPECT_EQ(KxLfProbeLanReader("198.18.0.99"), 0);
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(KxLfProbeLanReader("[NOBODY]"), 0);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));  // 200 ms on one adapter
  // A fixed reader is not found by its name.
  EXPECT_EQ(KxLfOpen("[]", 19200, 0, 300), -1);
  EXPECT_EQ(KxLfOpen("[NOBODY]:1", 19200, 0, 300), -1);

  const int handle = KxLfOpen("[LAB01]:1", 19200, 0, 300);
  ASSERT_EQ(handle, 20001);
  unsigned char block[8];
  EXPECT_EQ(KxLfReadBlocks(handle, 33, 0, block, 8), 8);
  EXPECT_EQ(block[0], 0x42);
  EXPECT_EQ(dhcp.Tcp().Peers().size(), 1u);
  EXPECT_TRUE(fixed.Tcp().Peers().empty());
  EXPECT_EQ(KxLfClose(handle), 0);
}

TEST_F(NetworkConfigTest, TheConfigurationOfFixedAndDhcpReadersReadsBackAsText) {
  kxemu::ModuleSettings fixedSettings = Fixed("198.18.0.20");
  fixedSettings.port = 4001;
  AddReader(fixedSettings);
  kxemu::ModuleSettings dhcpSettings = Dhcp("198.18.0.33", "LABORATORY0001AB");
  dhcpSettings.hostBits = 16;
  AddReader(dhcpSettings);
  EnterHost();

  char name[25], address[25], mask[16], gateway[16];
  ASSERT_EQ(KxLfGetNetworkConfig("198.18.0.20", name, address, mask, gateway), 0);
  EXPECT_STREQ(address, "198.18.0.20-4001");
  EXPECT_STREQ(name, "[]-4001");
  EXPECT_STREQ(mask, "255.255.255.0");
  EXPECT_STREQ(gateway, "198.18.0.254");

  ASSERT_EQ(KxLfGetNetworkConfig("[LABORATORY0001AB]", name, address, mask, gateway), 0);
  EXPECT_STREQ(address, "");
  EXPECT_STREQ(name, "[LABORATORY0001AB]-10001");
  EXPECT_STREQ(mask, "255.255.0.0");
  // Without a name buffer the bracketed name comes in the address.
  ASSERT_EQ(KxLfGetNetworkConfig("[LABORATORY0001AB]", nullptr, address, nullptr, nullptr), 0);
  EXPECT_STREQ(address, "[LABORATORY0001AB]-10001");

  EXPECT_EQ(KxLfGetNetworkConfig("198.18.0.99", name, address, mask, gateway), -1);
  EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 0u);
}

TEST_F(NetworkConfigTest, AnswersFromAnotherAddressDoNotCount) {
  LanReader& reader = AddReader(Fixed("198.18.0.20"));
  ASSERT_TRUE(bench_.AddAddress(readerNamespaces_[0], readerInterfaces_[0], "198.18.0.21/24"));
  kxemu::ModuleFaults faults;
  faults.answerFrom = "198.18.0.21";
  reader.Module().SetFaults(faults);
  EnterHost();
  char address[25];
  EXPECT_EQ(KxLfGetNetworkConfig("198.18.0.20", nullptr, address, nullptr, nullptr), -1);
  EXPECT_EQ(KxLfProbeLanReader("198.18.0.20"), 0);
  // The search takes answers from anyone; the address in the record is not the sender's.
  EXPECT_EQ(Find(false), std::vector<std::string>{"[]198.18.0.21-10001"});
}

TEST_F(NetworkConfigTest, UnchangedSettingsSendOnlyTheClosingCommand) {
  LanReader& reader = AddReader(Fixed("198.18.0.20"));
  EnterHost();
  EXPECT_EQ(
      KxLfSetNetworkConfig("198.18.0.20", "198.18.0.20-10001", "255.255.255.0", "198.18.0.254"), 0);
  EXPECT_EQ(Received(reader), (std::vector<Bytes>{kQuery, kQuery, kClosing}));
  EXPECT_FALSE(reader.Module().Captured()[2].broadcast);
}

TEST_F(NetworkConfigTest, ANewAddressAloneGoesByTheShortIpSetupAndMovesTheReader) {
  kxemu::ModuleSettings settings = Fixed("198.18.0.20");
  LanReader& reader = AddReader(settings);
  EnterHost();
  ASSERT_EQ(KxLfSetNetworkConfig("198.18.0.20", "198.18.0.77", "", "198.18.0.254"), 0);

  const std::vector<Bytes> received = Received(reader);
  ASSERT_GE(received.size(), 4u);
  const Bytes shortSetup = Concat({{0x00, 0x00, 0x00, 0xFC},
                                   Text("IP-SETUP"),
                                   {0x00, 0x00},
                                   {settings.mac[4], settings.mac[5]},
                                   {198, 18, 0, 77}});
  EXPECT_EQ(received[2], kInfoRequest);
  EXPECT_EQ(received[3], shortSetup);
  EXPECT_EQ(received[3].size(), 20u);
  // Then only probes at the new address, and no closing command.
  for (size_t i = 4; i < received.size(); ++i)
    EXPECT_EQ(received[i], kQuery);
  EXPECT_EQ(reader.Module().ClosingCommands(), 0);
  EXPECT_EQ(reader.Module().Settings().address, (Ipv4{198, 18, 0, 77}));

  // The reader answers at its new address, over UDP and over TCP.
  EXPECT_EQ(KxLfProbeLanReader("198.18.0.77"), 1);
  EXPECT_EQ(KxLfProbeLanReader("198.18.0.20"), 0);
  const int handle = KxLfOpen("198.18.0.77", 19200, 0, 300);
  EXPECT_GT(handle, 0);
  KxLfClose(handle);
}

TEST_F(NetworkConfigTest, AGatewayAloneOnAnOrvModuleGoesByTheExtendedIpSetup) {
  kxemu::ModuleSettings settings = Dhcp("198.18.0.33", "LAB01");
  settings.port = 4001;
  settings.hostBits = 8;
  LanReader& reader = AddReader(settings);
  EnterHost();
  ASSERT_EQ(KxLfSetNetworkConfig("[LAB01]", "[LAB01]", "", "198.18.0.1"), 0);

  // The name is resolved first: the query, the channel's query, its read of record 0, the
  // information block, then the extended IP-SETUP.
  const std::vector<Bytes> received = Received(reader);
  ASSERT_GE(received.size(), 5u);
  Bytes name(16, 0);
  std::memcpy(name.data(), "LAB01", 5);
  const Bytes extended = Concat({{0x00, 0x00, 0x00, 0xFC},
                                 Text("IP-SETUPEX"),
                                 Bytes(settings.mac.begin(), settings.mac.end()),
                                 {0, 0, 0, 0},
                                 {0xA1, 0x0F},
                                 {255, 255, 255, 0},
                                 {198, 18, 0, 1},
                                 name});
  EXPECT_EQ(received[3], kInfoRequest);
  EXPECT_EQ(received[4], extended);
  EXPECT_EQ(received[4].size(), 50u);
  for (const Bytes& datagram : received)
    EXPECT_NE(datagram[3], 0xFD) << "no record write";
  EXPECT_EQ(reader.Module().ClosingCommands(), 0);
  EXPECT_EQ(reader.Module().Settings().gateway, (Ipv4{198, 18, 0, 1}));
  EXPECT_EQ(reader.Module().Settings().port, 4001);
  EXPECT_EQ(reader.Module().Settings().hostBits, 8);
}

TEST_F(NetworkConfigTest, WithoutTheMakerCodeSettingsAreWrittenToRecordZero) {
  kxemu::ModuleSettings settings = Fixed("198.18.0.20");
  settings.makerCode = false;
  LanReader& reader = AddReader(settings);
  const Bytes before = reader.Module().Record(0);
  EnterHost();
  ASSERT_EQ(KxLfSetNetworkConfig("198.18.0.20", "198.18.0.20-4002", "255.255.0.0", ""), 0);

  Bytes written = before;
  written[6] = 16;
  std::fill_n(written.begin() + 12, 4, 0);  // no gateway given: none
  written[20] = 0xA2;
  written[21] = 0x0F;
  const std::vector<Bytes> received = Received(reader);
  ASSERT_EQ(received.size(), 6u);
  EXPECT_EQ(received[2], kInfoRequest);
  EXPECT_EQ(received[3].size(), 20u);  // the short IP-SETUP with the unchanged address
  EXPECT_EQ(received[4], Concat({{0x00, 0x00, 0x00, 0xFD}, written}));
  EXPECT_EQ(received[5], kClosing);
  EXPECT_EQ(reader.Module().Settings().port, 4002);
  EXPECT_EQ(reader.Module().Settings().hostBits, 16);
  // The listener followed the port with the closing command.
  const int handle = KxLfOpen("198.18.0.20-4002", 19200, 0, 300);
  EXPECT_GT(handle, 0);
  KxLfClose(handle);
}

TEST_F(NetworkConfigTest, ANewDhcpNameTouchesRecordsZeroAndThree) {
  kxemu::ModuleSettings settings = Dhcp("198.18.0.33", "LAB01");
  settings.makerCode = false;
  LanReader& reader = AddReader(settings);
  const Bytes record3Before = reader.Module().Record(3);
  EnterHost();
  ASSERT_EQ(KxLfSetNetworkConfig("[LAB01]", "[NEWNAME-LAB0002X]", "", "198.18.0.254"), 0);

  const std::vector<Bytes> received = Received(reader);
  // Resolution, channel, record 0, information, short IP-SETUP with the unchanged address,
  // then records 3 and 0 through the channel that still stands, and the closing command.
  ASSERT_EQ(received.size(), 9u);
  EXPECT_EQ(received[4].size(), 20u);
  EXPECT_EQ(received[5], kReadRecord3);
  Bytes record3 = record3Before;
  std::memcpy(record3.data() + 102, "LAB0002X", 8);
  EXPECT_EQ(received[6], Concat({{0x00, 0x01, 0x00, 0xC3}, record3}));
  EXPECT_EQ(received[7][3], 0xFD);
  EXPECT_EQ(Bytes(received[7].begin() + 4 + 112, received[7].begin() + 4 + 120), Text("NEWNAME-"));
  EXPECT_EQ(Bytes(received[7].begin() + 4 + 84, received[7].begin() + 4 + 92), Text("LAB0002X"));
  EXPECT_EQ(received[8], kClosing);
  EXPECT_EQ(reader.Module().Settings().dhcpName, "NEWNAME-LAB0002X");
  EXPECT_EQ(KxLfProbeLanReader("[NEWNAME-LAB0002X]"), 1);
}

TEST_F(NetworkConfigTest, AReaderThatFallsSilentDuringTheChangeFailsAfterSixWrites) {
  kxemu::ModuleSettings settings = Fixed("198.18.0.20");
  settings.makerCode = false;
  LanReader& reader = AddReader(settings);
  EnterHost();
  // The reader answers the two reads of record 0, then nothing at all.
  kxemu::ModuleFaults faults;
  faults.silentAfter = 2;
  reader.Module().SetFaults(faults);
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(KxLfSetNetworkConfig("198.18.0.20", "198.18.0.20", "255.255.0.0", "198.18.0.254"), -1);
  const auto took = Clock::now() - start;
  EXPECT_LT(took, std::chrono::seconds(12));
  size_t writes = 0;
  for (const Bytes& datagram : Received(reader))
    writes += datagram[3] == 0xFD ? 1 : 0;
  EXPECT_EQ(writes, 6u);
  EXPECT_EQ(Received(reader).back(), kClosing);
}

TEST_F(NetworkConfigTest, MalformedAddressTextsNeverReachFurtherThanTheReader) {
  LanReader& reader = AddReader(Fixed("198.18.0.20"));
  EnterHost();
  EXPECT_EQ(KxLfSetNetworkConfig("198.18.0.20", nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(KxLfSetNetworkConfig(nullptr, "198.18.0.20", "", ""), -1);
  EXPECT_EQ(KxLfGetNetworkConfig(nullptr, nullptr, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(KxLfProbeLanReader(nullptr), 0);
  EXPECT_EQ(KxLfSetNetworkConfig("[", "198.18.0.21", "", ""), -1);
  // Nothing was configured on the way.
  EXPECT_EQ(reader.Module().Settings().address, (Ipv4{198, 18, 0, 20}));
}

}  // namespace
}  // namespace kxlf
