// Chip registers behind the configuration read and the chip tools: the configuration records
// of types 10 and 38 and the SIC7999 resonance measurement.
#pragma once

#include "command_handlers.h"

namespace kxemu::detail {

// The record a configuration read delivers. The SIC7999 record carries the chip's present CTune
// at byte 8.
Bytes ConfigurationRecord(const Transponder& transponder);

// Answer to 0xC4 [38, 1, ctune, apply, setting, 0]: the 16-bit divisor (low byte first) with
// 2048000000 / divisor = resonance frequency in Hz. With apply != 0 the CTune value is stored in
// the chip before measuring. The transponder's measurement faults apply.
Answer MeasureFrequency(Transponder& transponder, uint8_t ctune, uint8_t apply, uint8_t setting);

}  // namespace kxemu::detail
