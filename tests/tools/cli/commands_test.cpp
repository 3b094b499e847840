// kx-cli as a script sees it: each command against an emulated reader, in text and in JSON,
// the exact commands the reader receives, and the exit codes.
#include "netns_bench.h"
#include "reader_fixture.h"

namespace kx::cli::testing {
namespace {

constexpr uint8_t kWholeRead = 0xC0;
constexpr uint8_t kBlockRead = 0xC2;
constexpr uint8_t kBlockWrite = 0xC3;

class CommandsTest : public ReaderFixture {};

TEST_F(CommandsTest, HelpVersionAndUsageErrors) {
  const CliResult overview = RunWithoutPort({"--help"});
  EXPECT_EQ(overview.exitCode, 0);
  EXPECT_NE(overview.out.find("Exit codes:"), std::string::npos);
  for (const char* command : {"ports", "identify", "read", "write", "uid", "program", "lan"}) {
    const CliResult help = RunWithoutPort({command, "--help"});
    EXPECT_EQ(help.exitCode, 0) << command;
    EXPECT_NE(help.out.find("Examples:"), std::string::npos) << command;
    EXPECT_NE(help.out.find(std::string("kx-cli ") + command), std::string::npos) << command;
  }
  EXPECT_EQ(RunWithoutPort({"--help", "program"}).out, RunWithoutPort({"program", "-h"}).out);
  const CliResult version = RunWithoutPort({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("kx-cli ", 0), 0u);

  for (std::vector<std::string> bad :
       std::vector<std::vector<std::string>>{{},
                                             {"frobnicate"},
                                             {"read"},
                                             {"read", "--type", "ti-multipage", "--bogus"},
                                             {"identify", "--type", "ti-rw"},
                                             {"read", "--type", "ti-rw", "--count", "3"},
                                             {"write", "--type", "ti-rw"},
                                             {"write", "--type", "ti-rw", "1", "2"},
                                             {"program", "--type", "ti-rw", "1"},
                                             {"uid", "--type", "ti-rw", "--format", "hexadecimal"},
                                             {"--timeout", "5", "identify"},
                                             {"--serial", "7N1", "identify"},
                                             {"--baud", "9601", "identify"}}) {
    const CliResult result = RunWithoutPort(bad);
    EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(bad);
    EXPECT_TRUE(result.out.empty());
    EXPECT_NE(result.err.find("kx-cli: "), std::string::npos);
  }
  const CliResult json = RunWithoutPort({"read", "--json"});
  EXPECT_EQ(json.exitCode, 2);
  EXPECT_EQ(json.out.rfind(R"({"command":"read","ok":false,"exit_code":2,"error":"usage",)", 0), 0u)
      << json.out;
}

TEST_F(CommandsTest, PortsListsOneEntryPerLine) {
  // ports also searches the local networks for LAN readers: it runs in an empty network
  // namespace, so that no broadcast leaves this machine's own.
  const bool ran = kxtest::RunInEmptyNetns([&] {
    const CliResult text = RunWithoutPort({"ports"});
    EXPECT_EQ(text.exitCode, 0);
    const CliResult json = RunWithoutPort({"ports", "--json"});
    EXPECT_EQ(json.exitCode, 0);
    const std::vector<std::string> lines = json.OutLines();
    ASSERT_EQ(lines.size(), text.OutLines().size());
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].rfind(R"({"command":"ports","ok":true,"kind":")", 0), 0u) << lines[i];
      EXPECT_NE(lines[i].find(text.OutLines()[i].substr(0, 8)), std::string::npos);
    }
  });
  if (!ran)
    GTEST_SKIP() << "network namespaces cannot be created here";
}

TEST_F(CommandsTest, IdentifyInTextAndJson) {
  StartReader();
  const CliResult text = Run({"identify"});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.out, "port       " + Device() +
                          "\nmodel      KX-P71D\ntype code  054\nfirmware   FW V1.10\n");
  // Global options after the command too.
  const CliResult json = RunWithoutPort({"identify", "--json", "--port", Device()});
  EXPECT_EQ(json.out, R"({"command":"identify","ok":true,"port":")" + Device() +
                          R"(","model":"KX-P71D","type_code":"054","firmware":"FW V1.10",)"
                          R"("version":"054A","usb":false})"
                          "\n");
}

TEST_F(CommandsTest, StoredInterfaceIsTheDefaultPort) {
  StartReader();
  // As the program's settings store writes it: a quoted name and the serial format in the
  // baud code (9601: 9600 baud, even parity; the pseudo-terminal takes any line setting).
  WriteSettings("[Port]\nName=\"" + Device() + "\"\nAdresse=1\nBaudrate=9601\n");
  const CliResult result = RunWithoutPort({"identify", "--json"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("\"port\":\"" + Device() + ":1\""), std::string::npos) << result.out;

  WriteSettings("[Port]\nName=" + Device() + "\nAdresse=7\n");
  const CliResult otherAddress = RunWithoutPort({"identify"});
  EXPECT_EQ(otherAddress.exitCode, 3) << "the reader answers only at address 1";
  EXPECT_NE(otherAddress.err.find(Device() + ":7"), std::string::npos);
}

TEST_F(CommandsTest, NoReaderOrAnUnsupportedOneIsExitCode3) {
  const CliResult missing = RunWithoutPort({"--port", "/dev/kx-cli-no-such-port", "identify"});
  EXPECT_EQ(missing.exitCode, 3);
  EXPECT_NE(missing.err.find("cannot open the port"), std::string::npos);

  kxemu::ReaderConfig config;
  config.versionText = "0394";
  config.transponder = kxemu::MakeTransponder(33);
  StartReader(config);
  const CliResult refused = Run({"read", "--type", "ti-multipage", "--json"});
  EXPECT_EQ(refused.exitCode, 3);
  EXPECT_NE(refused.out.find(R"("error":"no_reader")"), std::string::npos);
  EXPECT_NE(refused.err.find("does not support"), std::string::npos);
  EXPECT_TRUE(TransponderCommands().empty());

  kxemu::Faults silent;
  silent.silent = true;
  model_->SetFaults(silent);
  const CliResult quiet = Run({"--timeout", "50", "identify"});
  EXPECT_EQ(quiet.exitCode, 3);
  EXPECT_NE(quiet.err.find("no reader answers"), std::string::npos);
}

struct ReadCase {
  const char* format;
  const char* length;
  const char* text;
  std::vector<Bytes> commands;
};

TEST_F(CommandsTest, ReadInEveryFormat) {
  kxemu::Transponder transponder = kxemu::MakeTransponder(33);
  const Bytes value = {'4', '2', 'A', 'b', 0x01, 0x02, 0x03, 0x04, 'x', 'y', 'z'};
  std::copy(value.begin(), value.end(), transponder.memory.begin() + 16);
  StartReaderWith(transponder);
  const ReadCase cases[] = {
      {"hex-binary", "4", "62413234", {{kBlockRead, 33, 2, 1}}},
      {"Hexadezimalzahl ASCII", "4", "42Ab", {{kBlockRead, 33, 2, 1}}},
      {"2", "8", "289077006048506420", {{kBlockRead, 33, 2, 1}}},
      {"DECIMAL-ASCII", "2", "42", {{kBlockRead, 33, 2, 1}}},
      {"data-binary",
       "11",
       "34 32 41 62 01 02 03 04 78 79 7A",
       {{kBlockRead, 33, 2, 1}, {kBlockRead, 33, 3, 1}}},
      {"data-ascii", "3", "42A", {{kBlockRead, 33, 2, 1}}},
  };
  for (const ReadCase& c : cases) {
    model_->ClearReceivedRequests();
    const CliResult text = Run({"read", "--type", "TI Multi Page", "--start", "2", "--length",
                                c.length, "--format", c.format});
    EXPECT_EQ(text.exitCode, 0) << c.format << text.err;
    EXPECT_EQ(text.out, std::string(c.text) + "\n") << c.format;
    EXPECT_EQ(TransponderCommands(), c.commands) << c.format;
    const CliResult json = Run({"read", "--type", "2", "--start", "2", "--length", c.length,
                                "--format", c.format, "--json"});
    EXPECT_NE(json.out.find(std::string(R"("text":")") + c.text + "\""), std::string::npos)
        << json.out;
  }
  const CliResult json = Run({"read", "--json", "--type", "ti-multipage", "--start", "2"});
  EXPECT_EQ(json.out, R"({"command":"read","ok":true,"type":"ti-multipage","start":2,"length":4,)"
                      R"("format":"hex-binary","text":"62413234","bytes":"3432416201020304"})"
                      "\n");
}

TEST_F(CommandsTest, ReadOfTheSpecialTypes) {
  kxemu::Transponder sic = kxemu::MakeTransponder(36);
  sic.memory[12] = 0x2A;
  StartReaderWith(sic);
  const CliResult selected =
      Run({"read", "--type", "sic7900", "--start", "3", "--length", "8", "--format", "2"});
  EXPECT_EQ(selected.out, "42\n");
  Bytes select = {0xC1, 36};
  select.insert(select.end(), sic.uid.begin(), sic.uid.end());
  EXPECT_EQ(TransponderCommands(),
            (std::vector<Bytes>{{kWholeRead, 36, 0}, select, {kBlockRead, 36, 3, 1}}));

  model_->SetTransponder(kxemu::MakeTransponder(35));
  model_->ClearReceivedRequests();
  EXPECT_EQ(Run({"read", "--type", "ti-hdx+", "--start", "2", "--length", "16"}).exitCode, 0);
  EXPECT_EQ(TransponderCommands(),
            (std::vector<Bytes>{{kBlockRead, 35, 2, 1}, {kBlockRead, 35, 4, 1}}));

  model_->SetTransponder(kxemu::MakeTransponder(33));
  model_->ClearReceivedRequests();
  // Read Only always reads 8 bytes of block 0, whatever --start and --length say.
  const CliResult fixed =
      Run({"read", "--type", "read-only", "--start", "9", "--length", "2", "--json"});
  EXPECT_NE(fixed.out.find(R"("start":0,"length":8)"), std::string::npos) << fixed.out;
  EXPECT_EQ(TransponderCommands(), (std::vector<Bytes>{{kBlockRead, 33, 0, 1}}));
}

struct WriteCase {
  std::vector<std::string> args;  // after "write --type ti-multipage --start 3"
  const char* line;
  std::vector<Bytes> commands;
};

TEST_F(CommandsTest, WriteInEveryFormat) {
  StartReaderWith(kxemu::MakeTransponder(33));
  const WriteCase cases[] = {
      {{"1a2b"},
       "Value <1A2B> written successfully",
       {{kBlockWrite, 33, 3, 0x2B, 0x1A, 0, 0, 0, 0, 0, 0}}},
      {{"--format", "hex-ascii", "--length", "6", "--leading-zeros", "12"},
       "Value <12> written successfully",
       {{kBlockWrite, 33, 3, '0', '0', '0', '0', '1', '2', 0, 0}}},
      {{"--format", "decimal-binary", "--length", "2", "00258"},
       "Value <258> written successfully",
       {{kBlockWrite, 33, 3, 0x02, 0x01, 0, 0, 0, 0, 0, 0}}},
      {{"--format", "decimal-ascii", "--length", "9", "--extra-text", "--", "-2-"},
       "Value <-2-> written successfully",
       {{kBlockWrite, 33, 3, '-', '2', '-', 0, 0, 0, 0, 0},
        {kBlockWrite, 33, 4, 0, 0, 0, 0, 0, 0, 0, 0}}},
      {{"--format", "decimal-ascii", "--length", "9", "--extra-text", "ID-42"},
       "Value <ID-42> written successfully",
       {{kBlockWrite, 33, 3, 'I', 'D', '-', '4', '2', 0, 0, 0},
        {kBlockWrite, 33, 4, 0, 0, 0, 0, 0, 0, 0, 0}}},
      {{"--format", "data-binary", "--length", "3", "01 02 0a"},
       "<0001> Data written successfully!",
       {{kBlockWrite, 33, 3, 1, 2, 10, 0, 0, 0, 0, 0}}},
      {{"--format", "5", "--length", "9", "Hello KX!"},
       "<0001> Data written successfully!",
       {{kBlockWrite, 33, 3, 'H', 'e', 'l', 'l', 'o', ' ', 'K', 'X'},
        {kBlockWrite, 33, 4, '!', 0, 0, 0, 0, 0, 0, 0}}},
  };
  for (const WriteCase& c : cases) {
    model_->ClearReceivedRequests();
    std::vector<std::string> args = {"write", "--type", "ti-multipage", "--start", "3"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliResult result = Run(args);
    EXPECT_EQ(result.exitCode, 0) << c.line << result.err;
    EXPECT_EQ(result.out, std::string(c.line) + "\n");
    EXPECT_EQ(TransponderCommands(), c.commands) << c.line;
  }

  model_->SetTransponder(kxemu::MakeTransponder(39));
  model_->ClearReceivedRequests();
  const CliResult json = Run({"write", "--type", "em4017", "--json", "--verify", "ab"});
  EXPECT_EQ(json.out, R"({"command":"write","ok":true,"type":"em4017","start":1,"length":4,)"
                      R"("format":"hex-binary","value":"AB","bytes":"AB000000","verified":true})"
                      "\n");
  EXPECT_EQ(TransponderCommands(),
            (std::vector<Bytes>{{kBlockWrite, 39, 1, 0xAB, 0, 0, 0}, {kBlockRead, 39, 1, 1}}));
  EXPECT_TRUE(Run({"write", "--quiet", "--type", "em4017", "ab"}).out.empty());
}

TEST_F(CommandsTest, InvalidValuesAreRefusedBeforeAnythingIsSent) {
  StartReaderWith(kxemu::MakeTransponder(33));
  for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
           {"--type", "read-only", "00"},
           {"--type", "ti-multipage", "12G4"},
           {"--type", "ti-multipage", "--length", "2", "12345"},
           {"--type", "ti-multipage", "--format", "decimal-binary", "--length", "1", "256"},
           {"--type", "ti-multipage", "--format", "decimal-binary", "--length", "9", "1"},
           {"--type", "ti-multipage", "--format", "decimal-binary", "-2"},
           {"--type", "ti-multipage", "--format", "decimal-ascii", "--length", "3", "1234"},
           {"--type", "ti-multipage", "--format", "data-binary", "--length", "2", "01 02 03"},
           {"--type", "ti-multipage", "--format", "data-binary", "--length", "2", "01 2"},
           {"--type", "ti-multipage", "--format", "hex-ascii", ""},
           {"--type", "ti-multipage", "--length", "0", "1"},
           {"--type", "ti-multipage", "--start", "18", "1"},
           {"--type", "em4017", "--start", "x", "1"}}) {
    bad.insert(bad.begin(), "write");
    const CliResult result = Run(bad);
    EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(bad);
    EXPECT_FALSE(result.err.empty());
  }
  EXPECT_TRUE(Commands().empty()) << "not even a connection was opened";
}

TEST_F(CommandsTest, ReaderFailuresHaveTheirExitCodes) {
  StartReader();
  const CliResult empty = Run({"read", "--type", "em4017", "--json"});
  EXPECT_EQ(empty.exitCode, 4);
  EXPECT_NE(empty.out.find(R"("error":"no_transponder")"), std::string::npos);
  EXPECT_NE(empty.err.find("no transponder in the field"), std::string::npos);
  EXPECT_EQ(Run({"write", "--type", "ti-rw", "1"}).exitCode, 4);
  EXPECT_EQ(Run({"uid", "--type", "sic7999"}).exitCode, 4);

  kxemu::Transponder locked = kxemu::MakeTransponder(33);
  locked.locked[2] = true;
  model_->SetTransponder(locked);
  const CliResult refused = Run({"write", "--type", "ti-multipage", "--start", "2", "1"});
  EXPECT_EQ(refused.exitCode, 6);
  EXPECT_NE(refused.err.find("reader error 3"), std::string::npos) << refused.err;

  // Every answer carries four bytes: the version still reads as 054A, but a block read-back
  // delivers half a block.
  model_->SetTransponder(kxemu::MakeTransponder(33));
  kxemu::Faults faults;
  faults.payloadOverride = Bytes{'0', '5', '4', 'A'};
  model_->SetFaults(faults);
  const CliResult differs = Run({"write", "--type", "ti-multipage", "--verify", "--json", "1"});
  EXPECT_EQ(differs.exitCode, 5) << differs.err;
  EXPECT_NE(differs.out.find(R"("error":"verify_failed")"), std::string::npos);
  EXPECT_NE(differs.err.find("read back 30 35 34 41 00 00 00 00"), std::string::npos)
      << differs.err;
  EXPECT_EQ(Run({"write", "--type", "ti-multipage", "1"}).exitCode, 0)
      << "without --verify nothing is read back";
}

TEST_F(CommandsTest, UidInTextAndJson) {
  kxemu::Transponder transponder = kxemu::MakeTransponder(38);
  transponder.uid = {0xE0, 0x04, 0x01, 0x00, 0x12, 0x34, 0x56, 0x78};
  StartReaderWith(transponder);
  EXPECT_EQ(Run({"uid", "--type", "sic7999"}).out, "78563412000104E0\n");
  EXPECT_EQ(Run({"uid", "--type", "SIC7999 / SIC279", "--format", "data-binary"}).out,
            "E0 04 01 00 12 34 56 78\n");
  EXPECT_EQ(Run({"--json", "uid", "--type", "6"}).out,
            R"({"command":"uid","ok":true,"type":"sic7999","format":"hex-binary",)"
            R"("text":"78563412000104E0","uid":"E004010012345678"})"
            "\n");
  EXPECT_EQ(Commands(kWholeRead).size(), 3u);
  EXPECT_TRUE(Commands(kBlockRead).empty());
}

TEST_F(CommandsTest, LogFileGetsTheProgramsLines) {
  StartReaderWith(kxemu::MakeTransponder(33));
  const std::string log = Path("write.log");
  ASSERT_EQ(Run({"write", "--type", "ti-multipage", "--start", "3", "--log", log, "1A2B"}).exitCode,
            0);
  ASSERT_EQ(
      Run({"write", "--type", "ti-multipage", "--format", "decimal-binary", "--log", log, "007"})
          .exitCode,
      0);
  const std::string text = ReadFile(log);
  EXPECT_EQ(text.rfind("     1\t", 0), 0u) << text;
  EXPECT_NE(text.find("\tHEX BIN\t   3\t   4\t1A2B\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("     2\t"), std::string::npos);
  EXPECT_NE(text.find("\tDEZ ASCII\t   1\t   4\t7\r\n"), std::string::npos) << text;

  const std::string readLog = Path("read.log");
  ASSERT_EQ(Run({"read", "--type", "ti-rw", "--log", readLog}).exitCode, 0);
  EXPECT_NE(ReadFile(readLog).find("\tHEX BIN\t   0\t   8\t"), std::string::npos);

  const CliResult lost =
      Run({"write", "--type", "ti-multipage", "--log", Path("no/such/dir/log"), "1"});
  EXPECT_EQ(lost.exitCode, 0) << "the write itself succeeded";
  EXPECT_NE(lost.err.find("warning: the log line was not written"), std::string::npos);
}

}  // namespace
}  // namespace kx::cli::testing
