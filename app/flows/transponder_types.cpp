#include "flows/transponder_types.h"

#include <array>
#include <cstdint>

#include "convert/validation.h"

namespace kx::flows {

namespace {

constexpr unsigned kUnknownTypeHighestStartBlock = 255;

constexpr std::array<TransponderType, kTransponderTypeCount> kTypes = {{
    {0, "Read Only", 33, true, 255, 1, false, false},
    {1, "TI Read / Write", 33, true, 255, 1, true, false},
    {2, "TI Multi Page", 33, false, 17, 1, true, false},
    // HDX+ pages hold their data in every second block number.
    {3, "TI HDX+", 35, false, 15, 2, true, false},
    {4, "Incide HDX", 34, false, 7, 1, true, false},
    {5, "SIC7900", 36, false, 32, 1, true, true},
    {6, "SIC7999 / SIC279", 38, false, 32, 1, true, true},
    {7, "EM4017", 39, false, 4, 1, true, false},
}};

}  // namespace

std::span<const TransponderType> TransponderTypes() {
  return kTypes;
}

const TransponderType* FindTransponderType(int index) {
  if (index < 0 || index >= kTransponderTypeCount)
    return nullptr;
  return &kTypes[static_cast<size_t>(index)];
}

unsigned FirstBlock(const TransponderType& type, unsigned startBlock) {
  return type.fixedBlockZero ? 0 : startBlock;
}

StartBlock ValidateStartBlock(int typeIndex, std::string_view text) {
  StartBlock result;
  const std::optional<uint64_t> value = convert::ParseUnsignedEdit(text);
  if (!value) {
    result.failure = convert::StandardMessage{convert::StandardMessageId::kEnterPositiveInteger};
    return result;
  }
  const TransponderType* type = FindTransponderType(typeIndex);
  const unsigned highest =
      type != nullptr ? type->highestStartBlock : kUnknownTypeHighestStartBlock;
  if (*value > highest) {
    result.failure = convert::StandardMessage{convert::StandardMessageId::kEnterIntegerBetween, 0,
                                              static_cast<int64_t>(highest)};
    return result;
  }
  result.value = static_cast<unsigned>(*value);
  return result;
}

}  // namespace kx::flows
