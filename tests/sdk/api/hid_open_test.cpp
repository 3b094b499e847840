// HID readers through the entry points, against the test build of hidapi: opening by name with
// the control reports, handles from 10001, reads and writes in both frame modes, the USB list,
// and a reader pulled during an exchange. The SDK binds hidapi once at its start, so main()
// names the test library before anything else runs; the suite HidUnusable runs in processes of
// its own with a library that cannot serve (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "kx_fake_ftd2xx/scoped_env.h"
#include "kx_fake_hidapi/fake_hid_control.h"
#include "kxemu/switching_reader.h"
#include "kxemu/transponder.h"
#include "kxlf.h"
#include "link/frame_codec.h"
#include "sdk_app.h"
#include "transport/hidapi_library.h"

namespace kxlf {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kReader = "7731-0042";
constexpr const char* kReaderName = "7731-0042 HID";

std::vector<std::string> UsbReaders() {
  char buffer[2500];
  const int written = KxLfListUsbReaders(buffer, sizeof buffer);
  std::vector<std::string> list;
  for (int at = 0; at < written - 1;) {
    list.emplace_back(buffer + at);
    at += static_cast<int>(list.back().size()) + 1;
  }
  return list;
}

class HidOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fake_.Loaded());
    fake_.Reset();
  }
  void TearDown() override {
    for (int handle : opened_)
      KxLfClose(handle);
    EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 0u);
  }
  int Plug(const std::string& serial, const kxemu::ReaderConfig& config = {}) {
    return fake_.AddReader(serial, &config);
  }
  int Open(const std::string& name, int options = 0, int timeoutMs = 300) {
    const int handle = KxLfOpen(name.c_str(), 115200, options, timeoutMs);
    if (handle > 0)
      opened_.push_back(handle);
    return handle;
  }
  void Close(int handle) {
    std::erase(opened_, handle);
    EXPECT_EQ(KxLfClose(handle), 0);
  }

  kxfake::FakeHidControl fake_{KX_FAKE_HIDAPI_FILE};
  std::vector<int> opened_;
};

TEST_F(HidOpenTest, OpensWithControlReportsAndHandlesFrom10001) {
  const int first = Plug(kReader);
  const int second = Plug("5391-0007");
  const int handle = Open(std::string(kReaderName) + ":1");
  ASSERT_EQ(handle, 10001);
  EXPECT_EQ(fake_.ControlValues(first), (std::vector<uint8_t>{0}));
  EXPECT_EQ(KxLfIsUsbConnection(handle), 1);
  EXPECT_EQ(Open("5391-0007 HID"), 10002);

  Close(handle);
  EXPECT_EQ(fake_.ControlValues(first), (std::vector<uint8_t>{0, 1}));
  EXPECT_EQ(fake_.OpenCount(first), 0);
  EXPECT_EQ(KxLfIsUsbConnection(handle), -1);
  EXPECT_EQ(Open(kReaderName), 10001) << "the lowest free number again";
  EXPECT_EQ(fake_.ControlValues(second), (std::vector<uint8_t>{0}));
}

TEST_F(HidOpenTest, NamesMatchingNoDeviceGiveMinusOne) {
  const int id = Plug(kReader);
  for (const char* name : {"7731-0043 HID", "7731-0042 hid", "7731-0042HID", "7731-0042 HID ",
                           "HID", "7731-0042 HID:"})
    EXPECT_EQ(Open(name), -1) << name;
  EXPECT_EQ(fake_.OpenCount(id), 0);
}

TEST_F(HidOpenTest, DeviceAddressFollowsTheName) {
  kxemu::ReaderConfig config;
  config.address = 2;
  const int id = Plug(kReader, config);
  ASSERT_EQ(Open(std::string(kReaderName) + ":2"), 10001);
  EXPECT_EQ(fake_.Model(id)->ReceivedRequests(),
            (std::vector<Bytes>{{0x02, 0x02, 0xF0, 0x00, 0xF2}}));
}

TEST_F(HidOpenTest, FailedControlReportGivesMinus18AndLeavesNothing) {
  const int id = Plug(kReader);
  KxFakeHidFaults faults;
  faults.failControl = true;
  fake_.SetFaults(id, faults);
  EXPECT_EQ(Open(kReaderName), -18);
  EXPECT_EQ(fake_.OpenCount(id), 0);
  EXPECT_TRUE(fake_.Model(id)->ReceivedRequests().empty()) << "no identification";
  fake_.SetFaults(id, {});
  EXPECT_EQ(Open(kReaderName), 10001) << "the number was given back";
}

// The serial tests' reads and writes, over HID in both frame modes.
class HidFrameModeTest : public HidOpenTest, public ::testing::WithParamInterface<bool> {};

TEST_P(HidFrameModeTest, ReadsAndWritesBlocks) {
  kxemu::ReaderConfig config;
  config.answersOnlyInCrcMode = GetParam();
  kxemu::Transponder transponder = kxemu::MakeTransponder(33);
  for (size_t i = 0; i < transponder.memory.size(); ++i)
    transponder.memory[i] = static_cast<uint8_t>(i);
  config.transponder = transponder;
  const int id = Plug(kReader, config);
  const int handle = Open(kReaderName);
  ASSERT_GT(handle, 0);
  EXPECT_EQ(CKX_LF_SDKApp::Instance().FindConnection(handle)->port.Mode(),
            GetParam() ? FrameMode::kCrc16 : FrameMode::kXor);

  unsigned char buffer[16];
  ASSERT_EQ(KxLfReadBlocks(handle, 33, 2, buffer, 16), 16);
  const size_t blockSize = kxemu::BlockUnit(33);
  EXPECT_EQ(Bytes(buffer, buffer + 16), Bytes(transponder.memory.begin() + 2 * blockSize,
                                              transponder.memory.begin() + 2 * blockSize + 16));
  const unsigned char data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(KxLfWriteBlocks(handle, 33 | KXLF_VERIFY, 4, data, 8, 0), 0);
  const kxemu::Transponder stored = *fake_.Model(id)->CurrentTransponder();
  EXPECT_EQ(Bytes(stored.memory.begin() + 4 * blockSize, stored.memory.begin() + 4 * blockSize + 8),
            Bytes(data, data + 8));
  unsigned char whole[64];
  EXPECT_GT(KxLfReadTransponder(handle, 33, whole, sizeof whole), 0);

  fake_.Model(id)->SetTransponder(std::nullopt);
  EXPECT_EQ(KxLfReadBlocks(handle, 33, 2, buffer, 8), -1);
  EXPECT_EQ(KxLfGetLastError(handle), 21);
}

INSTANTIATE_TEST_SUITE_P(BothModes, HidFrameModeTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Crc16" : "Xor"; });

TEST_F(HidOpenTest, UsbListCarriesHidNamesThroughTheArticleFilter) {
  Plug(kReader);
  Plug("1234-0001");  // no article number of the family
  KxFakeHidDevice anonymous;
  anonymous.serial = nullptr;
  fake_.Add(anonymous);
  fake_.Add(anonymous);
  Plug(kReader);  // a second device under the same name
  EXPECT_EQ(UsbReaders(), (std::vector<std::string>{kReaderName, "7731-???? HID"}));
  const int handle = Open(kReaderName);
  ASSERT_GT(handle, 0);
  EXPECT_EQ(UsbReaders(), (std::vector<std::string>{kReaderName, "7731-???? HID"}))
      << "hidraw shares devices: an open reader stays listed";
}

// threaded: the test pulls the reader from another thread while the exchange waits.
TEST_F(HidOpenTest, ThreadedReaderPulledMidExchange) {
  const int id = Plug(kReader);
  const int handle = Open(kReaderName, 0, 300);
  ASSERT_EQ(handle, 10001);
  kxemu::Faults late;
  late.answerDelay = std::chrono::milliseconds(200);
  fake_.Model(id)->SetFaults(late);

  std::thread pull([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    fake_.Unplug(id);
  });
  const Clock::time_point start = Clock::now();
  unsigned char version[4];
  EXPECT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), -1);
  const auto took = Clock::now() - start;
  pull.join();
  EXPECT_LT(took, std::chrono::milliseconds(300 + 500)) << "within one timeout, with room";
  EXPECT_EQ(KxLfGetLastError(handle), KXLF_ERR_NO_CONNECTION)
      << "the lookup drops the connection whose device closed";
  EXPECT_EQ(KxLfIsUsbConnection(handle), -1);
  std::erase(opened_, handle);
  EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 0u);

  EXPECT_EQ(Open(kReaderName), -1) << "still unplugged";
  const int back = Plug(kReader);
  ASSERT_EQ(Open(kReaderName), 10001);

  // Pulled again and opened again before anything looked the old handle up: the dead
  // connection has given its number up and leaves at the next walk of the registry.
  fake_.Unplug(back);
  EXPECT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), -1);
  Plug(kReader);
  std::erase(opened_, handle);
  EXPECT_EQ(Open(kReaderName), 10001);
  EXPECT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), 4) << "the new connection";
  EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 1u);
}

TEST_F(HidOpenTest, WriteFailureEndsInATimeoutAndTheConnectionStays) {
  const int id = Plug(kReader);
  const int handle = Open(kReaderName, 0, 100);
  ASSERT_GT(handle, 0);
  KxFakeHidFaults faults;
  faults.failWrites = true;
  fake_.SetFaults(id, faults);
  unsigned char version[4];
  EXPECT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), -1);
  EXPECT_EQ(KxLfGetLastError(handle), KXLF_ERR_TIMEOUT);
  fake_.SetFaults(id, {});
  EXPECT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), 4);
}

TEST_F(HidOpenTest, StaleInputIsDrainedBeforeTheNextCommand) {
  const int id = Plug(kReader);
  const int handle = Open(kReaderName, 0, 100);
  ASSERT_GT(handle, 0);
  kxemu::Faults late;
  late.answerDelay = std::chrono::milliseconds(150);
  fake_.Model(id)->SetFaults(late);
  unsigned char version[4];
  EXPECT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), -1) << "answer after the timeout";
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  fake_.Model(id)->SetFaults({});
  fake_.Model(id)->SetVersionText("0299");
  ASSERT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(version), 4), "0299")
      << "the late answer was not taken for this one";
}

bool WaitUntil(const std::function<bool()>& condition) {
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (Clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// threaded: a reader served by the emulator switches from its terminal to the HID bus folder and
// back, driven by the same calls as the interface dialog's mode buttons.
TEST_F(HidOpenTest, ThreadedReaderSwitchesBetweenVirtualComAndHid) {
  char folderTemplate[] = "/tmp/kx-hid-bus.XXXXXX";
  ASSERT_NE(mkdtemp(folderTemplate), nullptr);
  const std::string folder = folderTemplate;
  kxfake::ScopedEnv bus("KX_FAKE_HID_BUS", folder);
  kxemu::ReaderModel model;
  kxemu::SwitchingReaderSettings settings;
  settings.busFolder = folder;
  settings.busKey = "reader";
  settings.hid.serial = "5391-0007";
  kxemu::SwitchingReader reader(model, settings);
  ASSERT_TRUE(reader.Start(kxemu::UsbPersonality::kVirtualCom));
  const std::string terminal = reader.DevicePath();
  EXPECT_EQ(UsbReaders(), std::vector<std::string>{});

  int handle = Open(terminal, 0, 100);
  ASSERT_GT(handle, 0);
  EXPECT_EQ(KxLfSetUsbInterface(handle, 1), 0);
  EXPECT_EQ(KxLfCommandF6(handle, 0, 0), 0);
  Close(handle);
  ASSERT_TRUE(WaitUntil([] { return UsbReaders() == std::vector<std::string>{"5391-0007 HID"}; }));
  // Not checked through the file system: a test running beside this one may get the same
  // /dev/pts number as soon as the emulator has given its terminal up.
  EXPECT_EQ(reader.DevicePath(), "") << "the terminal is gone";

  handle = Open("5391-0007 HID", 0, 100);
  ASSERT_EQ(handle, 10001);
  unsigned char version[4];
  EXPECT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), 4);
  EXPECT_EQ(KxLfSetUsbInterface(handle, 2), 0);
  EXPECT_EQ(KxLfCommandF6(handle, 0, 0), 0);
  Close(handle);
  ASSERT_TRUE(WaitUntil([&] { return !reader.DevicePath().empty(); }));
  EXPECT_TRUE(UsbReaders().empty());
  handle = Open(reader.DevicePath(), 0, 100);
  EXPECT_GT(handle, 0) << "a virtual COM port again";
  reader.Stop();
  std::filesystem::remove_all(folder);
}

// Run only in processes whose KXLF_HIDAPI_LIBRARY cannot serve HID.
TEST(HidUnusable, HidNamesCannotBeOpenedAndAreNotListed) {
  const char* bound = std::getenv(kHidapiLibraryVariable);
  if (bound != nullptr && std::string(bound) == KX_FAKE_HIDAPI_FILE)
    GTEST_SKIP() << "HID is usable in this process";
  kxfake::FakeHidControl fake(KX_FAKE_HIDAPI_NO_WRITE_FILE);
  ASSERT_TRUE(fake.Loaded());
  fake.AddReader(kReader);
  EXPECT_EQ(KxLfOpen(kReaderName, 19200, 0, 100), -1);
  EXPECT_EQ(UsbReaders(), std::vector<std::string>{});
}

}  // namespace
}  // namespace kxlf

int main(int argc, char** argv) {
  // Before the SDK object exists: it binds hidapi once, at its start.
  setenv(kxlf::kHidapiLibraryVariable, KX_FAKE_HIDAPI_FILE, 0);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
