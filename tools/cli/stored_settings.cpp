#include "stored_settings.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "convert/byte_text.h"
#include "ini/ini_ex.h"
#include "whole_number.h"

namespace kx::cli {

namespace {

constexpr int kBeepSentinel = -1;

void AppendCodePoint(std::string& text, unsigned code) {
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

char ControlEscape(char c) {
  switch (c) {
    case 'a':
      return '\a';
    case 'b':
      return '\b';
    case 'f':
      return '\f';
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 't':
      return '\t';
    case 'v':
      return '\v';
    default:
      return c;
  }
}

}  // namespace

std::string SettingsFilePath() {
  std::string base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "") + "/.config";
  }
  return base + "/Orv Applikationen/KX-M71 Vantrel.conf";
}

std::string UnquoteValue(std::string_view raw) {
  std::string text;
  bool quoted = false;
  size_t end = raw.size();
  while (end > 0 && (raw[end - 1] == ' ' || raw[end - 1] == '\t'))
    --end;
  size_t i = 0;
  while (i < end && (raw[i] == ' ' || raw[i] == '\t'))
    ++i;
  // A stored text that begins with "@" is written with a second one in front.
  if (end - i >= 2 && raw[i] == '@' && raw[i + 1] == '@')
    ++i;
  for (; i < end; ++i) {
    const char c = raw[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '\\' && i + 1 < end) {
      const char next = raw[++i];
      if (next == 'x') {
        unsigned code = 0;
        int digits = 0;
        while (digits < 4 && i + 1 < end && convert::IsHexDigit(raw[i + 1])) {
          code = code * 16 + convert::HexDigitValue(raw[++i]);
          ++digits;
        }
        AppendCodePoint(text, code);
      } else {
        text += ControlEscape(next);
      }
    } else {
      text += c;
    }
  }
  return text;
}

std::string QuoteValue(std::string_view value) {
  std::string text = "\"";
  for (char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      // Always four digits, so that a hex digit after the escape cannot join it.
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%04x", byte);
      text += escape;
    } else {
      text += c;
    }
  }
  return text + "\"";
}

StoredSettings ParseStoredSettings(std::string_view iniText) {
  ini::CIniEx ini;
  ini.ParseText(iniText);
  StoredSettings settings;
  const std::string name = UnquoteValue(ini.GetString("Port", "Name"));
  if (!name.empty())
    settings.portName = name;
  const auto number = [&](std::string_view section, std::string_view key) {
    return ParseWholeNumber<int>(UnquoteValue(ini.GetString(section, key)));
  };
  if (const auto address = number("Port", "Adresse"))
    settings.deviceAddress = *address;
  if (const auto baud = number("Port", "Baudrate"))
    settings.baudCode = *baud;
  if (const auto ethernet = number("Port", "EthernetAktiv"))
    settings.ethernetActive = *ethernet != 0;
  if (const auto beep = number("Settings", "BeepTime"); beep && *beep != kBeepSentinel)
    settings.beepTimeMs = *beep;
  return settings;
}

StoredSettings ReadStoredSettings(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return {};
  std::ostringstream content;
  content << file.rdbuf();
  return ParseStoredSettings(content.str());
}

std::string_view WithoutListPrefix(std::string_view name) {
  for (std::string_view prefix : {"USB: ", "LAN: ", "Bluetooth: "}) {
    if (name.substr(0, prefix.size()) == prefix)
      return name.substr(prefix.size());
  }
  return name;
}

std::string ConnectionName(const StoredSettings& settings) {
  return std::string(WithoutListPrefix(settings.portName)) + ":" +
         std::to_string(settings.deviceAddress);
}

}  // namespace kx::cli
