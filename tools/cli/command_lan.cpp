// lan: the readers on the local networks and their network settings, as the IP list and the LAN
// configuration dialogs show and change them.
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "commands.h"
#include "kxlf.h"
#include "lan_output.h"
#include "lan_texts.h"
#include "string_list.h"
#include "whole_number.h"

namespace kx::cli {

namespace {

using Clock = std::chrono::steady_clock;

// The configuration dialog probes every 100 ms for up to 25 s after a write.
constexpr std::chrono::milliseconds kProbeInterval{100};
constexpr int kComeBackWaitMs = 25000;
constexpr char kWaitVariable[] = "KX_CLI_LAN_WAIT_MS";
// Room for every text of the configuration call ("[%.8s%.8s]-%d" needs 25 bytes).
constexpr size_t kConfigTextSize = 64;

Problem NoModuleProblem(const std::string& reader) {
  return {kExitNoReader, "no reader's network module answers as '" + reader +
                             "'. Check the name with 'kx-cli lan list' and that the reader is "
                             "switched on and on this network."};
}

std::optional<LanSettings> LoadSettings(const std::string& reader) {
  char name[kConfigTextSize] = {};
  char address[kConfigTextSize] = {};
  char mask[kConfigTextSize] = {};
  char gateway[kConfigTextSize] = {};
  if (KxLfGetNetworkConfig(reader.c_str(), name, address, mask, gateway) != 0)
    return std::nullopt;
  return SettingsFromConfigTexts(name, address, mask, gateway);
}

// The wait after a write: KX_CLI_LAN_WAIT_MS may shorten it, never lengthen it.
std::optional<int> ComeBackWaitMs() {
  const char* text = std::getenv(kWaitVariable);
  if (text == nullptr)
    return kComeBackWaitMs;
  const std::optional<int> ms = ParseWholeNumber<int>(text);
  if (!ms || *ms < 0 || *ms > kComeBackWaitMs)
    return std::nullopt;
  return ms;
}

// Probes `name` every 100 ms until the reader answers; the time it took, nothing when it did
// not answer within `waitMs`.
std::optional<long> WaitForReader(const std::string& name, int waitMs) {
  const Clock::time_point start = Clock::now();
  const Clock::time_point end = start + std::chrono::milliseconds(waitMs);
  for (;;) {
    if (KxLfProbeLanReader(name.c_str()) >= 1) {
      return static_cast<long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
    }
    if (Clock::now() >= end)
      return std::nullopt;
    std::this_thread::sleep_for(kProbeInterval);
  }
}

std::string Seconds(long ms) {
  return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) + " s";
}

int List(const Context& context) {
  Output& out = context.out;
  out.Progress("searching the local networks for readers");
  const std::vector<LanEntry> entries =
      MergeLanLists(ReadStringList(KxLfFindLanReaders), ReadStringList(KxLfFindLanDevices));
  int shown = 0;
  for (const LanEntry& entry : entries) {
    if (!entry.confirmed && !context.options.all)
      continue;
    JsonObject json = out.Begin();
    json.Add("action", "list");
    AddLanEntry(json, entry);
    out.Result(json, LanEntryLine(entry));
    ++shown;
  }
  if (shown == 0) {
    out.Progress(entries.empty()
                     ? "no devices found: check the network and the firewall (UDP port 30718)"
                     : "no KX readers found; 'kx-cli lan list --all' shows the other devices");
  }
  return kExitSuccess;
}

int Show(const Context& context) {
  const std::string& reader = *context.options.reader;
  const std::optional<LanSettings> settings = LoadSettings(reader);
  if (!settings)
    return context.out.Fail(NoModuleProblem(reader));
  JsonObject json = context.out.Begin();
  json.Add("action", "show").Add("reader", reader);
  AddLanSettings(json, *settings);
  context.out.Result(json, LanSettingsLines(reader, *settings));
  return kExitSuccess;
}

int Set(const Context& context) {
  const Options& options = context.options;
  Output& out = context.out;
  const std::string& reader = *options.reader;
  const std::optional<int> waitMs = ComeBackWaitMs();
  if (!waitMs) {
    return out.Fail(
        Problem{kExitUsage, std::string(kWaitVariable) + " wants milliseconds from 0 to 25000"});
  }
  const std::optional<LanSettings> current = LoadSettings(reader);
  if (!current)
    return out.Fail(NoModuleProblem(reader));
  const ChangedSettings changed = ApplyChange(
      *current,
      LanChange{options.dhcpName, options.address, options.tcpPort, options.mask, options.gateway});
  if (!changed.error.empty())
    return out.Fail(Problem{kExitUsage, changed.error});
  const LanSettings& wanted = changed.settings;
  const std::string newName = AddressText(wanted);

  out.Progress("writing the settings to " + reader);
  const int result = KxLfSetNetworkConfig(reader.c_str(), newName.c_str(), wanted.mask.c_str(),
                                          wanted.gateway.c_str());
  if (result != 0) {
    return out.Fail(Problem{kExitReaderError,
                            "the reader did not take the new settings (IP address, subnet mask or "
                            "gateway could not be set, code " +
                                std::to_string(result) + "). 'kx-cli lan show " + reader +
                                "' shows what it has now."});
  }
  out.Progress("waiting up to " + Seconds(*waitMs) + " for the reader as " + newName);
  const std::optional<long> answeredAfter = WaitForReader(newName, *waitMs);
  if (!answeredAfter) {
    return out.Fail(Problem{
        kExitNoReader, "the settings were written, but the reader does not answer as " + newName +
                           " within " + Seconds(*waitMs) +
                           ". Check that the address, mask and gateway suit its network, and "
                           "look for it with 'kx-cli lan list --all'."});
  }
  // What the reader reports under its new name is the outcome, not what was asked for.
  const std::optional<LanSettings> found = LoadSettings(newName);
  if (!found) {
    return out.Fail(Problem{kExitNoReader, "the reader answers as " + newName +
                                               ", but its settings cannot be read back. "
                                               "Try 'kx-cli lan show " +
                                               newName + "'."});
  }
  if (*found != wanted) {
    return out.Fail(Problem{kExitVerifyFailed, "the reader answers as " + newName +
                                                   " but reports other settings than were "
                                                   "written: " +
                                                   LanDifferences(wanted, *found) + "."});
  }
  JsonObject json = out.Begin();
  json.Add("action", "set")
      .Add("previous", reader)
      .Add("reader", newName)
      .Add("changed", wanted != *current);
  AddLanSettings(json, *found);
  json.Add("answered_after_ms", static_cast<int64_t>(*answeredAfter));
  const std::string headline = wanted != *current
                                   ? "settings written; the reader answers as " + newName +
                                         " after " + Seconds(*answeredAfter)
                                   : "the reader had these settings already";
  // Like write's success line, the report of a write is left out with --quiet.
  if (!out.Quiet() || out.Json())
    out.Result(json, headline + "\n" + LanSettingsLines(newName, *found));
  return kExitSuccess;
}

}  // namespace

int RunLan(const Context& context) {
  const std::string& action = context.options.action;
  if (action == "list")
    return List(context);
  if (action == "show")
    return Show(context);
  return Set(context);
}

}  // namespace kx::cli
