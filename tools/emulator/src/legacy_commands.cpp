// The legacy command set: one command per transponder type and block. The command's high
// nibble names the type family, so a transponder outside that family does not answer (status
// 21, as for an empty field).
#include <algorithm>

#include "block_memory.h"
#include "chip_functions.h"
#include "command_handlers.h"
#include "link/reader_commands.h"
#include "link/transponder_types.h"
#include "link/unique_code.h"

namespace kxemu::detail {

namespace {

using kxlf::kLegacyPieceSize;

bool IsBlockCommand(uint8_t command) {
  const uint8_t op = command & 0x0F;
  return kxlf::IsLegacyCommandBase(command & 0xF0) &&
         (op == kxlf::kLegacyBlockRead || op == kxlf::kLegacyBlockWrite);
}

Answer Oriented(Answer answer, uint16_t word, int type) {
  if (kxlf::SendsLastByteFirst(word, type))
    std::reverse(answer.payload.begin(), answer.payload.end());
  return answer;
}

// A 4-byte piece fills one block: a smaller block takes the piece's first bytes, a larger one
// keeps the rest of its old content.
Answer WritePiece(Transponder& transponder, size_t block, const uint8_t* piece, bool lock) {
  const size_t unit = BlockUnit(transponder.type);
  Bytes data;
  if (ReadBlocks(transponder, block, 1, data) != kStatusOk)
    return StatusOnly(kStatusBlockRange);
  std::copy_n(piece, std::min(unit, kLegacyPieceSize), data.begin());
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

// Type 3 on a reader without the plain block commands: see the packed encodings in
// link/transponder_types.h.
Answer BitPackedRead(const Transponder& transponder, const Bytes& p) {
  const std::optional<int> block = p.size() == 1 ? kxlf::DecodePackedType3Read(p[0]) : std::nullopt;
  if (!block)
    return StatusOnly(kStatusBadParameter);
  return ReadAnswer(transponder, static_cast<size_t>(*block), 1);
}

Answer BitPackedWrite(Transponder& transponder, const Bytes& p) {
  const std::optional<kxlf::PackedType3Write> write = kxlf::DecodePackedType3Write(p);
  if (!write)
    return StatusOnly(kStatusBadParameter);
  return WritePiece(transponder, static_cast<size_t>(write->block), write->piece.data(),
                    write->lock);
}

Answer BlockCommand(Transponder& transponder, uint16_t word, uint8_t command, const Bytes& p) {
  const bool read = (command & 0x0F) == kxlf::kLegacyBlockRead;
  const bool packed = command == kxlf::kLegacyPackedRead || command == kxlf::kLegacyPackedWrite;
  if (packed && transponder.type == 3 && (word & kxlf::kCapPlainBlockCommands) == 0) {
    return Oriented(read ? BitPackedRead(transponder, p) : BitPackedWrite(transponder, p), word,
                    transponder.type);
  }
  if (read) {
    if (p.size() != 1)
      return StatusOnly(kStatusBadParameter);
    return Oriented(ReadAnswer(transponder, p[0], 1), word, transponder.type);
  }
  if (p.size() != 1 + kLegacyPieceSize)
    return StatusOnly(kStatusBadParameter);
  const kxlf::BlockByte target = kxlf::DecodeBlockByte(transponder.type, p[0]);
  return WritePiece(transponder, static_cast<size_t>(target.block), p.data() + 1, target.lock);
}

Answer Type10Command(Transponder& transponder, const Bytes& p) {
  if (p.size() < 2 || p[0] != 0)
    return StatusOnly(kStatusBadParameter);
  switch (p[1]) {
    case kxlf::kLegacyType10WholeRead:
      if (p.size() == 2)
        return Answer{kStatusOk, transponder.uid};
      break;
    case kxlf::kLegacyType10BlockRead:
      if (p.size() == 4)
        return ReadAnswer(transponder, p[2], size_t{p[3]} + 1);
      break;
    case kxlf::kLegacyType10BlockWrite:
      if (p.size() == 3 + kLegacyPieceSize)
        return WritePiece(transponder, p[2], p.data() + 3, false);
      break;
    case kxlf::kLegacyType10Configuration:
      if (p.size() == 2)
        return Answer{kStatusOk, ConfigurationRecord(transponder)};
      break;
  }
  return StatusOnly(kStatusBadParameter);
}

// The types that answer a command outside the block families; none for unknown commands.
std::optional<std::vector<int>> TypesOf(uint8_t command) {
  switch (command) {
    case kxlf::kLegacyReadType2:
    case kxlf::kLegacyWriteType2:
      return std::vector<int>{2};
    case kxlf::kLegacyType3Select:
    case kxlf::kLegacyUniqueCode:
    case kxlf::kLegacyType3Code:
      return std::vector<int>{3};
    case kxlf::kLegacyReadType4:
    case kxlf::kLegacyWriteType4:
      return std::vector<int>{4, 12};
    case kxlf::kLegacyReadType5:
    case kxlf::kLegacyWriteType5:
      return std::vector<int>{5};
    case kxlf::kLegacyWriteLastBlocks:
      return std::vector<int>{8, 16};
    case kxlf::kLegacyType10:
      return std::vector<int>{10};
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<Answer> LegacyCommand(Field& field, uint16_t word, uint8_t command, const Bytes& p) {
  if (IsBlockCommand(command)) {
    if (!field || kxlf::LegacyCommandBase(field->type) != (command & 0xF0)) {
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
    case kxlf::kLegacyReadType2:
      return Oriented(Answer{kStatusOk, transponder.uid}, word, transponder.type);
    case kxlf::kLegacyWriteType2:
      return Oriented(WholeWrite(transponder, p), word, transponder.type);
    case kxlf::kLegacyReadType4:
    case kxlf::kLegacyReadType5:
      return Answer{kStatusOk, transponder.uid};
    case kxlf::kLegacyWriteType4:
    case kxlf::kLegacyWriteType5:
      return WholeWrite(transponder, p);
    case kxlf::kLegacyType3Select:
      return StatusOnly(kStatusOk);
    case kxlf::kLegacyUniqueCode: {
      const kxlf::CUniqueDaten::Value data = UniqueData(transponder);
      return Answer{kStatusOk, Bytes(data.begin(), data.end())};
    }
    case kxlf::kLegacyType3Code: {
      kxlf::CUniqueDaten code;
      code.Encode(UniqueData(transponder));
      return Answer{kStatusOk, Bytes(code.code().begin(), code.code().end())};
    }
    case kxlf::kLegacyWriteLastBlocks:
      if (p.size() != kLegacyPieceSize)
        return StatusOnly(kStatusBadParameter);
      return WritePiece(transponder, kSpecialBlockNumber, p.data(), false);
    default:
      return Type10Command(transponder, p);
  }
}

}  // namespace kxemu::detail
