// A blue RGB 565 picture inside a guard border that drawing must never change, with a device
// context on it: the picture at a render scale and origin as the display would be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/gdi/surface_dc.h"

class GuardedPicture {
 public:
  static constexpr std::uint16_t kBlue = 0x001F;
  static constexpr std::uint16_t kGuard = 0x1234;

  GuardedPicture(int width, int height, int border, float scale = 1.0f, int originX = 0)
      : width_(width),
        height_(height),
        border_(border),
        stride_(width + 2 * border),
        memory_(static_cast<std::size_t>(stride_) * (height + 2 * border), kGuard) {
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) At(x, y) = kBlue;
    }
    platform::PixelBuffer buffer{reinterpret_cast<std::uint8_t*>(&At(0, 0)),
                                 width_,
                                 height_,
                                 stride_ * 2,
                                 platform::kRgb565Layout,
                                 nullptr};
    buffer.scale = scale;
    buffer.originX = originX;
    dc_ = platform::gdi::CreateSurfaceDC(buffer);
  }
  ~GuardedPicture() { platform::gdi::DeleteSurfaceDC(dc_); }
  GuardedPicture(const GuardedPicture&) = delete;
  GuardedPicture& operator=(const GuardedPicture&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  std::uint16_t& At(int x, int y) {
    return memory_[static_cast<std::size_t>(y + border_) * stride_ + x + border_];
  }
  bool BorderIntact() {
    for (int y = -border_; y < height_ + border_; ++y) {
      for (int x = -border_; x < width_ + border_; ++x) {
        const bool inside = x >= 0 && y >= 0 && x < width_ && y < height_;
        if (!inside && At(x, y) != kGuard) return false;
      }
    }
    return true;
  }
  const std::vector<std::uint16_t>& Memory() const { return memory_; }

 private:
  int width_, height_, border_, stride_;
  std::vector<std::uint16_t> memory_;
  HDC dc_ = nullptr;
};
