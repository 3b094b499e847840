#include "main_settings.h"

#include "convert/data_format.h"
#include "settings_store.h"

namespace kx::app {

namespace {

const QString kSettingsSection = QString::fromUtf8(section::kSettings);
const QString kProtocolSection = QString::fromUtf8(section::kProtocol);

constexpr int kAbsent = -1;
// The check box settings mark a missing value with 255, as their stores always have.
constexpr int kAbsentSwitch = 255;
constexpr uint32_t kHighestStoredStartBlock = 17;

// The stored value, or the default written back when the key reads as the sentinel.
int ReadInt(SettingsStore& store, const QString& section, const char* key, int sentinel,
            int fallback) {
  const QString name = QString::fromUtf8(key);
  const int value = store.GetInt(section, name, sentinel);
  if (value != sentinel)
    return value;
  store.SetInt(section, name, fallback);
  return fallback;
}

QString ReadText(SettingsStore& store, const QString& section, const char* key,
                 const QString& fallback) {
  const QString name = QString::fromUtf8(key);
  const QString value = store.GetString(section, name, QString());
  if (!value.isEmpty())
    return value;
  store.SetString(section, name, fallback);
  return fallback;
}

uint32_t ReadStartBlock(SettingsStore& store) {
  const QString name = QString::fromUtf8(key::kStartBlock);
  // Negative values count as the large unsigned numbers they are.
  const auto value = static_cast<uint32_t>(store.GetInt(kSettingsSection, name, kAbsent));
  if (value != 0 && value <= kHighestStoredStartBlock)
    return value;
  const MainSettings defaults;
  store.SetInt(kSettingsSection, name, static_cast<int>(defaults.startBlock));
  return defaults.startBlock;
}

}  // namespace

MainSettings ReadMainSettings(SettingsStore& store, const QString& logDirectory) {
  const MainSettings defaults;
  MainSettings s;
  ReadBeepAndCycleTimes(store, s);
  s.writeText = ReadText(store, kSettingsSection, key::kLastData, defaults.writeText);
  s.autoIncrement =
      ReadInt(store, kSettingsSection, key::kAutoIncrement, kAbsentSwitch, defaults.autoIncrement);
  s.leadingZeros =
      ReadInt(store, kSettingsSection, key::kLeadingZeros, kAbsentSwitch, defaults.leadingZeros);
  s.extraText =
      ReadInt(store, kSettingsSection, key::kExtraText, kAbsentSwitch, defaults.extraText);
  s.dataFormat = ReadInt(store, kSettingsSection, key::kDataFormat, kAbsent, defaults.dataFormat);
  // The window has no radio for another index; it would leave the format unselected.
  if (!convert::DataFormatFromIndex(s.dataFormat))
    s.dataFormat = defaults.dataFormat;
  s.startBlock = ReadStartBlock(store);
  s.byteCount = ReadInt(store, kSettingsSection, key::kByteCount, kAbsent, defaults.byteCount);

  s.writeLogFile = ReadText(store, kProtocolSection, key::kWriteLogName,
                            logDirectory + QString::fromUtf8(kDefaultWriteLog));
  s.readLogFile = ReadText(store, kProtocolSection, key::kReadLogName,
                           logDirectory + QString::fromUtf8(kDefaultReadLog));
  s.logWrites = ReadInt(store, kProtocolSection, key::kLogWrites, kAbsent, defaults.logWrites);
  s.logReads = ReadInt(store, kProtocolSection, key::kLogReads, kAbsent, defaults.logReads);
  return s;
}

void ReadBeepAndCycleTimes(SettingsStore& store, MainSettings& s) {
  const MainSettings defaults;
  s.beepTimeMs = ReadInt(store, kSettingsSection, key::kBeepTime, kAbsent, defaults.beepTimeMs);
  s.cycleTimeMs = ReadInt(store, kSettingsSection, key::kCycleTime, kAbsent, defaults.cycleTimeMs);
}

void SaveMainSettings(SettingsStore& store, const MainSettings& s) {
  const auto set = [&store](const QString& section, const char* key, int value) {
    store.SetInt(section, QString::fromUtf8(key), value);
  };
  set(kSettingsSection, key::kCycleTime, s.cycleTimeMs);
  store.SetString(kSettingsSection, QString::fromUtf8(key::kLastData), s.writeText);
  set(kSettingsSection, key::kAutoIncrement, s.autoIncrement);
  set(kSettingsSection, key::kLeadingZeros, s.leadingZeros);
  set(kSettingsSection, key::kExtraText, s.extraText);
  set(kSettingsSection, key::kByteCount, s.byteCount);
  set(kSettingsSection, key::kStartBlock, static_cast<int>(s.startBlock));
  set(kSettingsSection, key::kDataFormat, s.dataFormat);
  set(kProtocolSection, key::kLogWrites, s.logWrites);
  set(kProtocolSection, key::kLogReads, s.logReads);
}

int ReadLanguage(const SettingsStore& store) {
  return store.GetInt(kSettingsSection, QString::fromUtf8(key::kLanguage), 0);
}

void WriteLanguage(SettingsStore& store, int language) {
  store.SetInt(kSettingsSection, QString::fromUtf8(key::kLanguage), language);
}

int ReadUpdateCheck(SettingsStore& store) {
  constexpr int kAbsent = -1;
  const QString section = QString::fromUtf8(section::kVersion);
  const QString key = QString::fromUtf8(key::kUpdateCheck);
  const int stored = store.GetInt(section, key, kAbsent);
  if (stored == kAbsent && store.GetInt(section, key, 0) == 0) {
    store.SetInt(section, key, 1);
    return 1;
  }
  return stored != 0 ? 1 : 0;
}

}  // namespace kx::app
