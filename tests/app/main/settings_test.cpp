// The settings table: defaults written back on the first start, values that a hand-edited store
// can hold, what the window saves, and the QSettings store itself.
#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <utility>
#include <vector>

#include "main_settings.h"
#include "memory_settings_store.h"
#include "qt_settings_store.h"

namespace kx::app::testing {
namespace {

const QString kDir = "/opt/vantrel/";

QString Raw(const MemorySettingsStore& store, const char* section, const char* key) {
  return store.Raw(QString::fromUtf8(section), QString::fromUtf8(key)).value_or("<absent>");
}

void Put(MemorySettingsStore& store, const char* section, const char* key, const QString& value) {
  store.SetString(QString::fromUtf8(section), QString::fromUtf8(key), value);
}

TEST(MainSettingsTable, TheFirstStartWritesEveryDefault) {
  MemorySettingsStore store;
  const MainSettings s = ReadMainSettings(store, kDir);
  const std::vector<std::pair<std::pair<const char*, const char*>, QString>> expected = {
      {{section::kSettings, key::kBeepTime}, "300"},
      {{section::kSettings, key::kCycleTime}, "250"},
      {{section::kSettings, key::kLastData}, "0"},
      {{section::kSettings, key::kAutoIncrement}, "1"},
      {{section::kSettings, key::kLeadingZeros}, "0"},
      {{section::kSettings, key::kExtraText}, "0"},
      {{section::kSettings, key::kDataFormat}, "0"},
      {{section::kSettings, key::kStartBlock}, "1"},
      {{section::kSettings, key::kByteCount}, "4"},
      {{section::kProtocol, key::kWriteLogName}, "/opt/vantrel/Protokoll_S.txt"},
      {{section::kProtocol, key::kReadLogName}, "/opt/vantrel/Protokoll_L.txt"},
      {{section::kProtocol, key::kLogWrites}, "0"},
      {{section::kProtocol, key::kLogReads}, "0"},
  };
  for (const auto& [where, value] : expected)
    EXPECT_EQ(Raw(store, where.first, where.second), value) << where.second;
  EXPECT_EQ(store.size(), expected.size()) << "the language is written only when it is chosen";

  EXPECT_EQ(s.beepTimeMs, 300);
  EXPECT_EQ(s.cycleTimeMs, 250);
  EXPECT_EQ(s.writeText, "0");
  EXPECT_EQ(s.autoIncrement, 1);
  EXPECT_EQ(s.leadingZeros, 0);
  EXPECT_EQ(s.extraText, 0);
  EXPECT_EQ(s.dataFormat, 0);
  EXPECT_EQ(s.startBlock, 1u);
  EXPECT_EQ(s.byteCount, 4);
  EXPECT_EQ(s.writeLogFile, "/opt/vantrel/Protokoll_S.txt");
  EXPECT_EQ(s.readLogFile, "/opt/vantrel/Protokoll_L.txt");
  EXPECT_EQ(s.logWrites, 0);
  EXPECT_EQ(s.logReads, 0);
  EXPECT_EQ(ReadLanguage(store), 0);
}

TEST(MainSettingsTable, StoredValuesAreTakenAsTheyAreAndNothingIsRewritten) {
  MemorySettingsStore store;
  Put(store, section::kSettings, key::kBeepTime, "-50");
  Put(store, section::kSettings, key::kCycleTime, "2000000000");
  Put(store, section::kSettings, key::kLastData, "ID-0099-X");
  Put(store, section::kSettings, key::kAutoIncrement, "0");
  Put(store, section::kSettings, key::kLeadingZeros, "7");
  Put(store, section::kSettings, key::kExtraText, "-1");
  Put(store, section::kSettings, key::kDataFormat, "5");
  Put(store, section::kSettings, key::kStartBlock, "17");
  Put(store, section::kSettings, key::kByteCount, "-7");
  Put(store, section::kProtocol, key::kWriteLogName, "/tmp/s.txt");
  Put(store, section::kProtocol, key::kReadLogName, "/tmp/l.txt");
  Put(store, section::kProtocol, key::kLogWrites, "1");
  Put(store, section::kProtocol, key::kLogReads, " 1 ");
  const MemorySettingsStore before = store;

  const MainSettings s = ReadMainSettings(store, kDir);
  EXPECT_EQ(s.beepTimeMs, -50);
  EXPECT_EQ(s.cycleTimeMs, 2000000000);
  EXPECT_EQ(s.writeText, "ID-0099-X");
  EXPECT_EQ(s.autoIncrement, 0);
  EXPECT_EQ(s.leadingZeros, 7) << "meets the window's rules at the next exchange";
  EXPECT_EQ(s.extraText, -1);
  EXPECT_EQ(s.dataFormat, 5);
  EXPECT_EQ(s.startBlock, 17u);
  EXPECT_EQ(s.byteCount, -7);
  EXPECT_EQ(s.writeLogFile, "/tmp/s.txt");
  EXPECT_EQ(s.readLogFile, "/tmp/l.txt");
  EXPECT_EQ(s.logWrites, 1);
  EXPECT_EQ(s.logReads, 1);
  for (const char* key : {key::kBeepTime, key::kByteCount, key::kStartBlock, key::kLastData})
    EXPECT_EQ(Raw(store, section::kSettings, key), Raw(before, section::kSettings, key)) << key;
  EXPECT_EQ(store.size(), before.size());
}

TEST(MainSettingsTable, SentinelsAndValuesThatAreNoNumbersTakeTheDefault) {
  MemorySettingsStore store;
  Put(store, section::kSettings, key::kBeepTime, "-1");
  Put(store, section::kSettings, key::kCycleTime, "schnell");
  Put(store, section::kSettings, key::kLastData, "");
  Put(store, section::kSettings, key::kAutoIncrement, "255");
  Put(store, section::kSettings, key::kLeadingZeros, "99999999999");
  Put(store, section::kSettings, key::kExtraText, "1.5");
  Put(store, section::kSettings, key::kByteCount, "");
  Put(store, section::kProtocol, key::kWriteLogName, "");
  Put(store, section::kProtocol, key::kLogReads, "ja");

  const MainSettings s = ReadMainSettings(store, kDir);
  EXPECT_EQ(s.beepTimeMs, 300);
  EXPECT_EQ(s.cycleTimeMs, 250);
  EXPECT_EQ(s.writeText, "0");
  EXPECT_EQ(s.autoIncrement, 1);
  EXPECT_EQ(s.leadingZeros, 0);
  EXPECT_EQ(s.extraText, 0);
  EXPECT_EQ(s.byteCount, 4);
  EXPECT_EQ(s.writeLogFile, "/opt/vantrel/Protokoll_S.txt");
  EXPECT_EQ(s.logReads, 0);
  EXPECT_EQ(Raw(store, section::kSettings, key::kCycleTime), "250") << "written back";
  EXPECT_EQ(Raw(store, section::kSettings, key::kLeadingZeros), "0");
  EXPECT_EQ(Raw(store, section::kSettings, key::kByteCount), "4");
  EXPECT_EQ(Raw(store, section::kProtocol, key::kWriteLogName), "/opt/vantrel/Protokoll_S.txt");
  EXPECT_EQ(Raw(store, section::kProtocol, key::kLogReads), "0");
}

TEST(MainSettingsTable, StartBlockZeroNegativeOrAbove17BecomesOne) {
  for (const QString stored : {"-1", "0", "18", "255", "-5", "4000000000", "zwei"}) {
    MemorySettingsStore store;
    Put(store, section::kSettings, key::kStartBlock, stored);
    EXPECT_EQ(ReadMainSettings(store, kDir).startBlock, 1u) << stored.toStdString();
    EXPECT_EQ(Raw(store, section::kSettings, key::kStartBlock), "1") << stored.toStdString();
  }
  for (const QString stored : {"1", "9", "17"}) {
    MemorySettingsStore store;
    Put(store, section::kSettings, key::kStartBlock, stored);
    EXPECT_EQ(ReadMainSettings(store, kDir).startBlock, stored.toUInt());
  }
}

TEST(MainSettingsTable, AnUnknownFormatIndexReadsAsHexBinary) {
  for (const QString stored : {"6", "-3", "1000"}) {
    MemorySettingsStore store;
    Put(store, section::kSettings, key::kDataFormat, stored);
    EXPECT_EQ(ReadMainSettings(store, kDir).dataFormat, 0) << stored.toStdString();
  }
}

TEST(MainSettingsTable, SavingWritesTheWindowsValues) {
  MemorySettingsStore store;
  MainSettings s;
  s.beepTimeMs = 999;  // belongs to the settings dialog
  s.cycleTimeMs = 400;
  s.writeText = "ä, \"b\"";
  s.autoIncrement = 0;
  s.leadingZeros = 1;
  s.extraText = 1;
  s.dataFormat = 3;
  s.startBlock = 12;
  s.byteCount = 9;
  s.writeLogFile = "/not/saved";
  s.logWrites = 1;
  s.logReads = 1;
  SaveMainSettings(store, s);
  EXPECT_EQ(Raw(store, section::kSettings, key::kCycleTime), "400");
  EXPECT_EQ(Raw(store, section::kSettings, key::kLastData), "ä, \"b\"");
  EXPECT_EQ(Raw(store, section::kSettings, key::kAutoIncrement), "0");
  EXPECT_EQ(Raw(store, section::kSettings, key::kLeadingZeros), "1");
  EXPECT_EQ(Raw(store, section::kSettings, key::kExtraText), "1");
  EXPECT_EQ(Raw(store, section::kSettings, key::kDataFormat), "3");
  EXPECT_EQ(Raw(store, section::kSettings, key::kStartBlock), "12");
  EXPECT_EQ(Raw(store, section::kSettings, key::kByteCount), "9");
  EXPECT_EQ(Raw(store, section::kProtocol, key::kLogWrites), "1");
  EXPECT_EQ(Raw(store, section::kProtocol, key::kLogReads), "1");
  EXPECT_EQ(store.size(), 10u) << "beep time and log names are saved by their own windows";
}

TEST(QtSettingsStore, KeepsItsFileUnderTheOrganisationAndApplicationName) {
  QTemporaryDir home;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
  {
    QtSettingsStore store;
    EXPECT_EQ(store.FileName(), home.path() + "/Orv Applikationen/KX-M71 Vantrel.conf");
    store.SetInt("Settings", "Byteanzahl", 12);
    store.SetString("Settings", "LastData", "a, b; \"c\" = ä");
  }
  QtSettingsStore again;
  EXPECT_EQ(again.GetInt("Settings", "Byteanzahl", -1), 12);
  EXPECT_EQ(again.GetString("Settings", "LastData", "x"), "a, b; \"c\" = ä");
  EXPECT_EQ(again.GetInt("Settings", "Fehlt", -1), -1);
  EXPECT_EQ(again.GetString("Settings", "Fehlt", "x"), "x");
}

TEST(QtSettingsStore, HandEditedValuesThatAreNoNumbersReadAsAbsent) {
  QTemporaryDir dir;
  const QString file = dir.filePath("edited.conf");
  {
    QFile text(file);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(
        "[Settings]\nByteanzahl=abc\nStartblock=99999999999\nZyklusZeit= 300 \n"
        "BeepTime=1, 2\nLastData=1, 2\n");
  }
  QtSettingsStore store(file);
  EXPECT_EQ(store.GetInt("Settings", "Byteanzahl", -1), -1);
  EXPECT_EQ(store.GetInt("Settings", "Startblock", -1), -1);
  EXPECT_EQ(store.GetInt("Settings", "ZyklusZeit", -1), 300);
  EXPECT_EQ(store.GetInt("Settings", "BeepTime", -1), -1);
  EXPECT_EQ(store.GetString("Settings", "LastData", "x"), "1, 2");
}

}  // namespace
}  // namespace kx::app::testing
