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
