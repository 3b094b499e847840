#include "lan_output.h"

#include <vector>

namespace kx::cli {

namespace {

std::string ModeText(const LanSettings& settings) {
  return settings.dhcp ? "dhcp" : "fixed";
}

struct Field {
  const char* label;
  std::string value;
};

std::vector<Field> Fields(const LanSettings& settings) {
  return {{"mode", settings.dhcp ? "DHCP" : "fixed address"},
          {"dhcp name", settings.dhcpName},
          {"address", settings.dhcp ? "(from DHCP)" : settings.address},
          {"port", std::to_string(settings.port)},
          {"mask", settings.mask},
          {"gateway", settings.gateway}};
}

}  // namespace

std::string LanEntryLine(const LanEntry& entry) {
  return entry.confirmed ? entry.entry : entry.entry + "  (not confirmed as a KX reader)";
}

void AddLanEntry(JsonObject& json, const LanEntry& entry) {
  json.Add("entry", entry.entry)
      .Add("reader", entry.reader)
      .Add("confirmed", entry.confirmed)
      .Add("dhcp", !entry.dhcpName.empty())
      .Add("dhcp_name", entry.dhcpName)
      .Add("address", entry.address);
  if (entry.port)
    json.Add("port", *entry.port);
}

std::string LanSettingsLines(const std::string& reader, const LanSettings& settings) {
  std::string text = "reader     " + reader;
  for (const Field& field : Fields(settings)) {
    std::string label = field.label;
    label.resize(11, ' ');
    text += "\n" + label + field.value;
  }
  return text;
}

void AddLanSettings(JsonObject& json, const LanSettings& settings) {
  json.Add("mode", ModeText(settings))
      .Add("dhcp_name", settings.dhcpName)
      .Add("address", settings.address)
      .Add("port", settings.port)
      .Add("mask", settings.mask)
      .Add("gateway", settings.gateway);
}

std::string LanDifferences(const LanSettings& wanted, const LanSettings& found) {
  std::string text;
  const std::vector<Field> want = Fields(wanted);
  const std::vector<Field> have = Fields(found);
  for (size_t i = 0; i < want.size(); ++i) {
    if (want[i].value == have[i].value)
      continue;
    text += text.empty() ? "" : ", ";
    text +=
        std::string(want[i].label) + " '" + have[i].value + "' instead of '" + want[i].value + "'";
  }
  return text;
}

}  // namespace kx::cli
