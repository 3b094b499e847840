// What the reader protocol fixes for each transponder type: block sizes and ranges, which types
// can lock, how old readers order and pack their bytes. The host library builds its commands from
// these facts and the emulator answers by them. Types are plain ints: the host passes the low
// byte of its type argument, the emulator whatever type its transponder was given.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "link/frame_codec.h"
#include "link/reader_commands.h"

namespace kxlf {

// Bytes per block in the extended command set.
int ExtendedBlockSize(int type);

// Highest block number of a type, or -1 where the range is not fixed.
int LastBlockNumber(int type);

// Types whose block byte carries the lock request in kLockBit; for the others that bit is part
// of the block number.
bool IsLockableType(int type);

struct BlockByte {
  int block = 0;
  bool lock = false;

  bool operator==(const BlockByte&) const = default;
};

// The block byte of a block write: the block's low byte, with kLockBit when a lockable type is
// to be locked.
uint8_t EncodeBlockByte(int type, int block, bool lock);
BlockByte DecodeBlockByte(int type, uint8_t byte);

// Types 8 and 16 write their blocks 14 and 15 together through a command of their own.
constexpr int kFirstOfLastBlocks = 14;
bool WritesLastBlocksTogether(int type);

// Command base of a type in the legacy set; types without a family of their own share base 0.
uint8_t LegacyCommandBase(int type);
bool IsLegacyCommandBase(uint8_t base);

// Readers with capability word 0 send the bytes of types 2, 3 and 6 last byte first.
bool SendsLastByteFirst(uint16_t capabilityWord, int type);

// Type 3 on readers without plain block commands: a read sends one byte, 0x80 + 4 x block; a
// write sends a 40-bit number, big-endian, (4 + lock) << 37 | data << 5 | block << 2, where data
// is the piece read as a little-endian 32-bit number.
using LegacyPiece = std::array<uint8_t, kLegacyPieceSize>;

struct PackedType3Write {
  LegacyPiece piece{};
  int block = 0;  // 0 to 7
  bool lock = false;

  bool operator==(const PackedType3Write&) const = default;
};

uint8_t EncodePackedType3Read(int block);
// The block number, or nothing when the byte is no packed read.
std::optional<int> DecodePackedType3Read(uint8_t parameter);

Bytes EncodePackedType3Write(const PackedType3Write& write);
// The write, or nothing when the parameters are not 5 bytes led by the write marker.
std::optional<PackedType3Write> DecodePackedType3Write(const Bytes& parameters);

}  // namespace kxlf
