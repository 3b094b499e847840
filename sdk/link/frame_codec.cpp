#include "frame_codec.h"

namespace kxlf {

uint16_t Crc16Modbus(const uint8_t* data, size_t size) {
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) {
      const bool carry = (crc & 1) != 0;
      crc >>= 1;
      if (carry)
        crc ^= 0xA001;
    }
  }
  return crc;
}

uint8_t XorChecksum(const uint8_t* data, size_t size) {
  uint8_t sum = 0;
  for (size_t i = 0; i < size; ++i)
    sum ^= data[i];
  return sum;
}

size_t LengthOffset(FrameMode mode) {
  return mode == FrameMode::kXor ? 3 : 2;
}
size_t CodeOffset(FrameMode mode) {
  return mode == FrameMode::kXor ? 2 : 1;
}
size_t DataOffset(FrameMode mode) {
  return mode == FrameMode::kXor ? 4 : 3;
}

Bytes BuildFrame(FrameMode mode, uint8_t address, uint8_t code, const uint8_t* data,
                 size_t dataSize) {
  Bytes frame;
  frame.reserve(dataSize + kFrameOverhead);
  if (mode == FrameMode::kXor)
    frame.push_back(kStartByte);
  frame.push_back(address);
  frame.push_back(code);
  frame.push_back(static_cast<uint8_t>(dataSize));
  frame.insert(frame.end(), data, data + dataSize);
  if (mode == FrameMode::kXor) {
    frame.push_back(XorChecksum(frame.data() + 1, frame.size() - 1));
  } else {
    const uint16_t crc = Crc16Modbus(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
  }
  return frame;
}

Bytes BuildFrame(FrameMode mode, uint8_t address, uint8_t code, const Bytes& data) {
  return BuildFrame(mode, address, code, data.data(), data.size());
}

DecodedFrame DecodeFrame(FrameMode mode, const uint8_t* received, size_t size) {
  DecodedFrame result;
  if (size == 0)
    return result;
  result.check = FrameCheck::kIncomplete;
  if (size < kFrameOverhead)
    return result;
  const size_t n = received[LengthOffset(mode)];
  const size_t total = n + kFrameOverhead;
  if (size < total)
    return result;

  bool valid;
  if (mode == FrameMode::kXor) {
    valid = XorChecksum(received + 1, n + 3) == received[n + 4];
  } else {
    const uint16_t crc = Crc16Modbus(received, n + 3);
    valid = crc == static_cast<uint16_t>(received[n + 3] | (received[n + 4] << 8));
  }
  if (!valid) {
    result.check = FrameCheck::kBadChecksum;
    return result;
  }
  result.check = FrameCheck::kOk;
  result.address = received[mode == FrameMode::kXor ? 1 : 0];
  result.code = received[CodeOffset(mode)];
  const uint8_t* data = received + DataOffset(mode);
  result.data.assign(data, data + n);
  result.frameSize = total;
  return result;
}

DecodedFrame DecodeFrame(FrameMode mode, const Bytes& received) {
  return DecodeFrame(mode, received.data(), received.size());
}

}  // namespace kxlf
