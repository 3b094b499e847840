// ports: the interface dialog's list.
#include <algorithm>
#include <string>
#include <vector>

#include "commands.h"
#include "kxlf.h"
#include "string_list.h"

namespace kx::cli {

namespace {

struct Entry {
  const char* kind;
  std::string text;  // as the dialog lists it
  std::string port;  // what --port and the SDK take
};

}  // namespace

int RunPorts(const Context& context) {
  std::vector<Entry> entries;
  for (std::string com : ReadStringList(KxLfListComPorts)) {
    if (com.rfind("\\\\.\\", 0) == 0)
      com.erase(0, 4);
    // The SDK ignores a description from " [" on, and the kernel name that follows a stable
    // link in " (...)"; the bare name is what a script wants.
    entries.push_back({"com", com, com.substr(0, std::min(com.find(" ["), com.find(" (")))});
  }
  for (const std::string& usb : ReadStringList(KxLfListUsbReaders))
    entries.push_back({"usb", "USB: " + usb, usb});
  if (context.stored.ethernetActive) {
    for (const std::string& lan : ReadStringList(KxLfFindLanReaders))
      entries.push_back({"lan", "LAN: " + lan, lan});
  }
  for (const Entry& entry : entries) {
    JsonObject json = context.out.Begin();
    json.Add("kind", entry.kind).Add("entry", entry.text).Add("port", entry.port);
    context.out.Result(json, entry.text);
  }
  if (entries.empty())
    context.out.Progress("no serial ports or USB readers found");
  return kExitSuccess;
}

}  // namespace kx::cli
