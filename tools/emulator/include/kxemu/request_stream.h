// Cuts request frames of either frame mode out of the bytes a reader receives (rules in
// reader_model.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/frame_codec.h"

namespace kxemu {

struct Request {
  kxlf::FrameMode mode = kxlf::FrameMode::kXor;
  std::vector<uint8_t> frame;  // the request's bytes as received
  kxlf::DecodedFrame decoded;
};

class RequestStream {
 public:
  void Push(const uint8_t* data, size_t size);
  // The next complete request, or nothing until more bytes arrive.
  std::optional<Request> Next();
  size_t PendingBytes() const { return pending_.size(); }

 private:
  std::optional<Request> FrameAt(size_t offset) const;
  bool CanStillStartFrame(size_t offset) const;

  std::vector<uint8_t> pending_;
};

}  // namespace kxemu
