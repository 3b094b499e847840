// Messages of the conversions and of the write input validation. The library reports ids; the
// window layer turns them into text in the language of its resources.
#pragma once

#include <cstdint>
#include <string_view>
#include <variant>

namespace kx::convert {

// String ids of the resource string table.
enum class MessageId : int {
  kNoHexInput = 32851,              // message box: a character is not a hex digit
  kNoDecimalInput = 32852,          // message box: a character is not a decimal digit
  kByteCountTooSmall = 32853,       // status: the decimal value does not fit into n bytes
  kDecimalByteCountAbove8 = 32854,  // status: DecimalBinary with n > 8
  kNoData = 32857,                  // status: empty write text
  kDataFieldTooLong = 32859,        // message box: more byte pairs than n
};

// The window framework's own validation messages; %1 and %2 stand for the arguments.
enum class StandardMessageId : int {
  kEnterPositiveInteger,  // no argument
  kEnterIntegerBetween,   // %1 lowest, %2 highest
  kEnterAtMostChars,      // %1 highest character count
};

struct StandardMessage {
  StandardMessageId id;
  int64_t first = 0;
  int64_t second = 0;

  bool operator==(const StandardMessage&) const = default;
};

using Message = std::variant<MessageId, StandardMessage>;

// German texts (UTF-8) as the built-in string table holds them.
std::string_view GermanText(MessageId id);
std::string_view GermanText(StandardMessageId id);

}  // namespace kx::convert
