#include "convert/validation.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "convert/byte_text.h"

namespace kx::convert {

namespace {

constexpr int kFixedByteCount = 8;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool All(std::string_view text, bool (*accepted)(char)) {
  return std::all_of(text.begin(), text.end(), accepted);
}

// The runs of digits between blanks all have an even length.
bool EveryDigitRunIsPairs(std::string_view text) {
  size_t run = 0;
  for (char c : text) {
    if (c != ' ') {
      ++run;
    } else if (run % 2 != 0) {
      return false;
    }
  }
  return run % 2 == 0;
}

std::optional<Message> CheckContent(DataFormat format, int n, std::string_view text,
                                    bool extraTextAllowed) {
  switch (format) {
    case DataFormat::kHexBinary:
    case DataFormat::kHexAscii:
      if (format == DataFormat::kHexAscii && extraTextAllowed)
        return std::nullopt;
      if (!All(text, IsHexDigit))
        return MessageId::kNoHexInput;
      return std::nullopt;
    case DataFormat::kDecimalBinary:
    case DataFormat::kDecimalAscii:
      if (format == DataFormat::kDecimalAscii && extraTextAllowed)
        return std::nullopt;
      if (!All(text, IsDecimalDigit))
        return MessageId::kNoDecimalInput;
      return std::nullopt;
    case DataFormat::kDataBinary: {
      if (!All(text, [](char c) { return c == ' ' || IsHexDigit(c); })) {
        return MessageId::kNoHexInput;
      }
      // Every byte is two adjacent digits: a lone digit would be sent as a byte made of it and
      // whatever follows, one digit past the text's end or a blank.
      if (!EveryDigitRunIsPairs(text))
        return MessageId::kNoHexInput;
      const auto digits = static_cast<int64_t>(text.size()) -
                          static_cast<int64_t>(std::count(text.begin(), text.end(), ' '));
      if (digits / 2 > n)
        return MessageId::kDataFieldTooLong;
      return std::nullopt;
    }
    case DataFormat::kDataAscii:
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<uint64_t> ParseUnsignedEdit(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin]))
    ++begin;
  while (end > begin && IsBlank(text[end - 1]))
    --end;
  if (begin == end)
    return std::nullopt;
  uint64_t value = 0;
  for (size_t i = begin; i < end; ++i) {
    if (!IsDecimalDigit(text[i]))
      return std::nullopt;
    value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(text[i] - '0'),
                               std::numeric_limits<uint32_t>::max());
  }
  return value;
}

ValidatedInput ValidateWriteInput(const WriteInput& input) {
  ValidatedInput result;
  if (input.typeIndex == 0 || input.typeIndex == 1) {
    result.n = kFixedByteCount;
  } else {
    const std::optional<uint64_t> parsed = ParseUnsignedEdit(input.lengthText);
    if (!parsed) {
      result.failure = StandardMessage{StandardMessageId::kEnterPositiveInteger};
      return result;
    }
    const ByteCountRange range = AcceptedByteCounts(input.format);
    if (*parsed < static_cast<uint64_t>(range.lowest) ||
        *parsed > static_cast<uint64_t>(range.highest)) {
      result.failure =
          StandardMessage{StandardMessageId::kEnterIntegerBetween, range.lowest, range.highest};
      return result;
    }
    result.n = static_cast<int>(*parsed);
  }
  if (!input.checkWriteText)
    return result;

  int limit = WriteTextLimit(input.format, result.n);
  if (input.format == DataFormat::kDecimalAscii) {
    // Only the first n characters reach the transponder: a longer text would be reported as
    // written while part of it was dropped. Extra text lifts the 20-character rule, not this.
    limit = input.extraTextAllowed ? result.n : std::min(limit, result.n);
  }
  if (input.writeText.size() > static_cast<size_t>(limit)) {
    result.failure = StandardMessage{StandardMessageId::kEnterAtMostChars, limit};
    return result;
  }
  result.failure = CheckContent(input.format, result.n, input.writeText, input.extraTextAllowed);
  return result;
}

}  // namespace kx::convert
