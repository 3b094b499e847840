#include "flows/hdx_plus_config.h"

#include "kxlf.h"

namespace kx::flows {

namespace {
constexpr int kFieldMask = 7;
constexpr int kHighQBit = 8;
constexpr int kDischargeBit = 16;
constexpr int kRfuShift = 5;
}  // namespace

HdxPlusConfig DecodeHdxPlusConfig(uint8_t byte) {
  return HdxPlusConfig{byte & kFieldMask, (byte & kHighQBit) != 0 ? 1 : 0,
                       (byte & kDischargeBit) != 0 ? 1 : 0, byte >> kRfuShift};
}

uint8_t EncodeHdxPlusConfig(const HdxPlusConfig& config) {
  int byte = config.lifeCycle & kFieldMask;
  if (config.qFactor != 0)
    byte += kHighQBit;
  if (config.discharge != 0)
    byte += kDischargeBit;
  byte += (config.rfu & kFieldMask) << kRfuShift;
  return static_cast<uint8_t>(byte);
}

std::optional<uint8_t> ReadHdxPlusConfig(int handle) {
  int value = 0;
  if (KxLfReadChipConfig(handle, kHdxPlusChipCode, &value) != 0)
    return std::nullopt;
  return static_cast<uint8_t>(value);
}

bool WriteHdxPlusConfig(int handle, uint8_t byte) {
  return KxLfWriteChipConfig(handle, kHdxPlusChipCode, byte) == 0;
}

}  // namespace kx::flows
