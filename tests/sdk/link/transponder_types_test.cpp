// The encodings that host and emulator both rely on must undo each other exactly: a mismatch would
// go unnoticed in either side's own tests and write data to the wrong block of a real transponder.
#include "link/transponder_types.h"

#include <gtest/gtest.h>

namespace kxlf {
namespace {

TEST(TransponderTypes, PackedType3WriteRoundTrips) {
  for (int block = 0; block < 8; ++block) {
    for (bool lock : {false, true}) {
      const PackedType3Write write{{0xFF, 0x01, 0x80, 0x7F}, block, lock};
      const Bytes packed = EncodePackedType3Write(write);
      ASSERT_EQ(packed.size(), 5u);
      EXPECT_EQ(DecodePackedType3Write(packed), write) << "block " << block << " lock " << lock;
    }
  }
  // Only the low three bits of the block number fit.
  EXPECT_EQ(DecodePackedType3Write(EncodePackedType3Write({{}, 9, false}))->block, 1);
}

TEST(TransponderTypes, PackedType3WriteLayout) {
  const LegacyPiece piece = {0x11, 0x22, 0x33, 0x44};
  EXPECT_EQ(EncodePackedType3Write({piece, 5, false}), (Bytes{0x88, 0x86, 0x64, 0x42, 0x34}));
  EXPECT_EQ(EncodePackedType3Write({piece, 5, true}), (Bytes{0xA8, 0x86, 0x64, 0x42, 0x34}));
}

TEST(TransponderTypes, PackedType3WriteRejectsWhatIsNoWrite) {
  EXPECT_FALSE(DecodePackedType3Write({}));
  EXPECT_FALSE(DecodePackedType3Write({0x88, 0x86, 0x64, 0x42}));
  EXPECT_FALSE(DecodePackedType3Write({0x88, 0x86, 0x64, 0x42, 0x34, 0x00}));
  EXPECT_FALSE(DecodePackedType3Write({0xC8, 0x86, 0x64, 0x42, 0x34})) << "marker 3";
  EXPECT_FALSE(DecodePackedType3Write({0x48, 0x86, 0x64, 0x42, 0x34})) << "marker 1";
}

TEST(TransponderTypes, PackedType3ReadRoundTrips) {
  for (int block = 0; block < 32; ++block)
    EXPECT_EQ(DecodePackedType3Read(EncodePackedType3Read(block)), block);
  EXPECT_EQ(EncodePackedType3Read(5), 0x94);
  EXPECT_FALSE(DecodePackedType3Read(0x14)) << "a plain block number is no packed read";
}

TEST(TransponderTypes, BlockByteCarriesLockOnlyForLockableTypes) {
  for (int type : {3, 9, 13, 17}) {
    EXPECT_EQ(EncodeBlockByte(type, 10, true), 0x8A);
    EXPECT_EQ(DecodeBlockByte(type, 0x8A), (BlockByte{10, true}));
    EXPECT_EQ(DecodeBlockByte(type, 0x0A), (BlockByte{10, false}));
  }
  // Elsewhere bit 0x80 is part of the block number and a lock request is dropped.
  EXPECT_EQ(EncodeBlockByte(33, 10, true), 0x0A);
  EXPECT_EQ(EncodeBlockByte(33, 0x85, false), 0x85);
  EXPECT_EQ(DecodeBlockByte(33, 0x85), (BlockByte{0x85, false}));
}

TEST(TransponderTypes, EveryLegacyBlockCommandBelongsToOneFamily) {
  for (int type = 0; type < 256; ++type)
    EXPECT_TRUE(IsLegacyCommandBase(LegacyCommandBase(type))) << "type " << type;
  EXPECT_EQ(LegacyCommandBase(9), LegacyCommandBase(3));
  EXPECT_EQ(LegacyCommandBase(12), LegacyCommandBase(4));
  EXPECT_EQ(LegacyCommandBase(14), LegacyCommandBase(33)) << "types without a family share one";
  // Bases of commands that are no block commands: the unique code, type 10, the reader's own.
  for (uint8_t base : {0x10, 0x80, 0x90, 0xB0, 0xC0, 0xF0})
    EXPECT_FALSE(IsLegacyCommandBase(base)) << std::hex << int(base);
}

}  // namespace
}  // namespace kxlf
