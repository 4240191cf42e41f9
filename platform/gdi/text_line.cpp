#include "platform/gdi/text_line.h"

#include <algorithm>

#include "platform/gdi/gdi_state.h"

namespace platform::gdi {

std::optional<LineImage> MakeLine(RealizedFont& font, const std::u32string& characters) {
  LineImage line;
  struct Placement {
    long long left, top;
    int width, height;
  };
  std::vector<Placement> placements;
  placements.reserve(characters.size());
  long long pen = 0;
  long long minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool any = false;
  for (char32_t character : characters) {
    const GlyphImage& glyph = font.Glyph(character);
    const Placement placement{pen + glyph.left, font.Ascent() - static_cast<long long>(glyph.top),
                              glyph.width, glyph.height};
    placements.push_back(placement);
    pen += glyph.advance;
    if (glyph.width <= 0 || glyph.height <= 0) continue;
    if (!any) {
      minX = placement.left, minY = placement.top;
      maxX = placement.left + glyph.width, maxY = placement.top + glyph.height;
      any = true;
    }
    minX = std::min(minX, placement.left);
    minY = std::min(minY, placement.top);
    maxX = std::max(maxX, placement.left + glyph.width);
    maxY = std::max(maxY, placement.top + glyph.height);
  }
  line.width = pen;
  if (!any) return line;
  constexpr long long kFar = 1LL << 30;  // offsets kept as int
  const std::size_t maxLaterBlends = ScaledBound(kMaxLaterBlends, font);
  if ((maxX - minX) * (maxY - minY) > static_cast<long long>(ScaledBound(kMaxLineArea, font)) ||
      minX < -kFar || maxX + static_cast<long long>(kLineBlock) > kFar || minY < -kFar ||
      maxY > kFar) {
    return std::nullopt;
  }
  const std::size_t width = static_cast<std::size_t>(maxX - minX);
  const std::size_t height = static_cast<std::size_t>(maxY - minY);
  std::vector<std::uint8_t> first(width * height, 0);  // the first blend of each pixel, 0: none
  std::vector<std::pair<std::size_t, std::uint8_t>> later;  // (pixel, coverage), in order
  for (std::size_t i = 0; i < characters.size(); ++i) {
    const Placement& placement = placements[i];
    if (placement.width <= 0 || placement.height <= 0) continue;
    // Glyph references last only until the next glyph is asked for.
    const GlyphImage& glyph = font.Glyph(characters[i]);
    for (int row = 0; row < glyph.height; ++row) {
      const std::uint8_t* source =
          glyph.coverage.data() + static_cast<std::size_t>(row) * glyph.width;
      const std::size_t base = static_cast<std::size_t>(placement.top - minY + row) * width +
                               static_cast<std::size_t>(placement.left - minX);
      for (int column = 0; column < glyph.width; ++column) {
        const std::uint8_t value = source[column];
        if (value == 0) continue;
        std::uint8_t& pixel = first[base + column];
        if (pixel == 0 || value == 255) {
          if (pixel != 0 && !later.empty()) {
            std::erase_if(later, [&](const auto& blend) { return blend.first == base + column; });
          }
          pixel = value;
        } else {
          if (later.size() >= maxLaterBlends) return std::nullopt;
          later.emplace_back(base + column, value);
        }
      }
    }
  }
  // Gaps of fewer than a block of untouched pixels stay inside a run: blending coverage 0 costs
  // less than starting another run.
  long long right = maxX;
  for (std::size_t row = 0; row < height; ++row) {
    const std::uint8_t* values = first.data() + row * width;
    auto run = [&](std::size_t from, std::size_t to, bool solid) {
      LineImage::Run kept{static_cast<int>(minX + static_cast<long long>(from)),
                          static_cast<int>(minY + static_cast<long long>(row)),
                          static_cast<int>(to - from), static_cast<int>(line.coverage.size()),
                          solid};
      if (!solid) {
        // Padded with coverage 0 to whole blocks; a solid run after it fills what that covers.
        kept.length = static_cast<int>((to - from + kLineBlock - 1) / kLineBlock * kLineBlock);
        line.coverage.insert(line.coverage.end(), values + from, values + to);
        line.coverage.resize(line.coverage.size() + (kept.length - (to - from)), 0);
      }
      right = std::max(right, minX + static_cast<long long>(from) + kept.length);
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
      // Long stretches of full coverage become solid runs; the pieces between are blended.
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
  for (const auto& [pixel, value] : later) {
    line.extras.push_back({static_cast<int>(minX + static_cast<long long>(pixel % width)),
                           static_cast<int>(minY + static_cast<long long>(pixel / width)), value});
  }
  line.runs.shrink_to_fit();
  line.coverage.shrink_to_fit();
  line.left = static_cast<int>(minX);
  line.top = static_cast<int>(minY);
  line.right = static_cast<int>(right);
  line.bottom = static_cast<int>(maxY);
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
