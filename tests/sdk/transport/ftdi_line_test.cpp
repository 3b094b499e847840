// FtdiLine through the D2XX table against the test builds of the library and the emulated
// reader behind them: opening, the line settings the device receives, a version exchange,
// and a device that is pulled.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "kx_fake_ftd2xx/fake_ftdi_control.h"
#include "kx_fake_ftd2xx/scoped_env.h"
#include "link/frame_codec.h"
#include "transport/ftdi_line.h"

namespace kxlf {
namespace {

using namespace d2xx;
using namespace std::chrono_literals;
using kxfake::ScopedEnv;

constexpr const char* kFakeFtd2xxFile = KX_FAKE_FTD2XX_FILE;
constexpr const char* kFakePartialFtd2xxFile = KX_FAKE_FTD2XX_PARTIAL_FILE;
constexpr const char* kSerial = "FT123456";
constexpr uint8_t kVersionCommand = 0xF0;
constexpr uint8_t kReaderAddress = 1;

Bytes VersionRequest(FrameMode mode) {
  return BuildFrame(mode, kReaderAddress, kVersionCommand, nullptr, 0);
}

Bytes VersionAnswer(FrameMode mode, const std::string& version = "054A") {
  return BuildFrame(mode, kReaderAddress, 0, Bytes(version.begin(), version.end()));
}

// Polls the line the way the serial worker does (status, then the waiting bytes) until
// `size` bytes have come or the deadline passes.
Bytes ReceiveBytes(FtdiLine& line, size_t size, std::chrono::milliseconds deadline = 1s) {
  Bytes received;
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (received.size() < size && std::chrono::steady_clock::now() < end) {
    LineStatus status;
    if (!line.QueryStatus(status))
      break;
    if (status.bytesWaiting == 0) {
      std::this_thread::sleep_for(1ms);
      continue;
    }
    std::vector<uint8_t> buffer(status.bytesWaiting);
    int errorCode = 0;
    const int count = line.Read(buffer.data(), buffer.size(), errorCode);
    if (count < 0)
      break;
    received.insert(received.end(), buffer.begin(), buffer.begin() + count);
  }
  return received;
}

class FtdiLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fake_.Loaded()) << kFakeFtd2xxFile;
    fake_.Reset();
  }

  KxFakeFtdiSettings Recorded() {
    std::optional<KxFakeFtdiSettings> settings = fake_.Settings(kSerial);
    EXPECT_TRUE(settings.has_value());
    return settings.value_or(KxFakeFtdiSettings{});
  }

  ScopedEnv library_{kFtd2xxLibraryVariable, kFakeFtd2xxFile};
  kxfake::FakeFtdiControl fake_{kFakeFtd2xxFile};
};

TEST_F(FtdiLineTest, OpensTheDeviceBySerialNumberWithShortLatency) {
  FtdiLine line;
  ASSERT_TRUE(line.Open(kSerial));
  EXPECT_TRUE(line.IsOpen());
  EXPECT_EQ(line.WaitDescriptor(), -1);

  const KxFakeFtdiSettings settings = Recorded();
  EXPECT_TRUE(settings.open);
  EXPECT_EQ(settings.openAccess, GENERIC_READ | GENERIC_WRITE);
  EXPECT_EQ(settings.openShareMode, 0u);
  EXPECT_EQ(settings.openCreation, OPEN_EXISTING);
  EXPECT_EQ(settings.openFlags, FT_OPEN_BY_SERIAL_NUMBER);
  EXPECT_EQ(settings.latencyTimer, 2);

  line.Close();
  EXPECT_FALSE(line.IsOpen());
  EXPECT_FALSE(Recorded().open);
  // Closed for good: another line may take the device now.
  FtdiLine next;
  EXPECT_TRUE(next.Open(kSerial));
}

TEST_F(FtdiLineTest, OpenFailsForUnknownBusyOrUnloadableDevices) {
  FtdiLine line;
  EXPECT_FALSE(line.Open("FT999999"));
  EXPECT_FALSE(line.Open(""));
  EXPECT_FALSE(line.IsOpen());

  FtdiLine holder;
  ASSERT_TRUE(holder.Open(kSerial));
  EXPECT_FALSE(line.Open(kSerial));

  ScopedEnv library(kFtd2xxLibraryVariable, "/nonexistent/libftd2xx.so");
  FtdiLine withoutLibrary;
  EXPECT_FALSE(withoutLibrary.Open("FT000002"));
  EXPECT_FALSE(withoutLibrary.IsOpen());
}

TEST_F(FtdiLineTest, ReopeningClosesTheEarlierHandle) {
  FtdiLine line;
  ASSERT_TRUE(line.Open(kSerial));
  EXPECT_TRUE(line.Open(kSerial));
  EXPECT_TRUE(Recorded().open);
}

struct LineCase {
  LineSettings settings;
  BYTE parity;
  DWORD parityCheck;
  BYTE stopBits;
};

class FtdiLineSettingsTest : public FtdiLineTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(FtdiLineSettingsTest, ConfiguresTheLineWithoutFlowControl) {
  FtdiLine line;
  ASSERT_TRUE(line.Open(kSerial));
  EXPECT_TRUE(line.Configure(GetParam().settings));

  const KxFakeFtdiSettings recorded = Recorded();
  const FTDCB& dcb = recorded.dcb;
  EXPECT_EQ(dcb.BaudRate, static_cast<DWORD>(GetParam().settings.baudRate));
  EXPECT_EQ(dcb.Parity, GetParam().parity);
  EXPECT_EQ(dcb.fParity, GetParam().parityCheck);
  EXPECT_EQ(dcb.StopBits, GetParam().stopBits);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.fBinary, 1u);
  EXPECT_EQ(dcb.fDtrControl, DTR_CONTROL_ENABLE);
  EXPECT_EQ(dcb.fRtsControl, RTS_CONTROL_ENABLE);
  EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
  EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
  EXPECT_EQ(dcb.fDsrSensitivity, 0u);
  EXPECT_EQ(dcb.fTXContinueOnXoff, 1u);
  EXPECT_EQ(dcb.fOutX, 0u);
  EXPECT_EQ(dcb.fInX, 0u);
  EXPECT_EQ(dcb.fNull, 0u);
  EXPECT_EQ(dcb.fAbortOnError, 0u);

  // Reads return at once with what is waiting; writes have no time limit.
  ASSERT_TRUE(recorded.timeoutsSet);
  EXPECT_EQ(recorded.timeouts.ReadIntervalTimeout, MAXDWORD);
  EXPECT_EQ(recorded.timeouts.ReadTotalTimeoutMultiplier, 0u);
  EXPECT_EQ(recorded.timeouts.ReadTotalTimeoutConstant, 0u);
  EXPECT_EQ(recorded.timeouts.WriteTotalTimeoutMultiplier, 0u);
  EXPECT_EQ(recorded.timeouts.WriteTotalTimeoutConstant, 0u);
  EXPECT_NE(recorded.commMask & EV_RXCHAR, 0u);
  EXPECT_EQ(recorded.purgeMask, PURGE_TXCLEAR | PURGE_RXCLEAR);
}

INSTANTIATE_TEST_SUITE_P(Settings, FtdiLineSettingsTest,
                         ::testing::Values(LineCase{{19200, 'N', 8, 1}, NOPARITY, 0, ONESTOPBIT},
                                           LineCase{{9600, 'E', 8, 2}, EVENPARITY, 1, TWOSTOPBITS},
                                           LineCase{{115200, 'o', 8, 1}, ODDPARITY, 1, ONESTOPBIT}),
                         [](const auto& info) {
                           const LineSettings& settings = info.param.settings;
                           return std::to_string(settings.baudRate) + settings.parity +
                                  std::to_string(settings.stopBits);
                         });

TEST_F(FtdiLineTest, UnusableSettingsLeaveTheLineAsItWasButTheRestIsStillDone) {
  FtdiLine line;
  ASSERT_TRUE(line.Open(kSerial));
  EXPECT_FALSE(line.Configure({19200, 'X', 8, 1}));

  const KxFakeFtdiSettings recorded = Recorded();
  EXPECT_EQ(recorded.dcb.BaudRate, 9600u);  // the converter's own setting
  EXPECT_TRUE(recorded.timeoutsSet);
  EXPECT_EQ(recorded.purgeMask, PURGE_TXCLEAR | PURGE_RXCLEAR);
}

class FtdiLineExchangeTest : public FtdiLineTest,
                             public ::testing::WithParamInterface<FrameMode> {};

TEST_P(FtdiLineExchangeTest, VersionRequestIsAnswered) {
  FtdiLine line;
  ASSERT_TRUE(line.Open(kSerial));
  line.Configure({});
  const Bytes request = VersionRequest(GetParam());
  ASSERT_EQ(line.Write(request.data(), request.size()).written, request.size());

  const Bytes expected = VersionAnswer(GetParam());
  EXPECT_EQ(ReceiveBytes(line, expected.size()), expected);
  EXPECT_EQ(fake_.Model(kSerial)->ReceivedRequests(), std::vector<Bytes>{request});

  LineStatus status;
  ASSERT_TRUE(line.QueryStatus(status));
  EXPECT_EQ(status.bytesWaiting, 0u);
  EXPECT_EQ(status.errors, 0u);
}

INSTANTIATE_TEST_SUITE_P(FrameModes, FtdiLineExchangeTest,
                         ::testing::Values(FrameMode::kXor, FrameMode::kCrc16),
                         [](const auto& info) {
                           return info.param == FrameMode::kXor ? "Xor" : "Crc16";
                         });

TEST_F(FtdiLineTest, DelayedAnswerIsNotWaitingBeforeItsTime) {
  kxemu::Faults faults;
  faults.answerDelay = 80ms;
  fake_.Model(kSerial)->SetFaults(faults);
  FtdiLine line;
  ASSERT_TRUE(line.Open(kSerial));
  line.Configure({});
  const Bytes request = VersionRequest(FrameMode::kXor);

  const auto sent = std::chrono::steady_clock::now();
  ASSERT_EQ(line.Write(request.data(), request.size()).written, request.size());
  LineStatus status;
  ASSERT_TRUE(line.QueryStatus(status));
  EXPECT_EQ(status.bytesWaiting, 0u);
  uint8_t byte = 0;
  int errorCode = 0;
  EXPECT_EQ(line.Read(&byte, 1, errorCode), 0);

  const Bytes expected = VersionAnswer(FrameMode::kXor);
  EXPECT_EQ(ReceiveBytes(line, expected.size()), expected);
  EXPECT_GE(std::chrono::steady_clock::now() - sent, 80ms);
}

TEST_F(FtdiLineTest, ReportsTheModemLines) {
  FtdiLine line;
  ASSERT_TRUE(line.Open(kSerial));
  uint32_t lines = 0;
  ASSERT_TRUE(line.QueryModemLines(lines));
  EXPECT_EQ(lines, kModemCts | kModemDsr);
}

TEST_F(FtdiLineTest, PulledDeviceFailsEveryCallUntilClosed) {
  FtdiLine line;
  ASSERT_TRUE(line.Open(kSerial));
  line.Configure({});
  ASSERT_TRUE(fake_.Unplug(kSerial));

  LineStatus status;
  EXPECT_FALSE(line.QueryStatus(status));
  uint32_t lines = 0;
  EXPECT_FALSE(line.QueryModemLines(lines));
  const Bytes request = VersionRequest(FrameMode::kXor);
  EXPECT_TRUE(line.Write(request.data(), request.size()).failed);
  uint8_t byte = 0;
  int errorCode = 0;
  EXPECT_EQ(line.Read(&byte, 1, errorCode), -1);
  EXPECT_NE(errorCode, 0);

  EXPECT_TRUE(line.IsOpen());  // the worker decides when to close
  line.Close();
  EXPECT_FALSE(line.IsOpen());
}

TEST_F(FtdiLineTest, ClosedLineFailsWithoutCallingTheLibrary) {
  FtdiLine line;
  LineStatus status;
  EXPECT_FALSE(line.QueryStatus(status));
  uint32_t lines = 0;
  EXPECT_FALSE(line.QueryModemLines(lines));
  EXPECT_FALSE(line.Configure({}));
  uint8_t byte = 0;
  EXPECT_TRUE(line.Write(&byte, 1).failed);
  int errorCode = 0;
  EXPECT_EQ(line.Read(&byte, 1, errorCode), -1);
  EXPECT_EQ(errorCode, 6);  // invalid handle
  line.Close();
}

TEST_F(FtdiLineTest, LibraryLackingFunctionsStillOpensAndMovesBytes) {
  ScopedEnv library(kFtd2xxLibraryVariable, kFakePartialFtd2xxFile);
  kxfake::FakeFtdiControl partial(kFakePartialFtd2xxFile);
  ASSERT_TRUE(partial.Loaded());
  partial.Reset();

  FtdiLine line;
  ASSERT_TRUE(line.Open(kSerial));   // without FT_SetLatencyTimer
  EXPECT_FALSE(line.Configure({}));  // without FT_W32_SetCommState
  const std::optional<KxFakeFtdiSettings> recorded = partial.Settings(kSerial);
  ASSERT_TRUE(recorded.has_value());
  EXPECT_EQ(recorded->latencyTimer, -1);
  EXPECT_TRUE(recorded->timeoutsSet);
  EXPECT_EQ(recorded->purgeMask, PURGE_TXCLEAR | PURGE_RXCLEAR);

  // Without FT_W32_ClearCommError and FT_W32_GetCommModemStatus the worker's first poll fails.
  LineStatus status;
  EXPECT_FALSE(line.QueryStatus(status));
  uint32_t lines = 0;
  EXPECT_FALSE(line.QueryModemLines(lines));
  const Bytes request = VersionRequest(FrameMode::kXor);
  EXPECT_EQ(line.Write(request.data(), request.size()).written, request.size());
  EXPECT_EQ(partial.Model(kSerial)->ReceivedRequests(), std::vector<Bytes>{request});
}

// A worker thread polls and reads while the caller's thread writes requests and another
// thread lists the devices, as the SDK's threads do.
TEST_F(FtdiLineTest, ThreadedWorkerReadsWhileTheCallerWrites) {
  constexpr int kRequests = 20;
  const Bytes request = VersionRequest(FrameMode::kCrc16);
  const Bytes answer = VersionAnswer(FrameMode::kCrc16);
  FtdiLine line;
  ASSERT_TRUE(line.Open(kSerial));
  line.Configure({});

  Bytes received;
  std::thread worker([&] { received = ReceiveBytes(line, answer.size() * kRequests, 5s); });
  std::atomic<bool> writing{true};
  std::thread lister([&] {
    CFTD2xxPort port;
    while (writing.load()) {
      std::vector<std::string> list;
      port.ListFtdiDevices(list);
      std::this_thread::sleep_for(1ms);
    }
  });
  for (int i = 0; i < kRequests; ++i) {
    EXPECT_EQ(line.Write(request.data(), request.size()).written, request.size());
    std::this_thread::sleep_for(1ms);
  }
  writing = false;
  lister.join();
  worker.join();

  Bytes expected;
  for (int i = 0; i < kRequests; ++i)
    expected.insert(expected.end(), answer.begin(), answer.end());
  EXPECT_EQ(received, expected);
}

}  // namespace
}  // namespace kxlf
