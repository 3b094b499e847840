// Readers behind FTDI converters, opened by serial number through the test build of the D2XX
// library: identification in both frame modes, the line the converter is given, the list of
// USB readers, and a converter pulled while its connection is open.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "kx_fake_ftd2xx/fake_ftdi_control.h"
#include "kx_fake_ftd2xx/scoped_env.h"
#include "kxemu/transponder.h"
#include "kxlf.h"
#include "link/frame_codec.h"
#include "sdk_app.h"
#include "transport/ftd2xx_port.h"

namespace kxlf {
namespace {

using kxfake::ScopedEnv;

constexpr const char* kFakeFtd2xxFile = KX_FAKE_FTD2XX_FILE;
constexpr const char* kReader = "7731-0042";

const Bytes kVersionRequestXor{0x02, 0x01, 0xF0, 0x00, 0xF1};
const Bytes kVersionRequestCrc{0x01, 0xF0, 0x00, 0x64, 0x00};

// A string list as the list calls write it.
std::string StringList(std::initializer_list<const char*> entries) {
  std::string list;
  for (const char* entry : entries) {
    list += entry;
    list += '\0';
  }
  list += '\0';
  return list;
}

class FtdiOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fake_.Loaded()) << kFakeFtd2xxFile;
    fake_.Reset();
  }
  void TearDown() override {
    for (int handle : opened_)
      KxLfClose(handle);
    EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 0u);
  }

  void Plug(const std::string& serial, const kxemu::ReaderConfig& config = {}) {
    ASSERT_TRUE(fake_.AddDevice(serial, "KX reader", &config)) << serial;
  }
  int Open(const std::string& name, int baudRate = 115200, int options = 0, int timeoutMs = 300) {
    const int handle = KxLfOpen(name.c_str(), baudRate, options, timeoutMs);
    if (handle > 0)
      opened_.push_back(handle);
    return handle;
  }
  void Close(int handle) {
    EXPECT_EQ(KxLfClose(handle), 0);
    std::erase(opened_, handle);
  }
  std::vector<Bytes> Requests(const std::string& serial) {
    kxemu::ReaderModel* model = fake_.Model(serial);
    return model != nullptr ? model->ReceivedRequests() : std::vector<Bytes>{};
  }
  KxFakeFtdiSettings Settings(const std::string& serial) {
    const std::optional<KxFakeFtdiSettings> settings = fake_.Settings(serial);
    EXPECT_TRUE(settings.has_value()) << serial;
    return settings.value_or(KxFakeFtdiSettings{});
  }
  // The list as KxLfListUsbReaders writes it into a buffer of `size` bytes, NULs included.
  std::string ListUsbReaders(int size) {
    std::vector<char> buffer(static_cast<size_t>(size), 'x');
    const int written = KxLfListUsbReaders(buffer.data(), size);
    EXPECT_GE(written, 1);
    EXPECT_LE(written, size);
    return std::string(buffer.data(), static_cast<size_t>(std::max(written, 0)));
  }

  ScopedEnv library_{kFtd2xxLibraryVariable, kFakeFtd2xxFile};
  kxfake::FakeFtdiControl fake_{kFakeFtd2xxFile};
  std::vector<int> opened_;
};

TEST_F(FtdiOpenTest, OpensAnXorReaderAt19200Baud) {
  kxemu::ReaderConfig config;
  config.transponder = kxemu::MakeTransponder(33);
  config.transponder->memory[16] = 0x5A;
  ASSERT_NO_FATAL_FAILURE(Plug(kReader, config));
  const int handle = Open(kReader, 115200, KXLF_OPEN_EVEN_PARITY);
  ASSERT_EQ(handle, 1);
  EXPECT_EQ(Requests(kReader), std::vector<Bytes>{kVersionRequestXor});
  EXPECT_EQ(KxLfIsUsbConnection(handle), 1);
  EXPECT_EQ(CKX_LF_SDKApp::Instance().FindConnection(handle)->port.CapabilityWord(), 0x7F3);

  const KxFakeFtdiSettings settings = Settings(kReader);
  EXPECT_TRUE(settings.open);
  EXPECT_EQ(settings.dcb.BaudRate, 19200u);
  EXPECT_EQ(settings.dcb.Parity, d2xx::EVENPARITY);
  EXPECT_EQ(settings.dcb.StopBits, d2xx::ONESTOPBIT);
  EXPECT_EQ(settings.dcb.ByteSize, 8);

  unsigned char buffer[16];
  ASSERT_EQ(KxLfReadBlocks(handle, 33, 2, buffer, 16), 16);
  EXPECT_EQ(Requests(kReader).back(), BuildFrame(FrameMode::kXor, 1, 0xC2, Bytes{33, 2, 2}));
  EXPECT_EQ(buffer[0], 0x5A);

  Close(handle);
  EXPECT_FALSE(Settings(kReader).open);
  EXPECT_EQ(KxLfIsUsbConnection(handle), -1);
  EXPECT_EQ(KxLfGetLastError(handle), KXLF_ERR_NO_CONNECTION);
  EXPECT_EQ(Open(kReader), 1) << "the converter is free again";
}

TEST_F(FtdiOpenTest, BaudRateStaysWhenTheSerialNumberContainsCom) {
  ASSERT_NO_FATAL_FAILURE(Plug("7731-com9"));
  ASSERT_GT(Open("7731-com9", 115200, KXLF_OPEN_NO_PARITY_2_STOP), 0);
  const KxFakeFtdiSettings settings = Settings("7731-com9");
  EXPECT_EQ(settings.dcb.BaudRate, 115200u);
  EXPECT_EQ(settings.dcb.Parity, d2xx::NOPARITY);
  EXPECT_EQ(settings.dcb.StopBits, d2xx::TWOSTOPBITS);
}

TEST_F(FtdiOpenTest, CrcOnlyReaderIsFoundAfterAReopen) {
  kxemu::ReaderConfig config;
  config.answersOnlyInCrcMode = true;
  ASSERT_NO_FATAL_FAILURE(Plug(kReader, config));

  EXPECT_EQ(Open(kReader, 19200, KXLF_OPEN_NO_CRC_MODE_TRIAL), -KXLF_ERR_NO_READER);
  EXPECT_EQ(Requests(kReader), (std::vector<Bytes>{kVersionRequestXor, kVersionRequestXor}));
  EXPECT_FALSE(Settings(kReader).open);
  EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 0u);

  fake_.Model(kReader)->ClearReceivedRequests();
  const int handle = Open(kReader);
  ASSERT_GT(handle, 0);
  EXPECT_EQ(Requests(kReader),
            (std::vector<Bytes>{kVersionRequestXor, kVersionRequestXor, kVersionRequestCrc}));
  EXPECT_EQ(CKX_LF_SDKApp::Instance().FindConnection(handle)->port.Mode(), FrameMode::kCrc16);
  EXPECT_EQ(KxLfIsUsbConnection(handle), 1);
  unsigned char version[4];
  EXPECT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), 4);
  EXPECT_EQ(Requests(kReader).back(), kVersionRequestCrc);
}

TEST_F(FtdiOpenTest, DeviceAddressFollowsTheSerialNumber) {
  kxemu::ReaderConfig config;
  config.address = 2;
  ASSERT_NO_FATAL_FAILURE(Plug(kReader, config));
  // A colon at the very end stays part of the name, and no converter has that serial number.
  EXPECT_EQ(Open(std::string(kReader) + ":"), -1);
  EXPECT_TRUE(Requests(kReader).empty());

  ASSERT_GT(Open(std::string(kReader) + ":2"), 0);
  EXPECT_EQ(Requests(kReader), (std::vector<Bytes>{{0x02, 0x02, 0xF0, 0x00, 0xF2}}));
}

TEST_F(FtdiOpenTest, MissingBusyOrUnloadableConverterGivesMinusOne) {
  ASSERT_NO_FATAL_FAILURE(Plug(kReader));
  EXPECT_EQ(Open("7731-9999"), -1);
  ASSERT_GT(Open(kReader), 0);
  EXPECT_EQ(Open(kReader), -1) << "a converter is never shared";
  {
    ScopedEnv missing(kFtd2xxLibraryVariable, "/nonexistent/libftd2xx.so");
    ASSERT_NO_FATAL_FAILURE(Plug("7731-0043"));
    EXPECT_EQ(Open("7731-0043"), -1);
  }
  EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 1u);
}

TEST_F(FtdiOpenTest, TwoConvertersKeepTheirExchangesApart) {
  kxemu::ReaderConfig other;
  other.versionText = "0394";
  ASSERT_NO_FATAL_FAILURE(Plug(kReader));
  ASSERT_NO_FATAL_FAILURE(Plug("7731-0043", other));
  const int first = Open(kReader);
  const int second = Open("7731-0043");
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  unsigned char version[4];
  ASSERT_EQ(KxLfGetVersion(second, version, 4, nullptr, 0), 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(version), 4), "0394");
  EXPECT_EQ(Requests(kReader).size(), 1u);
  EXPECT_EQ(Requests("7731-0043").size(), 2u);
}

TEST_F(FtdiOpenTest, UsbReaderListKeepsFamilyDevicesThatAreNotOpen) {
  // Besides the library's own FT123456: a long foreign serial number ahead of the readers, so a
  // skipped entry that took space would push the first reader out of a small buffer.
  for (const char* serial : {"ABCDEFGHIJKLMNO", kReader, "12345678", "5361ABCD", "6140-0001",
                             "7722000000000001", "4841"}) {
    ASSERT_NO_FATAL_FAILURE(Plug(serial));
  }
  const std::string all = StringList({kReader, "5361ABCD", "7722000000000001", "4841"});
  EXPECT_EQ(ListUsbReaders(256), all);
  EXPECT_EQ(ListUsbReaders(static_cast<int>(all.size())), all);
  EXPECT_EQ(ListUsbReaders(static_cast<int>(all.size()) - 1),
            StringList({kReader, "5361ABCD", "7722000000000001"}))
      << "the last entry needs room for its own NUL and the final one";
  EXPECT_EQ(ListUsbReaders(11), StringList({kReader}));
  EXPECT_EQ(ListUsbReaders(10), StringList({}))
      << "the first entry that does not fit ends the list, shorter ones behind it included";

  const int handle = Open("5361ABCD");
  ASSERT_GT(handle, 0);
  EXPECT_EQ(ListUsbReaders(256), StringList({kReader, "7722000000000001", "4841"}));
  Close(handle);
  EXPECT_EQ(ListUsbReaders(256), all);
}

TEST_F(FtdiOpenTest, PulledConverterLeavesATimeoutAndStaysListed) {
  ASSERT_NO_FATAL_FAILURE(Plug(kReader));
  const int handle = Open(kReader, 19200, 0, 100);
  ASSERT_GT(handle, 0);
  ASSERT_TRUE(fake_.Unplug(kReader));

  unsigned char version[4];
  EXPECT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), -1);
  EXPECT_EQ(KxLfGetLastError(handle), KXLF_ERR_TIMEOUT);
  EXPECT_EQ(KxLfReadBlocks(handle, 33, 0, version, 4), -1);
  EXPECT_EQ(KxLfGetLastError(handle), KXLF_ERR_TIMEOUT);
  EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 1u);
  EXPECT_EQ(KxLfIsUsbConnection(handle), 1);
  EXPECT_EQ(ListUsbReaders(64), StringList({}));

  // Plugged in again, the converter is opened afresh beside the dead connection.
  ASSERT_NO_FATAL_FAILURE(Plug(kReader));
  const int again = Open(kReader);
  ASSERT_GT(again, 0);
  EXPECT_NE(again, handle);
  EXPECT_EQ(KxLfGetVersion(again, version, 4, nullptr, 0), 4);
  Close(handle);
}

}  // namespace
}  // namespace kxlf
