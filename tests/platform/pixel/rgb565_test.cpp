// Bit replication in every direction, and the RGB 565 channel forms written out for the inner
// loops, which must be the same replication.
#include "platform/pixel/rgb565.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using platform::pixel::ReplicateBits;

TEST(Rgb565, ReplicationKeepsBothEndsAndNarrowsByDroppingLowBits) {
  EXPECT_EQ(ReplicateBits(3, 5, 8), 24u);  // 00011 000
  EXPECT_EQ(ReplicateBits(0x1F, 5, 8), 0xFFu);
  EXPECT_EQ(ReplicateBits(0x3F, 6, 16), 0xFFFFu);
  EXPECT_EQ(ReplicateBits(1, 1, 8), 0xFFu);
  EXPECT_EQ(ReplicateBits(0xAB, 8, 10), 0x2AEu);  // 10101011 10
  EXPECT_EQ(ReplicateBits(0xFF, 8, 5), 0x1Fu);
  EXPECT_EQ(ReplicateBits(0x9C, 8, 6), 0x27u);
  EXPECT_EQ(ReplicateBits(7, 0, 8), 0u);  // a channel of no bits
}

TEST(Rgb565, TheWrittenOutWideningsAreTheReplicationAndPackingUndoesThem) {
  for (std::uint32_t c = 0; c < 16; ++c)
    EXPECT_EQ(platform::pixel::Widen4(c), ReplicateBits(c, 4, 8));
  for (std::uint32_t c = 0; c < 32; ++c)
    EXPECT_EQ(platform::pixel::Widen5(c), ReplicateBits(c, 5, 8));
  for (std::uint32_t c = 0; c < 64; ++c)
    EXPECT_EQ(platform::pixel::Widen6(c), ReplicateBits(c, 6, 8));
  for (std::uint32_t value = 0; value < 65536; ++value) {
    const auto pixel = static_cast<std::uint16_t>(value);
    const platform::pixel::Rgb888 wide = platform::pixel::ExpandRgb565(pixel);
    ASSERT_EQ(wide.red, ReplicateBits(value >> 11, 5, 8)) << value;
    ASSERT_EQ(wide.green, ReplicateBits((value >> 5) & 0x3F, 6, 8)) << value;
    ASSERT_EQ(wide.blue, ReplicateBits(value & 0x1F, 5, 8)) << value;
    ASSERT_EQ(platform::pixel::PackRgb565(wide.red, wide.green, wide.blue), pixel);
  }
}

}  // namespace
