// Opening readers by name: identification, frame modes, handles, and the failures of the open.
#include <gtest/gtest.h>

#include <chrono>

#include "emulated_reader.h"
#include "kxlf.h"
#include "link/frame_codec.h"
#include "sdk_app.h"

namespace kxlf {
namespace {

using testing::EmulatedReader;
using Clock = std::chrono::steady_clock;

const Bytes kVersionRequestXor{0x02, 0x01, 0xF0, 0x00, 0xF1};
const Bytes kVersionRequestCrc{0x01, 0xF0, 0x00, 0x64, 0x00};

class OpenTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (int handle : opened_)
      KxLfClose(handle);
    EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 0u);
  }
  int Open(const std::string& name, int options = 0, int timeoutMs = 500) {
    const int handle = KxLfOpen(name.c_str(), 19200, options, timeoutMs);
    if (handle > 0)
      opened_.push_back(handle);
    return handle;
  }
  std::vector<int> opened_;
};

TEST_F(OpenTest, IdentifiesTheReaderInXorMode) {
  EmulatedReader reader;
  const int handle = Open(reader.device);
  ASSERT_GT(handle, 0);
  EXPECT_EQ(reader.model.ReceivedRequests(), std::vector<Bytes>{kVersionRequestXor});
  auto connection = CKX_LF_SDKApp::Instance().FindConnection(handle);
  ASSERT_TRUE(connection);
  EXPECT_EQ(connection->port.TypeCode(), 0x054);
  EXPECT_EQ(connection->port.VersionValue(), 10);
  EXPECT_EQ(connection->port.Mode(), FrameMode::kXor);
  EXPECT_EQ(KxLfGetLastError(handle), 0);
  EXPECT_EQ(KxLfIsUsbConnection(handle), 0);
}

TEST_F(OpenTest, FindsACrcOnlyReaderAfterAReopen) {
  kxemu::ReaderConfig config;
  config.answersOnlyInCrcMode = true;
  EmulatedReader reader(config);
  const int handle = Open(reader.device);
  ASSERT_GT(handle, 0);
  EXPECT_EQ(reader.model.ReceivedRequests(),
            (std::vector<Bytes>{kVersionRequestXor, kVersionRequestXor, kVersionRequestCrc}));
  EXPECT_EQ(CKX_LF_SDKApp::Instance().FindConnection(handle)->port.Mode(), FrameMode::kCrc16);

  Bytes answer;
  unsigned char version[4];
  EXPECT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), 4) << "later commands use CRC mode";
}

TEST_F(OpenTest, NoCrcTrialOptionRefusesACrcOnlyReader) {
  kxemu::ReaderConfig config;
  config.answersOnlyInCrcMode = true;
  EmulatedReader reader(config);
  EXPECT_EQ(Open(reader.device, KXLF_OPEN_NO_CRC_MODE_TRIAL), -KXLF_ERR_NO_READER);
  EXPECT_EQ(reader.model.ReceivedRequests().size(), 2u);
  EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 0u);
}

TEST_F(OpenTest, IdentificationWaitsAtMost300MsPerAttempt) {
  EmulatedReader reader;
  kxemu::Faults silent;
  silent.silent = true;
  reader.model.SetFaults(silent);
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(Open(reader.device, 0, 1000), -KXLF_ERR_NO_READER);
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(900));
  EXPECT_LT(elapsed, std::chrono::milliseconds(2000));
  EXPECT_EQ(reader.model.ReceivedRequests().size(), 3u);

  // A connection keeps the caller's timeout after the identification.
  reader.model.SetFaults({});
  const int handle = Open(reader.device, 0, 1000);
  ASSERT_GT(handle, 0);
  EXPECT_EQ(CKX_LF_SDKApp::Instance().FindConnection(handle)->port.Timeout(), 1000u);
}

TEST_F(OpenTest, DeviceAddressComesFromTheName) {
  kxemu::ReaderConfig config;
  config.address = 2;
  EmulatedReader reader(config);
  EXPECT_EQ(Open(reader.device + ":1", KXLF_OPEN_NO_CRC_MODE_TRIAL, 50), -KXLF_ERR_NO_READER);
  reader.model.ClearReceivedRequests();
  const int handle = Open(reader.device + ":2");
  ASSERT_GT(handle, 0);
  EXPECT_EQ(reader.model.ReceivedRequests()[0], (Bytes{0x02, 0x02, 0xF0, 0x00, 0xF2}));
}

TEST_F(OpenTest, ColonAtTheEndKeepsAddressOne) {
  EmulatedReader reader;
  EXPECT_GT(Open(reader.device + ":"), 0);
  EXPECT_EQ(reader.model.ReceivedRequests()[0], kVersionRequestXor);
}

TEST_F(OpenTest, HandlesAreTheLowestFreeNumbers) {
  EmulatedReader a, b, c;
  const int first = Open(a.device);
  const int second = Open(b.device);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(KxLfClose(first), 0);
  opened_.erase(opened_.begin());
  EXPECT_EQ(KxLfGetLastError(first), KXLF_ERR_NO_CONNECTION);
  EXPECT_EQ(KxLfClose(first), -1);
  EXPECT_EQ(Open(c.device), 1);
}

TEST_F(OpenTest, FailuresOfTheOpen) {
  EmulatedReader reader;
  EXPECT_EQ(Open(reader.device, 0, -1), -5);
  EXPECT_EQ(Open("/dev/no-such-reader"), -1);
  EXPECT_EQ(KxLfOpen(nullptr, 19200, 0, 500), -1);
  EXPECT_EQ(Open("7731-0042 HID:1"), -1) << "no HID transport in this build";
  EXPECT_TRUE(reader.model.ReceivedRequests().empty());
}

TEST_F(OpenTest, UnknownHandlesFailEverywhere) {
  unsigned char buffer[16] = {};
  int value = 7;
  for (int handle : {0, -1, 1, 9999, 10001, 20001}) {
    EXPECT_EQ(KxLfGetLastError(handle), KXLF_ERR_NO_CONNECTION);
    EXPECT_EQ(KxLfClose(handle), -1);
    EXPECT_EQ(KxLfSetKeepWindowEnabled(handle, 1), -1);
    EXPECT_EQ(KxLfIsUsbConnection(handle), -1);
    EXPECT_EQ(KxLfGetVersion(handle, buffer, 16, nullptr, 0), -1);
    EXPECT_EQ(KxLfReadBlocks(handle, 33, 0, buffer, 8), -1);
    EXPECT_EQ(KxLfWriteBlocks(handle, 33, 0, buffer, 8, 0), -1);
    EXPECT_EQ(KxLfReadChipConfig(handle, 35, &value), -1);
    EXPECT_EQ(KxLfMeasureFrequency(handle, 38, 0, 0, 0, 0, &value), -1);
  }
  EXPECT_EQ(value, 7);
}

TEST_F(OpenTest, TheReaderVanishingEndsEveryLaterCommandInATimeout) {
  auto reader = std::make_unique<EmulatedReader>();
  const int handle = Open(reader->device, 0, 100);
  ASSERT_GT(handle, 0);
  reader->server.Stop();
  unsigned char version[4];
  EXPECT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), -1);
  EXPECT_EQ(KxLfGetLastError(handle), KXLF_ERR_TIMEOUT);
  EXPECT_EQ(KxLfGetLastError(handle), KXLF_ERR_TIMEOUT) << "the connection stays listed";
}

}  // namespace
}  // namespace kxlf
