#include "link/transponder_types.h"

#include <algorithm>

namespace kxlf {
namespace {

struct LegacyFamily {
  int type;
  uint8_t base;
};

constexpr LegacyFamily kLegacyFamilies[] = {
    {2, 0x20}, {3, 0x30}, {9, 0x30}, {4, 0x40}, {12, 0x40},
    {5, 0x50}, {6, 0x60}, {7, 0x70}, {8, 0xA0},
};
constexpr uint8_t kSharedLegacyBase = 0x00;

// Bit layout of the packed type-3 commands.
constexpr uint8_t kPackedReadMarker = 0x80;
constexpr int kPackedReadBlockShift = 2;
constexpr int kPackedReadBlockMask = 0x1F;
constexpr size_t kPackedWriteSize = 5;
constexpr int kPackedWriteMarkerShift = 38;
constexpr uint64_t kPackedWriteMarker = 2;
constexpr int kPackedWriteLockShift = 37;
constexpr int kPackedWriteDataShift = 5;
constexpr int kPackedWriteBlockShift = 2;
constexpr int kPackedWriteBlockMask = 7;

}  // namespace

int ExtendedBlockSize(int type) {
  switch (type) {
    case 11:
      return 1;
    case 15:
      return 2;
    case 33:
    case 34:
    case 35:
    case 37:
      return 8;
    default:
      return 4;
  }
}

int LastBlockNumber(int type) {
  switch (type) {
    case 2:
    case 3:
    case 13:
      return 7;
    case 4:
    case 5:
    case 7:
    case 8:
    case 14:
    case 16:
      return 63;
    case 6:
      return 34;
    case 9:
      return 11;
    case 10:
      return 255;
    case 11:
      return 16;
    case 12:
      return 43;
    case 15:
      return 639;
    case 17:
    case 18:
      return 15;
    default:
      return -1;
  }
}

bool IsLockableType(int type) {
  return type == 3 || type == 9 || type == 13 || type == 17;
}

uint8_t EncodeBlockByte(int type, int block, bool lock) {
  const int byte = (IsLockableType(type) && lock) ? (block | kLockBit) : block;
  return static_cast<uint8_t>(byte & 0xFF);
}

BlockByte DecodeBlockByte(int type, uint8_t byte) {
  if (!IsLockableType(type))
    return BlockByte{byte, false};
  return BlockByte{byte & ~kLockBit, (byte & kLockBit) != 0};
}

bool WritesLastBlocksTogether(int type) {
  return type == 8 || type == 16;
}

uint8_t LegacyCommandBase(int type) {
  const auto* family = std::find_if(std::begin(kLegacyFamilies), std::end(kLegacyFamilies),
                                    [type](const LegacyFamily& row) { return row.type == type; });
  return family == std::end(kLegacyFamilies) ? kSharedLegacyBase : family->base;
}

bool IsLegacyCommandBase(uint8_t base) {
  return base == kSharedLegacyBase ||
         std::any_of(std::begin(kLegacyFamilies), std::end(kLegacyFamilies),
                     [base](const LegacyFamily& row) { return row.base == base; });
}

bool SendsLastByteFirst(uint16_t capabilityWord, int type) {
  return capabilityWord == 0 && (type == 2 || type == 3 || type == 6);
}

uint8_t EncodePackedType3Read(int block) {
  return static_cast<uint8_t>(kPackedReadMarker |
                              ((block & kPackedReadBlockMask) << kPackedReadBlockShift));
}

std::optional<int> DecodePackedType3Read(uint8_t parameter) {
  if ((parameter & kPackedReadMarker) == 0)
    return std::nullopt;
  return (parameter >> kPackedReadBlockShift) & kPackedReadBlockMask;
}

Bytes EncodePackedType3Write(const PackedType3Write& write) {
  const LegacyPiece& piece = write.piece;
  const uint64_t data =
      (static_cast<uint64_t>(piece[3]) << 24) | (piece[2] << 16) | (piece[1] << 8) | piece[0];
  const uint64_t word =
      (kPackedWriteMarker << kPackedWriteMarkerShift) |
      (static_cast<uint64_t>(write.lock ? 1 : 0) << kPackedWriteLockShift) |
      (data << kPackedWriteDataShift) |
      (static_cast<uint64_t>(write.block & kPackedWriteBlockMask) << kPackedWriteBlockShift);
  Bytes packed;
  for (int shift = 8 * static_cast<int>(kPackedWriteSize - 1); shift >= 0; shift -= 8)
    packed.push_back(static_cast<uint8_t>(word >> shift));
  return packed;
}

std::optional<PackedType3Write> DecodePackedType3Write(const Bytes& parameters) {
  if (parameters.size() != kPackedWriteSize)
    return std::nullopt;
  uint64_t word = 0;
  for (uint8_t byte : parameters)
    word = (word << 8) | byte;
  if ((word >> kPackedWriteMarkerShift) != kPackedWriteMarker)
    return std::nullopt;
  PackedType3Write write;
  write.lock = ((word >> kPackedWriteLockShift) & 1) != 0;
  const auto data = static_cast<uint32_t>(word >> kPackedWriteDataShift);
  write.piece = {static_cast<uint8_t>(data), static_cast<uint8_t>(data >> 8),
                 static_cast<uint8_t>(data >> 16), static_cast<uint8_t>(data >> 24)};
  write.block = static_cast<int>((word >> kPackedWriteBlockShift) & kPackedWriteBlockMask);
  return write;
}

}  // namespace kxlf
