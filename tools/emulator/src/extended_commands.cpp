// The extended command set: the reader itself knows every transponder type, and whole block
// ranges travel in one command. A command whose type differs from the transponder in the field
// meets no transponder that answers, so it gets the same status as an empty field.
#include "block_memory.h"
#include "chip_functions.h"
#include "command_handlers.h"

namespace kxemu::detail {

namespace {

constexpr uint8_t kWholeRead = 0xC0;
constexpr uint8_t kWholeWrite = 0xC1;
constexpr uint8_t kBlockRead = 0xC2;
constexpr uint8_t kBlockWrite = 0xC3;
constexpr uint8_t kSpecial = 0xC4;

// Sub-commands of 0xC4.
constexpr uint8_t kLongRead = 2;         // type 15: [2, B lo, B hi, C lo, C hi]
constexpr uint8_t kLongReadOne = 13;     // type 15: [13, B lo, B hi]
constexpr uint8_t kLongWrite = 14;       // type 15: [14, B lo, B hi, data]
constexpr uint8_t kSpecialBlock = 3;     // types 8 and 16: [3, d0, d1, d2, d3]
constexpr uint8_t kConfigRecord = 23;    // type 10: [23, 0]
constexpr uint8_t kTuningRecord = 2;     // type 38: [2]
constexpr uint8_t kMeasure = 1;          // type 38: [1, ctune, apply, setting, 0]
constexpr uint8_t kChipConfigRead = 1;   // codes 35 and 37: [1]
constexpr uint8_t kChipConfigWrite = 2;  // codes 35 and 37: [2, value]

bool IsChipConfigCode(int type) {
  return type == 35 || type == 37;
}

// The transponder that answers a command of this type, or none.
Transponder* Addressed(Field& field, int type) {
  if (!field)
    return nullptr;
  if (field->type == type)
    return &*field;
  if (IsChipConfigCode(type) && IsChipConfigCode(field->type))
    return &*field;
  return nullptr;
}

uint16_t Word(uint8_t low, uint8_t high) {
  return static_cast<uint16_t>(low | (high << 8));
}

Answer Read(const Transponder& transponder, size_t block, size_t count) {
  Answer answer;
  answer.status = ReadBlocks(transponder, block, count, answer.payload);
  if (answer.status != kStatusOk)
    answer.payload.clear();
  return answer;
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

  if (type == 15 && sub == kLongRead && p.size() == 6) {
    return answerFrom([&](Transponder& t) { return Read(t, Word(p[2], p[3]), Word(p[4], p[5])); });
  }
  if (type == 15 && sub == kLongReadOne && p.size() == 4) {
    return answerFrom([&](Transponder& t) { return Read(t, Word(p[2], p[3]), 1); });
  }
  if (type == 15 && sub == kLongWrite && p.size() > 4) {
    return answerFrom(
        [&](Transponder& t) { return Write(t, Word(p[2], p[3]), p.begin() + 4, p.end(), false); });
  }
  if ((type == 8 || type == 16) && sub == kSpecialBlock && p.size() == 6) {
    return answerFrom([&](Transponder& t) {
      return Write(t, kSpecialBlockNumber, p.begin() + 2, p.end(), false);
    });
  }
  if (type == 10 && sub == kConfigRecord && p.size() == 3) {
    return answerFrom([](Transponder& t) { return Answer{kStatusOk, ConfigurationRecord(t)}; });
  }
  if (type == 38 && sub == kTuningRecord && p.size() == 2) {
    return answerFrom([](Transponder& t) { return Answer{kStatusOk, ConfigurationRecord(t)}; });
  }
  if (type == 38 && sub == kMeasure && p.size() == 6) {
    return answerFrom([&](Transponder& t) { return MeasureFrequency(t, p[2], p[3], p[4]); });
  }
  if (IsChipConfigCode(type) && sub == kChipConfigRead && p.size() == 2) {
    return answerFrom([](Transponder& t) { return Answer{kStatusOk, {t.chipConfig}}; });
  }
  if (IsChipConfigCode(type) && sub == kChipConfigWrite && p.size() == 3) {
    return answerFrom([&](Transponder& t) {
      t.chipConfig = p[2];
      return StatusOnly(kStatusOk);
    });
  }
  return StatusOnly(kStatusBadParameter);
}

}  // namespace

std::optional<Answer> ExtendedCommand(Field& field, uint8_t command, const Bytes& p) {
  if (command < kWholeRead || command > kSpecial)
    return std::nullopt;
  if (command == kSpecial)
    return Special(field, p);

  const bool shapeOk =
      (command == kWholeRead && p.size() == 2) || (command == kWholeWrite && p.size() >= 2) ||
      (command == kBlockRead && p.size() == 3) || (command == kBlockWrite && p.size() >= 3);
  if (!shapeOk)
    return StatusOnly(kStatusBadParameter);
  Transponder* transponder = Addressed(field, p[0]);
  if (transponder == nullptr)
    return StatusOnly(kStatusNoTransponder);

  switch (command) {
    case kWholeRead:
      return Answer{kStatusOk, transponder->uid};
    case kWholeWrite:
      return WholeWrite(*transponder, Bytes(p.begin() + 1, p.end()));
    case kBlockRead:
      return Read(*transponder, p[1], p[2]);
    default: {
      const bool lock = LockBitType(transponder->type) && (p[1] & 0x80) != 0;
      const size_t block = LockBitType(transponder->type) ? (p[1] & 0x7F) : p[1];
      return Write(*transponder, block, p.begin() + 2, p.end(), lock);
    }
  }
}

}  // namespace kxemu::detail
