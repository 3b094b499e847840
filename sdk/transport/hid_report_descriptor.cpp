#include "transport/hid_report_descriptor.h"

#include <algorithm>
#include <map>
#include <vector>

namespace kxlf {
namespace {

// Item tags (HID 1.11, 6.2.2): main items carry type 0, global items type 1.
constexpr uint8_t kMainInput = 0x8;
constexpr uint8_t kMainOutput = 0x9;
constexpr uint8_t kGlobalReportSize = 0x7;
constexpr uint8_t kGlobalReportId = 0x8;
constexpr uint8_t kGlobalReportCount = 0x9;
constexpr uint8_t kGlobalPush = 0xA;
constexpr uint8_t kGlobalPop = 0xB;
constexpr uint8_t kLongItemPrefix = 0xFE;
// Deeper nesting than this is no descriptor a device would carry.
constexpr size_t kMaxPushDepth = 16;

struct GlobalState {
  uint32_t reportSize = 0;
  uint32_t reportCount = 0;
  uint32_t reportId = 0;
};

int BytesWithId(uint64_t bits) {
  // Anything that does not fit an int is far beyond every limit anyway.
  const uint64_t bytes = (bits + 7) / 8 + 1;
  return static_cast<int>(std::min<uint64_t>(bytes, 1u << 20));
}

}  // namespace

std::optional<HidReportLengths> ParseReportDescriptor(const uint8_t* data, size_t size) {
  GlobalState state;
  std::vector<GlobalState> stack;
  std::map<uint32_t, uint64_t> inputBits;  // per report id
  std::map<uint32_t, uint64_t> outputBits;
  size_t at = 0;
  while (at < size) {
    const uint8_t prefix = data[at];
    if (prefix == kLongItemPrefix) {
      // Long item: size byte, tag byte, data; none is defined, so it is only skipped.
      if (at + 3 > size)
        return std::nullopt;
      const size_t length = data[at + 1];
      if (at + 3 + length > size)
        return std::nullopt;
      at += 3 + length;
      continue;
    }
    const size_t dataSize = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
    if (at + 1 + dataSize > size)
      return std::nullopt;
    uint32_t value = 0;
    for (size_t i = 0; i < dataSize; ++i)
      value |= static_cast<uint32_t>(data[at + 1 + i]) << (8 * i);
    const uint8_t type = (prefix >> 2) & 0x3;
    const uint8_t tag = prefix >> 4;
    const uint64_t bits = static_cast<uint64_t>(state.reportSize) * state.reportCount;
    if (type == 0 && tag == kMainInput) {
      inputBits[state.reportId] += bits;
    } else if (type == 0 && tag == kMainOutput) {
      outputBits[state.reportId] += bits;
    } else if (type == 1) {
      switch (tag) {
        case kGlobalReportSize:
          state.reportSize = value;
          break;
        case kGlobalReportCount:
          state.reportCount = value;
          break;
        case kGlobalReportId:
          state.reportId = value;
          break;
        case kGlobalPush:
          if (stack.size() == kMaxPushDepth)
            return std::nullopt;
          stack.push_back(state);
          break;
        case kGlobalPop:
          if (stack.empty())
            return std::nullopt;
          state = stack.back();
          stack.pop_back();
          break;
        default:
          break;
      }
    }
    at += 1 + dataSize;
  }
  const auto longest = [](const std::map<uint32_t, uint64_t>& reports) {
    uint64_t bits = 0;
    for (const auto& [id, total] : reports)
      bits = std::max(bits, total);
    return reports.empty() ? 0 : BytesWithId(bits);
  };
  return HidReportLengths{longest(inputBits), longest(outputBits)};
}

bool HidReportLengthsSupported(const HidReportLengths& lengths) {
  return lengths.input >= kMinHidInputReport && lengths.input <= kMaxHidInputReport &&
         lengths.output >= kMinHidOutputReport && lengths.output <= kMaxHidOutputReport;
}

std::string HidrawDescriptorFile(const std::string& devicePath, const std::string& root) {
  const std::string prefix = "/dev/";
  if (devicePath.compare(0, prefix.size(), prefix) != 0)
    return {};
  const std::string node = devicePath.substr(prefix.size());
  if (node.compare(0, 6, "hidraw") != 0 || node.size() == 6 ||
      node.find_first_not_of("0123456789", 6) != std::string::npos)
    return {};
  const std::string base = root.empty() || root.back() != '/' ? root + "/" : root;
  return base + "sys/class/hidraw/" + node + "/device/report_descriptor";
}

}  // namespace kxlf
