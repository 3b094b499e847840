// The settings table: defaults written back on the first start, values that a hand-edited store
// can hold, what the window saves, and the QSettings store itself.
#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <functional>
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

// What a hand-edited store can hold: the value the window works with, and what the store holds
// afterwards (the default written back, or the value left as it was).
TEST(MainSettingsTable, StoredValuesAreTakenOrReplacedByTheirDefault) {
  struct Case {
    const char* section;
    const char* key;
    QString stored;
    std::function<QString(const MainSettings&)> used;
    QString usedValue;
    QString storedAfter;
  };
  const auto number = [](int MainSettings::*member) {
    return [member](const MainSettings& s) { return QString::number(s.*member); };
  };
  const auto startBlock = [](const MainSettings& s) { return QString::number(s.startBlock); };
  const auto writeText = [](const MainSettings& s) { return s.writeText; };
  const auto writeLog = [](const MainSettings& s) { return s.writeLogFile; };
  const char* settings = section::kSettings;
  const Case cases[] = {
      {settings, key::kBeepTime, "-50", number(&MainSettings::beepTimeMs), "-50", "-50"},
      {settings, key::kBeepTime, "-1", number(&MainSettings::beepTimeMs), "300", "300"},
      {settings, key::kCycleTime, "2000000000", number(&MainSettings::cycleTimeMs), "2000000000",
       "2000000000"},
      {settings, key::kCycleTime, "schnell", number(&MainSettings::cycleTimeMs), "250", "250"},
      {settings, key::kLastData, "ID-0099-X", writeText, "ID-0099-X", "ID-0099-X"},
      {settings, key::kLastData, "", writeText, "0", "0"},
      {settings, key::kAutoIncrement, "255", number(&MainSettings::autoIncrement), "1", "1"},
      {settings, key::kAutoIncrement, "-3", number(&MainSettings::autoIncrement), "-3", "-3"},
      {settings, key::kLeadingZeros, "99999999999", number(&MainSettings::leadingZeros), "0", "0"},
      {settings, key::kExtraText, "1.5", number(&MainSettings::extraText), "0", "0"},
      {settings, key::kDataFormat, "5", number(&MainSettings::dataFormat), "5", "5"},
      {settings, key::kDataFormat, "-1", number(&MainSettings::dataFormat), "0", "0"},
      // The window has no radio for another index.
      {settings, key::kDataFormat, "9", number(&MainSettings::dataFormat), "0", "9"},
      {settings, key::kDataFormat, "-3", number(&MainSettings::dataFormat), "0", "-3"},
      {settings, key::kByteCount, "-7", number(&MainSettings::byteCount), "-7", "-7"},
      {settings, key::kByteCount, "", number(&MainSettings::byteCount), "4", "4"},
      {settings, key::kStartBlock, "17", startBlock, "17", "17"},
      {settings, key::kStartBlock, "0", startBlock, "1", "1"},
      {settings, key::kStartBlock, "18", startBlock, "1", "1"},
      {settings, key::kStartBlock, "-5", startBlock, "1", "1"},
      {settings, key::kStartBlock, "4000000000", startBlock, "1", "1"},
      {section::kProtocol, key::kWriteLogName, "", writeLog, "/opt/vantrel/Protokoll_S.txt",
       "/opt/vantrel/Protokoll_S.txt"},
      {section::kProtocol, key::kLogReads, " 1 ", number(&MainSettings::logReads), "1", " 1 "},
      {section::kProtocol, key::kLogReads, "ja", number(&MainSettings::logReads), "0", "0"},
  };
  for (const Case& c : cases) {
    MemorySettingsStore store;
    Put(store, c.section, c.key, c.stored);
    const MainSettings s = ReadMainSettings(store, kDir);
    const std::string trace = std::string(c.key) + " '" + c.stored.toStdString() + "'";
    EXPECT_EQ(c.used(s), c.usedValue) << trace;
    EXPECT_EQ(Raw(store, c.section, c.key), c.storedAfter) << trace;
  }
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
