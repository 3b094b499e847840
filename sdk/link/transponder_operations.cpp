#include "link/transponder_operations.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "link/error_codes.h"
#include "link/unique_code.h"

namespace kxlf {
namespace {

constexpr uint8_t kWholeRead = 0xC0;
constexpr uint8_t kWholeWrite = 0xC1;
constexpr uint8_t kBlockRead = 0xC2;
constexpr uint8_t kBlockWrite = 0xC3;
constexpr uint8_t kSpecial = 0xC4;

// Sub-commands of kSpecial.
constexpr uint8_t kSpecialLongBlockRead = 2;  // also the type-38 configuration record
constexpr uint8_t kSpecialWriteLastBlocks = 3;
constexpr uint8_t kSpecialLongSingleBlockRead = 13;
constexpr uint8_t kSpecialLongBlockWrite = 14;
constexpr uint8_t kSpecialConfiguration = 23;

constexpr uint8_t kLegacyType10 = 0xB0;
constexpr uint8_t kLegacyType10WholeRead = 2;
constexpr uint8_t kLegacyType10BlockRead = 18;
constexpr uint8_t kLegacyType10BlockWrite = 20;
constexpr uint8_t kLegacyType10Configuration = 23;

constexpr uint8_t kLegacyUniqueCode = 0x10;
constexpr uint8_t kLegacyType3Select = 0x39;
constexpr uint8_t kLegacyType3Code = 0x34;
constexpr uint8_t kLegacyPackedWrite = 0x31;
constexpr uint8_t kLegacyPackedRead = 0x32;
constexpr uint8_t kLegacyWriteLastBlocks = 0xA8;

constexpr uint8_t kLockBit = 0x80;
constexpr size_t kLegacyPieceSize = 4;

uint8_t LowByte(int value) {
  return static_cast<uint8_t>(value & 0xFF);
}
uint8_t HighByte(int value) {
  return static_cast<uint8_t>((value >> 8) & 0xFF);
}

bool IsExtended(const CommandChannel& channel) {
  return (channel.CapabilityWord() & kCapExtendedCommands) != 0;
}

bool HasPlainType3Commands(const CommandChannel& channel) {
  return (channel.CapabilityWord() & kCapPlainBlockCommands) != 0;
}

// The oldest readers send the bytes of types 2, 3 and 6 last byte first.
bool AnswersReversed(const CommandChannel& channel, uint8_t type) {
  return channel.CapabilityWord() == 0 && (type == 2 || type == 3 || type == 6);
}

bool IsLockableType(uint8_t type) {
  return type == 3 || type == 9 || type == 13 || type == 17;
}

// Highest valid block number, or -1 for a type whose range is not known here.
int LastBlock(uint8_t type) {
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

bool BlockNumberInRange(uint8_t type, int block) {
  const int last = LastBlock(type);
  return last < 0 || (block >= 0 && block <= last);
}

uint8_t LegacyCommandBase(uint8_t type) {
  switch (type) {
    case 2:
      return 0x20;
    case 3:
    case 9:
      return 0x30;
    case 4:
    case 12:
      return 0x40;
    case 5:
      return 0x50;
    case 6:
      return 0x60;
    case 7:
      return 0x70;
    case 8:
      return 0xA0;
    default:
      return 0x00;
  }
}

// Blocks per byte count in the extended set, where the reader knows each type's block size.
int ExtendedBlockCount(uint8_t type, int byteCount) {
  switch (type) {
    case 11:
      return byteCount;
    case 15:
      return byteCount / 2;
    case 33:
    case 34:
    case 35:
    case 37:
      return byteCount / 8;
    default:
      return byteCount / 4;
  }
}

Bytes Params(std::initializer_list<uint8_t> head, const Bytes& tail = {}) {
  Bytes parameters(head);
  parameters.insert(parameters.end(), tail.begin(), tail.end());
  return parameters;
}

bool Fail(CommandChannel& channel, int code) {
  channel.StoreError(code);
  return false;
}

bool Exchange(CommandChannel& channel, uint8_t command, const Bytes& parameters, Bytes& payload,
              uint32_t timeoutOverrideMs = 0) {
  if (parameters.size() > kMaxFrameData)
    return Fail(channel, kErrParameter);
  return channel.Execute(command, parameters, payload, timeoutOverrideMs);
}

bool ExchangeStatus(CommandChannel& channel, uint8_t command, const Bytes& parameters) {
  if (parameters.size() > kMaxFrameData)
    return Fail(channel, kErrParameter);
  return channel.ExecuteStatus(command, parameters);
}

uint32_t AtLeast(const CommandChannel& channel, uint32_t minimumMs) {
  return std::max(channel.Timeout(), minimumMs);
}

void Invert(Bytes& bytes) {
  for (uint8_t& byte : bytes)
    byte = static_cast<uint8_t>(~byte);
}

bool ReadBlocksExtended(CommandChannel& channel, uint8_t type, int block, int byteCount,
                        Bytes& result) {
  const int count = ExtendedBlockCount(type, byteCount);
  if (type == 15 && (block > 128 || count > 128)) {
    if (count > 1) {
      return Exchange(channel, kSpecial,
                      {15, kSpecialLongBlockRead, LowByte(block), HighByte(block), LowByte(count),
                       HighByte(count)},
                      result);
    }
    return Exchange(channel, kSpecial,
                    {15, kSpecialLongSingleBlockRead, LowByte(block), HighByte(block)}, result);
  }
  return Exchange(channel, kBlockRead, {type, LowByte(block), LowByte(count)}, result);
}

bool ReadOneLegacyBlock(CommandChannel& channel, uint8_t type, int block, Bytes& payload) {
  if (type == 3 && !HasPlainType3Commands(channel)) {
    const uint8_t packed = static_cast<uint8_t>(0x80 + 4 * (block & 0x1F));
    return Exchange(channel, kLegacyPackedRead, {packed}, payload);
  }
  const auto command = static_cast<uint8_t>(LegacyCommandBase(type) | 2);
  return Exchange(channel, command, {LowByte(block)}, payload);
}

bool ReadBlocksLegacy(CommandChannel& channel, uint8_t type, int block, int byteCount,
                      Bytes& result) {
  result.clear();
  int remaining = byteCount;
  int emptyInRow = 0;
  while (remaining > 0) {
    Bytes payload;
    if (!ReadOneLegacyBlock(channel, type, block, payload))
      return false;
    if (payload.empty()) {
      // Nothing to count down: only the run of empty answers can end the loop.
      if (++emptyInRow == kMaxEmptyBlockAnswers)
        return Fail(channel, kErrDataCount);
    } else {
      emptyInRow = 0;
    }
    if (AnswersReversed(channel, type))
      std::reverse(payload.begin(), payload.end());
    result.insert(result.end(), payload.begin(), payload.end());
    ++block;
    remaining -= static_cast<int>(payload.size());
  }
  return true;
}

bool ReadBlocksOf(CommandChannel& channel, uint8_t type, int block, int byteCount, Bytes& result) {
  if (IsExtended(channel))
    return ReadBlocksExtended(channel, type, block, byteCount, result);
  if (type == 10) {
    return Exchange(channel, kLegacyType10,
                    {0, kLegacyType10BlockRead, LowByte(block), LowByte(byteCount / 4 - 1)},
                    result);
  }
  return ReadBlocksLegacy(channel, type, block, byteCount, result);
}

// The unique code of a type-3 transponder: newer readers decode it themselves, older ones hand
// over the raw 64-bit code (or already its 5 value bytes).
bool ReadUniqueCode(CommandChannel& channel, Bytes& result) {
  if (channel.CapabilityWord() & kCapUniqueCodeCommand) {
    return Exchange(channel, kLegacyUniqueCode, {}, result);
  }
  Bytes payload;
  if (!Exchange(channel, kLegacyType3Code, {}, payload))
    return false;
  const auto value = CUniqueDaten(payload).Decode();
  if (!value)
    return false;
  result.assign(value->begin(), value->end());
  return true;
}

// A type-9 transponder's identity sits in the blocks from 9 on and counts only behind the
// marker bytes 0x15 0xE0.
bool ReadType9Identity(CommandChannel& channel, Bytes& result) {
  Bytes blocks;
  if (!ReadBlocksOf(channel, 9, 9, 8, blocks))
    return false;
  if (blocks.size() < 8 || blocks[2] != 0x15 || blocks[3] != 0xE0)
    return false;
  result = {blocks[4], blocks[5], blocks[6], blocks[7], blocks[0], blocks[1]};
  return true;
}

bool ReadWholeLegacy(CommandChannel& channel, uint8_t type, Bytes& result) {
  switch (type) {
    case 2:
      if (!Exchange(channel, 0x28, {}, result))
        return false;
      if (AnswersReversed(channel, type))
        std::reverse(result.begin(), result.end());
      return true;
    case 3:
      return ExchangeStatus(channel, kLegacyType3Select, {}) && ReadUniqueCode(channel, result);
    case 4:
    case 12:
      return Exchange(channel, 0x48, {}, result);
    case 5:
      return Exchange(channel, 0x58, {}, result);
    case 6:
      return ReadBlocksOf(channel, 6, 32, 4, result);
    case 7:
    case 8:
    case 16:
      return ReadBlocksOf(channel, type, 1, 4, result);
    case 9:
      return ReadType9Identity(channel, result);
    case 10:
      return Exchange(channel, kLegacyType10, {0, kLegacyType10WholeRead}, result);
    default:
      return Fail(channel, kErrNotSupported);
  }
}

bool WriteWholeLegacy(CommandChannel& channel, uint8_t type, const Bytes& data, Bytes& answer) {
  switch (type) {
    case 2:
      if (!Exchange(channel, 0x29, data, answer))
        return false;
      if (AnswersReversed(channel, type))
        std::reverse(answer.begin(), answer.end());
      return true;
    case 4:
    case 12:
      return Exchange(channel, 0x49, data, answer);
    case 5:
      return Exchange(channel, 0x59, data, answer);
    default:
      return Fail(channel, kErrNotSupported);
  }
}

// The bit-packed write of old type-3 readers: 40 bits, big-endian, holding the lock flag, the
// piece (byte 3 most significant) and the block number.
Bytes PackedType3Write(const std::array<uint8_t, kLegacyPieceSize>& piece, int block, int lock) {
  const uint64_t data =
      (static_cast<uint64_t>(piece[3]) << 24) | (piece[2] << 16) | (piece[1] << 8) | piece[0];
  const uint64_t word = (static_cast<uint64_t>(4 + (lock != 0 ? 1 : 0)) << 37) | (data << 5) |
                        (static_cast<uint64_t>(block & 7) << 2);
  Bytes packed;
  for (int shift = 32; shift >= 0; shift -= 8)
    packed.push_back(static_cast<uint8_t>(word >> shift));
  return packed;
}

bool WriteBlocksLegacy(CommandChannel& channel, uint8_t type, int startBlock, const Bytes& data,
                       int lock) {
  int block = startBlock;
  for (size_t offset = 0; offset < data.size(); offset += kLegacyPieceSize, ++block) {
    std::array<uint8_t, kLegacyPieceSize> piece{};
    const size_t size = std::min(kLegacyPieceSize, data.size() - offset);
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), size, piece.begin());
    const Bytes pieceBytes(piece.begin(), piece.end());

    bool ok;
    if (type == 10) {
      ok = ExchangeStatus(channel, kLegacyType10,
                          Params({0, kLegacyType10BlockWrite, LowByte(block)}, pieceBytes));
    } else if (type == 3 && !HasPlainType3Commands(channel)) {
      ok = ExchangeStatus(channel, kLegacyPackedWrite, PackedType3Write(piece, block, lock));
    } else {
      const int target = (IsLockableType(type) && lock == 1) ? (block | kLockBit) : block;
      const auto command = static_cast<uint8_t>(LegacyCommandBase(type) | 1);
      ok = ExchangeStatus(channel, command, Params({LowByte(target)}, pieceBytes));
    }
    if (!ok)
      return false;
  }
  return true;
}

}  // namespace

bool ReadWholeTransponder(CommandChannel& channel, int type, Bytes& result) {
  const uint8_t t = LowByte(type);
  Bytes payload;
  bool ok;
  if (IsExtended(channel)) {
    ok = Exchange(channel, kWholeRead, {t, 0}, payload, AtLeast(channel, kMinWholeReadTimeoutMs));
  } else {
    ok = ReadWholeLegacy(channel, t, payload);
  }
  if (ok)
    result = std::move(payload);
  return ok;
}

bool WriteWholeTransponder(CommandChannel& channel, int type, const Bytes& data, Bytes& answer) {
  const uint8_t t = LowByte(type);
  if (t == 10) {
    // Whole-transponder data of type 10 is the connection's key data; the reader gets nothing.
    channel.KeyData() = data;
    answer.clear();
    return true;
  }
  Bytes payload;
  bool ok;
  if (IsExtended(channel)) {
    ok = Exchange(channel, kWholeWrite, Params({t}, data), payload,
                  AtLeast(channel, kMinWholeWriteTimeoutMs));
  } else {
    ok = WriteWholeLegacy(channel, t, data, payload);
  }
  if (ok)
    answer = std::move(payload);
  return ok;
}

bool ReadBlocks(CommandChannel& channel, int typeAndOptions, int startBlock, int byteCount,
                Bytes& result) {
  const uint8_t type = LowByte(typeAndOptions);
  if (!BlockNumberInRange(type, startBlock))
    return Fail(channel, kErrBlockNumber);
  if (byteCount < 0)
    return Fail(channel, kErrParameter);
  Bytes payload;
  if (!ReadBlocksOf(channel, type, startBlock, byteCount, payload))
    return false;
  if (typeAndOptions & kOptionInvert)
    Invert(payload);
  result = std::move(payload);
  return true;
}

bool WriteBlocks(CommandChannel& channel, int type, int startBlock, const Bytes& data, int lock) {
  const uint8_t t = LowByte(type);
  if (!BlockNumberInRange(t, startBlock))
    return Fail(channel, kErrBlockNumber);

  // Blocks 14 and 15 of types 8 and 16 are written together through their own command.
  if ((t == 8 || t == 16) && (startBlock == 14 || startBlock == 15)) {
    if (data.size() != 4)
      return Fail(channel, kErrDataCount);
    if (IsExtended(channel)) {
      return ExchangeStatus(channel, kSpecial, Params({t, kSpecialWriteLastBlocks}, data));
    }
    return ExchangeStatus(channel, kLegacyWriteLastBlocks, data);
  }

  if (!IsExtended(channel))
    return WriteBlocksLegacy(channel, t, startBlock, data, lock);

  if (t == 15 && startBlock > 128) {
    return ExchangeStatus(
        channel, kSpecial,
        Params({15, kSpecialLongBlockWrite, LowByte(startBlock), HighByte(startBlock)}, data));
  }
  const int target = (IsLockableType(t) && lock == 1) ? (startBlock | kLockBit) : startBlock;
  return ExchangeStatus(channel, kBlockWrite, Params({t, LowByte(target)}, data));
}

bool ReadConfiguration(CommandChannel& channel, int type, Bytes& result) {
  const uint8_t t = LowByte(type);
  Bytes payload;
  bool ok;
  if (t == 10 && IsExtended(channel)) {
    ok = Exchange(channel, kSpecial, {10, kSpecialConfiguration, 0}, payload);
  } else if (t == 10) {
    ok = Exchange(channel, kLegacyType10, {0, kLegacyType10Configuration}, payload);
  } else if (t == 38 && IsExtended(channel)) {
    ok = Exchange(channel, kSpecial, {38, kSpecialLongBlockRead}, payload);
  } else {
    return Fail(channel, kErrNotSupported);
  }
  if (ok)
    result = std::move(payload);
  return ok;
}

}  // namespace kxlf
