#include "kxemu/hid_reports.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace kxemu {

OutputReport ParseOutputReport(const uint8_t* report, size_t size, int outputLength) {
  OutputReport parsed;
  if (outputLength < 3 || size != static_cast<size_t>(outputLength) || report[0] != 0)
    return parsed;
  if (size >= 4 && report[1] == kHidControlCode && report[2] == kHidControlSubcode) {
    parsed.kind = OutputReport::Kind::kControl;
    parsed.controlValue = report[3];
    return parsed;
  }
  // The firmware takes what fits, whatever the count byte claims.
  const size_t count = std::min<size_t>(report[1], size - 2);
  parsed.kind = OutputReport::Kind::kData;
  parsed.data.assign(report + 2, report + 2 + count);
  return parsed;
}

std::vector<Bytes> InputReports(const Bytes& data, int inputLength, int countExcess) {
  std::vector<Bytes> reports;
  const size_t piece = static_cast<size_t>(std::max(inputLength - 2, 1));
  for (size_t at = 0; at < data.size(); at += piece) {
    const size_t n = std::min(piece, data.size() - at);
    Bytes report(static_cast<size_t>(std::max(inputLength - 1, 1)), 0);
    report[0] = static_cast<uint8_t>(n + static_cast<size_t>(countExcess));
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(at), n, report.begin() + 1);
    reports.push_back(std::move(report));
  }
  return reports;
}

Bytes ReaderReportDescriptor(int inputLength, int outputLength) {
  const auto count = [](int length) { return static_cast<uint8_t>(length - 1); };
  // clang-format off
  return {
      0x06, 0x00, 0xFF,  // usage page (vendor defined 0xFF00)
      0x09, 0x01,        // usage 1
      0xA1, 0x01,        // collection (application)
      0x15, 0x00,        //   logical minimum 0
      0x26, 0xFF, 0x00,  //   logical maximum 255
      0x75, 0x08,        //   report size 8
      0x95, count(inputLength),
      0x09, 0x01,        //   usage 1
      0x81, 0x02,        //   input (data, variable, absolute)
      0x95, count(outputLength),
      0x09, 0x01,        //   usage 1
      0x91, 0x02,        //   output (data, variable, absolute)
      0xC0,              // end collection
  };
  // clang-format on
}

std::string FormatHidIdentity(const HidIdentity& identity) {
  char ids[64];
  std::snprintf(ids, sizeof ids, "vendor=%04X\nproduct=%04X\ninput=%d\noutput=%d\n",
                identity.vendorId, identity.productId, identity.inputLength, identity.outputLength);
  std::string text = ids;
  if (identity.serial)
    text += "serial=" + *identity.serial + "\n";
  return text;
}

std::optional<HidIdentity> ParseHidIdentity(const std::string& text) {
  HidIdentity identity;
  std::istringstream in(text);
  std::string line;
  int found = 0;
  while (std::getline(in, line)) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos)
      continue;
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    try {
      if (key == "vendor") {
        identity.vendorId = static_cast<uint16_t>(std::stoul(value, nullptr, 16));
        ++found;
      } else if (key == "product") {
        identity.productId = static_cast<uint16_t>(std::stoul(value, nullptr, 16));
        ++found;
      } else if (key == "input") {
        identity.inputLength = std::stoi(value);
        ++found;
      } else if (key == "output") {
        identity.outputLength = std::stoi(value);
        ++found;
      } else if (key == "serial") {
        identity.serial = value;
      }
    } catch (const std::exception&) {
      return std::nullopt;
    }
  }
  if (found != 4)
    return std::nullopt;
  return identity;
}

}  // namespace kxemu
