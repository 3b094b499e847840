// Transponder operations: which reader commands a read or write of a transponder type becomes.
// A reader with capability bit 0x100 knows every type itself and takes whole block ranges in one
// command (0xC0 to 0xC4); older readers get per-type commands, one block at a time.
//
// Only the low byte of a type argument names the type. Every operation returns false on failure
// with the connection's error code already stored, except where noted, and leaves its output
// untouched then. A command that would need more than 255 parameter bytes is refused with
// error 10 before anything is sent: its length byte could not say how long it is.
#pragma once

#include <cstdint>

#include "link/command_channel.h"
#include "link/frame_codec.h"
#include "link/reader_commands.h"

namespace kxlf {

// Option bits above the type byte of a block read or write.
constexpr int kOptionVerify = 0x100;
constexpr int kOptionVerifyType3 = 0x200;
constexpr int kOptionInvert = 0x400;

// A legacy block answer without data moves the read on to the next block without counting
// anything down, so a reader that keeps answering empty would be asked for ever. This many empty
// answers in a row end the read with error 9: the reader did not deliver the bytes asked for.
constexpr int kMaxEmptyBlockAnswers = 8;

constexpr uint32_t kMinWholeReadTimeoutMs = 1000;
constexpr uint32_t kMinWholeWriteTimeoutMs = 2000;

// Whole-transponder read. Legacy type 9 and the unique-code read of type 3 fail without a new
// error code when the transponder's answer does not make sense.
bool ReadWholeTransponder(CommandChannel& channel, int type, Bytes& result);

// Whole-transponder data command. Type 10 keeps `data` as the connection's key data and sends
// nothing.
bool WriteWholeTransponder(CommandChannel& channel, int type, const Bytes& data, Bytes& answer);

// Reads `byteCount` bytes from `startBlock`. The low byte of `typeAndOptions` is the type;
// kOptionInvert inverts every byte of the result. A negative count is error 10.
bool ReadBlocks(CommandChannel& channel, int typeAndOptions, int startBlock, int byteCount,
                Bytes& result);

// Writes `data` from `startBlock`; `lock` 1 asks the reader to lock the blocks where the type
// allows it. Only the low byte of `type` counts.
bool WriteBlocks(CommandChannel& channel, int type, int startBlock, const Bytes& data, int lock);

// Configuration record of type 10 (both command sets) and 38 (extended set); else error 24.
bool ReadConfiguration(CommandChannel& channel, int type, Bytes& result);

}  // namespace kxlf
