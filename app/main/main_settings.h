// The main window's persisted settings: their sections and keys (the "Port" keys are shared with
// the interface dialog, which writes them), the defaults that replace a missing or unusable
// value, and what the window writes back.
#pragma once

#include <QString>
#include <cstdint>

namespace kx::app {

class SettingsStore;

namespace section {
inline constexpr char kSettings[] = "Settings";
inline constexpr char kProtocol[] = "Protokoll";
inline constexpr char kPort[] = "Port";
inline constexpr char kVersion[] = "Version";
}  // namespace section

namespace key {
inline constexpr char kBeepTime[] = "BeepTime";
inline constexpr char kCycleTime[] = "ZyklusZeit";
inline constexpr char kLastData[] = "LastData";
inline constexpr char kAutoIncrement[] = "AutoIncrement";
inline constexpr char kLeadingZeros[] = "AutoNull";
inline constexpr char kExtraText[] = "PrefixZulassen";
inline constexpr char kDataFormat[] = "Datenformat";
inline constexpr char kStartBlock[] = "Startblock";
inline constexpr char kByteCount[] = "Byteanzahl";
inline constexpr char kLanguage[] = "Sprache";
inline constexpr char kWriteLogName[] = "LogFileNameSchreiben";
inline constexpr char kReadLogName[] = "LogFileNameLesen";
inline constexpr char kLogWrites[] = "LogFileEnableSchreiben";
inline constexpr char kLogReads[] = "LogFileEnableLesen";
inline constexpr char kPortName[] = "Name";
inline constexpr char kBaudCode[] = "Baudrate";
inline constexpr char kTimeout[] = "Timeout";
inline constexpr char kEthernetActive[] = "EthernetAktiv";
inline constexpr char kDeviceAddress[] = "Adresse";
inline constexpr char kUpdateCheck[] = "Update";
}  // namespace key

// The interface until the operator chooses one, and the serial line and answer timeout of the
// main window's connection attempts when none are stored.
inline constexpr char kDefaultPortName[] = "COM1";
inline constexpr int kDefaultBaudCode = 19200;
inline constexpr int kDefaultConnectTimeoutMs = 500;

// File names of the two logs in the log directory (DefaultLogDirectory), until the operator
// chooses others.
inline constexpr char kDefaultWriteLog[] = "Protokoll_S.txt";
inline constexpr char kDefaultReadLog[] = "Protokoll_L.txt";

struct MainSettings {
  int beepTimeMs = 300;
  int cycleTimeMs = 250;
  QString writeText = "0";  // "LastData"
  int autoIncrement = 1;
  int leadingZeros = 0;
  int extraText = 0;
  int dataFormat = 0;  // always 0..5
  uint32_t startBlock = 1;
  int byteCount = 4;
  QString writeLogFile;
  QString readLogFile;
  int logWrites = 0;
  int logReads = 0;
};

// Reads every setting of the main window. A missing value, and a value that is no whole number
// where one is expected, takes its default, which is written back at once; so does a start block
// of 0 or above 17. logDirectory ends with "/"; the default logs lie in it. Other values are
// taken as stored, except a data format outside 0..5, which is read as 0.
MainSettings ReadMainSettings(SettingsStore& store, const QString& logDirectory);

// Reads "BeepTime" and "ZyklusZeit" again, as the settings dialog may have changed them.
void ReadBeepAndCycleTimes(SettingsStore& store, MainSettings& settings);

// What the main window writes when it closes.
void SaveMainSettings(SettingsStore& store, const MainSettings& settings);

// The language of the user interface: 0 German, above 0 English; absent: 0.
int ReadLanguage(const SettingsStore& store);
void WriteLanguage(SettingsStore& store, int language);

// Whether the update check runs at start-up: 1 for any stored value but 0; absent: 1, written
// back at once. The About dialog's check box switches it.
int ReadUpdateCheck(SettingsStore& store);

}  // namespace kx::app
