// Colours while painting are doubles in 0..255 per channel, so that blends and shading keep
// their precision; they are rounded to bytes once, when a texel is stored.
#pragma once

#include <algorithm>
#include <cstdint>

struct Colour {
  double r;
  double g;
  double b;
};

struct Rgb {
  std::uint8_t r;
  std::uint8_t g;
  std::uint8_t b;

  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// a where k is 0, b where k is 1; k is not clamped.
inline Colour Mix(const Colour& a, const Colour& b, double k) {
  return {a.r + (b.r - a.r) * k, a.g + (b.g - a.g) * k, a.b + (b.b - a.b) * k};
}

inline Colour Scale(const Colour& c, double k) {
  return {c.r * k, c.g * k, c.b * k};
}

inline Colour Add(const Colour& a, const Colour& b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}

// Clamps to 0..255 and rounds to the nearest byte.
inline Rgb ToRgb(const Colour& c) {
  auto byte = [](double v) {
    return static_cast<std::uint8_t>(static_cast<int>(std::clamp(v, 0.0, 255.0) + 0.5));
  };
  return {byte(c.r), byte(c.g), byte(c.b)};
}
