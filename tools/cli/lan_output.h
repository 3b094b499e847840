// How the LAN commands show readers and their settings, in text and as JSON fields.
#pragma once

#include <string>

#include "json.h"
#include "lan_texts.h"

namespace kx::cli {

// One line per search entry; an unconfirmed device is marked.
std::string LanEntryLine(const LanEntry& entry);
void AddLanEntry(JsonObject& json, const LanEntry& entry);

// "mode", "dhcp_name", "address", "port", "mask", "gateway" in aligned lines, after the reader.
std::string LanSettingsLines(const std::string& reader, const LanSettings& settings);
void AddLanSettings(JsonObject& json, const LanSettings& settings);

// The fields in which two settings differ, e.g. "gateway 198.18.0.1 instead of 198.18.0.254".
std::string LanDifferences(const LanSettings& wanted, const LanSettings& found);

}  // namespace kx::cli
