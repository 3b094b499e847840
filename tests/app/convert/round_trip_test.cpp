// A value written with TextToBytes and read back with BytesToText shows its normalised text, for
// every format and every byte count.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <limits>
#include <random>
#include <string>

#include "convert/display_conversion.h"
#include "convert/write_conversion.h"

namespace kx::convert {
namespace {

constexpr int kTypes[] = {2, 5};  // 8-byte and 4-byte blocks

class RoundTrip : public ::testing::Test {
 protected:
  std::string RandomText(size_t length, std::string_view alphabet) {
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::string text;
    for (size_t i = 0; i < length; ++i)
      text += alphabet[pick(random_)];
    return text;
  }
  size_t RandomLength(int highest) {
    return std::uniform_int_distribution<size_t>(1, static_cast<size_t>(highest))(random_);
  }

  void Expect(std::string_view text, DataFormat format, int n, bool leadingZeros,
              const std::string& normalised) {
    for (int type : kTypes) {
      const WriteBuffer buffer = TextToBytes(text, format, n, type, leadingZeros);
      ASSERT_TRUE(buffer.ok()) << text << " n=" << n;
      const DisplayText display = BytesToText(buffer.bytes, format, n);
      ASSERT_TRUE(display.ok());
      ASSERT_EQ(display.text, normalised) << "format " << static_cast<int>(format) << " n=" << n;
    }
  }

  std::mt19937 random_{4711};
};

std::string Upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

TEST_F(RoundTrip, HexBinaryComesBackPaddedAndInUpperCase) {
  for (int n = 1; n <= kMaxByteCount; ++n) {
    const std::string text = RandomText(RandomLength(2 * n), "0123456789abcdefABCDEF");
    Expect(text, DataFormat::kHexBinary, n, false,
           std::string(2 * static_cast<size_t>(n) - text.size(), '0') + Upper(text));
  }
}

TEST_F(RoundTrip, AsciiNumbersComeBackWithOrWithoutLeadingZeros) {
  for (int n = 1; n <= kMaxByteCount; ++n) {
    const std::string hex = RandomText(RandomLength(n), "0123456789abcdefABCDEF");
    const std::string padding(static_cast<size_t>(n) - hex.size(), '0');
    Expect(hex, DataFormat::kHexAscii, n, false, hex);
    Expect(hex, DataFormat::kHexAscii, n, true, padding + hex);
    const std::string decimal = RandomText(RandomLength(std::min(n, 20)), "0123456789");
    Expect(decimal, DataFormat::kDecimalAscii, n, false, decimal);
    Expect(decimal, DataFormat::kDecimalAscii, n, true,
           std::string(static_cast<size_t>(n) - decimal.size(), '0') + decimal);
  }
}

TEST_F(RoundTrip, DecimalBinaryComesBackWithoutLeadingZeros) {
  for (int n = 1; n <= 8; ++n) {
    const uint64_t highest =
        n == 8 ? uint64_t{std::numeric_limits<int64_t>::max()} : (uint64_t{1} << (8 * n)) - 1;
    std::uniform_int_distribution<uint64_t> pick(0, highest);
    for (uint64_t value : {uint64_t{0}, uint64_t{1}, highest, pick(random_), pick(random_)}) {
      Expect("00" + std::to_string(value), DataFormat::kDecimalBinary, n, false,
             std::to_string(value));
    }
  }
}

TEST_F(RoundTrip, DataBinaryComesBackAsSeparatedPairs) {
  for (int n = 1; n <= kMaxByteCount; ++n) {
    const size_t pairs = RandomLength(n);
    std::string text;
    std::string normalised;
    for (size_t i = 0; i < pairs; ++i) {
      const std::string pair = RandomText(2, "0123456789abcdefABCDEF");
      text += pair + RandomText(i % 3, " ");
      normalised += (i ? " " : "") + Upper(pair);
    }
    for (size_t i = pairs; i < static_cast<size_t>(n); ++i)
      normalised += (i ? " 00" : "00");
    Expect(text, DataFormat::kDataBinary, n, false, normalised);
  }
}

TEST_F(RoundTrip, DataAsciiComesBackByteForByte) {
  std::string alphabet;
  for (int c = 1; c < 256; ++c)
    alphabet += static_cast<char>(c);
  for (int n = 1; n <= kMaxByteCount; ++n) {
    const std::string text = RandomText(RandomLength(n), alphabet);
    Expect(text, DataFormat::kDataAscii, n, false, text);
  }
}

}  // namespace
}  // namespace kx::convert
