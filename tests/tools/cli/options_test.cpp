// The command line: where options may stand, how types and formats are named, what is refused.
#include <gtest/gtest.h>

#include "names.h"
#include "options.h"

namespace kx::cli {
namespace {

using convert::DataFormat;

Options Parsed(const std::vector<std::string>& args) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  EXPECT_TRUE(parsed.options) << parsed.error;
  return parsed.options.value_or(Options{});
}

std::string ErrorOf(const std::vector<std::string>& args) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  EXPECT_FALSE(parsed.options);
  return parsed.error;
}

TEST(OptionsTest, GlobalOptionsBeforeOrAfterTheCommand) {
  const Options before =
      Parsed({"--port", "/dev/ttyUSB0:2", "--baud", "9600", "--serial", "8e1", "--timeout", "800",
              "--json", "--quiet", "write", "--type", "ti-rw", "1A"});
  const Options after = Parsed({"write", "--type=ti-rw", "1A", "--port=/dev/ttyUSB0:2", "--json",
                                "--baud", "9600", "--quiet", "--serial=8E1", "--timeout", "800"});
  for (const Options& o : {before, after}) {
    EXPECT_EQ(o.command, Command::kWrite);
    EXPECT_EQ(o.port, "/dev/ttyUSB0:2");
    EXPECT_EQ(o.baudRate, 9600);
    EXPECT_EQ(o.serialFormat, 1);
    EXPECT_EQ(o.timeoutMs, 800);
    EXPECT_TRUE(o.json);
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.typeIndex, 1);
    EXPECT_EQ(o.value, "1A");
  }
}

TEST(OptionsTest, DefaultsAreTheMainWindowsFirstStart) {
  const Options o = Parsed({"read", "--type", "ti-multipage"});
  EXPECT_EQ(o.startText, "1");
  EXPECT_EQ(o.lengthText, "4");
  EXPECT_EQ(o.format, DataFormat::kHexBinary);
  EXPECT_EQ(o.timeoutMs, 500);
  EXPECT_FALSE(o.port);
  EXPECT_FALSE(o.baudRate);
}

TEST(OptionsTest, ValuesThatLookLikeOptions) {
  EXPECT_EQ(Parsed({"write", "--type", "2", "--format", "2", "-17"}).value, "-17");
  EXPECT_EQ(Parsed({"write", "--type", "2", "--format", "5", "--", "--verify"}).value, "--verify");
  EXPECT_FALSE(Parsed({"write", "--type", "2", "--", "--verify"}).verify);
  EXPECT_EQ(Parsed({"write", "--type", "2", "--format", "5", ""}).value, "");
  // A port list line as the ports command prints it.
  EXPECT_EQ(Parsed({"identify", "--port", "USB: 5164-12345678"}).port, "5164-12345678");
}

TEST(OptionsTest, HelpAndVersionNeedNothingElse) {
  EXPECT_TRUE(Parsed({"--help"}).help);
  const Options help = Parsed({"program", "--help", "--bogus"});
  EXPECT_TRUE(help.help);
  EXPECT_EQ(help.command, Command::kProgram);
  EXPECT_TRUE(Parsed({"-h"}).help);
  EXPECT_TRUE(Parsed({"--version"}).version);
}

TEST(OptionsTest, MistakesAreNamed) {
  EXPECT_EQ(ErrorOf({}),
            "name a command: ports, identify, read, write, uid, program, tune, hdx-config or lan");
  EXPECT_EQ(ErrorOf({"red", "--type", "2"}).rfind("unknown command 'red'", 0), 0u);
  EXPECT_EQ(ErrorOf({"read"}), "read needs --type");
  EXPECT_EQ(ErrorOf({"program", "--type", "2", "1"}), "program needs --count");
  EXPECT_EQ(ErrorOf({"write", "--type", "2"}), "write needs the VALUE to write");
  EXPECT_EQ(ErrorOf({"read", "--type", "2", "7"}), "unexpected argument '7'");
  EXPECT_EQ(ErrorOf({"write", "--type", "2", "7", "8"}), "unexpected argument '8'");
  EXPECT_EQ(ErrorOf({"uid", "--type", "2", "--length", "8"}), "--length is not an option of uid");
  EXPECT_EQ(ErrorOf({"read", "--type", "2", "--verify"}), "--verify is not an option of read");
  EXPECT_EQ(ErrorOf({"ports", "--state", "x"}), "--state is not an option of ports");
  EXPECT_EQ(ErrorOf({"read", "--type"}), "--type wants a value");
  EXPECT_EQ(ErrorOf({"read", "--json=yes", "--type", "2"}), "--json takes no value");
  EXPECT_EQ(ErrorOf({"read", "--colour", "--type", "2"}), "unknown option '--colour'");
  EXPECT_EQ(ErrorOf({"identify", "--baud", "9601"}).rfind("--baud wants", 0), 0u);
  EXPECT_EQ(ErrorOf({"identify", "--timeout", "9"}).rfind("--timeout wants", 0), 0u);
  EXPECT_EQ(ErrorOf({"identify", "--timeout", "300001"}).rfind("--timeout wants", 0), 0u);
  EXPECT_EQ(ErrorOf({"program", "--type", "2", "--count", "0", "1"}).rfind("--count wants", 0), 0u);
  const ParsedCommandLine json = ParseCommandLine({"read", "--json"});
  EXPECT_TRUE(json.json) << "the error of a --json run goes out as JSON";
  EXPECT_EQ(json.command, Command::kRead);
}

TEST(NamesTest, TypesByNameLabelOrIndex) {
  const std::pair<const char*, int> cases[] = {
      {"read-only", 0},        {"Read Only", 0},     {"ti-rw", 1},   {"TI READ / WRITE", 1},
      {"ti-multipage", 2},     {"ti multi page", 2}, {"ti-hdx+", 3}, {"TI HDX+", 3},
      {"incide-hdx", 4},       {"Incide HDX", 4},    {"SIC7900", 5}, {"sic7999", 6},
      {"SIC7999 / SIC279", 6}, {"em4017", 7},        {"7", 7},       {"0", 0}};
  for (const auto& [text, index] : cases)
    EXPECT_EQ(ParseTransponderType(text), index) << text;
  for (const char* text : {"", "8", "-1", "ti", "sic279", "TI-HDX", " em4017"})
    EXPECT_FALSE(ParseTransponderType(text)) << text;
  for (int index = 0; index < 8; ++index)
    EXPECT_EQ(ParseTransponderType(TypeName(index)), index);
}

TEST(NamesTest, FormatsByNameLabelOrIndex) {
  EXPECT_EQ(ParseDataFormat("hex-binary"), DataFormat::kHexBinary);
  EXPECT_EQ(ParseDataFormat("HEX-ASCII"), DataFormat::kHexAscii);
  EXPECT_EQ(ParseDataFormat("Dezimalzahl binär"), DataFormat::kDecimalBinary);
  EXPECT_EQ(ParseDataFormat("dezimalzahl ascii"), DataFormat::kDecimalAscii);
  EXPECT_EQ(ParseDataFormat("4"), DataFormat::kDataBinary);
  EXPECT_EQ(ParseDataFormat("Daten ASCII"), DataFormat::kDataAscii);
  for (const char* text : {"", "6", "hex", "binary", "-0"})
    EXPECT_FALSE(ParseDataFormat(text)) << text;
  for (int index = 0; index < 6; ++index) {
    const auto format = static_cast<DataFormat>(index);
    EXPECT_EQ(ParseDataFormat(FormatName(format)), format);
  }
}

}  // namespace
}  // namespace kx::cli
