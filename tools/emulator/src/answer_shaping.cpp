#include "answer_shaping.h"

#include <algorithm>

namespace kxemu::detail {

namespace {

Bytes CarriedPayload(const Bytes& payload, const Faults& faults) {
  if (faults.payloadOverride) {
    Bytes forced = *faults.payloadOverride;
    forced.resize(std::min(forced.size(), kxlf::kMaxFrameData));
    return forced;
  }
  return faults.emptyPayloads ? Bytes{} : payload;
}

}  // namespace

std::vector<AnswerPiece> ShapeAnswer(kxlf::FrameMode mode, uint8_t address, uint8_t status,
                                     const Bytes& payload, const Faults& faults) {
  if (faults.statusOverride >= 0)
    status = static_cast<uint8_t>(faults.statusOverride);
  Bytes frame = kxlf::BuildFrame(mode, address, status, CarriedPayload(payload, faults));
  frame[kxlf::LengthOffset(mode)] += static_cast<uint8_t>(faults.lengthByteOffset);
  if (faults.wrongChecksum)
    frame.back() ^= 0xFF;
  if (faults.truncateTo >= 0 && static_cast<size_t>(faults.truncateTo) < frame.size()) {
    frame.resize(static_cast<size_t>(faults.truncateTo));
  }

  Bytes wire = faults.bytesBeforeFrame;
  wire.insert(wire.end(), frame.begin(), frame.end());
  wire.insert(wire.end(), faults.bytesAfterFrame.begin(), faults.bytesAfterFrame.end());

  std::vector<AnswerPiece> pieces;
  const size_t pieceSize = faults.pieceSize > 0 ? faults.pieceSize : wire.size();
  for (size_t offset = 0; offset < wire.size(); offset += pieceSize) {
    const size_t end = std::min(wire.size(), offset + pieceSize);
    AnswerPiece piece;
    piece.pauseBefore = offset == 0 ? faults.answerDelay : faults.piecePause;
    piece.bytes.assign(wire.begin() + static_cast<std::ptrdiff_t>(offset),
                       wire.begin() + static_cast<std::ptrdiff_t>(end));
    pieces.push_back(std::move(piece));
  }
  return pieces;
}

}  // namespace kxemu::detail
