// Reading what the network module sends: never beyond the bytes that arrived, whatever a
// record claims.
#include "transport/network_datagrams.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kxlf {
namespace {

Bytes Record0(const Ipv4& address, int port, const char* firstHalf, const char* secondHalf) {
  Bytes record(kMinRecordSize, 0);
  std::copy(address.begin(), address.end(), record.begin());
  record[20] = static_cast<uint8_t>(port & 0xFF);
  record[21] = static_cast<uint8_t>(port >> 8);
  std::memcpy(record.data() + 112, firstHalf, std::min<size_t>(8, std::strlen(firstHalf)));
  std::memcpy(record.data() + 84, secondHalf, std::min<size_t>(8, std::strlen(secondHalf)));
  return record;
}

TEST(NetworkDatagrams, QueuedDatagramsShorterThanTheirHeaderAreNoDatagrams) {
  const uint8_t three[] = {0x00, 0x01, 0x00};
  EXPECT_FALSE(ParseQueueEntry(QueueEntry({198, 18, 0, 2}, three, 3)));
  const uint8_t four[] = {0x00, 0x01, 0x00, 0xF9};
  const std::optional<Datagram> empty = ParseQueueEntry(QueueEntry({198, 18, 0, 2}, four, 4));
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->sender, "198.18.0.2");
  EXPECT_EQ(empty->code, 0xF9);
  EXPECT_TRUE(empty->payload.empty());
}

TEST(NetworkDatagrams, SearchEntriesTellFixedFromDhcpReaders) {
  EXPECT_EQ(SearchEntry(Record0({192, 168, 1, 20}, 10001, "", ""), "192.168.1.20"),
            "192.168.1.20-10001");
  EXPECT_EQ(SearchEntry(Record0({}, 10001, "LAB01", ""), "192.168.1.33"),
            "[LAB01]192.168.1.33-10001");
  // Halves without their NUL are eight characters each, not more.
  EXPECT_EQ(RecordReaderName(Record0({}, 1, "ABCDEFGHXX", "IJKLMNOPYY")), "[ABCDEFGHIJKLMNOP]");
  EXPECT_EQ(RecordPort(Record0({}, 65535, "", "")), 65535);
}

TEST(NetworkDatagrams, TheDeviceNameIsLookedForOnlyInsideRecord2) {
  Bytes record(kDeviceNameRecordMinSize, 'x');
  std::memcpy(record.data() + kDeviceNameOffset, "kX-", 3);  // any letter case, no NUL
  EXPECT_TRUE(NamesFamilyReader(record));
  record[kDeviceNameOffset + 2] = '_';
  EXPECT_FALSE(NamesFamilyReader(record));
  Bytes shortRecord(kDeviceNameRecordMinSize - 1, 0);
  std::memcpy(shortRecord.data() + kDeviceNameOffset, "KX-", 3);
  EXPECT_FALSE(NamesFamilyReader(shortRecord));
}

TEST(NetworkDatagrams, OnlyRecordsZeroToFifteenHaveRequests) {
  EXPECT_TRUE(ReadRecordRequest(16).empty());
  EXPECT_TRUE(ReadRecordRequest(-1).empty());
  EXPECT_TRUE(WriteRecordRequest(16, {1}).empty());
  EXPECT_EQ(ReadRecordRequest(15), (Bytes{0x00, 0x01, 0x00, 0xEF}));
  EXPECT_EQ(ReadRecordAnswerCode(15), 0xDF);
  EXPECT_EQ(WriteRecordRequest(15, {7}), (Bytes{0x00, 0x01, 0x00, 0xCF, 7}));
}

}  // namespace
}  // namespace kxlf
