// Reader commands, block and chip functions through the entry points, against the emulator:
// what goes out byte by byte, what comes back into the caller's buffers.
#include <gtest/gtest.h>

#include <cstring>

#include "emulated_reader.h"
#include "kxemu/transponder.h"
#include "kxlf.h"
#include "link/frame_codec.h"
#include "netns_bench.h"

namespace kxlf {
namespace {

kxemu::ReaderConfig WithTransponder(int type) {
  kxemu::ReaderConfig config;
  config.transponder = testing::NumberedTransponder(type);
  return config;
}

class EntryPointTest : public testing::ConnectedReaderTest {
 protected:
  // Parameters of the last request the reader received (XOR frames).
  Bytes LastParameters() const {
    const std::vector<Bytes> requests = reader_->model.ReceivedRequests();
    if (requests.empty())
      return {};
    const DecodedFrame frame = DecodeFrame(FrameMode::kXor, requests.back());
    Bytes command{frame.code};
    command.insert(command.end(), frame.data.begin(), frame.data.end());
    return command;
  }
  size_t RequestCount() const { return reader_->model.ReceivedRequests().size(); }
};

TEST_F(EntryPointTest, GetVersionFillsBufferAndModelName) {
  Connect();
  unsigned char version[4];
  char name[32];
  std::memset(name, 'x', sizeof name);
  ASSERT_EQ(KxLfGetVersion(handle_, version, 4, name, sizeof name), 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(version), 4), "054A");
  EXPECT_GT(std::strlen(name), 0u);
  EXPECT_EQ(name[sizeof name - 1], '\0') << "the rest of the name buffer is cleared";

  // One byte short: error 8 and nothing copied; a name buffer too small is left alone.
  unsigned char small[3] = {9, 9, 9};
  EXPECT_EQ(KxLfGetVersion(handle_, small, 3, nullptr, 0), -1);
  EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_BUFFER_TOO_SMALL);
  EXPECT_EQ(small[0], 9);
  char tiny[2] = {'x', 'x'};
  EXPECT_EQ(KxLfGetVersion(handle_, version, 4, tiny, 2), 4);
  EXPECT_EQ(tiny[0], 'x');
  EXPECT_EQ(KxLfGetVersion(handle_, nullptr, 4, nullptr, 0), -1);
}

TEST_F(EntryPointTest, UnknownModelGetsTheFallbackName) {
  kxemu::ReaderConfig config;
  config.versionText = "ABCz";
  Connect(config);
  unsigned char version[4];
  char name[16];
  ASSERT_EQ(KxLfGetVersion(handle_, version, 4, name, sizeof name), 4);
  EXPECT_STREQ(name, "KX-#ABC");
}

TEST_F(EntryPointTest, ReaderModeChecksItsSet) {
  Connect();
  EXPECT_EQ(KxLfSetReaderMode(handle_, 4), -1);
  EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_MODE);
  EXPECT_EQ(RequestCount(), 0u);
  EXPECT_EQ(KxLfSetReaderMode(handle_, 131), 0);
  EXPECT_EQ(reader_->model.ReaderMode(), 131);
  EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_MODE) << "a success clears nothing";
}

TEST_F(EntryPointTest, UsbInterfaceAndF6SendLowBytes) {
  Connect();
  EXPECT_EQ(KxLfSetUsbInterface(handle_, 0x102), 0);
  EXPECT_EQ(LastParameters(), (Bytes{0xFF, 0x02}));
  EXPECT_EQ(KxLfCommandF6(handle_, 0, 0x1FF), 0);
  EXPECT_EQ(LastParameters(), (Bytes{0xF6, 0x00, 0xFF}));
}

TEST_F(EntryPointTest, ReadBlocksChecksTypeAndCapacity) {
  Connect(WithTransponder(33));
  unsigned char buffer[17];
  std::memset(buffer, 0xEE, sizeof buffer);
  for (int type : {0, 40, 0x128}) {
    EXPECT_EQ(KxLfReadBlocks(handle_, type, 0, buffer, 8), -1) << type;
    EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_PARAMETER);
  }
  EXPECT_EQ(RequestCount(), 0u);

  ASSERT_EQ(KxLfReadBlocks(handle_, 33, 2, buffer, 16), 16);
  EXPECT_EQ(LastParameters(), (Bytes{0xC2, 33, 2, 2}));
  EXPECT_EQ(buffer[0], 16);
  EXPECT_EQ(buffer[15], 31);
  EXPECT_EQ(buffer[16], 0xEE) << "nothing beyond the length";

  ASSERT_EQ(KxLfReadBlocks(handle_, 0x421, 2, buffer, 16), 16);
  EXPECT_EQ(buffer[0], static_cast<unsigned char>(~16));
  EXPECT_EQ(LastParameters(), (Bytes{0xC2, 33, 2, 2})) << "options are not sent";
}

TEST_F(EntryPointTest, ReadBlocksWithoutTransponderLeavesStatus21) {
  Connect();
  unsigned char buffer[8];
  EXPECT_EQ(KxLfReadBlocks(handle_, 33, 0, buffer, 8), -1);
  EXPECT_EQ(KxLfGetLastError(handle_), 21);
}

TEST_F(EntryPointTest, WriteBlocksWritesAndVerifies) {
  Connect(WithTransponder(38));
  const unsigned char data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(KxLfWriteBlocks(handle_, 38 | KXLF_VERIFY, 4, data, 8, 0), 0);
  const std::vector<Bytes> requests = reader_->model.ReceivedRequests();
  ASSERT_EQ(requests.size(), 2u) << "write, then the read-back";
  EXPECT_EQ(LastParameters(), (Bytes{0xC2, 38, 4, 2}));
  const kxemu::Transponder stored = *reader_->model.CurrentTransponder();
  EXPECT_EQ(Bytes(stored.memory.begin() + 16, stored.memory.begin() + 24), Bytes(data, data + 8));

  // A reader that answers the read-back with nothing fails the verification.
  kxemu::Faults empty;
  empty.emptyPayloads = true;
  reader_->model.SetFaults(empty);
  EXPECT_EQ(KxLfWriteBlocks(handle_, 38 | KXLF_VERIFY, 4, data, 8, 0), -1);
  EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_VERIFY);

  EXPECT_EQ(KxLfWriteBlocks(handle_, 0x128, 4, data, 8, 0), -1);
  EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_PARAMETER);
  EXPECT_EQ(KxLfWriteBlocks(handle_, 38, 4, nullptr, 8, 0), -1);
  EXPECT_EQ(KxLfWriteBlocks(handle_, 38, 4, data, -1, 0), -1);
  EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_PARAMETER);
}

TEST_F(EntryPointTest, WriteBlocksToALockedBlockReportsTheReadersStatus) {
  kxemu::ReaderConfig config = WithTransponder(33);
  config.transponder->locked.assign(kxemu::BlockCount(*config.transponder), false);
  config.transponder->locked[1] = true;
  Connect(config);
  const unsigned char data[8] = {};
  EXPECT_EQ(KxLfWriteBlocks(handle_, 33, 1, data, 8, 0), -1);
  const int code = KxLfGetLastError(handle_);
  EXPECT_NE(code, 0);
  EXPECT_NE(code, KXLF_ERR_TIMEOUT);
}

TEST_F(EntryPointTest, WholeTransponderReadAndWrite) {
  Connect(WithTransponder(33));
  unsigned char buffer[64];
  const int length = KxLfReadTransponder(handle_, 33, buffer, sizeof buffer);
  ASSERT_GT(length, 0);
  EXPECT_EQ(LastParameters(), (Bytes{0xC0, 33, 0}));
  EXPECT_EQ(KxLfReadTransponder(handle_, 33, buffer, length - 1), -1);
  EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_BUFFER_TOO_SMALL);

  const unsigned char data[8] = {8, 7, 6, 5, 4, 3, 2, 1};
  const int answered = KxLfWriteTransponder(handle_, 33, data, 8, nullptr, 0);
  ASSERT_GE(answered, 0);
  EXPECT_EQ(LastParameters(), (Bytes{0xC1, 33, 8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(KxLfWriteTransponder(handle_, 33, nullptr, 8, nullptr, 0), -1);
  EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_PARAMETER);
}

TEST_F(EntryPointTest, ChipConfigurationByte) {
  kxemu::ReaderConfig config = WithTransponder(35);
  config.transponder->chipConfig = 0xA5;
  Connect(config);
  int value = -1;
  EXPECT_EQ(KxLfReadChipConfig(handle_, 36, &value), -1);
  EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_PARAMETER);
  EXPECT_EQ(KxLfReadChipConfig(handle_, 35, nullptr), -1);
  ASSERT_EQ(KxLfReadChipConfig(handle_, 35, &value), 0);
  EXPECT_EQ(value, 165);
  EXPECT_EQ(LastParameters(), (Bytes{0xC4, 35, 1}));

  EXPECT_EQ(KxLfWriteChipConfig(handle_, 35, 0x13C), 0);
  EXPECT_EQ(LastParameters(), (Bytes{0xC4, 35, 2, 0x3C}));
  ASSERT_EQ(KxLfReadChipConfig(handle_, 35, &value), 0);
  EXPECT_EQ(value, 0x3C);
}

TEST_F(EntryPointTest, FrequencyMeasurementFollowsTheTuning) {
  Connect(WithTransponder(38));
  int low = 0, high = 0;
  ASSERT_EQ(KxLfMeasureFrequency(handle_, 38, 10, 1, 0, 0, &high), 0);
  EXPECT_EQ(LastParameters(), (Bytes{0xC4, 38, 1, 10, 1, 0, 0}));
  ASSERT_EQ(KxLfMeasureFrequency(handle_, 38, 120, 1, 0, 0, &low), 0);
  EXPECT_GT(high, 100000);
  EXPECT_LT(high, 200000);
  EXPECT_LT(low, high) << "more tuning capacitance, lower resonance";
}

TEST_F(EntryPointTest, FrequencyMeasurementTriesThreeTimes) {
  Connect(WithTransponder(38));
  kxemu::Faults silent;
  silent.silent = true;
  reader_->model.SetFaults(silent);
  int result = 42;
  EXPECT_EQ(KxLfMeasureFrequency(handle_, 38, 0, 0, 0, 0, &result), -1);
  EXPECT_EQ(RequestCount(), 3u);
  EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_TIMEOUT);
  EXPECT_EQ(result, 42);
}

TEST_F(EntryPointTest, KeepWindowEnabledIsStored) {
  Connect();
  EXPECT_EQ(KxLfSetKeepWindowEnabled(handle_, 5), 1);
}

TEST(ListEntryPoints, ABufferOfOneByteGetsTheEmptyList) {
  char buffer[1] = {'x'};
  EXPECT_EQ(KxLfListComPorts(buffer, 1), 1);
  EXPECT_EQ(buffer[0], '\0');
  buffer[0] = 'x';
  EXPECT_EQ(KxLfListUsbReaders(buffer, 1), 1);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(KxLfListComPorts(nullptr, 10), 0);
  EXPECT_EQ(KxLfListComPorts(buffer, 0), 0);
}

TEST(ListEntryPoints, WithoutANetworkAdapterTheLanCallsFindNothingAndSendNothing) {
  // The machine's own networks are never searched by a test: an empty namespace has no adapter.
  const bool ran = kxtest::RunInEmptyNetns([] {
    char buffer[8] = {'x', 'x'};
    EXPECT_EQ(KxLfFindLanReaders(buffer, sizeof buffer), 1);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(KxLfFindLanDevices(buffer, sizeof buffer), 1);
    EXPECT_EQ(KxLfProbeLanReader("[READER01]"), 0);
    EXPECT_EQ(KxLfProbeLanReader("192.168.1.20"), 0);
    EXPECT_EQ(KxLfGetNetworkConfig("[READER01]", nullptr, nullptr, nullptr, nullptr), -1);
    EXPECT_EQ(KxLfSetNetworkConfig("192.168.1.20", "192.168.1.21", "", ""), -1);
    EXPECT_EQ(KxLfOpen("192.168.1.20-10001:1", 19200, 0, 300), -1);
  });
  if (!ran)
    GTEST_SKIP() << "network namespaces cannot be created here";
}

}  // namespace
}  // namespace kxlf
