// The program's settings store as kx-cli reads it, and the program state file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "program_state.h"
#include "stored_settings.h"
#include "temp_dir.h"

namespace kx::cli {
namespace {

TEST(StoredSettingsTest, DefaultsWithoutAStore) {
  const StoredSettings settings = ReadStoredSettings("/nonexistent/KX-M71 Vantrel.conf");
  EXPECT_EQ(ConnectionName(settings), "COM1:1");
  EXPECT_EQ(settings.baudCode, 19200);
  EXPECT_FALSE(settings.ethernetActive);
  EXPECT_EQ(settings.beepTimeMs, 300);
}

TEST(StoredSettingsTest, StoredInterfaceAsTheProgramWritesIt) {
  const StoredSettings settings = ParseStoredSettings(
      "[General]\nx=1\n\n[Port]\nAdresse=3\nBaudrate=9601\nEthernetAktiv=1\n"
      "Name=\"/dev/ttyUSB0 [Orv Virtual COM, \\\"A\\\"]\"\n\n[Settings]\nBeepTime=0\n");
  EXPECT_EQ(settings.portName, "/dev/ttyUSB0 [Orv Virtual COM, \"A\"]");
  EXPECT_EQ(ConnectionName(settings), "/dev/ttyUSB0 [Orv Virtual COM, \"A\"]:3");
  EXPECT_EQ(settings.baudCode, 9601);
  EXPECT_TRUE(settings.ethernetActive);
  EXPECT_EQ(settings.beepTimeMs, 0);

  EXPECT_EQ(ConnectionName(ParseStoredSettings("[Port]\nName=USB: 5164-0001 HID\n")),
            "5164-0001 HID:1");
  EXPECT_EQ(ConnectionName(ParseStoredSettings("[Port]\nName=LAN: 10.0.0.7-10001\n")),
            "10.0.0.7-10001:1");
  EXPECT_EQ(ConnectionName(ParseStoredSettings("[Port]\nName=\n")), "COM1:1");
  EXPECT_EQ(ParseStoredSettings("[Settings]\nBeepTime=-1\n").beepTimeMs, 300);
  EXPECT_EQ(ParseStoredSettings("[Port]\nBaudrate=fast\n").baudCode, 19200);
}

TEST(StoredSettingsTest, PathFollowsXdgConfigHome) {
  const char* old = getenv("XDG_CONFIG_HOME");
  const std::string saved = old != nullptr ? old : "";
  setenv("XDG_CONFIG_HOME", "/tmp/kx-config", 1);
  EXPECT_EQ(SettingsFilePath(), "/tmp/kx-config/Orv Applikationen/KX-M71 Vantrel.conf");
  setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_NE(SettingsFilePath().find("/.config/Orv Applikationen/"), std::string::npos);
  if (old != nullptr)
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}

TEST(QuotingTest, EveryByteSurvivesTheRoundTrip) {
  for (const std::string& text : {std::string(), std::string(" lead and trail "),
                                  std::string("a\"b\\c"), std::string("line\nbreak\ttab\r"),
                                  std::string("\x01"
                                              "9",
                                              2),
                                  std::string("\xE4\xFC umlauts"), std::string("@at"),
                                  std::string("semi;colon,comma=equals")}) {
    EXPECT_EQ(UnquoteValue(QuoteValue(text)), text) << QuoteValue(text);
  }
  EXPECT_EQ(UnquoteValue("  plain  "), "plain");
  EXPECT_EQ(UnquoteValue("@@at"), "@at");
  EXPECT_EQ(UnquoteValue("\"\\x41\\x00e4\""), "A\xC3\xA4");
}

ProgramState SampleState() {
  ProgramState state;
  state.job = ProgramJob{3, 2, 16, convert::DataFormat::kDecimalAscii, true, true, " ID \"7\"="};
  state.nextValue = " ID \"9\"=";
  state.done = 2;
  state.lastUid = "E004010012345621";
  state.pendingUid = "E004010012345622";
  state.exhausted = true;
  return state;
}

TEST(ProgramStateTest, TextRoundTrip) {
  const ProgramState state = SampleState();
  std::string error;
  const auto parsed = ParseStateText(StateText(state), &error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(*parsed, state);
  EXPECT_NE(StateText(state).find("Type=ti-hdx+"), std::string::npos);
}

TEST(ProgramStateTest, IncompleteOrGarbledStateIsRefused) {
  std::string text = StateText(SampleState());
  std::string error;
  for (const std::string key : {"NextValue=", "Done=", "FirstValue=", "Type="}) {
    std::string without = text;
    without.replace(without.find(key), key.size(), "Other" + key);
    EXPECT_FALSE(ParseStateText(without, &error)) << key;
    EXPECT_FALSE(error.empty());
  }
  std::string garbled = text;
  garbled.replace(garbled.find("Done=2"), 6, "Done=x");
  EXPECT_FALSE(ParseStateText(garbled, &error));
  EXPECT_FALSE(ParseStateText("", &error));
}

class StateFileTest : public ini::TempDirTest {};

TEST_F(StateFileTest, SaveReplacesTheWholeFileAndLeavesNothingBehind) {
  const std::string path = (dir_ / "job.state").string();
  ProgramState state;
  std::string error;
  EXPECT_EQ(LoadStateFile(path, state, &error), StateLoad::kMissing);
  ASSERT_TRUE(SaveStateFile(path, SampleState(), &error)) << error;
  ProgramState second = SampleState();
  second.done = 3;
  second.pendingUid.clear();
  ASSERT_TRUE(SaveStateFile(path, second, &error)) << error;
  ASSERT_EQ(LoadStateFile(path, state, &error), StateLoad::kLoaded) << error;
  EXPECT_EQ(state, second);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                          std::filesystem::directory_iterator()),
            1)
      << "no temporary file is left";

  std::ofstream(path) << "[Job]\nType=ti-rw\n";
  EXPECT_EQ(LoadStateFile(path, state, &error), StateLoad::kBroken);
  EXPECT_FALSE(SaveStateFile((dir_ / "missing" / "job.state").string(), second, &error));
  EXPECT_FALSE(error.empty());
}

TEST_F(StateFileTest, OneRunPerStateFile) {
  const std::string path = (dir_ / "job.state").string();
  std::string error;
  auto first = std::make_unique<StateLock>();
  ASSERT_TRUE(first->Acquire(path, &error)) << error;
  StateLock second;
  EXPECT_FALSE(second.Acquire(path, &error));
  EXPECT_NE(error.find("another kx-cli program run"), std::string::npos);
  first.reset();
  StateLock third;
  EXPECT_TRUE(third.Acquire(path, &error)) << "released with its holder";
}

}  // namespace
}  // namespace kx::cli
