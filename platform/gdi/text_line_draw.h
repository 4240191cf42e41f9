// Drawing a kept line of text onto RGB 565 pixels, sixteen pixels at a time where the processor
// has AVX2 and eight where it has only SSE2; both draw the same pixels.
#pragma once

#include "platform/core/pixel_buffer.h"
#include "platform/gdi/rgb565_blend.h"
#include "platform/gdi/text_line.h"

namespace platform::gdi {

// Draws the line for the point (x, y), clipped to the pixels, which must be RGB 565 with rows of
// aligned 16-bit words.
void DrawLineRgb565(const LineImage& line, const PixelBuffer& pixels, long long x, long long y,
                    const Rgb565Ink& ink);

}  // namespace platform::gdi
