// The reader's command interpreter, split by command family. Each family answers the commands
// it knows and returns nothing for the others, so the dispatcher can try them in turn.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "kxemu/status_codes.h"
#include "kxemu/transponder.h"
#include "link/reader_commands.h"
#include "link/transponder_types.h"

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
constexpr size_t kSpecialBlockNumber = kxlf::kFirstOfLastBlocks;

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
