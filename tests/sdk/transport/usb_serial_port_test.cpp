#include "transport/usb_serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>

#include "pseudo_terminal_test.h"
#include "transport/com_port_list.h"
#include "transport/port_name.h"

namespace kxlf {
namespace {

using namespace std::chrono_literals;

TEST(ParsePortName, TellsTtysFromFtdiSerialNumbers) {
  struct Row {
    const char* name;
    bool tty;
    const char* device;
  } rows[] = {
      {"COM3", true, "/dev/ttyS2"},
      {"com3", true, "/dev/ttyS2"},
      {"\\\\.\\COM3", true, "/dev/ttyS2"},
      {"\\\\.\\COM12 [Orv Virtual COM]", true, "/dev/ttyS11"},
      {"COM12 [Orv Virtual COM]", true, "/dev/ttyS11"},
      {"/dev/ttyUSB0", true, "/dev/ttyUSB0"},
      {"/dev/ttyACM1 [Orv Virtual COM Port]", true, "/dev/ttyACM1"},
      {"/dev/pts/7", true, "/dev/pts/7"},
      {"/dev/pts/7:", true, "/dev/pts/7"},
      {"COM4:", true, "/dev/ttyS3"},
      {"COM0", false, "COM0"},
      {"COMX", false, "COMX"},
      {"FT123456", false, "FT123456"},
      {"\\\\.\\FT123456", false, "FT123456"},
      {"", false, ""},
  };
  for (const Row& row : rows) {
    std::string device;
    EXPECT_EQ(CUSBSerialPort::ParsePortName(row.name, device), row.tty) << row.name;
    EXPECT_EQ(device, row.device) << row.name;
  }
}

// A line that records writes and never answers; the worker runs only when the test says.
class RecordingLine : public SerialLine {
 public:
  bool Open(const std::string&) override { return open_ = true; }
  bool Configure(const LineSettings& settings) override {
    settings_ = settings;
    return true;
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  bool QueryStatus(LineStatus& status) override {
    status = {};
    return !failPoll_;
  }
  bool QueryModemLines(uint32_t& lines) override {
    lines = 0;
    return true;
  }
  int Read(uint8_t*, size_t, int& errorCode) override {
    errorCode = 0;
    return 0;
  }
  // Takes at most `takeBeforeFailing_` bytes of a write, then refuses the rest, as a device
  // does that is pulled or jams in the middle of a request.
  WriteOutcome Write(const uint8_t* data, size_t size) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (refuseWrites_)
      return {0, true};
    const size_t taken = std::min(size, takeBeforeFailing_.load());
    written_.insert(written_.end(), data, data + taken);
    return {taken, taken < size};
  }
  int WaitDescriptor() const override { return -1; }

  std::vector<uint8_t> Written() {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
  }

  LineSettings settings_;
  std::atomic<bool> failPoll_{false};
  std::atomic<bool> refuseWrites_{false};
  std::atomic<size_t> takeBeforeFailing_{SIZE_MAX};

 private:
  bool open_ = false;
  std::mutex mutex_;
  std::vector<uint8_t> written_;
};

class RecordingPort : public CUSBSerialPort {
 public:
  ~RecordingPort() override { ClosePort(); }
  RecordingLine* line = nullptr;

 protected:
  std::unique_ptr<SerialLine> CreateLine(bool) override {
    auto created = std::make_unique<RecordingLine>();
    line = created.get();
    return created;
  }
};

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit = 2000ms) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until)
      return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

TEST(SerialWriteQueue, DropsRequestsThatDoNotFitWhole) {
  RecordingPort port;
  ASSERT_TRUE(port.OpenPort("FT1", 19200, 'E', 8, 2, 512));
  EXPECT_EQ(port.line->settings_.parity, 'E');
  EXPECT_EQ(port.line->settings_.stopBits, 2);
  const std::vector<uint8_t> big(600, 0xAB);
  port.QueueBytes(big.data(), 600);
  const std::vector<uint8_t> first(300, 0x01), second(300, 0x02);
  port.QueueBytes(first.data(), 300);
  port.QueueBytes(second.data(), 300);
  ASSERT_TRUE(port.StartWorker());
  ASSERT_TRUE(WaitFor([&] { return port.line->Written().size() >= 300; }));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(port.line->Written(), first);
}

TEST(SerialWriteQueue, TextCountAndFailedWritesAreKept) {
  RecordingPort port;
  ASSERT_TRUE(port.OpenPort("FT1", 19200, 'N', 8, 1, 512));
  port.line->refuseWrites_ = true;
  ASSERT_TRUE(port.StartWorker());
  port.QueueBytes(reinterpret_cast<const uint8_t*>("AB"), -1);
  std::this_thread::sleep_for(20ms);
  EXPECT_TRUE(port.line->Written().empty());
  port.line->refuseWrites_ = false;
  port.QueueBytes(reinterpret_cast<const uint8_t*>("C"), 1);
  ASSERT_TRUE(WaitFor([&] { return port.line->Written().size() == 3; }));
  EXPECT_EQ(port.line->Written(), (std::vector<uint8_t>{'A', 'B', 'C'}));
}

TEST(SerialWriteQueue, AfterAPartlyFailedWriteOnlyTheUnsentRestStaysQueued) {
  RecordingPort port;
  ASSERT_TRUE(port.OpenPort("FT1", 19200, 'N', 8, 1, 512));
  ASSERT_TRUE(port.StartWorker());
  port.line->takeBeforeFailing_ = 3;
  port.QueueBytes(reinterpret_cast<const uint8_t*>("ABCDEF"), 6);
  ASSERT_TRUE(WaitFor([&] { return port.line->Written().size() == 3; }));
  port.line->takeBeforeFailing_ = SIZE_MAX;
  port.QueueBytes(reinterpret_cast<const uint8_t*>("GH"), 2);
  ASSERT_TRUE(WaitFor([&] { return port.line->Written().size() >= 8; }));
  std::this_thread::sleep_for(20ms);
  const std::vector<uint8_t> written = port.line->Written();
  const std::string sent(written.begin(), written.end());
  EXPECT_EQ(sent, "ABCDEFGH") << "the part already sent must not go out again";
}

TEST(SerialWorker, EndsWhenThePollFailsAndClosesTheLine) {
  RecordingPort port;
  ASSERT_TRUE(port.OpenPort("FT1", 19200, 'N', 8, 1, 512));
  ASSERT_TRUE(port.StartWorker());
  EXPECT_TRUE(port.IsRunning());
  EXPECT_FALSE(port.StartWorker()) << "one worker per port";
  port.line->failPoll_ = true;
  ASSERT_TRUE(WaitFor([&] { return !port.IsRunning(); }));
  EXPECT_FALSE(port.IsPortOpen());
  port.ClosePort();
  port.ClosePort();  // closing twice is harmless
}

// The real tty path on a pseudo-terminal whose master end plays the reader.
class PtyPort : public testing::PseudoTerminalTest {
 protected:
  class CollectingPort : public CUSBSerialPort {
   public:
    ~CollectingPort() override { ClosePort(); }
    void OnByteReceived(uint8_t byte) override {
      std::lock_guard<std::mutex> lock(mutex);
      received.push_back(byte);
    }
    std::vector<uint8_t> Received() {
      std::lock_guard<std::mutex> lock(mutex);
      return received;
    }
    std::mutex mutex;
    std::vector<uint8_t> received;
  };

  std::vector<uint8_t> ReadMaster(size_t count) {
    std::vector<uint8_t> bytes;
    const auto until = std::chrono::steady_clock::now() + 2s;
    while (bytes.size() < count && std::chrono::steady_clock::now() < until) {
      pollfd fd{master_, POLLIN, 0};
      if (::poll(&fd, 1, 50) <= 0)
        continue;
      uint8_t buffer[64];
      const ssize_t got = ::read(master_, buffer, sizeof buffer);
      if (got > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
  }
};

TEST_F(PtyPort, MovesBytesBothWays) {
  CollectingPort port;
  ASSERT_TRUE(port.OpenPort(slavePath_, 19200, 'N', 8, 1, 512));
  EXPECT_FALSE(port.IsFtdiMode());
  ASSERT_TRUE(port.StartWorker());

  const uint8_t request[] = {0x02, 0x01, 0xF0, 0x00, 0xF1};
  port.QueueBytes(request, sizeof request);
  EXPECT_EQ(ReadMaster(sizeof request), std::vector<uint8_t>(request, request + sizeof request));

  // Every byte value arrives unchanged: the line is raw.
  std::vector<uint8_t> all(256);
  for (int i = 0; i < 256; ++i)
    all[i] = static_cast<uint8_t>(i);
  ASSERT_EQ(::write(master_, all.data(), all.size()), 256);
  ASSERT_TRUE(WaitFor([&] { return port.Received().size() >= 256; }));
  EXPECT_EQ(port.Received(), all);
}

// A device that takes no more bytes (the reader stalls, or nobody drains the far end) must not
// hold the caller: what the driver has no room for waits in the queue, and the worker sends it
// once the device drains, each request whole and once.
TEST_F(PtyPort, QueueingNeverWaitsForAFullDevice) {
  CollectingPort port;
  ASSERT_TRUE(port.OpenPort(slavePath_, 19200, 'N', 8, 1, 512));
  ASSERT_TRUE(port.StartWorker());
  constexpr size_t kFrame = 260;
  constexpr int kFrames = 2000;  // far more than a pseudo-terminal buffers
  std::chrono::steady_clock::duration slowest{};
  for (int i = 0; i < kFrames; ++i) {
    std::vector<uint8_t> frame(kFrame, static_cast<uint8_t>(i));
    frame[0] = static_cast<uint8_t>(i >> 8);
    const auto start = std::chrono::steady_clock::now();
    port.QueueBytes(frame.data(), static_cast<int>(frame.size()));
    slowest = std::max(slowest, std::chrono::steady_clock::now() - start);
  }
  EXPECT_LT(slowest, 100ms);

  // Drain until nothing more comes.
  std::vector<uint8_t> arrived;
  for (;;) {
    pollfd fd{master_, POLLIN, 0};
    if (::poll(&fd, 1, 300) <= 0)
      break;
    uint8_t buffer[4096];
    const ssize_t got = ::read(master_, buffer, sizeof buffer);
    if (got <= 0)
      break;
    arrived.insert(arrived.end(), buffer, buffer + got);
  }
  ASSERT_EQ(arrived.size() % kFrame, 0u) << "only whole requests go out";
  ASSERT_GT(arrived.size(), 2 * kFrame);
  int previous = -1;
  for (size_t at = 0; at < arrived.size(); at += kFrame) {
    const int low = arrived[at + 1];
    const int index = (arrived[at] << 8) | low;
    ASSERT_EQ(index & 0xFF, low);
    ASSERT_TRUE(std::all_of(arrived.begin() + at + 1, arrived.begin() + at + kFrame,
                            [low](uint8_t b) { return b == low; }))
        << "request " << index << " is garbled";
    ASSERT_GT(index, previous) << "a request went out twice or out of order";
    previous = index;
  }
}

// A link to the device anywhere, like the one the emulator makes with --pty, names a serial
// port as a /dev path does, keeps its baud rate and opens the device behind it.
TEST_F(PtyPort, AnyAbsolutePathToACharacterDeviceIsASerialPort) {
  const std::string link = ::testing::TempDir() + "kx-reader-" +
                           std::to_string(::testing::UnitTest::GetInstance()->random_seed());
  ::unlink(link.c_str());
  ASSERT_EQ(::symlink(slavePath_.c_str(), link.c_str()), 0);
  EXPECT_EQ(ClassifyPortName(link), PortKind::kSerial);
  EXPECT_EQ(EffectiveBaudRate(link, 57600), 57600);
  std::string device;
  EXPECT_TRUE(CUSBSerialPort::ParsePortName(link + " [Orv Virtual COM]", device));
  EXPECT_EQ(device, link);
  CollectingPort port;
  EXPECT_TRUE(port.OpenPort(link, 19200, 'N', 8, 1, 512));
  EXPECT_FALSE(port.IsFtdiMode());
  port.ClosePort();
  ::unlink(link.c_str());
  // Other absolute paths keep the rules for names: an FTDI serial number, the fixed rate.
  EXPECT_FALSE(CUSBSerialPort::ParsePortName("/etc/hostname", device));
  EXPECT_EQ(EffectiveBaudRate("/etc/hostname", 57600), 19200);
}

TEST_F(PtyPort, OpeningIsExclusive) {
  CUSBSerialPort first;
  ASSERT_TRUE(first.OpenPort(slavePath_, 19200, 'N', 8, 1, 512));
  CUSBSerialPort second;
  EXPECT_FALSE(second.OpenPort(slavePath_, 19200, 'N', 8, 1, 512));
  first.ClosePort();
  EXPECT_TRUE(second.OpenPort(slavePath_, 19200, 'N', 8, 1, 512));
}

TEST_F(PtyPort, WorkerEndsWhenTheFarEndCloses) {
  CollectingPort port;
  ASSERT_TRUE(port.OpenPort(slavePath_, 19200, 'N', 8, 1, 512));
  ASSERT_TRUE(port.StartWorker());
  ::close(master_);
  master_ = -1;
  ASSERT_TRUE(WaitFor([&] { return !port.IsRunning(); }, 500ms));
  EXPECT_FALSE(port.IsPortOpen());
  const uint8_t late[] = {1, 2, 3};
  port.QueueBytes(late, 3);  // goes nowhere, and must not crash
}

TEST(OpenPort, FailsForAMissingDevice) {
  CUSBSerialPort port;
  EXPECT_FALSE(port.OpenPort("/dev/does-not-exist", 19200, 'N', 8, 1, 512));
  EXPECT_FALSE(port.OpenPort("/etc/hostname", 19200, 'N', 8, 1, 512)) << "not a tty";
  EXPECT_FALSE(port.IsPortOpen());
  EXPECT_FALSE(port.StartWorker());
}

TEST(ComPortList, DescribesTheFamilysReadersAndSortsNumerically) {
  const std::vector<TtyPort> ports = {
      {"/dev/ttyS10", "", "", ""},
      {"/dev/ttyUSB1", "Orv Virtual COM Port", "6a7b", "0c5d"},
      {"/dev/ttyS9", "", "", ""},
      {"/dev/ttyACM0", "Other Device", "6A7B", "0C5D"},
      {"/dev/ttyUSB0", "FT232R USB UART", "0403", "6001"},
      {"/dev/ttyACM1", "QL-4 Reader", "1234", "5678"},
  };
  EXPECT_EQ(FormatComPortList(ports), (std::vector<std::string>{
                                          "/dev/ttyACM0 [Orv Virtual COM]",
                                          "/dev/ttyACM1 [QL-4 Reader]",
                                          "/dev/ttyS9",
                                          "/dev/ttyS10",
                                          "/dev/ttyUSB0",
                                          // by its ids, not by what its firmware says
                                          "/dev/ttyUSB1 [Orv Virtual COM]",
                                      }));
}

TEST(ComPortList, EqualNumbersKeepTheirOrder) {
  const std::vector<TtyPort> ports = {{"/dev/ttyS1", "Orv B", "", ""},
                                      {"/dev/ttyS1", "Orv A", "", ""}};
  EXPECT_EQ(FormatComPortList(ports),
            (std::vector<std::string>{"/dev/ttyS1 [Orv B]", "/dev/ttyS1 [Orv A]"}));
}

TEST(ComPortList, ListsOnlyDevicesThatExist) {
  std::vector<std::string> list;
  CUSBSerialPort::ListComPorts(list);
  for (const std::string& entry : list) {
    std::string device;
    ASSERT_TRUE(CUSBSerialPort::ParsePortName(entry, device)) << entry;
    EXPECT_EQ(::access(device.c_str(), F_OK), 0) << entry;
  }
}

}  // namespace
}  // namespace kxlf
