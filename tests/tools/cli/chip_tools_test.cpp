// kx-cli tune and hdx-config as child processes: against the kx-emulator program started with
// its chip options, and against an emulated reader in the test that shows the exact commands.
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "reader_fixture.h"

namespace kx::cli::testing {
namespace {

constexpr uint8_t kSpecial = 0xC4;

// The kx-emulator program with its options; its device path is read from its first line.
class EmulatorProgram {
 public:
  EmulatorProgram(const std::string& link, std::vector<std::string> options) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
      return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    options.insert(options.begin(), {KX_EMULATOR_PROGRAM, "--pty", link});
    std::vector<char*> argv;
    for (std::string& option : options)
      argv.push_back(option.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, KX_EMULATOR_PROGRAM, &actions, nullptr, argv.data(), environ) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char c;
    while (pid_ > 0 && read(out[0], &c, 1) == 1 && c != '\n')
      device_ += c;
    close(out[0]);
  }
  ~EmulatorProgram() {
    if (pid_ <= 0)
      return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  const std::string& Device() const { return device_; }

 private:
  pid_t pid_ = -1;
  std::string device_;
};

class ChipToolsCli : public ReaderFixture {
 protected:
  CliResult RunAgainst(const EmulatorProgram& emulator, std::vector<std::string> args) const {
    args.insert(args.begin(), {"--port", emulator.Device()});
    return RunCli(args, dir_.string());
  }
  EmulatorProgram Emulator(const std::vector<std::string>& options) const {
    return EmulatorProgram(Path("reader"), options);
  }
  void StartSic(int ctune = 64) {
    kxemu::Transponder chip = kxemu::MakeTransponder(38);
    chip.ctune = static_cast<uint8_t>(ctune);
    StartReaderWith(chip);
  }
  void StartHdx(uint8_t byte) {
    kxemu::Transponder chip = kxemu::MakeTransponder(35);
    chip.chipConfig = byte;
    StartReaderWith(chip);
  }
  uint8_t ChipByte() const { return model_->CurrentTransponder()->chipConfig; }
};

TEST_F(ChipToolsCli, TuneFindsTheCtuneOfATypicalChip) {
  const EmulatorProgram typical = Emulator({"--transponder", "38", "--ctune", "20"});
  ASSERT_FALSE(typical.Device().empty());
  const CliResult text = RunAgainst(typical, {"tune"});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.OutLines(), std::vector<std::string>{
                                 "CTune 61: 134665 Hz with setting 0, 124249 Hz with setting 1"});
  const CliResult json = RunAgainst(typical, {"tune", "--json", "--quiet"});
  EXPECT_EQ(json.exitCode, 0);
  EXPECT_EQ(json.out,
            R"({"command":"tune","ok":true,"code":0,"ctune":61,"frequency_setting0":134665,)"
            R"("frequency_setting1":124249})"
            "\n");
  EXPECT_TRUE(json.err.empty()) << json.err;
  // The chip keeps the value: measuring its present tuning gives the same frequency.
  const CliResult measured = RunAgainst(typical, {"tune", "--measure", "--setting", "0"});
  EXPECT_EQ(measured.out, "134665 Hz, 15208 µs, +65 Hz from 134600 Hz (setting 0)\n");
}

TEST_F(ChipToolsCli, TuneSaysWhyAChipCannotBeTuned) {
  const struct {
    std::vector<std::string> chip;
    int exitCode;
    std::string message;
    std::string json;
  } cases[] = {
      {{"--detune", "12"},
       7,
       "the chip cannot be tuned (code 4): the chip would need CTune",
       R"("error":"not_tuned",)"},
      {{"--setting1-pf", "130"},
       7,
       "the chip cannot be tuned (code 3): with setting 1 the chip resonates at",
       R"("code":3,)"},
      {{"--unsteady", "60"},
       7,
       "the chip cannot be tuned (code 1): the measurements at CTune 96 kept differing",
       R"("code":1})"},
      // Three failing requests are one failed measurement; one for each of the two runs.
      {{"--measure-failures", "6"},
       4,
       "no transponder in the field. Put a transponder of type SIC7999 / SIC279",
       R"("error":"no_transponder",)"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> options = {"--transponder", "38"};
    options.insert(options.end(), c.chip.begin(), c.chip.end());
    const EmulatorProgram emulator = Emulator(options);
    const CliResult text = RunAgainst(emulator, {"tune"});
    EXPECT_EQ(text.exitCode, c.exitCode) << c.chip.front() << text.err;
    EXPECT_NE(text.err.find(c.message), std::string::npos) << text.err;
    EXPECT_TRUE(text.out.empty());
    const CliResult json = RunAgainst(emulator, {"tune", "--json"});
    EXPECT_EQ(json.exitCode, c.exitCode);
    EXPECT_NE(json.out.find(c.json), std::string::npos) << json.out;
  }
}

TEST_F(ChipToolsCli, SingleMeasurementsSendWhatTheWindowSends) {
  StartSic(61);
  const CliResult present = Run({"tune", "--measure", "--json"});
  EXPECT_EQ(present.exitCode, 0) << present.err;
  EXPECT_EQ(present.out.rfind(R"({"command":"tune","ok":true,"setting":1,"frequency":)", 0), 0u)
      << present.out;
  const CliResult sent = Run({"tune", "--ctune", "70", "--setting", "0"});
  EXPECT_EQ(sent.exitCode, 0) << sent.err;
  EXPECT_NE(sent.out.find("(setting 0, CTune 70 sent)"), std::string::npos) << sent.out;
  EXPECT_EQ(TransponderCommands(),
            (std::vector<Bytes>{{kSpecial, 38, 1, 0, 0, 1, 0}, {kSpecial, 38, 1, 70, 1, 0, 0}}));

  // An answer without a frequency is a failed measurement.
  kxemu::Transponder silent = *model_->CurrentTransponder();
  silent.measurementFaults.withoutFrequency = true;
  model_->SetTransponder(silent);
  const CliResult empty = Run({"tune", "--measure"});
  EXPECT_EQ(empty.exitCode, 6);
  EXPECT_NE(empty.err.find("without a frequency"), std::string::npos) << empty.err;
  const CliResult tuning = Run({"tune"});
  EXPECT_EQ(tuning.exitCode, 6);
  EXPECT_NE(tuning.err.find("at CTune 96 with setting 0 without a frequency"), std::string::npos)
      << tuning.err;
}

TEST_F(ChipToolsCli, BadInputIsRefusedBeforeAnythingIsSent) {
  StartHdx(0xB5);
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"tune", "--ctune", "x1"},
           {"tune", "--ctune", "256"},
           {"tune", "--ctune", "-1"},
           {"tune", "--setting", "2", "--measure"},
           {"tune", "--setting", "0"},
           {"tune", "--life-cycle", "1"},
           {"hdx-config"},
           {"hdx-config", "erase"},
           {"hdx-config", "write"},
           {"hdx-config", "read", "--rfu", "1"},
           {"hdx-config", "write", "--life-cycle", "8"},
           {"hdx-config", "write", "--q-factor", "medium"},
           {"hdx-config", "write", "--discharge", "1"},
           {"hdx-config", "write", "--rfu", "-3"},
           {"hdx-config", "read", "write"},
       }) {
    const CliResult result = Run(bad);
    EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(bad);
    EXPECT_NE(result.err.find("kx-cli: "), std::string::npos);
  }
  EXPECT_TRUE(TransponderCommands().empty());
  EXPECT_EQ(ChipByte(), 0xB5);
  for (const char* command : {"tune", "hdx-config"}) {
    const CliResult help = RunWithoutPort({command, "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find(std::string("kx-cli ") + command), std::string::npos);
  }
}

TEST_F(ChipToolsCli, HdxConfigReadsAndWritesTheByte) {
  const EmulatorProgram hdx = Emulator({"--transponder", "35", "--chip-config", "B5"});
  const CliResult text = RunAgainst(hdx, {"hdx-config", "read"});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.out, "B5: life cycle 5, LowQ, discharge on, RFU 5\n");
  const CliResult written =
      RunAgainst(hdx, {"hdx-config", "write", "--life-cycle", "7", "--q-factor", "high",
                       "--discharge", "off", "--rfu", "2", "--json"});
  EXPECT_EQ(written.exitCode, 0) << written.err;
  EXPECT_EQ(written.out, R"({"command":"hdx-config","ok":true,"byte":"4F","life_cycle":7,)"
                         R"("q_factor":"high","discharge":"off","rfu":2})"
                         "\n");
  const CliResult json = RunAgainst(hdx, {"hdx-config", "read", "--json"});
  EXPECT_EQ(json.out, R"({"command":"hdx-config","ok":true,"byte":"4F","life_cycle":7,)"
                      R"("q_factor":"high","discharge":"off","rfu":2})"
                      "\n");
}

TEST_F(ChipToolsCli, HdxConfigWriteKeepsTheFieldsNotGivenAndReadsBack) {
  StartHdx(0xB5);
  const CliResult result = Run({"hdx-config", "write", "--rfu", "9"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.err.find("warning: --rfu 9 has three bits only: RFU 1 is written"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(result.out, "written and read back 35: life cycle 5, LowQ, discharge on, RFU 1\n");
  EXPECT_EQ(TransponderCommands(),
            (std::vector<Bytes>{{kSpecial, 35, 1}, {kSpecial, 35, 2, 0x35}, {kSpecial, 35, 1}}));

  // All four fields given: nothing to read first.
  model_->ClearReceivedRequests();
  ASSERT_EQ(Run({"hdx-config", "write", "--life-cycle", "0", "--q-factor", "low", "--discharge",
                 "off", "--rfu", "0"})
                .exitCode,
            0);
  EXPECT_EQ(TransponderCommands(), (std::vector<Bytes>{{kSpecial, 35, 2, 0}, {kSpecial, 35, 1}}));
}

TEST_F(ChipToolsCli, WrongTransponderOrNoneInTheField) {
  StartSic();
  const CliResult config = Run({"hdx-config", "read"});
  EXPECT_EQ(config.exitCode, 4);
  EXPECT_NE(config.err.find("Put a transponder of type TI HDX+"), std::string::npos) << config.err;
  model_->SetTransponder(kxemu::MakeTransponder(35));
  const CliResult tune = Run({"tune", "--json"});
  EXPECT_EQ(tune.exitCode, 4);
  EXPECT_NE(tune.out.find(R"("error":"no_transponder")"), std::string::npos) << tune.out;
  model_->SetTransponder(std::nullopt);
  EXPECT_EQ(Run({"hdx-config", "write", "--discharge", "on"}).exitCode, 4);
}

TEST_F(ChipToolsCli, WaitTakesOneChipAfterAnother) {
  StartReader();
  const std::unique_ptr<CliProcess> run = Start({"tune", "--wait", "--json"});
  ASSERT_TRUE(
      WaitUntil([&] { return run->Err().find("waiting for a SIC7999") != std::string::npos; }));
  kxemu::Transponder chip = kxemu::MakeTransponder(38);
  chip.ctune = 5;
  model_->SetTransponder(chip);
  ASSERT_TRUE(WaitUntil([&] { return run->Err().find("off the reader") != std::string::npos; }))
      << run->Err();
  EXPECT_EQ(model_->CurrentTransponder()->ctune, 61);
  EXPECT_EQ(run->OutLineCount(), 1u);
  model_->SetTransponder(std::nullopt);
  const CliResult result = run->Wait();
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(
      result.out.rfind(R"({"command":"tune","ok":true,"uid":"E004010012345626","code":0,)", 0), 0u)
      << result.out;

  // Ctrl-C while waiting.
  const std::unique_ptr<CliProcess> stopped = Start({"hdx-config", "read", "--wait"});
  ASSERT_TRUE(
      WaitUntil([&] { return stopped->Err().find("waiting for a TI HDX+") != std::string::npos; }));
  stopped->Signal(SIGINT);
  EXPECT_EQ(stopped->Wait().exitCode, 130);
}

}  // namespace
}  // namespace kx::cli::testing
