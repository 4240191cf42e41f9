// The text overlay's fast path on the display's RGB 565 draws exactly what the general pixel
// codec draws: the same text over the same picture, once in 16-bit-aligned rows (the fast path)
// and once in rows an odd number of bytes apart (which only the general codec can take).
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/gdi/surface_dc.h"
#include "tests/support/mincho_text.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;

// A picture of RGB 565 pixels in rows `pitch` bytes apart, filled with a random pattern.
class Picture {
 public:
  Picture(int pitch, unsigned seed)
      : pitch_(pitch), bytes_(static_cast<std::size_t>(pitch) * kHeight + 1) {
    std::mt19937 random(seed);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) Set(x, y, static_cast<std::uint16_t>(random()));
    }
    // One byte in, for the odd pitch: the rows then start on both even and odd addresses.
    buffer_ = {bytes_.data() + (pitch % 2), kWidth, kHeight, pitch,
               platform::kRgb565Layout,     nullptr};
    dc_ = platform::gdi::CreateSurfaceDC(buffer_);
  }
  ~Picture() { platform::gdi::DeleteSurfaceDC(dc_); }

  HDC dc() const { return dc_; }
  std::uint16_t Get(int x, int y) const {
    std::uint16_t pixel;
    std::memcpy(&pixel, Address(x, y), 2);
    return pixel;
  }

 private:
  const std::uint8_t* Address(int x, int y) const {
    return bytes_.data() + (pitch_ % 2) + static_cast<std::size_t>(y) * pitch_ + 2 * x;
  }
  void Set(int x, int y, std::uint16_t pixel) {
    std::memcpy(const_cast<std::uint8_t*>(Address(x, y)), &pixel, 2);
  }

  int pitch_;
  std::vector<std::uint8_t> bytes_;
  platform::PixelBuffer buffer_{};
  HDC dc_ = nullptr;
};

TEST(TextFastPath, GlyphsOnRgb565BlendExactlyAsTheGeneralCodecDoes) {
  Picture aligned(kWidth * 2, 5), odd(kWidth * 2 + 1, 5);
  const struct {
    const char* text;
    int height, x, y;
    COLORREF colour;
    bool opaque;  // the cells filled with the background colour first
  } lines[] = {{"SHIFT\x82\xf0\x89\x9f\x82\xb7\x82\xc6", 30, -7, 3, RGB(255, 180, 0), false},
               {"TIME      35", 80, 12, 40, RGB(120, 120, 120), false},
               {"START", 200, 150, 60, RGB(20, 200, 255), false},
               {"Tirravel", 150, -40, 130, RGB(255, 255, 255), false},
               {"[D3D MMX Emulation]", 16, 10, 220, RGB(0, 0, 0), true}};
  for (const auto& line : lines) {
    DrawMinchoText(aligned.dc(), line.text, line.height, line.x, line.y, line.colour, line.opaque);
    DrawMinchoText(odd.dc(), line.text, line.height, line.x, line.y, line.colour, line.opaque);
  }
  int differences = 0, partial = 0;
  Picture untouched(kWidth * 2, 5);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      differences += aligned.Get(x, y) != odd.Get(x, y);
      partial += aligned.Get(x, y) != untouched.Get(x, y);
    }
  }
  EXPECT_EQ(differences, 0);
  EXPECT_GT(partial, 5000) << "the lines drew next to nothing";
}

}  // namespace
