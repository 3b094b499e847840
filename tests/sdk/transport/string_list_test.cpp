#include "transport/string_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kxlf {
namespace {

constexpr char kGuard = '\x55';

// Writes into a guarded buffer and returns what the call wrote; the guard bytes past
// `bufferSize` must survive.
std::string Write(const std::vector<std::string>& entries, int bufferSize, int* result) {
  std::vector<char> buffer(static_cast<size_t>(std::max(bufferSize, 0)) + 8, kGuard);
  *result = WriteStringList(entries, buffer.data(), bufferSize);
  for (size_t i = static_cast<size_t>(std::max(bufferSize, 0)); i < buffer.size(); ++i) {
    EXPECT_EQ(buffer[i], kGuard) << "written past the buffer at " << i;
  }
  return std::string(buffer.data(), static_cast<size_t>(std::max(*result, 0)));
}

TEST(StringList, EntriesEachEndWithNulAndTheListWithAnother) {
  int result = 0;
  EXPECT_EQ(Write({"COM1", "COM3 [USB]"}, 100, &result), std::string("COM1\0COM3 [USB]\0\0", 17));
  EXPECT_EQ(result, 17);
  EXPECT_EQ(Write({}, 100, &result), std::string("\0", 1));
  EXPECT_EQ(result, 1);
}

TEST(StringList, EntryNeedsRoomForItsNulAndTheFinalOne) {
  int result = 0;
  EXPECT_EQ(Write({"ab"}, 4, &result), std::string("ab\0\0", 4));
  EXPECT_EQ(result, 4);
  EXPECT_EQ(Write({"ab"}, 3, &result), std::string("\0", 1));
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Write({"ab", "cd"}, 6, &result), std::string("ab\0\0", 4));
  EXPECT_EQ(result, 4);
}

TEST(StringList, FirstEntryThatDoesNotFitEndsTheList) {
  int result = 0;
  EXPECT_EQ(Write({"a", "abcdef", "b"}, 6, &result), std::string("a\0\0", 3));
  EXPECT_EQ(result, 3);
}

TEST(StringList, OneByteBufferGetsOnlyTheFinalNul) {
  int result = 0;
  EXPECT_EQ(Write({"COM1", "COM2"}, 1, &result), std::string("\0", 1));
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Write({""}, 1, &result), std::string("\0", 1));
}

TEST(StringList, NoRoomAtAllWritesNothing) {
  int result = -1;
  Write({"COM1"}, 0, &result);
  EXPECT_EQ(result, 0);
  Write({"COM1"}, -5, &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(WriteStringList({"COM1"}, nullptr, 100), 0);
}

}  // namespace
}  // namespace kxlf
