#include "convert/leading_zeros.h"

#include <algorithm>

namespace kx::convert {

std::string StripLeadingZeros(std::string_view text) {
  if (text.empty())
    return {};
  const size_t first = text.find_first_not_of('0');
  if (first == std::string_view::npos)
    return "0";
  return std::string(text.substr(first));
}

std::string ApplyLeadingZeros(std::string_view text, int n, bool leadingZeros) {
  std::string cut(text.substr(0, static_cast<size_t>(std::max(n, 0))));
  if (!leadingZeros)
    return StripLeadingZeros(cut);
  // The padding never goes beyond the longest byte count, whatever n holds.
  const auto width = static_cast<size_t>(std::clamp(n, 0, kMaxByteCount));
  if (cut.size() < width)
    cut.insert(0, width - cut.size(), '0');
  return cut;
}

std::string TrimAfterWrite(DataFormat format, std::string_view text) {
  if (format == DataFormat::kDecimalBinary)
    return StripLeadingZeros(text);
  return std::string(text);
}

std::string UpperCaseAfterWrite(DataFormat format, std::string_view text) {
  std::string result(text);
  if (format == DataFormat::kHexBinary || format == DataFormat::kDecimalBinary ||
      format == DataFormat::kDataBinary) {
    // These formats hold hex digits, blanks and signs only: ASCII letters are all there is.
    std::transform(result.begin(), result.end(), result.begin(), [](char c) {
      return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
  }
  return result;
}

}  // namespace kx::convert
