// The frequency measurement through its entry point, with answers the reader shapes on purpose:
// the divisor the reader reports, one that cannot divide, payloads too short to hold one, and
// attempts that go unanswered before one succeeds.
#include <gtest/gtest.h>

#include <memory>

#include "emulated_reader.h"
#include "kxemu/transponder.h"
#include "kxlf.h"

namespace kxlf {
namespace {

class MeasureFrequencyTest : public testing::ConnectedReaderTest {
 protected:
  void SetUp() override {
    kxemu::ReaderConfig config;
    config.transponder = kxemu::MakeTransponder(38);
    Connect(config, 100);
  }
  void AnswerWith(const Bytes& payload) {
    kxemu::Faults faults;
    faults.payloadOverride = payload;
    reader_->model.SetFaults(faults);
  }
  int Measure(int* result) { return KxLfMeasureFrequency(handle_, 38, 61, 1, 0, 0, result); }
  size_t RequestCount() {
    const size_t count = reader_->model.ReceivedRequests().size();
    reader_->model.ClearReceivedRequests();
    return count;
  }
};

TEST_F(MeasureFrequencyTest, DivisorGivesTheFrequency) {
  AnswerWith({0x00, 0x3E});
  int result = 42;
  ASSERT_EQ(Measure(&result), 0);
  EXPECT_EQ(result, 129032);
  EXPECT_EQ(RequestCount(), 1u);

  AnswerWith({0x01, 0x00, 0xFF});
  ASSERT_EQ(Measure(&result), 0);
  EXPECT_EQ(result, 2048000000) << "only the first two bytes count";
  EXPECT_EQ(KxLfGetLastError(handle_), 0);
}

TEST_F(MeasureFrequencyTest, ZeroDivisorFailsWithDataCountAndLeavesTheResult) {
  AnswerWith({0x00, 0x00});
  int result = 42;
  EXPECT_EQ(Measure(&result), -1);
  EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_DATA_COUNT);
  EXPECT_EQ(result, 42);
  EXPECT_EQ(RequestCount(), 1u) << "the reader did answer; nothing to try again";
}

TEST_F(MeasureFrequencyTest, ShortPayloadSucceedsWithoutAResult) {
  int result = 42;
  for (const Bytes& payload : {Bytes{0x7F}, Bytes{}}) {
    AnswerWith(payload);
    EXPECT_EQ(Measure(&result), 0) << payload.size();
    EXPECT_EQ(result, 42);
  }
  EXPECT_EQ(KxLfGetLastError(handle_), 0);
}

TEST_F(MeasureFrequencyTest, LaterAttemptMaySucceedAndTheTimeoutStays) {
  kxemu::Faults faults;
  faults.swallowNext = 2;
  faults.payloadOverride = Bytes{0x00, 0x3E};
  reader_->model.SetFaults(faults);
  int result = 0;
  ASSERT_EQ(Measure(&result), 0);
  EXPECT_EQ(result, 129032);
  EXPECT_EQ(RequestCount(), 3u);
  EXPECT_EQ(KxLfGetLastError(handle_), KXLF_ERR_TIMEOUT);
}

}  // namespace
}  // namespace kxlf
