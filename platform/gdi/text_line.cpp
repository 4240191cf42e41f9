#include "platform/gdi/text_line.h"

#include <algorithm>

#include "platform/gdi/gdi_state.h"

namespace platform::gdi {

namespace {

// Where a glyph's pixels land, from the point the line is drawn for.
struct Placement {
  long long left, top;
  int width, height;
};

// Where every glyph of a line lands, and the box of the pixels they cover.
struct Layout {
  std::vector<Placement> placements;  // one a character
  long long width = 0;                // the advances added up
  bool any = false;                   // whether any glyph has pixels (the box is empty else)
  long long minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// Each pixel's blends, glyph after glyph, over the layout's box.
struct Blends {
  std::size_t width = 0;
  std::vector<std::uint8_t> first;                          // the first of each pixel, 0: none
  std::vector<std::pair<std::size_t, std::uint8_t>> later;  // (pixel, coverage), in order
};

// The pen moves along the advances; each glyph is placed from the pen.
Layout PlaceGlyphs(RealizedFont& font, const std::u32string& characters) {
  Layout layout;
  layout.placements.reserve(characters.size());
  for (char32_t character : characters) {
    const GlyphImage& glyph = font.Glyph(character);
    const Placement placement{layout.width + glyph.left,
                              font.Ascent() - static_cast<long long>(glyph.top), glyph.width,
                              glyph.height};
    layout.placements.push_back(placement);
    layout.width += glyph.advance;
    if (glyph.width <= 0 || glyph.height <= 0) continue;
    if (!layout.any) {
      layout.minX = placement.left, layout.minY = placement.top;
      layout.maxX = placement.left + glyph.width, layout.maxY = placement.top + glyph.height;
      layout.any = true;
    }
    layout.minX = std::min(layout.minX, placement.left);
    layout.minY = std::min(layout.minY, placement.top);
    layout.maxX = std::max(layout.maxX, placement.left + glyph.width);
    layout.maxY = std::max(layout.maxY, placement.top + glyph.height);
  }
  return layout;
}

// Whether a line so laid out in the font is small enough to keep, with offsets that fit an int.
bool Keepable(const Layout& layout, const RealizedFont& font) {
  constexpr long long kFar = 1LL << 30;
  const auto maxArea = static_cast<long long>(ScaledBound(kMaxLineArea, font));
  return (layout.maxX - layout.minX) * (layout.maxY - layout.minY) <= maxArea &&
         layout.minX >= -kFar && layout.maxX + static_cast<long long>(kLineBlock) <= kFar &&
         layout.minY >= -kFar && layout.maxY <= kFar;
}

// Every glyph's coverage, in order: a pixel's first blend, or a full one after others (which
// makes them moot), goes to `first`; a partial blend after another to `later`. Nothing when
// there are more later blends than a kept line holds.
std::optional<Blends> GatherBlends(RealizedFont& font, const std::u32string& characters,
                                   const Layout& layout) {
  const std::size_t maxLaterBlends = ScaledBound(kMaxLaterBlends, font);
  Blends blends;
  blends.width = static_cast<std::size_t>(layout.maxX - layout.minX);
  blends.first.assign(blends.width * static_cast<std::size_t>(layout.maxY - layout.minY), 0);
  for (std::size_t i = 0; i < characters.size(); ++i) {
    const Placement& placement = layout.placements[i];
    if (placement.width <= 0 || placement.height <= 0) continue;
    // Glyph references last only until the next glyph is asked for.
    const GlyphImage& glyph = font.Glyph(characters[i]);
    for (int row = 0; row < glyph.height; ++row) {
      const std::uint8_t* source =
          glyph.coverage.data() + static_cast<std::size_t>(row) * glyph.width;
      const std::size_t base =
          static_cast<std::size_t>(placement.top - layout.minY + row) * blends.width +
          static_cast<std::size_t>(placement.left - layout.minX);
      for (int column = 0; column < glyph.width; ++column) {
        const std::uint8_t value = source[column];
        if (value == 0) continue;
        std::uint8_t& pixel = blends.first[base + column];
        if (pixel == 0 || value == 255) {
          if (pixel != 0 && !blends.later.empty()) {
            std::erase_if(blends.later,
                          [&](const auto& blend) { return blend.first == base + column; });
          }
          pixel = value;
        } else {
          if (blends.later.size() >= maxLaterBlends) return std::nullopt;
          blends.later.emplace_back(base + column, value);
        }
      }
    }
  }
  return blends;
}

// The runs of the first blends, row by row, into the line; returns how far right they reach.
// Gaps of fewer than a block of untouched pixels stay inside a run: blending coverage 0 costs
// less than starting another run. Long stretches of full coverage become solid runs; the pieces
// between are blended.
long long AddRuns(const Blends& blends, const Layout& layout, LineImage& line) {
  long long right = layout.maxX;
  const std::size_t width = blends.width;
  const std::size_t height = static_cast<std::size_t>(layout.maxY - layout.minY);
  for (std::size_t row = 0; row < height; ++row) {
    const std::uint8_t* values = blends.first.data() + row * width;
    auto run = [&](std::size_t from, std::size_t to, bool solid) {
      LineImage::Run kept{static_cast<int>(layout.minX + static_cast<long long>(from)),
                          static_cast<int>(layout.minY + static_cast<long long>(row)),
                          static_cast<int>(to - from), static_cast<int>(line.coverage.size()),
                          solid};
      if (!solid) {
        // Padded with coverage 0 to whole blocks; a solid run after it fills what that covers.
        kept.length = static_cast<int>((to - from + kLineBlock - 1) / kLineBlock * kLineBlock);
        line.coverage.insert(line.coverage.end(), values + from, values + to);
        line.coverage.resize(line.coverage.size() + (kept.length - (to - from)), 0);
      }
      right = std::max(right, layout.minX + static_cast<long long>(from) + kept.length);
      line.runs.push_back(kept);
    };
    std::size_t column = 0;
    while (column < width) {
      if (values[column] == 0) {
        ++column;
        continue;
      }
      std::size_t end = column + 1;  // past the last pixel with a blend
      for (std::size_t next = end; next < width && next < end + kLineBlock; ++next) {
        if (values[next] != 0) end = next + 1;
      }
      std::size_t piece = column;
      for (std::size_t at = column; at < end;) {
        if (values[at] != 255) {
          ++at;
          continue;
        }
        std::size_t full = at;
        while (full < end && values[full] == 255) ++full;
        if (full - at >= kSolidRun) {
          if (piece < at) run(piece, at, false);
          run(at, full, true);
          piece = full;
        }
        at = full;
      }
      if (piece < end) run(piece, end, false);
      column = end;
    }
  }
  return right;
}

}  // namespace

std::optional<LineImage> MakeLine(RealizedFont& font, const std::u32string& characters) {
  const Layout layout = PlaceGlyphs(font, characters);
  LineImage line;
  line.width = layout.width;
  if (!layout.any) return line;
  if (!Keepable(layout, font)) return std::nullopt;
  const std::optional<Blends> blends = GatherBlends(font, characters, layout);
  if (!blends) return std::nullopt;
  const long long right = AddRuns(*blends, layout, line);
  for (const auto& [pixel, value] : blends->later) {
    line.extras.push_back(
        {static_cast<int>(layout.minX + static_cast<long long>(pixel % blends->width)),
         static_cast<int>(layout.minY + static_cast<long long>(pixel / blends->width)), value});
  }
  line.runs.shrink_to_fit();
  line.coverage.shrink_to_fit();
  line.left = static_cast<int>(layout.minX);
  line.top = static_cast<int>(layout.minY);
  line.right = static_cast<int>(right);
  line.bottom = static_cast<int>(layout.maxY);
  return line;
}

const LineImage* LineCache::Line(RealizedFont& font, const char* text, int length) {
  const std::uint64_t serial = font.Serial();
  key_.assign(reinterpret_cast<const char*>(&serial), sizeof serial);
  key_.append(text, static_cast<std::size_t>(length));
  if (auto found = index_.find(key_); found != index_.end()) {
    if (found->second != lines_.begin()) lines_.splice(lines_.begin(), lines_, found->second);
    return &lines_.front().second;
  }
  if (drawings_.size() >= kMaxCounted && drawings_.find(key_) == drawings_.end()) {
    drawings_.clear();
  }
  if (int& drawings = drawings_[key_]; drawings < kDrawingsBeforeKept) {
    ++drawings;
    return nullptr;
  }
  drawings_.erase(key_);
  std::optional<LineImage> line = MakeLine(font, State().decoder.Decode(text, length));
  if (!line) return nullptr;
  lines_.emplace_front(key_, std::move(*line));
  bytes_ += lines_.front().second.Bytes() + lines_.front().first.capacity();
  index_.emplace(lines_.front().first, lines_.begin());
  const std::size_t maxBytes = ScaledBound(kMaxBytes, font);
  while (lines_.size() > 1 && (lines_.size() > kMaxLines || bytes_ > maxBytes)) {
    bytes_ -= lines_.back().second.Bytes() + lines_.back().first.capacity();
    index_.erase(lines_.back().first);
    lines_.pop_back();
  }
  return &lines_.front().second;
}

}  // namespace platform::gdi
