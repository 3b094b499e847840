#include "link/rw_port.h"

#include <gtest/gtest.h>

#include <atomic>

#include "link/error_codes.h"
#include "scripted_line.h"

namespace kxlf {
namespace {

using std::chrono::milliseconds;
using testing::ScriptedLine;
using Pieces = std::vector<std::pair<milliseconds, Bytes>>;

// A connection whose serial line is scripted by the test.
class ScriptedPort : public CKX_RW_Port {
 public:
  explicit ScriptedPort(ScriptedLine::Responder responder) : responder_(std::move(responder)) {}
  // The worker calls virtual functions: it must stop before this object's part is gone.
  ~ScriptedPort() override { ClosePort(); }

  bool Open() { return OpenPort("FT-SCRIPTED", 19200, 'N', 8, 1, 512) && StartWorker(); }
  ScriptedLine* Line() const { return line_; }

 protected:
  std::unique_ptr<SerialLine> CreateLine(bool) override {
    auto line = std::make_unique<ScriptedLine>(responder_);
    line_ = line.get();
    return line;
  }

 private:
  ScriptedLine::Responder responder_;
  ScriptedLine* line_ = nullptr;
};

ScriptedLine::Responder AnswerWith(Bytes answer, milliseconds pause = milliseconds(0)) {
  return [answer, pause](const Bytes&) { return Pieces{{pause, answer}}; };
}

Bytes XorAnswer(uint8_t status, const Bytes& payload) {
  return BuildFrame(FrameMode::kXor, 1, status, payload);
}

class RwPortTest : public ::testing::Test {
 protected:
  std::unique_ptr<ScriptedPort> Connect(ScriptedLine::Responder responder,
                                        FrameMode mode = FrameMode::kXor) {
    auto port = std::make_unique<ScriptedPort>(std::move(responder));
    EXPECT_TRUE(port->Open());
    port->SetMode(mode);
    port->SetTimeout(100);
    return port;
  }
};

TEST_F(RwPortTest, ExchangesTheVersionCommandInBothFrameModes) {
  auto port = Connect(AnswerWith(XorAnswer(0, {'0', '5', '4', 'A'})));
  Bytes payload;
  ASSERT_TRUE(port->Execute(0xF0, {}, payload));
  EXPECT_EQ(payload, (Bytes{'0', '5', '4', 'A'}));
  ASSERT_EQ(port->Line()->Writes().size(), 1u);
  EXPECT_EQ(port->Line()->Writes()[0], (Bytes{0x02, 0x01, 0xF0, 0x00, 0xF1}));

  auto crc = Connect(AnswerWith(BuildFrame(FrameMode::kCrc16, 1, 0, {'0', '5', '4', 'A'})),
                     FrameMode::kCrc16);
  ASSERT_TRUE(crc->Execute(0xF0, {}, payload));
  EXPECT_EQ(payload, (Bytes{'0', '5', '4', 'A'}));
  EXPECT_EQ(crc->Line()->Writes()[0], (Bytes{0x01, 0xF0, 0x00, 0x64, 0x00}));
}

TEST_F(RwPortTest, SendsTheDeviceAddressLowByte) {
  auto port = Connect(AnswerWith(XorAnswer(0, {})));
  port->SetDeviceAddress(0x105);
  ASSERT_TRUE(port->ExecuteStatus(0xF4, {0x05}));
  EXPECT_EQ(port->Line()->Writes()[0],
            (Bytes{0x02, 0x05, 0xF4, 0x01, 0x05, 0x05 ^ 0xF4 ^ 0x01 ^ 0x05}));
}

TEST_F(RwPortTest, DropsBytesBeforeTheStartByteAndAfterTheFrame) {
  Bytes answer{0x00, 0xFF};
  const Bytes frame = XorAnswer(0, {0xAA, 0xBB});
  answer.insert(answer.end(), frame.begin(), frame.end());
  answer.insert(answer.end(), {0x02, 0x01, 0x00});
  auto port = Connect(AnswerWith(answer));
  Bytes payload;
  ASSERT_TRUE(port->Execute(0x10, {}, payload));
  EXPECT_EQ(payload, (Bytes{0xAA, 0xBB}));
}

TEST_F(RwPortTest, AssemblesAnAnswerThatTricklesIn) {
  const Bytes frame = XorAnswer(0, {1, 2, 3, 4, 5, 6});
  auto port = Connect([frame](const Bytes&) {
    Pieces pieces;
    for (uint8_t byte : frame)
      pieces.push_back({milliseconds(3), Bytes{byte}});
    return pieces;
  });
  Bytes payload;
  ASSERT_TRUE(port->Execute(0x10, {}, payload));
  EXPECT_EQ(payload, (Bytes{1, 2, 3, 4, 5, 6}));
}

struct FailureRow {
  const char* what;
  Bytes answer;
  int expectedError;
};

TEST_F(RwPortTest, EveryMalformedAnswerLeavesItsErrorCode) {
  const Bytes good = XorAnswer(0, {0xAA, 0xBB});
  Bytes wrongXor = good;
  wrongXor.back() ^= 0x01;
  Bytes lengthTooLong = good;
  lengthTooLong[3] = 9;
  Bytes lengthTooShort = good;
  lengthTooShort[3] = 1;
  const FailureRow rows[] = {
      {"silence", {}, kErrTimeout},
      {"three bytes only", {0x02, 0x01, 0x00}, kErrTimeout},
      {"no start byte", {0x07, 0x01, 0x00, 0x00, 0x01, 0x06}, kErrTimeout},
      {"truncated frame", Bytes(good.begin(), good.end() - 2), kErrTimeout},
      {"length byte too large", lengthTooLong, kErrTimeout},
      {"length byte too small", lengthTooShort, kErrChecksum},
      {"wrong checksum", wrongXor, kErrChecksum},
      {"status 21", XorAnswer(21, {}), kStatusNoTransponder},
      {"status 7", XorAnswer(7, {}), kErrTimeout},
  };
  for (const FailureRow& row : rows) {
    SCOPED_TRACE(row.what);
    auto port =
        Connect(row.answer.empty() ? ScriptedLine::Responder([](const Bytes&) { return Pieces{}; })
                                   : AnswerWith(row.answer));
    Bytes payload{0x55};
    EXPECT_FALSE(port->Execute(0x10, {}, payload));
    EXPECT_EQ(port->ErrorCode(), row.expectedError);
    EXPECT_EQ(payload, Bytes{0x55}) << "payload untouched on failure";
  }
}

TEST_F(RwPortTest, CrcModeRejectsAFlippedCrc) {
  Bytes answer = BuildFrame(FrameMode::kCrc16, 1, 0, {0x10});
  answer.back() ^= 0x80;
  auto port = Connect(AnswerWith(answer), FrameMode::kCrc16);
  Bytes payload;
  EXPECT_FALSE(port->Execute(0x10, {}, payload));
  EXPECT_EQ(port->ErrorCode(), kErrChecksum);
}

TEST_F(RwPortTest, TimeoutTakesAboutTheConfiguredTime) {
  auto port = Connect([](const Bytes&) { return Pieces{}; });
  port->SetTimeout(80);
  const auto start = std::chrono::steady_clock::now();
  port->SetCommand(0xF0);
  EXPECT_FALSE(port->SendCommand());
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, milliseconds(80));
  EXPECT_LT(elapsed, milliseconds(2000));
  EXPECT_EQ(port->ErrorCode(), kErrTimeout);
}

TEST_F(RwPortTest, RefusesEmptyAndOverlongCommands) {
  auto port = Connect(AnswerWith(XorAnswer(0, {})));
  EXPECT_FALSE(port->SendCommand());
  EXPECT_EQ(port->ErrorCode(), kErrNoSendData);

  EXPECT_FALSE(port->ExecuteStatus(0xC3, Bytes(256, 0x11)));
  EXPECT_EQ(port->ErrorCode(), kErrParameter);
  EXPECT_TRUE(port->Line()->Writes().empty()) << "nothing may go out with a wrong length byte";

  EXPECT_TRUE(port->ExecuteStatus(0xC3, Bytes(255, 0x11)));
  EXPECT_EQ(port->Line()->Writes()[0].size(), 260u);
}

TEST_F(RwPortTest, ReadAnswerWithNothingReceivedIsError16) {
  auto port = Connect(AnswerWith(XorAnswer(0, {})));
  Bytes payload;
  EXPECT_FALSE(port->ReadAnswer(payload));
  EXPECT_EQ(port->ErrorCode(), kErrNoAnswer);
}

TEST_F(RwPortTest, ErrorCodeIsStickyAcrossSuccess) {
  int calls = 0;
  auto port = Connect([&calls](const Bytes&) {
    return ++calls == 1 ? Pieces{} : Pieces{{milliseconds(0), XorAnswer(0, {})}};
  });
  EXPECT_FALSE(port->ExecuteStatus(0xF4, {0}));
  EXPECT_TRUE(port->ExecuteStatus(0xF4, {0}));
  EXPECT_EQ(port->ErrorCode(), kErrTimeout);
}

TEST_F(RwPortTest, ExecuteRestoresTheTimeoutAfterAnOverride) {
  auto port = Connect([](const Bytes&) { return Pieces{}; });
  port->SetTimeout(40);
  Bytes payload;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(port->Execute(0xC0, {33, 0}, payload, 120));
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(120));
  EXPECT_EQ(port->Timeout(), 40u);
}

TEST_F(RwPortTest, NoTransportEndsInATimeout) {
  CKX_RW_Port port;
  port.SetTimeout(30);
  port.SetCommand(0xF0);
  EXPECT_FALSE(port.SendCommand());
  EXPECT_EQ(port.ErrorCode(), kErrTimeout);
}

struct HookLog {
  std::atomic<int> pumps{0};
  int locks = 0;
  int unlocks = 0;
  void* state = nullptr;
};

class WaitHooksTest : public RwPortTest {
 protected:
  void SetUp() override {
    WaitHooks hooks;
    hooks.pump = [](void* context) { ++static_cast<HookLog*>(context)->pumps; };
    hooks.lockWindow = [](void* context) -> void* {
      auto* log = static_cast<HookLog*>(context);
      ++log->locks;
      return &log->locks;
    };
    hooks.unlockWindow = [](void* context, void* state) {
      auto* log = static_cast<HookLog*>(context);
      ++log->unlocks;
      log->state = state;
    };
    hooks.context = &log_;
    SetWaitHooks(hooks);
  }
  void TearDown() override { SetWaitHooks(WaitHooks{}); }
  HookLog log_;
};

TEST_F(WaitHooksTest, PumpsWhileWaitingAndLocksTheWindow) {
  auto port = Connect(AnswerWith(XorAnswer(0, {}), milliseconds(60)));
  EXPECT_TRUE(port->ExecuteStatus(0xF4, {0}));
  EXPECT_GE(log_.pumps.load(), 2);
  EXPECT_EQ(log_.locks, 1);
  EXPECT_EQ(log_.unlocks, 1);
  EXPECT_EQ(log_.state, &log_.locks);
}

TEST_F(WaitHooksTest, KeepWindowEnabledSkipsTheLockButStillPumps) {
  auto port = Connect([](const Bytes&) { return Pieces{}; });
  port->SetKeepWindowEnabled(true);
  port->SetTimeout(30);
  EXPECT_FALSE(port->ExecuteStatus(0xF4, {0}));
  EXPECT_EQ(log_.locks, 0);
  EXPECT_EQ(log_.unlocks, 0);
  EXPECT_GE(log_.pumps.load(), 1);
}

TEST_F(WaitHooksTest, WindowIsUnlockedAfterATimeout) {
  auto port = Connect([](const Bytes&) { return Pieces{}; });
  port->SetTimeout(20);
  EXPECT_FALSE(port->ExecuteStatus(0xF4, {0}));
  EXPECT_EQ(log_.locks, 1);
  EXPECT_EQ(log_.unlocks, 1);
}

}  // namespace
}  // namespace kxlf
