// Writes RGB565 pictures as PNG files, for tests and tools that want to look at what was drawn.
// Internal to the platform; the game never includes it.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Writes a width × height RGB565 picture (rows pitchBytes apart, top row first) to path as an
// 8-bit RGB PNG, widening each channel by bit replication (r8 = r5 << 3 | r5 >> 2). Returns false
// and fills *error (if given) with one line naming the file and the reason when it cannot.
bool WriteRgb565Png(const std::string& path, const std::uint16_t* bits, int width, int height,
                    int pitchBytes, std::string* error = nullptr);

}  // namespace platform
