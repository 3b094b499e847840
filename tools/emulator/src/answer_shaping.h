// Turns an answer into what goes on the wire, with the configured faults applied.
#pragma once

#include <vector>

#include "kxemu/reader_model.h"

namespace kxemu::detail {

std::vector<AnswerPiece> ShapeAnswer(kxlf::FrameMode mode, uint8_t address, uint8_t status,
                                     const Bytes& payload, const Faults& faults);

}  // namespace kxemu::detail
