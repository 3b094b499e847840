// Helpers for tests that talk to a ReaderModel directly.
#pragma once

#include <vector>

#include "kxemu/reader_model.h"
#include "link/frame_codec.h"

namespace kxemu::testing {

using kxlf::FrameMode;

inline Bytes Joined(const std::vector<AnswerPiece>& pieces) {
  Bytes wire;
  for (const AnswerPiece& piece : pieces)
    wire.insert(wire.end(), piece.bytes.begin(), piece.bytes.end());
  return wire;
}

inline std::vector<AnswerPiece> Send(ReaderModel& model, const Bytes& bytes) {
  return model.Receive(bytes.data(), bytes.size());
}

// One request in the given mode; the answer decoded in the same mode (check kEmpty: silence).
inline kxlf::DecodedFrame Exchange(ReaderModel& model, uint8_t command, const Bytes& params,
                                   FrameMode mode = FrameMode::kXor, uint8_t address = 1) {
  return kxlf::DecodeFrame(mode,
                           Joined(Send(model, kxlf::BuildFrame(mode, address, command, params))));
}

inline ReaderModel ModelWith(Transponder transponder, std::string versionText = "054A") {
  ReaderConfig config;
  config.versionText = std::move(versionText);
  config.transponder = std::move(transponder);
  return ReaderModel(config);
}

}  // namespace kxemu::testing
