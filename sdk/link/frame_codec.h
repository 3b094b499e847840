// Request and answer frames of the reader protocol.
//
// Both directions share one layout per frame mode:
//   mode 0 (XOR):   02 | address | code | n | n bytes | XOR of address..last data byte
//   mode 1 (CRC16): address | code | n | n bytes | CRC-16/MODBUS, low byte first
// "code" is the command in a request and the status in an answer. Both modes add 5 bytes to the
// n data bytes, and n travels in one byte, so a frame never carries more than 255 data bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kxlf {

using Bytes = std::vector<uint8_t>;

enum class FrameMode : uint8_t { kXor = 0, kCrc16 = 1 };

constexpr uint8_t kStartByte = 0x02;
constexpr size_t kFrameOverhead = 5;
constexpr size_t kMaxFrameData = 255;

uint16_t Crc16Modbus(const uint8_t* data, size_t size);
uint8_t XorChecksum(const uint8_t* data, size_t size);

// Offsets of the length byte, the code byte and the first data byte in a frame of the mode.
size_t LengthOffset(FrameMode mode);
size_t CodeOffset(FrameMode mode);
size_t DataOffset(FrameMode mode);

// Builds a whole frame. The caller keeps data within kMaxFrameData bytes.
Bytes BuildFrame(FrameMode mode, uint8_t address, uint8_t code, const uint8_t* data,
                 size_t dataSize);
Bytes BuildFrame(FrameMode mode, uint8_t address, uint8_t code, const Bytes& data);

enum class FrameCheck {
  kOk,
  kEmpty,        // nothing received
  kIncomplete,   // fewer than 5 bytes, or fewer than the length byte announces
  kBadChecksum,  // XOR byte or CRC does not match
};

struct DecodedFrame {
  FrameCheck check = FrameCheck::kEmpty;
  uint8_t address = 0;
  uint8_t code = 0;      // command of a request, status of an answer
  Bytes data;            // the n data bytes; bytes after the checksum are not part of it
  size_t frameSize = 0;  // n + 5 when the frame is complete
};

// Decodes the frame at the start of `received` (mode 0: the start byte must already be at
// offset 0; it is not tested here, the answer wait drops anything before it).
DecodedFrame DecodeFrame(FrameMode mode, const uint8_t* received, size_t size);
DecodedFrame DecodeFrame(FrameMode mode, const Bytes& received);

}  // namespace kxlf
