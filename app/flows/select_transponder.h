// SIC7900 and SIC7999 transponders answer block commands only after their UID was sent back to
// them; this is done at the start of every read and write.
#pragma once

#include <optional>

#include "flows/failure.h"
#include "flows/transponder_types.h"

namespace kx::flows {

// Reads the UID with the whole-transponder read and sends it back with the whole-transponder
// write. A UID shorter than 8 bytes is sent back as 8 bytes all the same; only failed SDK calls
// fail the selection.
std::optional<Failure> SelectTransponder(int handle, int transponderCode);

// The selection for the types that need it before block commands; nothing for the others.
std::optional<Failure> SelectIfNeeded(int handle, const TransponderType& type);

}  // namespace kx::flows
