// The udev rules of the program package name exactly the readers of the library's id table, each
// with the device nodes that its kind needs. KX_UDEV_RULES names the rules file to check (the
// installed one, in the package check); the default is the one the build wrote.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <tuple>

#include "transport/usb_reader_ids.h"

namespace {

using kxlf::UsbReaderKind;

struct Rule {
  std::string subsystem;
  bool uaccess = false;
  bool modemManagerIgnores = false;
};

using Ids = std::pair<std::string, std::string>;  // vendor, product as udev compares them

std::string RulesFile() {
  const char* file = std::getenv("KX_UDEV_RULES");
  return file != nullptr ? file : KX_BUILT_UDEV_RULES;
}

std::multimap<Ids, Rule> ReadRules(const std::string& file) {
  std::ifstream in(file);
  EXPECT_TRUE(in) << file;
  static const std::regex vendor(R"re(ATTRS\{idVendor\}=="([0-9a-f]{4})")re");
  static const std::regex product(R"re(ATTRS\{idProduct\}=="([0-9a-f]{4})")re");
  static const std::regex subsystem(R"re(SUBSYSTEM=="([a-z]+)")re");
  std::multimap<Ids, Rule> rules;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#')
      continue;
    std::smatch v, p, s;
    EXPECT_TRUE(std::regex_search(line, v, vendor) && std::regex_search(line, p, product) &&
                std::regex_search(line, s, subsystem))
        << "a rule for no reader: " << line;
    if (v.empty() || p.empty() || s.empty())
      continue;
    Rule rule{s[1], line.find(R"(TAG+="uaccess")") != std::string::npos,
              line.find(R"(ENV{ID_MM_DEVICE_IGNORE}="1")") != std::string::npos};
    rules.emplace(Ids{v[1], p[1]}, rule);
  }
  return rules;
}

std::string Hex(uint16_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", id);
  return text;
}

TEST(UdevRules, NameExactlyTheReadersOfTheIdTable) {
  const std::multimap<Ids, Rule> rules = ReadRules(RulesFile());
  std::set<Ids> inTable;
  for (const kxlf::UsbReaderId& id : kxlf::kUsbReaderIds) {
    const Ids ids{Hex(id.vendorId), Hex(id.productId)};
    inTable.insert(ids);
    std::set<std::string> subsystems;
    for (auto [it, end] = rules.equal_range(ids); it != end; ++it) {
      subsystems.insert(it->second.subsystem);
      EXPECT_TRUE(it->second.uaccess) << ids.first << ":" << ids.second;
      if (it->second.subsystem != "hidraw") {
        EXPECT_TRUE(it->second.modemManagerIgnores) << ids.first << ":" << ids.second;
      }
    }
    // The USB device for the D2XX library and libusb; the node that the SDK opens.
    const std::set<std::string> expected = {"usb",
                                            id.kind == UsbReaderKind::kHid ? "hidraw" : "tty"};
    EXPECT_EQ(subsystems, expected) << ids.first << ":" << ids.second;
  }
  for (const auto& [ids, rule] : rules)
    EXPECT_TRUE(inTable.count(ids)) << "not in the table: " << ids.first << ":" << ids.second;
}

}  // namespace
