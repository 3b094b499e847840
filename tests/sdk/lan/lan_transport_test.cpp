// Readers over TCP through the same entry points as over a serial line: open by address and
// port, transponder reads and writes, the reconnect after the reader dropped the connection,
// and the failures of the open. The exchange reads its answer on the caller's thread while the
// socket thread stands aside: answers in pieces, late answers, a close during the wait and the
// application's pump while it waits.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

#include "kxemu/reader_model.h"
#include "kxemu/tcp_server.h"
#include "kxemu/transponder.h"
#include "kxlf.h"
#include "lan_bench.h"
#include "sdk_app.h"

namespace kxlf {
namespace {

using Clock = std::chrono::steady_clock;
using testing::kReaderAddress;

class LanTransportTest : public testing::LanBenchTest {
 protected:
  void SetUp() override {
    LanBenchTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
      return;
    kxemu::Transponder transponder = kxemu::MakeTransponder(33);
    for (size_t i = 0; i < transponder.memory.size(); ++i)
      transponder.memory[i] = static_cast<uint8_t>(i);
    model_.SetTransponder(transponder);
    EnterHost();
  }
  void TearDown() override {
    for (int handle : opened_)
      KxLfClose(handle);
    EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 0u);
    LeaveHost();
    bench_.RunIn(reader_, [&] { server_.Stop(); });
  }
  void Serve(uint16_t port = 10001) {
    bench_.RunIn(reader_, [&] {
      std::string error;
      ASSERT_TRUE(server_.Start(kReaderAddress, port, &error)) << error;
    });
  }
  int Open(const std::string& name, int timeoutMs = 300) {
    const int handle = KxLfOpen(name.c_str(), 9600, 0, timeoutMs);
    if (handle > 0)
      opened_.push_back(handle);
    return handle;
  }
  static void SetTimeout(int handle, uint32_t milliseconds) {
    CKX_LF_SDKApp::Instance().FindConnection(handle)->port.SetTimeout(milliseconds);
  }

  kxemu::ReaderModel model_;
  kxemu::TcpServer server_{model_};
  std::vector<int> opened_;
};

TEST_F(LanTransportTest, ReadsAndWritesTransponderBlocksByAddressOnTheDefaultPort) {
  Serve();
  const int handle = Open(std::string(kReaderAddress) + ":1");
  ASSERT_EQ(handle, 20001);
  EXPECT_EQ(KxLfIsUsbConnection(handle), 0);

  unsigned char block[8];
  ASSERT_EQ(KxLfReadBlocks(handle, 33, 2, block, 8), 8);
  EXPECT_EQ(block[0], 16);
  const unsigned char data[8] = {0xDE, 0xAD, 0xBE, 0xEF, 1, 2, 3, 4};
  ASSERT_EQ(KxLfWriteBlocks(handle, 33 | KXLF_VERIFY, 3, data, 8, 0), 0);
  EXPECT_EQ(model_.CurrentTransponder()->memory[24], 0xDE);
  // The one listener saw one connection from the host.
  ASSERT_EQ(server_.Peers().size(), 1u);
  EXPECT_EQ(server_.Peers()[0].address, testing::kHostAddress);
}

TEST_F(LanTransportTest, APortAfterADashIsTheReadersPortAndHandlesComeBack) {
  Serve(4001);
  const int first = Open(std::string(kReaderAddress) + "-4001");
  ASSERT_EQ(first, 20001);
  const int second = Open(std::string(kReaderAddress) + "-4001");
  // The emulated reader serves one connection at a time; the second waits in its backlog and
  // cannot be identified while the first stands.
  EXPECT_EQ(second, -15);
  ASSERT_EQ(KxLfClose(first), 0);
  opened_.clear();
  EXPECT_EQ(Open(std::string(kReaderAddress) + "-4001"), 20001);
}

TEST_F(LanTransportTest, RefusedAndUnresolvableNamesFailWithoutLeavingAConnection) {
  Serve();
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(Open(std::string(kReaderAddress) + "-4999"), -1);  // nobody listens there
  EXPECT_EQ(Open("198.18.0.2-99999"), -1);                     // no port at all
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2000));
  EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 0u);
}

TEST_F(LanTransportTest,
       AfterTheReaderDroppedTheConnectionTheSecondExchangeReconnectsFromTheReadersPort) {
  Serve();
  const int handle = Open(kReaderAddress);
  ASSERT_GT(handle, 0);
  unsigned char version[4];
  ASSERT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), 4);

  server_.DropConnection();
  // Time for the socket thread to see the connection end.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  // The drop was only seen by the receive side: the next frame goes nowhere and times out ...
  EXPECT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), -1);
  EXPECT_EQ(KxLfGetLastError(handle), KXLF_ERR_TIMEOUT);
  // ... and the one after it connects again, bound to the reader's own port number.
  ASSERT_EQ(KxLfGetVersion(handle, version, 4, nullptr, 0), 4);
  const std::vector<kxemu::TcpPeer> peers = server_.Peers();
  ASSERT_EQ(peers.size(), 2u);
  EXPECT_NE(peers[0].port, 10001);
  EXPECT_EQ(peers[1].port, 10001);
  EXPECT_EQ(peers[1].address, testing::kHostAddress);
}

TEST_F(LanTransportTest, AReaderThatClosesAfterEveryAnswerIsReachedEverySecondExchange) {
  Serve();
  const int handle = Open(kReaderAddress);
  ASSERT_GT(handle, 0);
  server_.SetCloseAfterAnswers(1);
  unsigned char block[8];
  int answered = 0;
  for (int i = 0; i < 6; ++i) {
    if (KxLfReadBlocks(handle, 33, 0, block, 8) == 8)
      ++answered;
    // Time for the socket thread to see the reader's close before the next frame.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  // Without the reconnect only the first exchange is answered. Every second one is answered
  // when the socket thread sees each close in time; a slow machine (or a sanitizer build) may
  // lose one more exchange to a late close, never more.
  EXPECT_GE(answered, 2);
  EXPECT_LE(answered, 3);
}

TEST_F(LanTransportTest, ClosingStopsTheSocketThreadAtOnce) {
  Serve();
  const int handle = Open(kReaderAddress);
  ASSERT_GT(handle, 0);
  const Clock::time_point start = Clock::now();
  ASSERT_EQ(KxLfClose(handle), 0);
  opened_.clear();
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1010));
  EXPECT_EQ(KxLfGetLastError(handle), KXLF_ERR_NO_CONNECTION);
}

TEST_F(LanTransportTest, AnAnswerInPiecesIsPutTogetherAndALateOneIsNotTakenForTheNextAnswer) {
  Serve();
  const int handle = Open(kReaderAddress, 1000);
  ASSERT_GT(handle, 0);
  kxemu::Faults pieces;
  pieces.pieceSize = 3;
  pieces.piecePause = std::chrono::milliseconds(20);
  model_.SetFaults(pieces);
  unsigned char block[8];
  ASSERT_EQ(KxLfReadBlocks(handle, 33, 2, block, 8), 8);
  EXPECT_EQ(block[0], 16);

  // Block 1's answer comes after its exchange has given up, while no exchange waits ...
  kxemu::Faults late;
  late.answerDelay = std::chrono::milliseconds(300);
  model_.SetFaults(late);
  SetTimeout(handle, 100);
  EXPECT_EQ(KxLfReadBlocks(handle, 33, 1, block, 8), -1);
  EXPECT_EQ(KxLfGetLastError(handle), KXLF_ERR_TIMEOUT);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  // ... and is dropped: the next exchange takes its own answer, not that one.
  model_.SetFaults({});
  SetTimeout(handle, 1000);
  ASSERT_EQ(KxLfReadBlocks(handle, 33, 5, block, 8), 8);
  EXPECT_EQ(block[0], 40);
  ASSERT_EQ(KxLfReadBlocks(handle, 33, 6, block, 8), 8);
  EXPECT_EQ(block[0], 48);
}

TEST_F(LanTransportTest,
       AReaderThatClosesWhileAnExchangeWaitsIsReconnectedByTheSecondExchangeAfter) {
  Serve();
  const int handle = Open(kReaderAddress, 400);
  ASSERT_GT(handle, 0);
  kxemu::Faults silent;
  silent.silent = true;
  model_.SetFaults(silent);
  std::thread dropper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    server_.DropConnection();
  });
  unsigned char block[8];
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(KxLfReadBlocks(handle, 33, 2, block, 8), -1);
  const Clock::duration waited = Clock::now() - start;
  dropper.join();
  // The close does not end the wait early: the exchange times out as any unanswered one.
  EXPECT_EQ(KxLfGetLastError(handle), KXLF_ERR_TIMEOUT);
  EXPECT_GE(waited, std::chrono::milliseconds(390));

  model_.SetFaults({});
  // The socket is closed but the connection counts as standing: this frame fails ...
  EXPECT_EQ(KxLfReadBlocks(handle, 33, 2, block, 8), -1);
  // ... and the next one reconnects, from the reader's port, with its answer read by the
  // socket thread; the exchanges after it read their answers themselves again.
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(KxLfReadBlocks(handle, 33, 2, block, 8), 8) << i;
    EXPECT_EQ(block[0], 16);
  }
  const std::vector<kxemu::TcpPeer> peers = server_.Peers();
  ASSERT_EQ(peers.size(), 2u);
  EXPECT_EQ(peers[1].port, 10001);
}

class LanPumpTest : public LanTransportTest {
 protected:
  void TearDown() override {
    KxLfSetWaitHooks(nullptr, nullptr, nullptr, nullptr);
    LanTransportTest::TearDown();
  }
  void SetPump(KxLfPumpHook pump) { KxLfSetWaitHooks(pump, nullptr, nullptr, this); }

 public:  // for the pumps
  std::atomic<int> pumped_{0};
  int closeFromPump_ = 0;  // a handle the pump closes
};

TEST_F(LanPumpTest, ThePumpRunsWhileTheAnswerIsAwaitedAndMayCloseTheConnection) {
  Serve();
  const int handle = Open(kReaderAddress, 1000);
  ASSERT_GT(handle, 0);
  kxemu::Faults slow;
  slow.answerDelay = std::chrono::milliseconds(150);
  model_.SetFaults(slow);
  SetPump([](void* context) { ++static_cast<LanPumpTest*>(context)->pumped_; });
  unsigned char block[8];
  ASSERT_EQ(KxLfReadBlocks(handle, 33, 2, block, 8), 8);
  EXPECT_EQ(block[0], 16);
  // The pump runs at least every 10 ms while the exchange waits.
  EXPECT_GE(pumped_.load(), 5);

  // A handler in the pump closes the connection whose exchange waits: the socket goes away
  // under the wait, which ends as a timeout rather than reading a closed descriptor.
  closeFromPump_ = handle;
  SetPump([](void* context) {
    auto* test = static_cast<LanPumpTest*>(context);
    if (test->closeFromPump_ != 0)
      KxLfClose(std::exchange(test->closeFromPump_, 0));
  });
  opened_.clear();
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(KxLfReadBlocks(handle, 33, 2, block, 8), -1);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(3500));
  EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 0u);
}

}  // namespace
}  // namespace kxlf
