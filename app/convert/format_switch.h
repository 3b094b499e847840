// The byte side of a change of the data format: the write text re-expressed in the new format.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "convert/data_format.h"
#include "convert/messages.h"

namespace kx::convert {

struct SwitchedText {
  std::string text;               // the write text for the write edit of the new format
  std::vector<Message> statuses;  // status lines of the conversions, in order
};

// The text is turned into bytes in the old format and rendered in the new one. A text that does
// not convert fully goes on with the bytes it gave (none, or some). The same format returns the
// text unchanged.
SwitchedText SwitchFormatText(std::string_view text, DataFormat from, DataFormat to, int n,
                              int typeIndex, bool leadingZeros);

}  // namespace kx::convert
