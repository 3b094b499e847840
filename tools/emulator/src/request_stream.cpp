#include "kxemu/request_stream.h"

namespace kxemu {

using kxlf::FrameCheck;
using kxlf::FrameMode;

void RequestStream::Push(const uint8_t* data, size_t size) {
  pending_.insert(pending_.end(), data, data + size);
}

std::optional<Request> RequestStream::FrameAt(size_t offset) const {
  const uint8_t* start = pending_.data() + offset;
  const size_t available = pending_.size() - offset;
  for (FrameMode mode : {FrameMode::kXor, FrameMode::kCrc16}) {
    if (mode == FrameMode::kXor && start[0] != kxlf::kStartByte)
      continue;
    kxlf::DecodedFrame decoded = kxlf::DecodeFrame(mode, start, available);
    if (decoded.check != FrameCheck::kOk)
      continue;
    Request request;
    request.mode = mode;
    request.frame.assign(start, start + decoded.frameSize);
    request.decoded = std::move(decoded);
    return request;
  }
  return std::nullopt;
}

// Called only for offsets where no complete valid frame starts: the offset is still alive when
// a frame of either mode starting there has not yet received all the bytes its length announces.
bool RequestStream::CanStillStartFrame(size_t offset) const {
  const uint8_t* start = pending_.data() + offset;
  const size_t available = pending_.size() - offset;
  const auto incomplete = [&](FrameMode mode) {
    if (available < kxlf::kFrameOverhead)
      return true;
    return available < start[kxlf::LengthOffset(mode)] + kxlf::kFrameOverhead;
  };
  const bool xorAlive = start[0] == kxlf::kStartByte && incomplete(FrameMode::kXor);
  return xorAlive || incomplete(FrameMode::kCrc16);
}

std::optional<Request> RequestStream::Next() {
  for (size_t offset = 0; offset < pending_.size(); ++offset) {
    std::optional<Request> request = FrameAt(offset);
    if (!request)
      continue;
    pending_.erase(pending_.begin(), pending_.begin() + offset + request->frame.size());
    return request;
  }
  size_t dead = 0;
  while (dead < pending_.size() && !CanStillStartFrame(dead))
    ++dead;
  pending_.erase(pending_.begin(), pending_.begin() + dead);
  return std::nullopt;
}

}  // namespace kxemu
