// The legacy command set: one command per transponder type and block. The command's high
// nibble names the type family, so a transponder outside that family does not answer (status
// 21, as for an empty field).
#include <algorithm>
#include <array>

#include "block_memory.h"
#include "chip_functions.h"
#include "command_handlers.h"
#include "link/transponder_operations.h"
#include "link/unique_code.h"

namespace kxemu::detail {

namespace {

constexpr uint8_t kReadType2 = 0x28;
constexpr uint8_t kWriteType2 = 0x29;
constexpr uint8_t kSelectType3 = 0x39;
constexpr uint8_t kUniqueCode = 0x10;
constexpr uint8_t kUniqueCodeRaw = 0x34;
constexpr uint8_t kReadType4 = 0x48;
constexpr uint8_t kWriteType4 = 0x49;
constexpr uint8_t kReadType5 = 0x58;
constexpr uint8_t kWriteType5 = 0x59;
constexpr uint8_t kSpecialBlockType8 = 0xA8;
constexpr uint8_t kType10 = 0xB0;

// Sub-commands of 0xB0, after its leading 0 byte.
constexpr uint8_t kType10WholeRead = 2;
constexpr uint8_t kType10BlockRead = 18;   // [B, count - 1]
constexpr uint8_t kType10BlockWrite = 20;  // [B, 4 data bytes]
constexpr uint8_t kType10Config = 23;

constexpr uint8_t kBlockWriteOp = 1;
constexpr uint8_t kBlockReadOp = 2;
constexpr size_t kPieceSize = 4;

bool OwnBaseType(int type) {
  return (type >= 2 && type <= 9) || type == 12;
}

// Whether a transponder of this type answers the block commands of a command base.
bool FamilyAccepts(uint8_t base, int type) {
  switch (base) {
    case 0x00:
      return !OwnBaseType(type);
    case 0x20:
      return type == 2;
    case 0x30:
      return type == 3 || type == 9;
    case 0x40:
      return type == 4 || type == 12;
    case 0x50:
      return type == 5;
    case 0x60:
      return type == 6;
    case 0x70:
      return type == 7;
    case 0xA0:
      return type == 8;
    default:
      return false;
  }
}

bool IsBlockCommand(uint8_t command) {
  const uint8_t op = command & 0x0F;
  const uint8_t base = command & 0xF0;
  const bool knownBase = base == 0x00 || (base >= 0x20 && base <= 0x70) || base == 0xA0;
  return knownBase && (op == kBlockReadOp || op == kBlockWriteOp);
}

// Readers with capability word 0 send the data of types 2, 3 and 6 last byte first.
Answer Oriented(Answer answer, uint16_t word, int type) {
  if (word == 0 && (type == 2 || type == 3 || type == 6)) {
    std::reverse(answer.payload.begin(), answer.payload.end());
  }
  return answer;
}

Answer ReadOne(const Transponder& transponder, size_t block, size_t count = 1) {
  Answer answer;
  answer.status = ReadBlocks(transponder, block, count, answer.payload);
  if (answer.status != kStatusOk)
    answer.payload.clear();
  return answer;
}

// A 4-byte piece fills one block: a smaller block takes the piece's first bytes, a larger one
// keeps the rest of its old content.
Answer WritePiece(Transponder& transponder, size_t block, const uint8_t* piece, bool lock) {
  const size_t unit = BlockUnit(transponder.type);
  Bytes data;
  if (ReadBlocks(transponder, block, 1, data) != kStatusOk)
    return StatusOnly(kStatusBlockRange);
  std::copy_n(piece, std::min(unit, kPieceSize), data.begin());
  return StatusOnly(WriteBlocks(transponder, block, data, lock));
}

Answer WholeWrite(Transponder& transponder, const Bytes& data) {
  if (data.empty())
    return StatusOnly(kStatusBadParameter);
  transponder.uid = data;
  return Answer{kStatusOk, transponder.uid};
}

kxlf::CUniqueDaten::Value UniqueData(const Transponder& transponder) {
  kxlf::CUniqueDaten::Value data{};
  std::copy_n(transponder.uid.begin(), std::min(data.size(), transponder.uid.size()), data.begin());
  return data;
}

// Type 3 on a reader without the plain block commands packs block, lock and data into one 40-bit
// number: (4 + lock) << 37 | data << 5 | block << 2, data being the block's bytes read as a
// little-endian 32-bit number; a read sends 0x80 + 4 x block.
Answer BitPackedRead(const Transponder& transponder, const Bytes& p) {
  if (p.size() != 1 || (p[0] & 0x80) == 0)
    return StatusOnly(kStatusBadParameter);
  return ReadOne(transponder, (p[0] >> 2) & 0x1F);
}

Answer BitPackedWrite(Transponder& transponder, const Bytes& p) {
  if (p.size() != 5)
    return StatusOnly(kStatusBadParameter);
  uint64_t value = 0;
  for (uint8_t byte : p)
    value = (value << 8) | byte;
  if ((value >> 38) != 2)
    return StatusOnly(kStatusBadParameter);
  const bool lock = ((value >> 37) & 1) != 0;
  const auto data = static_cast<uint32_t>(value >> 5);
  const std::array<uint8_t, kPieceSize> piece = {
      static_cast<uint8_t>(data), static_cast<uint8_t>(data >> 8), static_cast<uint8_t>(data >> 16),
      static_cast<uint8_t>(data >> 24)};
  return WritePiece(transponder, (value >> 2) & 7, piece.data(), lock);
}

Answer BlockCommand(Transponder& transponder, uint16_t word, uint8_t command, const Bytes& p) {
  const uint8_t base = command & 0xF0;
  const bool read = (command & 0x0F) == kBlockReadOp;
  if (base == 0x30 && transponder.type == 3 && (word & kxlf::kCapPlainBlockCommands) == 0) {
    return Oriented(read ? BitPackedRead(transponder, p) : BitPackedWrite(transponder, p), word,
                    transponder.type);
  }
  if (read) {
    if (p.size() != 1)
      return StatusOnly(kStatusBadParameter);
    return Oriented(ReadOne(transponder, p[0]), word, transponder.type);
  }
  if (p.size() != 1 + kPieceSize)
    return StatusOnly(kStatusBadParameter);
  const bool lock = LockBitType(transponder.type) && (p[0] & 0x80) != 0;
  const size_t block = LockBitType(transponder.type) ? (p[0] & 0x7F) : p[0];
  return WritePiece(transponder, block, p.data() + 1, lock);
}

Answer Type10Command(Transponder& transponder, const Bytes& p) {
  if (p.size() < 2 || p[0] != 0)
    return StatusOnly(kStatusBadParameter);
  switch (p[1]) {
    case kType10WholeRead:
      if (p.size() == 2)
        return Answer{kStatusOk, transponder.uid};
      break;
    case kType10BlockRead:
      if (p.size() == 4)
        return ReadOne(transponder, p[2], size_t{p[3]} + 1);
      break;
    case kType10BlockWrite:
      if (p.size() == 3 + kPieceSize)
        return WritePiece(transponder, p[2], p.data() + 3, false);
      break;
    case kType10Config:
      if (p.size() == 2)
        return Answer{kStatusOk, ConfigurationRecord(transponder)};
      break;
  }
  return StatusOnly(kStatusBadParameter);
}

// The types that answer a command outside the block families; none for unknown commands.
std::optional<std::vector<int>> TypesOf(uint8_t command) {
  switch (command) {
    case kReadType2:
    case kWriteType2:
      return std::vector<int>{2};
    case kSelectType3:
    case kUniqueCode:
    case kUniqueCodeRaw:
      return std::vector<int>{3};
    case kReadType4:
    case kWriteType4:
      return std::vector<int>{4, 12};
    case kReadType5:
    case kWriteType5:
      return std::vector<int>{5};
    case kSpecialBlockType8:
      return std::vector<int>{8, 16};
    case kType10:
      return std::vector<int>{10};
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<Answer> LegacyCommand(Field& field, uint16_t word, uint8_t command, const Bytes& p) {
  if (IsBlockCommand(command)) {
    if (!field || !FamilyAccepts(command & 0xF0, field->type)) {
      return StatusOnly(kStatusNoTransponder);
    }
    return BlockCommand(*field, word, command, p);
  }

  const std::optional<std::vector<int>> types = TypesOf(command);
  if (!types)
    return std::nullopt;
  if (!field || std::find(types->begin(), types->end(), field->type) == types->end()) {
    return StatusOnly(kStatusNoTransponder);
  }
  Transponder& transponder = *field;

  switch (command) {
    case kReadType2:
      return Oriented(Answer{kStatusOk, transponder.uid}, word, transponder.type);
    case kWriteType2:
      return Oriented(WholeWrite(transponder, p), word, transponder.type);
    case kReadType4:
    case kReadType5:
      return Answer{kStatusOk, transponder.uid};
    case kWriteType4:
    case kWriteType5:
      return WholeWrite(transponder, p);
    case kSelectType3:
      return StatusOnly(kStatusOk);
    case kUniqueCode: {
      const kxlf::CUniqueDaten::Value data = UniqueData(transponder);
      return Answer{kStatusOk, Bytes(data.begin(), data.end())};
    }
    case kUniqueCodeRaw: {
      kxlf::CUniqueDaten code;
      code.Encode(UniqueData(transponder));
      return Answer{kStatusOk, Bytes(code.code().begin(), code.code().end())};
    }
    case kSpecialBlockType8:
      if (p.size() != kPieceSize)
        return StatusOnly(kStatusBadParameter);
      return WritePiece(transponder, kSpecialBlockNumber, p.data(), false);
    default:
      return Type10Command(transponder, p);
  }
}

}  // namespace kxemu::detail
