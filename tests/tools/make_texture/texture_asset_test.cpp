// Checks the committed Texture.bmp as the game will read it: the file format, the generator that
// made it, and the properties the drawing relies on (colour key, outline texel, wing placement).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "tools/make_texture/bmp_file.h"
#include "tools/make_texture/texture_picture.h"

namespace {

constexpr int kSize = 256;
constexpr int kHalf = 128;
constexpr int kMargin = 4;  // texels the wing keeps clear of the half's edges

struct Texel {
  int r, g, b;
  bool IsBlack() const { return r == 0 && g == 0 && b == 0; }
};

// The picture, top row first, as read independently of the encoder.
using Picture = std::vector<Texel>;

std::vector<std::uint8_t> ReadFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t Le(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
  return value;
}

// Validates the headers of a 256x256 bottom-up 24-bit BI_RGB file and decodes its texels.
Picture DecodeTexture(const std::vector<std::uint8_t>& bytes) {
  const std::size_t pixelBytes = kSize * kSize * 3;
  EXPECT_EQ(bytes.size(), 54 + pixelBytes);
  if (bytes.size() != 54 + pixelBytes) return {};
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(Le(bytes, 2, 4), bytes.size());  // file size
  EXPECT_EQ(Le(bytes, 10, 4), 54u);          // pixel offset
  EXPECT_EQ(Le(bytes, 14, 4), 40u);          // BITMAPINFOHEADER
  EXPECT_EQ(Le(bytes, 18, 4), 256u);         // width
  EXPECT_EQ(Le(bytes, 22, 4), 256u);         // height, positive: bottom-up
  EXPECT_EQ(Le(bytes, 26, 2), 1u);           // planes
  EXPECT_EQ(Le(bytes, 28, 2), 24u);          // bits per pixel
  EXPECT_EQ(Le(bytes, 30, 4), 0u);           // BI_RGB
  EXPECT_EQ(Le(bytes, 46, 4), 0u);           // no colour table
  Picture picture(kSize * kSize);
  for (int y = 0; y < kSize; ++y) {
    const std::size_t row = 54 + static_cast<std::size_t>(kSize - 1 - y) * kSize * 3;
    for (int x = 0; x < kSize; ++x) {
      const std::size_t at = row + x * 3;
      picture[y * kSize + x] = {bytes[at + 2], bytes[at + 1], bytes[at]};
    }
  }
  return picture;
}

class TextureAsset : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    bytes_ = ReadFile(TIRRAVEL_TEXTURE_ASSET);
    picture_ = DecodeTexture(bytes_);
  }
  static const Texel& At(int x, int y) { return picture_[y * kSize + x]; }

  static std::vector<std::uint8_t> bytes_;
  static Picture picture_;
};

std::vector<std::uint8_t> TextureAsset::bytes_;
Picture TextureAsset::picture_;

// A 16-bit texture or screen keeps only r>>3, g>>2, b>>3; a texel that truncates to zero there
// would be taken for the key as well.
bool VanishesInRgb565(const Texel& t) {
  return (t.r >> 3) == 0 && (t.g >> 2) == 0 && (t.b >> 3) == 0;
}

// Counts the texels of the wing half reachable from (x, y) through 4-neighbours of the same
// kind (black or not), marking them in `seen`.
int FloodWingHalf(const Picture& picture, int x, int y, std::vector<bool>& seen) {
  const bool black = picture[y * kSize + x].IsBlack();
  std::vector<std::array<int, 2>> stack{{x, y}};
  int count = 0;
  while (!stack.empty()) {
    const auto [cx, cy] = stack.back();
    stack.pop_back();
    if (cx < 0 || cx >= kSize || cy < kHalf || cy >= kSize) continue;
    const int index = cy * kSize + cx;
    if (seen[index] || picture[index].IsBlack() != black) continue;
    seen[index] = true;
    ++count;
    stack.push_back({cx + 1, cy});
    stack.push_back({cx - 1, cy});
    stack.push_back({cx, cy + 1});
    stack.push_back({cx, cy - 1});
  }
  return count;
}

TEST_F(TextureAsset, IsWhatTheGeneratorPaints) {
  ASSERT_FALSE(picture_.empty());
  EXPECT_TRUE(EncodeBmp24(PaintTexture()) == bytes_)
      << "assets/Texture.bmp is stale: rebuild the texture_asset target and copy it over";
}

TEST_F(TextureAsset, TopLeftTexelIsWhiteForTheCellOutlines) {
  ASSERT_FALSE(picture_.empty());
  const Texel& corner = At(0, 0);
  EXPECT_EQ(corner.r, 255);
  EXPECT_EQ(corner.g, 255);
  EXPECT_EQ(corner.b, 255);
}

TEST_F(TextureAsset, FloorHalfNeverMatchesTheKeyAndIsMidBright) {
  ASSERT_FALSE(picture_.empty());
  double brightness = 0.0;
  for (int y = 0; y < kHalf; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const Texel& t = At(x, y);
      ASSERT_FALSE(t.IsBlack()) << "floor texel (" << x << ", " << y << ") is the key colour";
      ASSERT_FALSE(VanishesInRgb565(t)) << "floor texel (" << x << ", " << y << ")";
      brightness += (t.r + t.g + t.b) / 3.0;
    }
  }
  // Dark enough for the green outline to stand out, bright enough for the fog to show.
  brightness /= kSize * kHalf;
  EXPECT_GT(brightness, 80.0);
  EXPECT_LT(brightness, 190.0);
}

TEST_F(TextureAsset, WingTexelsAreClearlyColouredAndKeepOffTheEdges) {
  ASSERT_FALSE(picture_.empty());
  int wingTexels = 0;
  for (int y = kHalf; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const Texel& t = At(x, y);
      if (t.IsBlack()) continue;
      ++wingTexels;
      // No dirty near-black fringe: the darkest wing colour is the rim, (40, 20, 10).
      EXPECT_GE(std::max({t.r, t.g, t.b}), 32) << "(" << x << ", " << y << ")";
      EXPECT_FALSE(VanishesInRgb565(t)) << "(" << x << ", " << y << ")";
      const bool nearEdge =
          y < kHalf + kMargin || y >= kSize - kMargin || x < kMargin || x >= kSize - kMargin;
      EXPECT_FALSE(nearEdge) << "wing texel (" << x << ", " << y << ") too close to the edge";
    }
  }
  // The wing fills most of its half, with black around it.
  EXPECT_GT(wingTexels, kSize * kHalf / 2);
  EXPECT_LT(wingTexels, kSize * kHalf * 9 / 10);
}

TEST_F(TextureAsset, WingIsOnePieceWithoutHoles) {
  ASSERT_FALSE(picture_.empty());
  int black = 0;
  int coloured = 0;
  int colouredX = -1;
  int colouredY = -1;
  for (int y = kHalf; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (At(x, y).IsBlack()) {
        ++black;
        continue;
      }
      ++coloured;
      colouredX = x;
      colouredY = y;
    }
  }
  ASSERT_GT(coloured, 0);
  std::vector<bool> seen(kSize * kSize, false);
  // The background, flooded from a corner, reaches every black texel: no keyed-out hole inside.
  EXPECT_EQ(FloodWingHalf(picture_, 0, kHalf, seen), black);
  // One wing, no stray specks.
  EXPECT_EQ(FloodWingHalf(picture_, colouredX, colouredY, seen), coloured);
}

}  // namespace
