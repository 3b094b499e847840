// What kx-cli takes from the program's settings store: the stored interface and the beep. The
// store is the program's INI file; kx-cli only reads it and never creates or changes it.
#pragma once

#include <string>
#include <string_view>

namespace kx::cli {

struct StoredSettings {
  std::string portName = "COM1";  // "Port"/"Name"; the interface dialog's choice when empty
  int deviceAddress = 1;          // "Port"/"Adresse"
  int baudCode = 19200;           // "Port"/"Baudrate": baud rate plus serial format 0..3
  bool ethernetActive = false;    // "Port"/"EthernetAktiv": LAN readers are listed
  int beepTimeMs = 300;           // "Settings"/"BeepTime": 0 is silent
};

// $XDG_CONFIG_HOME (or ~/.config) + "/Orv Applikationen/KX-M71 Vantrel.conf".
std::string SettingsFilePath();

// A missing or unreadable file gives the program's defaults, as on its first start.
StoredSettings ReadStoredSettings(const std::string& path);
StoredSettings ParseStoredSettings(std::string_view iniText);

// A name as the interface list shows it, without its "USB: ", "LAN: " or "Bluetooth: ".
std::string_view WithoutListPrefix(std::string_view name);

// The name the program opens: the stored name without the list's prefix, then ":" and the device
// address.
std::string ConnectionName(const StoredSettings& settings);

// A value as the settings store writes it: quoted where needed, with backslash escapes
// (\\ \" \n \t \xHHHH and the like). Unquoting is lenient: unknown escapes keep the character.
std::string UnquoteValue(std::string_view raw);
std::string QuoteValue(std::string_view value);

}  // namespace kx::cli
