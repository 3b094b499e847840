// The pty server and the kx-emulator program, end to end through a pseudo-terminal.
#include "kxemu/pty_server.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "pty_client.h"

extern char** environ;

namespace kxemu {
namespace {

using namespace std::chrono_literals;
using kxlf::FrameMode;
using testing::PtyClient;
using Clock = std::chrono::steady_clock;

const Bytes kVersionAnswerXor = kxlf::BuildFrame(FrameMode::kXor, 1, 0, Bytes{'0', '5', '4', 'A'});
const Bytes kVersionAnswerCrc =
    kxlf::BuildFrame(FrameMode::kCrc16, 1, 0, Bytes{'0', '5', '4', 'A'});

std::string ScratchPath(const std::string& name) {
  const std::string folder = ::testing::TempDir() + "kxemu-" + std::to_string(getpid());
  std::filesystem::create_directories(folder);
  return folder + "/" + name;
}

std::chrono::microseconds CpuTimeUsed() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

class PtyServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    link_ = ScratchPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string error;
    ASSERT_TRUE(server_.Start(link_, &error)) << error;
  }

  std::string link_;
  ReaderModel model_;
  PtyServer server_{model_};
};

TEST_F(PtyServerTest, ServesBothFrameModesThroughTheLink) {
  EXPECT_TRUE(server_.IsRunning());
  EXPECT_EQ(std::filesystem::read_symlink(link_), server_.DevicePath());
  PtyClient client(link_);
  ASSERT_TRUE(client.IsOpen());
  EXPECT_EQ(client.Exchange(FrameMode::kXor, 0xF0, {}), kVersionAnswerXor);
  EXPECT_EQ(client.Exchange(FrameMode::kCrc16, 0xF0, {}), kVersionAnswerCrc);
  EXPECT_EQ(model_.ReceivedRequests().size(), 2u);
}

TEST_F(PtyServerTest, SurvivesClientsComingAndGoingWithoutSpinning) {
  for (int round = 0; round < 20; ++round) {
    PtyClient client(server_.DevicePath());
    ASSERT_TRUE(client.IsOpen()) << round;
    ASSERT_EQ(client.Exchange(FrameMode::kXor, 0xF0, {}), kVersionAnswerXor) << round;
  }
  // With no client on the device the serving thread must sleep, not circle around a hang-up.
  const auto before = CpuTimeUsed();
  std::this_thread::sleep_for(300ms);
  EXPECT_LT(CpuTimeUsed() - before, 30ms);
  PtyClient late(link_);
  EXPECT_EQ(late.Exchange(FrameMode::kCrc16, 0xF0, {}), kVersionAnswerCrc);
}

TEST_F(PtyServerTest, AnswerPiecesKeepTheirPauses) {
  Faults faults;
  faults.answerDelay = 50ms;
  faults.pieceSize = 3;
  faults.piecePause = 30ms;
  model_.SetFaults(faults);
  PtyClient client(link_);
  const Clock::time_point start = Clock::now();
  ASSERT_TRUE(client.Write(kxlf::BuildFrame(FrameMode::kXor, 1, 0xF0, Bytes{})));
  ASSERT_NE(client.Wait(2s) & POLLIN, 0);
  EXPECT_GE(Clock::now() - start, 45ms);
  EXPECT_EQ(client.ReadFrame(FrameMode::kXor), kVersionAnswerXor);
  EXPECT_GE(Clock::now() - start, 105ms);  // 50 + 2 x 30, less scheduling slack
}

TEST_F(PtyServerTest, StopDoesNotWaitForAPendingAnswer) {
  Faults faults;
  faults.answerDelay = 20s;
  model_.SetFaults(faults);
  PtyClient client(link_);
  ASSERT_TRUE(client.Write(kxlf::BuildFrame(FrameMode::kXor, 1, 0xF0, Bytes{})));
  while (model_.ReceivedRequests().empty())
    std::this_thread::sleep_for(1ms);
  const Clock::time_point start = Clock::now();
  server_.Stop();
  EXPECT_LT(Clock::now() - start, 1s);
}

TEST_F(PtyServerTest, StoppedDeviceVanishesAndComesBackOnStart) {
  PtyClient client(link_);
  ASSERT_TRUE(client.IsOpen());
  server_.Stop();
  EXPECT_FALSE(server_.IsRunning());
  EXPECT_TRUE(server_.DevicePath().empty());
  EXPECT_NE(client.Wait(1s) & (POLLHUP | POLLERR), 0);
  EXPECT_TRUE(client.Read(1, 100ms).empty());
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link_)));

  ASSERT_TRUE(server_.Start(link_));
  PtyClient again(link_);
  EXPECT_EQ(again.Exchange(FrameMode::kXor, 0xF0, {}), kVersionAnswerXor);
}

TEST(PtyServerLink, ReplacesAStaleLinkButNoOtherFile) {
  ReaderModel model;
  PtyServer server(model);
  const std::string stale = ScratchPath("stale");
  std::filesystem::remove(stale);
  std::filesystem::create_symlink("/dev/pts/nonexistent", stale);
  ASSERT_TRUE(server.Start(stale));
  EXPECT_EQ(std::filesystem::read_symlink(stale), server.DevicePath());
  server.Stop();

  const std::string file = ScratchPath("file");
  std::ofstream(file) << "keep me";
  std::string error;
  EXPECT_FALSE(server.Start(file, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(server.IsRunning());
  EXPECT_TRUE(std::filesystem::is_regular_file(file));
}

TEST(EmulatorProgram, ServesUntilTerminatedAndCleansUp) {
  const std::string link = ScratchPath("program");
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<std::string> args = {KX_EMULATOR_PROGRAM, "--pty",     link,
                                   "--transponder",     "38,4",      "--data",
                                   "0102030405",        "--crc-only"};
  std::vector<char*> argv;
  for (std::string& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid;
  ASSERT_EQ(posix_spawn(&pid, KX_EMULATOR_PROGRAM, &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);

  std::string line;
  char c;
  while (read(out[0], &c, 1) == 1 && c != '\n')
    line += c;
  close(out[0]);
  EXPECT_EQ(line.rfind("/dev/", 0), 0u) << line;
  {
    PtyClient client(link);
    ASSERT_TRUE(client.IsOpen());
    ASSERT_TRUE(client.Write(kxlf::BuildFrame(FrameMode::kXor, 1, 0xF0, Bytes{})));
    EXPECT_EQ(client.Wait(100ms), 0) << "a CRC-only reader answered a start-byte request";
    EXPECT_EQ(client.Exchange(FrameMode::kCrc16, 0xC2, {38, 0, 2}),
              kxlf::BuildFrame(FrameMode::kCrc16, 1, 0, Bytes{1, 2, 3, 4, 5, 0, 0, 0}));
  }
  kill(pid, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

}  // namespace
}  // namespace kxemu
