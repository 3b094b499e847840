#include "convert/write_conversion.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace kx::convert {
namespace {

constexpr int kMultiPage = 2;  // 8-byte blocks
constexpr int kSic7900 = 5;    // 4-byte blocks
constexpr int kReadOnly = 0;   // one 8-byte block

const DataFormat kAllFormats[] = {DataFormat::kHexBinary,     DataFormat::kHexAscii,
                                  DataFormat::kDecimalBinary, DataFormat::kDecimalAscii,
                                  DataFormat::kDataBinary,    DataFormat::kDataAscii};

Bytes Written(std::string_view text, DataFormat format, int n, int type = kMultiPage,
              bool leadingZeros = false) {
  WriteBuffer buffer = TextToBytes(text, format, n, type, leadingZeros);
  EXPECT_TRUE(buffer.ok()) << text;
  return buffer.bytes;
}

TEST(TextToBytes, HexBinaryIsABigEndianNumberSentLowByteFirst) {
  EXPECT_EQ(Written("1A2B", DataFormat::kHexBinary, 4), (Bytes{0x2B, 0x1A, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Written("123456", DataFormat::kHexBinary, 2), (Bytes{0x34, 0x12, 0, 0, 0, 0, 0, 0}));
  // An odd digit count is padded in front: "ABC" is 0x0ABC.
  EXPECT_EQ(Written("abc", DataFormat::kHexBinary, 2, kSic7900), (Bytes{0xBC, 0x0A, 0, 0}));
  EXPECT_EQ(Written("1G", DataFormat::kHexBinary, 1, kSic7900), (Bytes{0xFF, 0, 0, 0}));
  EXPECT_EQ(Written("G1", DataFormat::kHexBinary, 1, kSic7900), (Bytes{0xF1, 0, 0, 0}));
}

TEST(TextToBytes, DecimalBinaryChecksTheByteCount) {
  EXPECT_EQ(TextToBytes("256", DataFormat::kDecimalBinary, 1, kMultiPage, false).failure,
            Message{MessageId::kByteCountTooSmall});
  EXPECT_EQ(Written("255", DataFormat::kDecimalBinary, 1), (Bytes{0xFF, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(TextToBytes("1", DataFormat::kDecimalBinary, 9, kMultiPage, false).failure,
            Message{MessageId::kDecimalByteCountAbove8});
  EXPECT_EQ(Written("258", DataFormat::kDecimalBinary, 2, kSic7900), (Bytes{0x02, 0x01, 0, 0}));
  // Negative values go out in two's complement, within n bytes.
  EXPECT_EQ(Written("-2", DataFormat::kDecimalBinary, 2, kSic7900), (Bytes{0xFE, 0xFF, 0, 0}));
  EXPECT_EQ(Written("  +7abc", DataFormat::kDecimalBinary, 1, kSic7900), (Bytes{7, 0, 0, 0}));
  EXPECT_EQ(Written("x", DataFormat::kDecimalBinary, 1, kSic7900), (Bytes{0, 0, 0, 0}));
  // Overflow saturates and then still has to fit.
  EXPECT_EQ(Written("99999999999999999999", DataFormat::kDecimalBinary, 8),
            (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}));
  EXPECT_FALSE(TextToBytes("99999999999999999999", DataFormat::kDecimalBinary, 7, 2, false).ok());
}

TEST(TextToBytes, DataBinaryTakesPairsWithOrWithoutBlanks) {
  const Bytes expected{1, 2, 3, 0, 0, 0, 0, 0};
  EXPECT_EQ(Written("01 02 03", DataFormat::kDataBinary, 3), expected);
  EXPECT_EQ(Written("010203", DataFormat::kDataBinary, 3), expected);
  EXPECT_EQ(Written("01   02 03   ", DataFormat::kDataBinary, 3), expected);
  // A lone digit at the end pairs with a non-hex character.
  EXPECT_EQ(Written("01 2", DataFormat::kDataBinary, 2, kSic7900), (Bytes{0x01, 0xFF, 0, 0}));
  // Pairs go on to the end of the last block, not only to n.
  EXPECT_EQ(Written("0102030405", DataFormat::kDataBinary, 3, kSic7900), (Bytes{1, 2, 3, 4}));
}

TEST(TextToBytes, AsciiFormatsSendCharacters) {
  EXPECT_EQ(Written("12", DataFormat::kHexAscii, 6, kMultiPage, true),
            (Bytes{'0', '0', '0', '0', '1', '2', 0, 0}));
  EXPECT_EQ(Written("12", DataFormat::kHexAscii, 6, kMultiPage, false),
            (Bytes{'1', '2', 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Written("ID-7", DataFormat::kDecimalAscii, 6, kMultiPage, true),
            (Bytes{'0', '0', 'I', 'D', '-', '7', 0, 0}));
  EXPECT_EQ(Written("abcdef", DataFormat::kDataAscii, 3, kSic7900), (Bytes{'a', 'b', 'c', 0}));
}

TEST(TextToBytes, EmptyTextReportsNoDataInEveryFormat) {
  for (DataFormat format : kAllFormats) {
    const WriteBuffer buffer = TextToBytes("", format, 4, kMultiPage, true);
    EXPECT_EQ(buffer.failure, Message{MessageId::kNoData});
    EXPECT_TRUE(buffer.bytes.empty());
  }
}

TEST(TextToBytes, ByteCountsOutsideTheRangeFailWithoutAllocating) {
  const int counts[] = {0, -1, std::numeric_limits<int>::min(), 1024,
                        std::numeric_limits<int>::max()};
  for (DataFormat format : kAllFormats) {
    for (int n : counts) {
      const WriteBuffer buffer = TextToBytes("12", format, n, kSic7900, true);
      ASSERT_FALSE(buffer.ok()) << static_cast<int>(format) << "/" << n;
      EXPECT_TRUE(buffer.bytes.empty());
      if (format == DataFormat::kDecimalBinary && n > 8) {
        EXPECT_EQ(buffer.failure, Message{MessageId::kDecimalByteCountAbove8});
      } else {
        const int highest = format == DataFormat::kDecimalBinary ? 8 : 1023;
        const Message range = StandardMessage{StandardMessageId::kEnterIntegerBetween, 1, highest};
        EXPECT_EQ(buffer.failure, range);
      }
    }
  }
}

TEST(TextToBytes, BufferIsAlwaysWholeBlocks) {
  // Read Only moves one 8-byte block even when n asks for more; the value is cut, not overrun.
  for (DataFormat format : kAllFormats) {
    for (int n : {1, 3, 8, 9, 20, 1023}) {
      for (int type : {kReadOnly, kMultiPage, kSic7900}) {
        const std::string text(static_cast<size_t>(3 * n), '7');
        const WriteBuffer buffer = TextToBytes(text, format, n, type, true);
        if (!buffer.ok())
          continue;
        EXPECT_EQ(static_cast<int64_t>(buffer.bytes.size()), buffer.geometry.ByteSize());
        EXPECT_EQ(buffer.geometry.blockCount, BlockGeometry(type, n).blockCount);
      }
    }
  }
}

TEST(TextToBytes, EveryByteValueAndLongTextsConvert) {
  std::string every;
  for (int c = 0; c < 256; ++c)
    every += static_cast<char>(c);
  const std::string longText(1 << 20, 'F');
  for (DataFormat format : kAllFormats) {
    for (const std::string& text : {every, longText}) {
      const WriteBuffer buffer = TextToBytes(text, format, 8, kMultiPage, true);
      if (buffer.ok()) {
        EXPECT_EQ(buffer.bytes.size(), 8u);
      }
    }
  }
  EXPECT_EQ(Written(every, DataFormat::kDataAscii, 4, kSic7900), (Bytes{0, 1, 2, 3}));
}

}  // namespace
}  // namespace kx::convert
