// The HID device object against the test builds of hidapi: names, which devices count, the
// report layout in both directions (with hidraw's report-id rule), report lengths, and the
// faults of library, device and reports.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "kx_fake_ftd2xx/scoped_env.h"
#include "kx_fake_hidapi/fake_hid_control.h"
#include "link/frame_codec.h"
#include "transport/hid_device.h"
#include "transport/hidapi_library.h"

namespace kxlf {
namespace {

using kxfake::ScopedEnv;

// A version request and the emulator's answer to it (payload "054A").
const Bytes kVersionRequest{0x02, 0x01, 0xF0, 0x00, 0xF1};
const Bytes kVersionAnswer = BuildFrame(FrameMode::kXor, 1, 0x00, Bytes{'0', '5', '4', 'A'});

// hidapi bound from one test library file for the life of the object, as the SDK binds it.
class BoundLibrary {
 public:
  explicit BoundLibrary(const std::string& file) {
    ScopedEnv library(kHidapiLibraryVariable, file);
    library_.Bind();
    SetBoundHidapi(&library_);
  }
  ~BoundLibrary() {
    SetBoundHidapi(nullptr);
    library_.Release();
  }
  bool Usable() const { return library_.Usable() != nullptr; }

 private:
  HidapiLibrary library_;
};

std::vector<std::string> Listed() {
  std::vector<std::string> list;
  CHidDevice::ListHidReaders(list);
  return list;
}

// Reads until a whole answer frame of `size` bytes has arrived or a second has passed.
Bytes ReadFrame(CHidDevice& device, size_t size, int capacity = 100) {
  Bytes received;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (received.size() < size && std::chrono::steady_clock::now() < deadline && device.IsOpen()) {
    uint8_t buffer[130];
    const int count = device.ReadInput(buffer, capacity, 1);
    received.insert(received.end(), buffer, buffer + count);
  }
  return received;
}

class HidDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fake_.Loaded());
    fake_.Reset();
    ASSERT_TRUE(bound_.Usable());
  }

  kxfake::FakeHidControl fake_{KX_FAKE_HIDAPI_FILE};
  BoundLibrary bound_{KX_FAKE_HIDAPI_FILE};
};

TEST(HidReaderName, SerialNumberInEightBitCharacters) {
  EXPECT_EQ(HidReaderName(L"7731-0042"), "7731-0042 HID");
  EXPECT_EQ(HidReaderName(L"5391-\u00e40\u01011"),
            "5391-\xe4"
            "0?1 HID")
      << "outside Latin-1: ?";
  EXPECT_EQ(HidReaderName(L""), "7731-???? HID");
  EXPECT_EQ(HidReaderName(nullptr), "7731-???? HID");
}

TEST_F(HidDeviceTest, OnlyAcceptedIdsAreListedAndOpened) {
  fake_.AddReader("7731-0042");
  KxFakeHidDevice otherProduct;
  otherProduct.serial = "7731-0043";
  otherProduct.productId = 0x0C5D;  // the virtual COM personality's id, never a HID reader
  fake_.Add(otherProduct);
  KxFakeHidDevice otherVendor;
  otherVendor.serial = "7731-0044";
  otherVendor.vendorId = 0x16C0;
  otherVendor.productId = 0x4B1D;  // the other accepted pair
  fake_.Add(otherVendor);

  EXPECT_EQ(Listed(), (std::vector<std::string>{"7731-0042 HID", "7731-0044 HID"}));
  CHidDevice device;
  EXPECT_FALSE(device.OpenHidDevice("7731-0043 HID"));
  EXPECT_FALSE(device.OpenHidDevice("7731-0042"));
  EXPECT_FALSE(device.IsOpen());
  ASSERT_TRUE(device.OpenHidDevice("7731-0044 HID"));
  EXPECT_EQ(device.Name(), "7731-0044 HID");
}

TEST_F(HidDeviceTest, ReadersWithoutSerialStringShareOneNameListedOnce) {
  KxFakeHidDevice anonymous;
  anonymous.serial = nullptr;
  fake_.Add(anonymous);
  fake_.Add(anonymous);
  std::vector<std::string> list{"7731-1234"};  // an FTDI serial number listed before
  CHidDevice::ListHidReaders(list);
  EXPECT_EQ(list, (std::vector<std::string>{"7731-1234", "7731-???? HID"}));
  CHidDevice device;
  EXPECT_TRUE(device.OpenHidDevice("7731-???? HID"));
}

TEST_F(HidDeviceTest, FrameTravelsInReportsAndTheAnswerComesBack) {
  const int id = fake_.AddReader("7731-0042");
  CHidDevice device;
  ASSERT_TRUE(device.OpenHidDevice("7731-0042 HID"));
  EXPECT_EQ(device.ReportLengths(), (HidReportLengths{9, 9}));
  ASSERT_TRUE(device.SendControlReport(0));
  EXPECT_EQ(fake_.ControlValues(id), (std::vector<uint8_t>{0}));

  // A 12-byte frame goes out as two reports of 7 and 5 data bytes; the fake refuses any
  // report that is not 9 bytes with id 0 first.
  const Bytes write = BuildFrame(FrameMode::kXor, 1, 0xC3, Bytes{33, 1, 0, 0x11, 0x22, 0x33, 0x44});
  ASSERT_EQ(write.size(), 12u);
  EXPECT_TRUE(device.WriteFrame(kVersionRequest.data(), 0)) << "nothing to send";
  ASSERT_TRUE(device.WriteFrame(write.data(), write.size()));
  ASSERT_TRUE(device.WriteFrame(kVersionRequest.data(), kVersionRequest.size()));
  EXPECT_EQ(fake_.Model(id)->ReceivedRequests(), (std::vector<Bytes>{write, kVersionRequest}));

  // The write finds no transponder: a status-only answer of 5 bytes, then the version answer.
  const Bytes answers = ReadFrame(device, 5 + kVersionAnswer.size());
  ASSERT_EQ(answers.size(), 5 + kVersionAnswer.size());
  EXPECT_EQ(Bytes(answers.begin() + 5, answers.end()), kVersionAnswer);
  uint8_t buffer[100];
  EXPECT_EQ(device.ReadInput(buffer, sizeof buffer), 0) << "nothing more";
}

TEST_F(HidDeviceTest, CountByteLargerThanTheReportDeliversOnlyWhatIsThere) {
  const int id = fake_.AddReader("7731-0042");
  KxFakeHidFaults faults;
  faults.countExcess = 40;
  fake_.SetFaults(id, faults);
  CHidDevice device;
  ASSERT_TRUE(device.OpenHidDevice("7731-0042 HID"));
  ASSERT_TRUE(device.WriteFrame(kVersionRequest.data(), kVersionRequest.size()));
  // The 9-byte answer comes as 7 + 2 data bytes; the second report claims 42 but holds 7 bytes
  // (two data bytes and five of padding), which are all delivered.
  uint8_t first[100];
  int count = 0;
  for (int i = 0; i < 1000 && count == 0; ++i)
    count = device.ReadInput(first, sizeof first, 1);
  ASSERT_EQ(count, 7);
  EXPECT_EQ(Bytes(first, first + 7), Bytes(kVersionAnswer.begin(), kVersionAnswer.begin() + 7));
  uint8_t second[100];
  ASSERT_EQ(device.ReadInput(second, sizeof second, 100), 7);
  EXPECT_EQ(Bytes(second, second + 2), Bytes(kVersionAnswer.begin() + 7, kVersionAnswer.end()));
}

TEST_F(HidDeviceTest, SmallCapacityDropsTheRestOfALongReport) {
  KxFakeHidDevice wide;
  wide.serial = "7731-0042";
  wide.inputReportLength = 33;  // 31 data bytes per report
  const int id = fake_.Add(wide);
  kxemu::Faults faults;
  faults.bytesAfterFrame = Bytes(10, 0xEE);  // 19 bytes in one report
  fake_.Model(id)->SetFaults(faults);
  CHidDevice device;
  ASSERT_TRUE(device.OpenHidDevice("7731-0042 HID"));
  EXPECT_EQ(device.ReportLengths(), (HidReportLengths{33, 9}));
  ASSERT_TRUE(device.WriteFrame(kVersionRequest.data(), kVersionRequest.size()));
  uint8_t buffer[10];
  ASSERT_EQ(device.ReadInput(buffer, 10, 500), 10);
  EXPECT_EQ(Bytes(buffer, buffer + 9), kVersionAnswer);
  EXPECT_EQ(device.ReadInput(buffer, 10, 20), 0) << "the other 9 bytes went with the report";
}

TEST_F(HidDeviceTest, DevicesOutsideTheReportLimitsAreRefused) {
  for (const auto& [input, output] : {std::pair{131, 9}, {9, 66}, {9, 2}}) {
    fake_.Reset();
    KxFakeHidDevice device;
    device.serial = "7731-0042";
    device.inputReportLength = input;
    device.outputReportLength = output;
    const int id = fake_.Add(device);
    CHidDevice hid;
    EXPECT_FALSE(hid.OpenHidDevice("7731-0042 HID")) << input << "/" << output;
    EXPECT_EQ(fake_.OpenCount(id), 0) << "closed again";
  }
}

TEST_F(HidDeviceTest, FailedWriteAndReadAndAVanishedDevice) {
  const int id = fake_.AddReader("7731-0042");
  CHidDevice device;
  ASSERT_TRUE(device.OpenHidDevice("7731-0042 HID"));
  KxFakeHidFaults faults;
  faults.failWrites = true;
  fake_.SetFaults(id, faults);
  EXPECT_FALSE(device.WriteFrame(kVersionRequest.data(), kVersionRequest.size()));
  EXPECT_TRUE(device.IsOpen()) << "a failed write leaves the device open";
  faults.failWrites = false;
  faults.failControl = true;
  fake_.SetFaults(id, faults);
  EXPECT_FALSE(device.SendControlReport(1));

  faults = {};
  faults.failReads = true;
  fake_.SetFaults(id, faults);
  uint8_t buffer[100];
  EXPECT_EQ(device.ReadInput(buffer, sizeof buffer), 0);
  EXPECT_FALSE(device.IsOpen()) << "a read error closes the device";
  EXPECT_EQ(fake_.OpenCount(id), 0);
  EXPECT_FALSE(device.WriteFrame(kVersionRequest.data(), kVersionRequest.size()));

  fake_.SetFaults(id, {});
  ASSERT_TRUE(device.OpenHidDevice("7731-0042 HID"));
  ASSERT_TRUE(fake_.Unplug(id));
  EXPECT_EQ(device.ReadInput(buffer, sizeof buffer, 1), 0);
  EXPECT_FALSE(device.IsOpen());
  EXPECT_TRUE(Listed().empty());
}

TEST(HidapiBinding, WithoutDescriptorCallReportsAreAssumedNineBytes) {
  kxfake::FakeHidControl fake(KX_FAKE_HIDAPI_NO_DESCRIPTOR_FILE);
  ASSERT_TRUE(fake.Loaded());
  fake.Reset();
  KxFakeHidDevice wide;
  wide.serial = "7731-0042";
  wide.inputReportLength = 33;
  wide.outputReportLength = 33;
  fake.Add(wide);
  BoundLibrary bound(KX_FAKE_HIDAPI_NO_DESCRIPTOR_FILE);
  ASSERT_TRUE(bound.Usable()) << "the descriptor call is optional";
  CHidDevice device;
  ASSERT_TRUE(device.OpenHidDevice("7731-0042 HID"));
  EXPECT_EQ(device.ReportLengths(), (HidReportLengths{9, 9})) << "no hidraw node to read either";
}

// Without the descriptor call (hidapi before 0.14) the lengths come from the hidraw node's
// descriptor in sysfs.
TEST(HidapiBinding, WithoutDescriptorCallTheLengthsComeFromSysfs) {
  kxfake::FakeHidControl fake(KX_FAKE_HIDAPI_NO_DESCRIPTOR_FILE);
  ASSERT_TRUE(fake.Loaded());
  char root[] = "/tmp/kx-hid-sysfs.XXXXXX";
  ASSERT_NE(mkdtemp(root), nullptr);
  ScopedEnv sysfs("KXLF_SYSFS_ROOT", root);
  const auto record = [&](int node, const char* fixture) {
    const std::filesystem::path folder = std::filesystem::path(root) / "sys/class/hidraw" /
                                         ("hidraw" + std::to_string(node)) / "device";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(std::string(KX_HID_DESCRIPTORS) + "/" + fixture,
                               folder / "report_descriptor");
  };
  record(3, "numbered_reports.bin");
  record(4, "boot_keyboard.bin");
  fake.Reset();
  KxFakeHidDevice numbered;
  numbered.serial = "7731-0042";
  numbered.hidrawNode = 3;
  numbered.inputReportLength = 64;
  numbered.outputReportLength = 33;
  fake.Add(numbered);
  KxFakeHidDevice keyboardLike;
  keyboardLike.serial = "7731-0043";
  keyboardLike.hidrawNode = 4;
  fake.Add(keyboardLike);
  KxFakeHidDevice unrecorded;
  unrecorded.serial = "7731-0044";
  unrecorded.hidrawNode = 5;
  fake.Add(unrecorded);
  BoundLibrary bound(KX_FAKE_HIDAPI_NO_DESCRIPTOR_FILE);
  ASSERT_TRUE(bound.Usable());

  CHidDevice device;
  ASSERT_TRUE(device.OpenHidDevice("7731-0042 HID"));
  EXPECT_EQ(device.ReportLengths(), (HidReportLengths{64, 33}));
  EXPECT_FALSE(device.OpenHidDevice("7731-0043 HID")) << "2-byte output reports";
  ASSERT_TRUE(device.OpenHidDevice("7731-0044 HID"));
  EXPECT_EQ(device.ReportLengths(), (HidReportLengths{9, 9})) << "no descriptor to read";
  std::filesystem::remove_all(root);
}

TEST(HidapiBinding, MissingLibraryOrRequiredFunctionMakesHidUnusable) {
  for (const char* file : {"/nonexistent/libhidapi-hidraw.so.0", KX_FAKE_HIDAPI_NO_WRITE_FILE}) {
    kxfake::FakeHidControl fake(KX_FAKE_HIDAPI_NO_WRITE_FILE);
    ASSERT_TRUE(fake.Loaded());
    fake.Reset();
    fake.AddReader("7731-0042");
    BoundLibrary bound(file);
    EXPECT_FALSE(bound.Usable()) << file;
    EXPECT_TRUE(Listed().empty()) << file;
    CHidDevice device;
    EXPECT_FALSE(device.OpenHidDevice("7731-0042 HID")) << file;
  }
}

}  // namespace
}  // namespace kxlf
