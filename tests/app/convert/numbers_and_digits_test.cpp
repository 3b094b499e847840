#include <gtest/gtest.h>

#include <limits>

#include "convert/block_geometry.h"
#include "convert/byte_text.h"
#include "convert/decimal.h"

namespace kx::convert {
namespace {

TEST(BlockGeometry, FollowsTheTransponderType) {
  struct Case {
    int type, n, blockSize, blockCount;
  };
  const Case cases[] = {
      {0, 8, 8, 1},      {1, 100, 8, 1}, {2, 1, 8, 1},   {2, 8, 8, 1}, {2, 9, 8, 2},
      {3, 16, 8, 2},     {4, 17, 8, 3},  {5, 4, 4, 1},   {5, 5, 4, 2}, {6, 8, 4, 2},
      {7, 1023, 4, 256}, {8, 20, 8, 1},  {-1, 20, 8, 1}, {2, 0, 8, 0}, {5, -7, 4, 0},
  };
  for (const Case& c : cases) {
    const Geometry g = BlockGeometry(c.type, c.n);
    EXPECT_EQ(g.blockSize, c.blockSize) << c.type << "/" << c.n;
    EXPECT_EQ(g.blockCount, c.blockCount) << c.type << "/" << c.n;
  }
}

TEST(BlockGeometry, HugeCountsDoNotOverflow) {
  const Geometry g = BlockGeometry(5, std::numeric_limits<int>::max());
  EXPECT_EQ(g.blockCount, 536870912);
  EXPECT_EQ(g.ByteSize(), int64_t{1} << 31);
}

TEST(HexDigits, ValuesAndPairsOfEveryCharacter) {
  for (int c = 0; c < 256; ++c) {
    const char ch = static_cast<char>(c);
    const bool hex =
        (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
    EXPECT_EQ(HexDigitValue(ch) != kNotAHexDigit, hex) << c;
  }
  EXPECT_EQ(HexDigitValue('b'), 11);
  EXPECT_EQ(HexDigitValue('F'), 15);
  EXPECT_EQ(HexPairValue('1', 'a'), 0x1A);
  EXPECT_EQ(HexPairValue('1', 'x'), 0xFF);  // a bad low digit makes the whole byte 0xFF
  EXPECT_EQ(HexPairValue('x', '5'), 0xF5);
}

TEST(ParseDecimal, AcceptsBlanksAndOneSignAndSaturates) {
  EXPECT_EQ(ParseDecimal("  42"), 42);
  EXPECT_EQ(ParseDecimal("\t-17x9"), -17);
  EXPECT_EQ(ParseDecimal("+0099"), 99);
  EXPECT_EQ(ParseDecimal(""), 0);
  EXPECT_EQ(ParseDecimal("abc"), 0);
  EXPECT_EQ(ParseDecimal("--5"), 0);
  EXPECT_EQ(ParseDecimal("4 2"), 4);
  EXPECT_EQ(ParseDecimal("9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ParseDecimal("9223372036854775808"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ParseDecimal("-9223372036854775808"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(ParseDecimal("-99999999999999999999999"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(ParseDecimal(std::string(5000, '9')), std::numeric_limits<int64_t>::max());
}

TEST(ValueFitsBytes, LimitsOfEveryByteCount) {
  for (int n = 1; n < 8; ++n) {
    const int64_t highest = (int64_t{1} << (8 * n)) - 1;
    EXPECT_TRUE(ValueFitsBytes(highest, n)) << n;
    EXPECT_FALSE(ValueFitsBytes(highest + 1, n)) << n;
  }
  EXPECT_TRUE(ValueFitsBytes(std::numeric_limits<int64_t>::max(), 8));
  EXPECT_TRUE(ValueFitsBytes(-1, 1));
  EXPECT_TRUE(ValueFitsBytes(0, 0));
  EXPECT_FALSE(ValueFitsBytes(1, 0));
}

TEST(ValueFitsBytes, SevenByteValuesJustAboveTheLimitDoNotPass) {
  // 2^56 and its neighbours are the same number in double precision.
  const int64_t limit = int64_t{1} << 56;
  EXPECT_TRUE(ValueFitsBytes(limit - 1, 7));
  EXPECT_FALSE(ValueFitsBytes(limit, 7));
  EXPECT_FALSE(ValueFitsBytes(limit + 4, 7));
}

}  // namespace
}  // namespace kx::convert
