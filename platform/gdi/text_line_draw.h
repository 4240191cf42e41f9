// Drawing a kept line of text onto RGB 565 pixels, sixteen pixels at a time where the lanes are
// AVX2 (platform/pixel/lane_choice.h) and eight where they are SSE2; both draw the same pixels.
#pragma once

#include <cstdint>

#include "platform/core/pixel_buffer.h"
#include "platform/gdi/rgb565_blend.h"
#include "platform/gdi/text_line.h"

namespace platform::gdi {

// Draws the line for the point (x, y), clipped to the pixels, which must be RGB 565 with rows of
// aligned 16-bit words.
void DrawLineRgb565(const LineImage& line, const PixelBuffer& pixels, long long x, long long y,
                    const Rgb565Ink& ink);

// Blends the ink over `length` RGB 565 pixels by their coverage, as BlendRgb565 does one by one.
void BlendSpanRgb565(std::uint16_t* pixels, const std::uint8_t* coverage, long long length,
                     const Rgb565Ink& ink);

}  // namespace platform::gdi
