// A line of text as what drawing it does to each pixel, and the lines drawn lately: the game
// draws the same few lines every frame, and laying a line out glyph by glyph costs far more than
// blending what it comes to.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/gdi/font_library.h"

namespace platform::gdi {

// Each glyph blends its coverage over the pixels it covers, in order, and a pixel's result
// depends only on the blends it gets, so the line is kept as one blend per pixel (a full coverage
// after earlier blends makes them moot) plus, for the few pixels two glyphs both blend partly,
// the later blends in order. Offsets are from the point TextOutA is given.
struct LineImage {
  // Pixels of one row with a blend, in whole blocks of kLineBlock (untouched pixels inside as
  // coverage 0, which gives the pixel back unchanged).
  struct Run {
    int dx = 0;
    int dy = 0;
    int length = 0;
    int coverage = 0;    // offset of the run's coverage in `coverage`
    bool solid = false;  // every pixel fully covered: filled, with no coverage kept
  };
  struct Extra {
    int dx = 0;
    int dy = 0;
    std::uint8_t coverage = 0;
  };
  long long width = 0;    // the advances added up: the width of an opaque background
  std::vector<Run> runs;  // row by row, left to right
  std::vector<std::uint8_t> coverage;
  std::vector<Extra> extras;  // blends after the runs', in the order the glyphs make them
  int left = 0, top = 0, right = 0, bottom = 0;  // what the runs and extras touch
  std::size_t Bytes() const {
    return sizeof *this + runs.capacity() * sizeof(Run) + coverage.capacity() +
           extras.capacity() * sizeof(Extra);
  }
};

constexpr std::size_t kLineBlock = 16;  // pixels a blended run's length comes in multiples of
// Fully covered pixels in a row that make a solid run of their own: the inside of a large glyph
// is filled rather than kept byte by byte.
constexpr std::size_t kSolidRun = 2 * kLineBlock;

// What a kept line may cover, in pixels, and how many pixels two glyphs may both blend partly:
// larger lines (only odd texts make them) are drawn glyph by glyph, unkept.
constexpr long long kMaxLineArea = 256 * 1024;
constexpr std::size_t kMaxLaterBlends = 4096;

// The bounds here are for text in the game's own pixels; a font realised at a render scale draws
// its lines with scale² times as many, and its bounds grow by as much up to the scale of a
// 2160-line display (4.5): beyond it the lines kept would take tens of megabytes.
inline std::size_t ScaledBound(std::size_t bound, const RealizedFont& font) {
  constexpr float kLargestKeptScale = 4.5f;
  const double scale = std::clamp(font.Scale(), 1.0f, kLargestKeptScale);
  return static_cast<std::size_t>(static_cast<double>(bound) * scale * scale);
}

// The line of the characters in the font, or nothing when it is too large to keep.
std::optional<LineImage> MakeLine(RealizedFont& font, const std::u32string& characters);

// The lines drawn lately, by font and text, the most recent first; bounded in number and bytes
// so that texts that change every frame (a clock, a speed) cannot grow it. A line is kept from
// its third drawing on: the game draws each line twice a frame (its shadow, then itself), so a
// text that changes every frame is never laid out for nothing, and the first frame (the start-up
// the player waits for) draws as it always did.
class LineCache {
 public:
  static constexpr std::size_t kMaxLines = 64;
  static constexpr std::size_t kMaxBytes = std::size_t{512} << 10;
  static constexpr int kDrawingsBeforeKept = 2;
  static constexpr std::size_t kMaxCounted = 256;  // texts whose drawings are counted

  // The line of the code-page-932 text in the font, made now if it has been drawn often enough
  // and is not kept yet; null for a line not kept (yet, or because it is too large).
  const LineImage* Line(RealizedFont& font, const char* text, int length);
  std::size_t Size() const { return lines_.size(); }
  std::size_t Bytes() const { return bytes_; }

 private:
  using Entry = std::pair<std::string, LineImage>;
  std::list<Entry> lines_;
  std::unordered_map<std::string_view, std::list<Entry>::iterator> index_;
  std::unordered_map<std::string, int> drawings_;  // of texts not kept, forgotten when full
  std::string key_;
  std::size_t bytes_ = 0;
};

}  // namespace platform::gdi
