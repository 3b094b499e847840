// The reader's command codes and the fixed values inside their parameters, for the host library
// that sends them and the emulator that answers them: one list, so the two cannot drift apart.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace kxlf {

// Commands to the reader itself.
constexpr uint8_t kVersionCommand = 0xF0;
constexpr uint8_t kReaderModeCommand = 0xF4;
constexpr uint8_t kUsbInterfaceCommand = 0xFF;
constexpr uint8_t kCommandF6 = 0xF6;

constexpr std::array<int, 7> kReaderModes = {0, 1, 2, 3, 128, 129, 131};

constexpr bool IsReaderMode(int mode) {
  return std::find(kReaderModes.begin(), kReaderModes.end(), mode) != kReaderModes.end();
}

// Capability word bits: which commands a reader takes for transponders.
constexpr uint16_t kCapExtendedCommands = 0x100;
constexpr uint16_t kCapPlainBlockCommands = 0x00F;
constexpr uint16_t kCapUniqueCodeCommand = 0x002;

// The extended command set: the reader knows every type and takes whole block ranges. The first
// parameter byte is the type.
constexpr uint8_t kWholeReadCommand = 0xC0;   // [type, 0]
constexpr uint8_t kWholeWriteCommand = 0xC1;  // [type, data]
constexpr uint8_t kBlockReadCommand = 0xC2;   // [type, block, count]
constexpr uint8_t kBlockWriteCommand = 0xC3;  // [type, block byte, data]
constexpr uint8_t kSpecialCommand = 0xC4;     // [type, sub-command, ...]

// Sub-commands of kSpecialCommand; their meaning depends on the type in front of them.
constexpr uint8_t kSpecialMeasure = 1;               // type 38: [ctune, apply, setting, 0]
constexpr uint8_t kSpecialChipRead = 1;              // chip codes 35 and 37
constexpr uint8_t kSpecialLongBlockRead = 2;         // type 15: [B lo, B hi, C lo, C hi]
constexpr uint8_t kSpecialTuningRecord = 2;          // type 38
constexpr uint8_t kSpecialChipWrite = 2;             // chip codes 35 and 37: [value]
constexpr uint8_t kSpecialWriteLastBlocks = 3;       // types 8 and 16: [4 data bytes]
constexpr uint8_t kSpecialLongSingleBlockRead = 13;  // type 15: [B lo, B hi]
constexpr uint8_t kSpecialLongBlockWrite = 14;       // type 15: [B lo, B hi, data]
constexpr uint8_t kSpecialConfiguration = 23;        // type 10: [0]

// Chip codes whose configuration byte the special command reads and writes.
constexpr bool IsChipCode(int code) {
  return code == 35 || code == 37;
}

// A resonance measurement answers with a divisor of this reference: reference / divisor is the
// frequency in Hz.
constexpr long long kFrequencyReferenceHz = 2048000000LL;

// In a block write of a lockable type, this bit of the block byte asks to lock the blocks.
constexpr uint8_t kLockBit = 0x80;

// The legacy command set: one block of 4 bytes per command. Block commands are a type's command
// base (see LegacyCommandBase) with the operation in the low nibble.
constexpr size_t kLegacyPieceSize = 4;
constexpr uint8_t kLegacyBlockWrite = 1;  // [block byte, 4 data bytes]
constexpr uint8_t kLegacyBlockRead = 2;   // [block]

constexpr uint8_t kLegacyReadType2 = 0x28;
constexpr uint8_t kLegacyWriteType2 = 0x29;
constexpr uint8_t kLegacyReadType4 = 0x48;  // types 4 and 12
constexpr uint8_t kLegacyWriteType4 = 0x49;
constexpr uint8_t kLegacyReadType5 = 0x58;
constexpr uint8_t kLegacyWriteType5 = 0x59;
constexpr uint8_t kLegacyUniqueCode = 0x10;  // type 3, decoded by the reader
constexpr uint8_t kLegacyType3Code = 0x34;   // type 3, the raw 64-bit code
constexpr uint8_t kLegacyType3Select = 0x39;
constexpr uint8_t kLegacyPackedWrite = 0x31;  // type 3 on readers without plain block commands
constexpr uint8_t kLegacyPackedRead = 0x32;
constexpr uint8_t kLegacyWriteLastBlocks = 0xA8;  // types 8 and 16: [4 data bytes]

// Type 10 has one command; its parameters are 0 and a sub-command.
constexpr uint8_t kLegacyType10 = 0xB0;
constexpr uint8_t kLegacyType10WholeRead = 2;
constexpr uint8_t kLegacyType10BlockRead = 18;   // [B, count - 1]
constexpr uint8_t kLegacyType10BlockWrite = 20;  // [B, 4 data bytes]
constexpr uint8_t kLegacyType10Configuration = 23;

}  // namespace kxlf
