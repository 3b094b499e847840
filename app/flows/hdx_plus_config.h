// The configuration byte of a TI HDX+ transponder (TMS37190): its fields, and reading and
// writing it through the SDK's chip functions with chip code 35.
#pragma once

#include <cstdint>
#include <optional>

namespace kx::flows {

inline constexpr int kHdxPlusChipCode = 35;
inline constexpr int kHighestLifeCycle = 7;

// Bits 0-2 life cycle, bit 3 Q factor (1 = HighQ), bit 4 discharge (1 = on), bits 5-7 reserved.
struct HdxPlusConfig {
  int lifeCycle = 0;
  int qFactor = 0;    // 0 LowQ, 1 HighQ
  int discharge = 0;  // 0 off, 1 on
  int rfu = 0;

  bool operator==(const HdxPlusConfig&) const = default;
};

HdxPlusConfig DecodeHdxPlusConfig(uint8_t byte);
// Only the lowest three bits of the life cycle and of the reserved bits count; any non-zero Q
// factor or discharge sets its bit.
uint8_t EncodeHdxPlusConfig(const HdxPlusConfig& config);

// nullopt when the read fails; the reason stays in the connection's error code.
std::optional<uint8_t> ReadHdxPlusConfig(int handle);
bool WriteHdxPlusConfig(int handle, uint8_t byte);

}  // namespace kx::flows
