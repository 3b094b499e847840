// The rules for the byte count and the write text when the dialog takes its values over.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "convert/data_format.h"
#include "convert/messages.h"

namespace kx::convert {

struct WriteInput {
  DataFormat format = DataFormat::kHexBinary;
  int typeIndex = 0;
  std::string_view lengthText;  // the length edit, an unsigned decimal number
  std::string_view writeText;
  bool extraTextAllowed = false;
  // Read commands take the values over without checking the write text.
  bool checkWriteText = true;
};

struct ValidatedInput {
  // The byte count to use once the length rules have passed: 8 for Read Only and TI Read / Write,
  // whatever the edit holds (the dialog then shows 8 in the length edit), else the edit's value.
  int n = 0;
  std::optional<Message> failure;  // the message box to show; the take-over fails

  bool ok() const { return !failure.has_value(); }
};

// A number edit's text: decimal digits with blanks around them; nullopt for anything else, an
// empty text included. Larger numbers saturate at 2^32 - 1, which fails every range anyway.
std::optional<uint64_t> ParseUnsignedEdit(std::string_view text);

// Every format keeps n within AcceptedByteCounts: DecimalBinary 1..8, the others 1..1023.
ValidatedInput ValidateWriteInput(const WriteInput& input);

}  // namespace kx::convert
