// The extended command set: the reader itself knows every transponder type, and whole block
// ranges travel in one command. A command whose type differs from the transponder in the field
// meets no transponder that answers, so it gets the same status as an empty field.
#include "block_memory.h"
#include "chip_functions.h"
#include "command_handlers.h"
#include "link/reader_commands.h"

namespace kxemu::detail {

namespace {

using kxlf::IsChipCode;
using kxlf::kBlockReadCommand;
using kxlf::kBlockWriteCommand;
using kxlf::kSpecialCommand;
using kxlf::kWholeReadCommand;
using kxlf::kWholeWriteCommand;

// The transponder that answers a command of this type, or none.
Transponder* Addressed(Field& field, int type) {
  if (!field)
    return nullptr;
  if (field->type == type)
    return &*field;
  if (IsChipCode(type) && IsChipCode(field->type))
    return &*field;
  return nullptr;
}

uint16_t Word(uint8_t low, uint8_t high) {
  return static_cast<uint16_t>(low | (high << 8));
}

Answer Write(Transponder& transponder, size_t block, Bytes::const_iterator first,
             Bytes::const_iterator last, bool lock) {
  return StatusOnly(WriteBlocks(transponder, block, Bytes(first, last), lock));
}

Answer WholeWrite(Transponder& transponder, const Bytes& data) {
  // SIC7900 and SIC7999 are selected by sending back their identity; only the chip whose
  // identity matches answers.
  if (transponder.type == 36 || transponder.type == 38) {
    return StatusOnly(data == transponder.uid ? kStatusOk : kStatusNoTransponder);
  }
  transponder.uid = data;
  return Answer{kStatusOk, transponder.uid};
}

Answer Special(Field& field, const Bytes& p) {
  if (p.size() < 2)
    return StatusOnly(kStatusBadParameter);
  const int type = p[0];
  const uint8_t sub = p[1];
  const auto answerFrom = [&](auto&& action) -> Answer {
    Transponder* transponder = Addressed(field, type);
    if (transponder == nullptr)
      return StatusOnly(kStatusNoTransponder);
    return action(*transponder);
  };

  if (type == 15 && sub == kxlf::kSpecialLongBlockRead && p.size() == 6) {
    return answerFrom(
        [&](Transponder& t) { return ReadAnswer(t, Word(p[2], p[3]), Word(p[4], p[5])); });
  }
  if (type == 15 && sub == kxlf::kSpecialLongSingleBlockRead && p.size() == 4) {
    return answerFrom([&](Transponder& t) { return ReadAnswer(t, Word(p[2], p[3]), 1); });
  }
  if (type == 15 && sub == kxlf::kSpecialLongBlockWrite && p.size() > 4) {
    return answerFrom(
        [&](Transponder& t) { return Write(t, Word(p[2], p[3]), p.begin() + 4, p.end(), false); });
  }
  if (kxlf::WritesLastBlocksTogether(type) && sub == kxlf::kSpecialWriteLastBlocks &&
      p.size() == 6) {
    return answerFrom([&](Transponder& t) {
      return Write(t, kSpecialBlockNumber, p.begin() + 2, p.end(), false);
    });
  }
  if (type == 10 && sub == kxlf::kSpecialConfiguration && p.size() == 3) {
    return answerFrom([](Transponder& t) { return Answer{kStatusOk, ConfigurationRecord(t)}; });
  }
  if (type == 38 && sub == kxlf::kSpecialTuningRecord && p.size() == 2) {
    return answerFrom([](Transponder& t) { return Answer{kStatusOk, ConfigurationRecord(t)}; });
  }
  if (type == 38 && sub == kxlf::kSpecialMeasure && p.size() == 6) {
    return answerFrom([&](Transponder& t) { return MeasureFrequency(t, p[2], p[3], p[4]); });
  }
  if (IsChipCode(type) && sub == kxlf::kSpecialChipRead && p.size() == 2) {
    return answerFrom([](Transponder& t) { return Answer{kStatusOk, {t.chipConfig}}; });
  }
  if (IsChipCode(type) && sub == kxlf::kSpecialChipWrite && p.size() == 3) {
    return answerFrom([&](Transponder& t) {
      t.chipConfig = p[2];
      return StatusOnly(kStatusOk);
    });
  }
  return StatusOnly(kStatusBadParameter);
}

}  // namespace

std::optional<Answer> ExtendedCommand(Field& field, uint8_t command, const Bytes& p) {
  if (command < kWholeReadCommand || command > kSpecialCommand)
    return std::nullopt;
  if (command == kSpecialCommand)
    return Special(field, p);

  const bool shapeOk = (command == kWholeReadCommand && p.size() == 2) ||
                       (command == kWholeWriteCommand && p.size() >= 2) ||
                       (command == kBlockReadCommand && p.size() == 3) ||
                       (command == kBlockWriteCommand && p.size() >= 3);
  if (!shapeOk)
    return StatusOnly(kStatusBadParameter);
  Transponder* transponder = Addressed(field, p[0]);
  if (transponder == nullptr)
    return StatusOnly(kStatusNoTransponder);

  switch (command) {
    case kWholeReadCommand:
      return Answer{kStatusOk, transponder->uid};
    case kWholeWriteCommand:
      return WholeWrite(*transponder, Bytes(p.begin() + 1, p.end()));
    case kBlockReadCommand:
      return ReadAnswer(*transponder, p[1], p[2]);
    default: {
      const kxlf::BlockByte target = kxlf::DecodeBlockByte(transponder->type, p[1]);
      return Write(*transponder, static_cast<size_t>(target.block), p.begin() + 2, p.end(),
                   target.lock);
    }
  }
}

}  // namespace kxemu::detail
