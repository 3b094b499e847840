// program against an emulated reader whose field the test changes while kx-cli waits: several
// transponders entering and leaving, a run killed in the middle and continued, Ctrl-C, failing
// transponders and used-up values. No value may be written twice, none skipped.
#include <signal.h>

#include "reader_fixture.h"

namespace kx::cli::testing {
namespace {

using std::chrono::milliseconds;

constexpr uint8_t kBlockWrite = 0xC3;

// A TI Multi Page transponder with an identity of its own.
kxemu::Transponder Tag(int number) {
  kxemu::Transponder transponder = kxemu::MakeTransponder(33);
  transponder.uid[6] = static_cast<uint8_t>(0x40 + number);
  return transponder;
}

std::string UidOf(int number) {
  char text[24];
  std::snprintf(text, sizeof text, "E00401001234%02X21", 0x40 + number);
  return text;
}

class ProgramTest : public ReaderFixture {
 protected:
  std::vector<std::string> Job(const std::string& count, const std::string& first,
                               std::vector<std::string> more = {}) const {
    std::vector<std::string> args = {"program", "--type",  "ti-multipage",   "--count",
                                     count,     "--state", Path("job.state")};
    args.insert(args.end(), more.begin(), more.end());
    args.push_back(first);
    return args;
  }

  // The 4-byte values of every block write the reader received, in order.
  std::vector<uint32_t> WrittenValues() const {
    std::vector<uint32_t> values;
    for (const Bytes& command : Commands(kBlockWrite))
      values.push_back(command[3] | command[4] << 8 | command[5] << 16 | command[6] << 24);
    return values;
  }

  // Puts a transponder on the reader and waits until kx-cli reported it (one more line).
  void Present(CliProcess& cli, const kxemu::Transponder& transponder, size_t linesBefore) {
    model_->SetTransponder(transponder);
    ASSERT_TRUE(WaitUntil([&] { return cli.OutLineCount() > linesBefore; }))
        << "out: " << cli.Out() << "\nerr: " << cli.Err();
  }

  std::string State() const { return ReadFile(Path("job.state")); }
};

TEST_F(ProgramTest, TransponderAfterTransponderEachWithTheNextValue) {
  StartReader();
  auto cli = Start(Job("3", "00000001", {"--json"}));
  Present(*cli, Tag(0), 0);
  // While the first one lies there, nothing more is written.
  std::this_thread::sleep_for(milliseconds(400));
  EXPECT_EQ(WrittenValues().size(), 1u);
  model_->SetTransponder(std::nullopt);
  Present(*cli, Tag(1), 1);
  // Swapped without an empty field in between.
  Present(*cli, Tag(2), 2);
  const CliResult result = cli->Wait();
  ASSERT_EQ(result.exitCode, 0) << result.err;

  EXPECT_EQ(WrittenValues(), (std::vector<uint32_t>{1, 2, 3}));
  const std::vector<std::string> lines = result.OutLines();
  ASSERT_EQ(lines.size(), 4u) << result.out;
  for (int i = 0; i < 3; ++i) {
    const std::string value = "0000000" + std::to_string(i + 1);
    const std::string next = "0000000" + std::to_string(i + 2);
    EXPECT_EQ(lines[static_cast<size_t>(i)], R"({"command":"program","ok":true,"number":)" +
                                                 std::to_string(i + 1) + R"(,"count":3,"uid":")" +
                                                 UidOf(i) + R"(","value":")" + value +
                                                 R"(","next":")" + next + R"(","resumed":false})");
  }
  EXPECT_EQ(lines[3], R"({"command":"program","ok":true,"exit_code":0,"stopped":"count",)"
                      R"("done":3,"count":3,"next":"00000004"})");
  EXPECT_NE(result.err.find("[1/3] waiting for a transponder for 00000001"), std::string::npos);
  EXPECT_NE(result.err.find("[3/3] " + UidOf(2) + ": 00000003 written and verified"),
            std::string::npos)
      << result.err;
  const std::string state = State();
  EXPECT_NE(state.find("NextValue=\"00000004\""), std::string::npos) << state;
  EXPECT_NE(state.find("Done=3"), std::string::npos);
  EXPECT_NE(state.find("PendingUid=\r\n"), std::string::npos);

  // The job is done: the same command again writes nothing.
  model_->ClearReceivedRequests();
  EXPECT_EQ(Run(Job("3", "00000001")).exitCode, 0);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(ProgramTest, TextOutputLogAndDecimalValues) {
  StartReader();
  auto cli = Start(
      Job("2", "0098", {"--format", "decimal-ascii", "--leading-zeros", "--log", Path("log")}));
  Present(*cli, Tag(0), 0);
  model_->SetTransponder(std::nullopt);
  Present(*cli, Tag(1), 1);
  const CliResult result = cli->Wait();
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.OutLines(),
            (std::vector<std::string>{
                "Value <0098> written successfully (transponder " + UidOf(0) + ", 1 of 2)",
                "Value <0099> written successfully (transponder " + UidOf(1) + ", 2 of 2)"}));
  EXPECT_EQ(result.err.find('\a'), std::string::npos) << "no bell when no terminal listens";
  const std::string log = ReadFile(Path("log"));
  EXPECT_NE(log.find("\tDEZ ASCII\t   1\t   4\t0098\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("     2\t"), std::string::npos);
  EXPECT_NE(State().find("NextValue=\"0100\""), std::string::npos);
}

TEST_F(ProgramTest, KilledDuringAWriteAndContinuedWithoutDuplicateOrGap) {
  StartReader();
  const std::vector<std::string> job = Job("4", "00000001", {"--json", "--timeout", "5000"});
  auto first = Start(job);
  Present(*first, Tag(0), 0);
  model_->SetTransponder(std::nullopt);

  // The second transponder's write reaches it, but its answer is slow: killed meanwhile.
  kxemu::Faults slow;
  slow.answerDelay = milliseconds(1500);
  model_->SetFaults(slow);
  model_->SetTransponder(Tag(1));
  ASSERT_TRUE(WaitUntil([&] {
    return State().find("PendingUid=" + UidOf(1)) != std::string::npos &&
           WrittenValues().size() == 2;
  }));
  first->Signal(SIGKILL);
  EXPECT_EQ(first->Wait().exitCode, 128 + SIGKILL);
  model_->SetFaults({});
  // The emulated reader sends the slow answer into the void before it listens again.
  std::this_thread::sleep_for(slow.answerDelay + milliseconds(200));

  // The same command again: the second transponder holds its value already, so it is only
  // checked; the others follow.
  auto second = Start(job);
  ASSERT_TRUE(WaitUntil([&] { return second->OutLineCount() == 1; })) << second->Err();
  EXPECT_NE(second->Out().find(R"("uid":")" + UidOf(1) +
                               R"(","value":"00000002","next":"00000003","resumed":true)"),
            std::string::npos)
      << second->Out();
  model_->SetTransponder(std::nullopt);
  Present(*second, Tag(2), 1);
  model_->SetTransponder(std::nullopt);
  Present(*second, Tag(3), 2);
  const CliResult result = second->Wait();
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(WrittenValues(), (std::vector<uint32_t>{1, 2, 3, 4}));
  EXPECT_NE(result.out.find(R"("done":4,"count":4,"next":"00000005")"), std::string::npos);
}

TEST_F(ProgramTest, TransponderPulledDuringItsWriteIsAskedForAgain) {
  StartReader();
  auto cli = Start(Job("2", "00000001", {"--json", "--timeout", "5000"}));
  ASSERT_TRUE(WaitUntil([&] { return cli->Err().find("waiting") != std::string::npos; }));
  kxemu::Faults slow;
  slow.answerDelay = milliseconds(700);
  model_->SetFaults(slow);
  model_->SetTransponder(Tag(0));
  // The write reaches the transponder; it is gone before the answer and the read-back.
  ASSERT_TRUE(WaitUntil([&] { return WrittenValues().size() == 1; }));
  const kxemu::Transponder written = *model_->CurrentTransponder();
  model_->SetTransponder(std::nullopt);
  ASSERT_TRUE(WaitUntil([&] {
    return cli->Err().find("the value waits for it") != std::string::npos;
  })) << cli->Err();
  model_->SetFaults({});
  model_->SetTransponder(Tag(1));
  std::this_thread::sleep_for(milliseconds(400));
  EXPECT_EQ(cli->OutLineCount(), 0u) << "another transponder must wait";
  Present(*cli, written, 0);
  EXPECT_NE(cli->Out().find(R"("uid":")" + UidOf(0) +
                            R"(","value":"00000001","next":"00000002","resumed":true)"),
            std::string::npos)
      << cli->Out();
  model_->SetTransponder(std::nullopt);
  Present(*cli, Tag(1), 1);
  ASSERT_EQ(cli->Wait().exitCode, 0);
  EXPECT_EQ(WrittenValues(), (std::vector<uint32_t>{1, 2}))
      << "the first value was not written again";
}

TEST_F(ProgramTest, InterruptedWriteIsFinishedOnTheSameTransponderFirst) {
  StartReader();
  const std::vector<std::string> job = Job("3", "00000001", {"--json"});
  auto first = Start(job);
  Present(*first, Tag(0), 0);
  first->Signal(SIGINT);
  ASSERT_EQ(first->Wait().exitCode, 130);
  // What a run leaves when it dies after announcing the write to the second transponder and
  // before the write reached it.
  std::string state = State();
  const std::string empty = "PendingUid=\r\n";
  ASSERT_NE(state.find(empty), std::string::npos) << state;
  state.replace(state.find(empty), empty.size(), "PendingUid=" + UidOf(1) + "\r\n");
  std::ofstream(Path("job.state"), std::ios::binary) << state;

  auto second = Start(job);
  model_->SetTransponder(Tag(2));
  std::this_thread::sleep_for(milliseconds(500));
  EXPECT_EQ(WrittenValues().size(), 1u) << "another transponder must wait";
  EXPECT_NE(second->Err().find("put transponder " + UidOf(1) + " back on the reader"),
            std::string::npos)
      << second->Err();
  Present(*second, Tag(1), 0);
  EXPECT_NE(second->Out().find(R"("uid":")" + UidOf(1) + R"(","value":"00000002")"),
            std::string::npos);
  model_->SetTransponder(std::nullopt);
  Present(*second, Tag(2), 1);
  const CliResult result = second->Wait();
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(WrittenValues(), (std::vector<uint32_t>{1, 2, 3}));
}

TEST_F(ProgramTest, CtrlCStopsCleanlyAndTheJobContinuesLater) {
  StartReader();
  const std::vector<std::string> job = Job("2", "000000FF", {"--json"});
  auto first = Start(job);
  Present(*first, Tag(0), 0);
  model_->SetTransponder(std::nullopt);
  ASSERT_TRUE(WaitUntil([&] { return first->Err().find("[2/2] waiting") != std::string::npos; }));
  first->Signal(SIGINT);
  const CliResult stopped = first->Wait();
  EXPECT_EQ(stopped.exitCode, 130);
  EXPECT_EQ(stopped.OutLines().back(),
            R"({"command":"program","ok":false,"exit_code":130,"stopped":"interrupted",)"
            R"("done":1,"count":2,"next":"00000100"})");
  EXPECT_NE(stopped.err.find("stopped by Ctrl-C"), std::string::npos);

  auto second = Start(job);
  Present(*second, Tag(1), 0);
  ASSERT_EQ(second->Wait().exitCode, 0);
  EXPECT_EQ(WrittenValues(), (std::vector<uint32_t>{0xFF, 0x100}));
}

TEST_F(ProgramTest, FailingTransponderIsSkippedAndItsValueGoesToTheNext) {
  StartReader();
  auto cli = Start(Job("1", "00000007", {"--json"}));
  kxemu::Transponder locked = Tag(0);
  locked.locked[1] = true;
  Present(*cli, locked, 0);
  EXPECT_NE(cli->Out().find(R"({"command":"program","ok":false,"number":1,"uid":")" + UidOf(0) +
                            R"(","value":"00000007","error":"reader_error")"),
            std::string::npos)
      << cli->Out();
  model_->SetTransponder(std::nullopt);
  Present(*cli, Tag(1), 1);
  const CliResult result = cli->Wait();
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_NE(result.out.find(R"("uid":")" + UidOf(1) + R"(","value":"00000007")"),
            std::string::npos);
  EXPECT_NE(result.err.find("00000007 goes to the next transponder"), std::string::npos);
}

TEST_F(ProgramTest, UsedUpValuesEndTheJob) {
  StartReader();
  const std::vector<std::string> job = Job("5", "FE", {"--length", "1"});
  auto cli = Start(job);
  Present(*cli, Tag(0), 0);
  model_->SetTransponder(std::nullopt);
  Present(*cli, Tag(1), 1);
  model_->SetTransponder(std::nullopt);
  const CliResult result = cli->Wait();
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("used up"), std::string::npos) << result.err;
  EXPECT_EQ(WrittenValues().size(), 2u);
  EXPECT_EQ(Run(job).exitCode, 2) << "a used-up job stays used up";
}

TEST_F(ProgramTest, StateFileGuardsItsJob) {
  StartReader();
  EXPECT_EQ(Run(Job("2", "00000001", {"--format", "data-binary"})).exitCode, 2);
  EXPECT_EQ(Run(Job("2", "00000001", {"--type", "read-only"})).exitCode, 2);

  auto holder = Start(Job("2", "00000001"));
  ASSERT_TRUE(WaitUntil([&] { return !State().empty(); }));
  const CliResult second = Run(Job("2", "00000001"));
  EXPECT_EQ(second.exitCode, 2);
  EXPECT_NE(second.err.find("another kx-cli program run uses it"), std::string::npos);
  holder->Signal(SIGTERM);
  EXPECT_EQ(holder->Wait().exitCode, 130);

  const CliResult otherJob = Run(Job("2", "00000002"));
  EXPECT_EQ(otherJob.exitCode, 2);
  EXPECT_NE(otherJob.err.find("belongs to another job"), std::string::npos);
  std::ofstream(Path("job.state")) << "[Job]\nType=nonsense\n";
  EXPECT_EQ(Run(Job("2", "00000001")).exitCode, 2);
  EXPECT_TRUE(Commands(kBlockWrite).empty());
}

}  // namespace
}  // namespace kx::cli::testing
