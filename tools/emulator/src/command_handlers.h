// The reader's command interpreter, split by command family. Each family answers the commands
// it knows and returns nothing for the others, so the dispatcher can try them in turn.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "kxemu/status_codes.h"
#include "kxemu/transponder.h"

namespace kxemu::detail {

struct Answer {
  uint8_t status = kStatusOk;
  Bytes payload;
};

inline Answer StatusOnly(uint8_t status) {
  return Answer{status, {}};
}

using Field = std::optional<Transponder>;

// Types 8 and 16 keep blocks 14 and 15 behind a command that carries no block number; the
// emulated reader puts that data into block 14.
constexpr size_t kSpecialBlockNumber = 14;

// Types whose block byte carries the lock request in bit 0x80; for the others that bit is part
// of the block number.
inline bool LockBitType(int type) {
  return type == 3 || type == 9 || type == 13 || type == 17;
}

// 0xF0, 0xF4, 0xF6, 0xFF.
std::optional<Answer> ReaderCommand(const std::string& versionText, uint8_t& readerMode,
                                    uint8_t command, const Bytes& params);
// 0xC0 to 0xC4.
std::optional<Answer> ExtendedCommand(Field& field, uint8_t command, const Bytes& params);
// The per-type commands of older readers. Their meaning depends in two places on the reader's
// capability word (see reader_identity.h).
std::optional<Answer> LegacyCommand(Field& field, uint16_t capabilityWord, uint8_t command,
                                    const Bytes& params);

// Every command; unknown ones answer kStatusUnknownCommand.
Answer ExecuteCommand(const std::string& versionText, uint8_t& readerMode, Field& field,
                      uint8_t command, const Bytes& params);

}  // namespace kxemu::detail
