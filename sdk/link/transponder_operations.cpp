#include "link/transponder_operations.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "link/error_codes.h"
#include "link/transponder_types.h"
#include "link/unique_code.h"

namespace kxlf {
namespace {

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

bool AnswersReversed(const CommandChannel& channel, uint8_t type) {
  return SendsLastByteFirst(channel.CapabilityWord(), type);
}

bool BlockNumberInRange(uint8_t type, int block) {
  const int last = LastBlockNumber(type);
  return last < 0 || (block >= 0 && block <= last);
}

// Blocks per byte count in the extended set, where the reader knows each type's block size.
int ExtendedBlockCount(uint8_t type, int byteCount) {
  return byteCount / ExtendedBlockSize(type);
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
      return Exchange(channel, kSpecialCommand,
                      {15, kSpecialLongBlockRead, LowByte(block), HighByte(block), LowByte(count),
                       HighByte(count)},
                      result);
    }
    return Exchange(channel, kSpecialCommand,
                    {15, kSpecialLongSingleBlockRead, LowByte(block), HighByte(block)}, result);
  }
  return Exchange(channel, kBlockReadCommand, {type, LowByte(block), LowByte(count)}, result);
}

bool ReadOneLegacyBlock(CommandChannel& channel, uint8_t type, int block, Bytes& payload) {
  if (type == 3 && !HasPlainType3Commands(channel)) {
    return Exchange(channel, kLegacyPackedRead, {EncodePackedType3Read(block)}, payload);
  }
  const auto command = static_cast<uint8_t>(LegacyCommandBase(type) | kLegacyBlockRead);
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
      if (!Exchange(channel, kLegacyReadType2, {}, result))
        return false;
      if (AnswersReversed(channel, type))
        std::reverse(result.begin(), result.end());
      return true;
    case 3:
      return ExchangeStatus(channel, kLegacyType3Select, {}) && ReadUniqueCode(channel, result);
    case 4:
    case 12:
      return Exchange(channel, kLegacyReadType4, {}, result);
    case 5:
      return Exchange(channel, kLegacyReadType5, {}, result);
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
      if (!Exchange(channel, kLegacyWriteType2, data, answer))
        return false;
      if (AnswersReversed(channel, type))
        std::reverse(answer.begin(), answer.end());
      return true;
    case 4:
    case 12:
      return Exchange(channel, kLegacyWriteType4, data, answer);
    case 5:
      return Exchange(channel, kLegacyWriteType5, data, answer);
    default:
      return Fail(channel, kErrNotSupported);
  }
}

bool WriteBlocksLegacy(CommandChannel& channel, uint8_t type, int startBlock, const Bytes& data,
                       int lock) {
  // Every piece must land on a block of the type: the bit-packed commands keep only three bits
  // of the block number, so a piece beyond the last block would overwrite block 0.
  const int pieces = static_cast<int>((data.size() + kLegacyPieceSize - 1) / kLegacyPieceSize);
  if (pieces > 0 && !BlockNumberInRange(type, startBlock + pieces - 1))
    return Fail(channel, kErrBlockNumber);
  int block = startBlock;
  for (size_t offset = 0; offset < data.size(); offset += kLegacyPieceSize, ++block) {
    LegacyPiece piece{};
    const size_t size = std::min(kLegacyPieceSize, data.size() - offset);
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), size, piece.begin());
    const Bytes pieceBytes(piece.begin(), piece.end());

    bool ok;
    if (type == 10) {
      ok = ExchangeStatus(channel, kLegacyType10,
                          Params({0, kLegacyType10BlockWrite, LowByte(block)}, pieceBytes));
    } else if (type == 3 && !HasPlainType3Commands(channel)) {
      const Bytes packed = EncodePackedType3Write({piece, block, lock != 0});
      ok = ExchangeStatus(channel, kLegacyPackedWrite, packed);
    } else {
      const auto command = static_cast<uint8_t>(LegacyCommandBase(type) | kLegacyBlockWrite);
      ok = ExchangeStatus(channel, command,
                          Params({EncodeBlockByte(type, block, lock == 1)}, pieceBytes));
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
    ok = Exchange(channel, kWholeReadCommand, {t, 0}, payload,
                  AtLeast(channel, kMinWholeReadTimeoutMs));
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
    ok = Exchange(channel, kWholeWriteCommand, Params({t}, data), payload,
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
  if (WritesLastBlocksTogether(t) &&
      (startBlock == kFirstOfLastBlocks || startBlock == kFirstOfLastBlocks + 1)) {
    if (data.size() != 4)
      return Fail(channel, kErrDataCount);
    if (IsExtended(channel)) {
      return ExchangeStatus(channel, kSpecialCommand, Params({t, kSpecialWriteLastBlocks}, data));
    }
    return ExchangeStatus(channel, kLegacyWriteLastBlocks, data);
  }

  if (!IsExtended(channel))
    return WriteBlocksLegacy(channel, t, startBlock, data, lock);

  if (t == 15 && startBlock > 128) {
    return ExchangeStatus(
        channel, kSpecialCommand,
        Params({15, kSpecialLongBlockWrite, LowByte(startBlock), HighByte(startBlock)}, data));
  }
  return ExchangeStatus(channel, kBlockWriteCommand,
                        Params({t, EncodeBlockByte(t, startBlock, lock == 1)}, data));
}

bool ReadConfiguration(CommandChannel& channel, int type, Bytes& result) {
  const uint8_t t = LowByte(type);
  Bytes payload;
  bool ok;
  if (t == 10 && IsExtended(channel)) {
    ok = Exchange(channel, kSpecialCommand, {10, kSpecialConfiguration, 0}, payload);
  } else if (t == 10) {
    ok = Exchange(channel, kLegacyType10, {0, kLegacyType10Configuration}, payload);
  } else if (t == 38 && IsExtended(channel)) {
    ok = Exchange(channel, kSpecialCommand, {38, kSpecialTuningRecord}, payload);
  } else {
    return Fail(channel, kErrNotSupported);
  }
  if (ok)
    result = std::move(payload);
  return ok;
}

}  // namespace kxlf
