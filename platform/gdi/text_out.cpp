// Fonts and text: TextOutA draws code-page-932 text with the selected font into the context's
// pixels, glyph coverage blended in the text colour, clipped to the drawing area.
#include <emmintrin.h>
#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/core/last_error.h"
#include "platform/core/live_objects.h"
#include "platform/gdi.h"
#include "platform/gdi/font_library.h"
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/pixel_codec.h"

using platform::gdi::Canvas;
using platform::gdi::GlyphImage;
using platform::gdi::PixelCodec;
using platform::gdi::RealizedFont;
using platform::gdi::Rgb;

namespace {

Rgb RgbOf(COLORREF colour) {
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

std::uint8_t Mix(std::uint8_t over, std::uint8_t under, int coverage) {
  return static_cast<std::uint8_t>((over * coverage + under * (255 - coverage) + 127) / 255);
}

// A line of text as what drawing it does to each pixel, relative to the point TextOutA is given:
// each glyph blends its coverage over the pixels it covers, in order, and a pixel's result
// depends only on the blends it gets, so the line is kept as one blend per pixel (a full
// coverage after earlier blends makes them moot) plus, for the few pixels two glyphs both blend
// partly, the later blends in order. Blocks of full coverage are filled; the rest is blended.
struct LineImage {
  struct Run {
    int dx = 0;  // from the given x
    int dy = 0;  // from the given y
    int length = 0;
    int coverage = 0;  // offset of the run's coverage in `coverage`
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
  int left = 0, top = 0, right = 0, bottom = 0;  // what the runs and extras touch, relative
  std::size_t Bytes() const {
    return sizeof *this + runs.capacity() * sizeof(Run) + coverage.capacity() +
           extras.capacity() * sizeof(Extra);
  }
};

constexpr std::size_t kBlock = 16;  // pixels a line's segments come in multiples of

// What a line kept in the cache may cover, in pixels, and how many pixels two glyphs may both
// blend partly: larger lines (only odd texts make them) are drawn glyph by glyph, uncached.
constexpr long long kMaxLineArea = 256 * 1024;
constexpr std::size_t kMaxLaterBlends = 4096;

// The line, or nothing when it is too large to keep.
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
  if ((maxX - minX) * (maxY - minY) > kMaxLineArea || minX < -kFar || maxX + kBlock > kFar ||
      minY < -kFar || maxY > kFar) {
    return std::nullopt;
  }
  const std::size_t width = static_cast<std::size_t>(maxX - minX);
  const std::size_t height = static_cast<std::size_t>(maxY - minY);
  std::vector<std::uint8_t> first(width * height, 0);  // the first blend of each pixel, 0: none
  std::vector<std::pair<std::size_t, std::uint8_t>> later;  // (pixel, coverage), in order
  for (std::size_t i = 0; i < characters.size(); ++i) {
    const Placement& placement = placements[i];
    if (placement.width <= 0 || placement.height <= 0) continue;
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
          if (later.size() >= kMaxLaterBlends) return std::nullopt;
          later.emplace_back(base + column, value);
        }
      }
    }
  }
  // Each row's pixels with a blend, as segments of whole blocks of sixteen (gaps of fewer than
  // sixteen untouched pixels kept inside, as coverage 0, which gives the pixel back unchanged).
  long long right = maxX;
  for (std::size_t row = 0; row < height; ++row) {
    const std::uint8_t* values = first.data() + row * width;
    std::size_t column = 0;
    while (column < width) {
      if (values[column] == 0) {
        ++column;
        continue;
      }
      std::size_t end = column + 1;  // past the last pixel with a blend
      for (std::size_t next = end; next < width && next < end + kBlock; ++next) {
        if (values[next] != 0) end = next + 1;
      }
      const std::size_t length = (end - column + kBlock - 1) / kBlock * kBlock;
      LineImage::Run run{static_cast<int>(minX + static_cast<long long>(column)),
                         static_cast<int>(minY + static_cast<long long>(row)),
                         static_cast<int>(length), static_cast<int>(line.coverage.size())};
      line.coverage.insert(line.coverage.end(), values + column, values + end);
      line.coverage.resize(line.coverage.size() + (length - (end - column)), 0);
      right = std::max(right, minX + static_cast<long long>(column + length));
      line.runs.push_back(run);
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

// The lines drawn lately, by font and text, the most recent first; bounded in number and bytes
// so that texts that change every frame (a clock, a speed) cannot grow it.
class LineCache {
 public:
  static constexpr std::size_t kMaxLines = 64;
  static constexpr std::size_t kMaxBytes = std::size_t{512} << 10;

  // The line of the text in the font, made now if it is not kept; null for a line too large.
  const LineImage* Line(RealizedFont& font, const char* text, int length) {
    const std::uint64_t serial = font.Serial();
    key_.assign(reinterpret_cast<const char*>(&serial), sizeof serial);
    key_.append(text, static_cast<std::size_t>(length));
    if (auto found = index_.find(key_); found != index_.end()) {
      if (found->second != lines_.begin()) {
        lines_.splice(lines_.begin(), lines_, found->second);
      }
      return &lines_.front().second;
    }
    std::optional<LineImage> line =
        MakeLine(font, platform::gdi::State().decoder.Decode(text, length));
    if (!line) return nullptr;
    lines_.emplace_front(key_, std::move(*line));
    bytes_ += lines_.front().second.Bytes() + lines_.front().first.capacity();
    index_.emplace(lines_.front().first, lines_.begin());
    while (lines_.size() > 1 && (lines_.size() > kMaxLines || bytes_ > kMaxBytes)) {
      bytes_ -= lines_.back().second.Bytes() + lines_.back().first.capacity();
      index_.erase(lines_.back().first);
      lines_.pop_back();
    }
    return &lines_.front().second;
  }

 private:
  using Entry = std::pair<std::string, LineImage>;
  std::list<Entry> lines_;
  std::unordered_map<std::string_view, std::list<Entry>::iterator> index_;
  std::string key_;
  std::size_t bytes_ = 0;
};

LineCache& Lines() {
  static LineCache cache;
  return cache;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2") != 0;
  return has;
}

// BlendEightRgb565 on sixteen pixels: the same arithmetic, lane for lane.
__attribute__((target("avx2"))) void BlendSixteenRgb565(std::uint16_t* pixels,
                                                        const std::uint8_t* coverage,
                                                        const Rgb& colour) {
  const __m256i under = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels));
  const __m256i cover =
      _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(coverage)));
  const __m256i uncover = _mm256_sub_epi16(_mm256_set1_epi16(255), cover);
  // A macro, not a function: 256-bit values must not cross a call in this file's ABI.
#define TIRRAVEL_MIX16(over, channel)                                                  \
  _mm256_srli_epi16(                                                                   \
      _mm256_add_epi16(                                                                \
          _mm256_add_epi16(                                                            \
              _mm256_add_epi16(                                                        \
                  _mm256_add_epi16(_mm256_mullo_epi16(_mm256_set1_epi16(over), cover), \
                                   _mm256_mullo_epi16(channel, uncover)),              \
                  _mm256_set1_epi16(127)),                                             \
              _mm256_set1_epi16(1)),                                                   \
          _mm256_srli_epi16(                                                           \
              _mm256_add_epi16(                                                        \
                  _mm256_add_epi16(_mm256_mullo_epi16(_mm256_set1_epi16(over), cover), \
                                   _mm256_mullo_epi16(channel, uncover)),              \
                  _mm256_set1_epi16(127)),                                             \
              8)),                                                                     \
      8)
  const __m256i r5 = _mm256_srli_epi16(under, 11);
  const __m256i g6 = _mm256_and_si256(_mm256_srli_epi16(under, 5), _mm256_set1_epi16(0x3F));
  const __m256i b5 = _mm256_and_si256(under, _mm256_set1_epi16(0x1F));
  const __m256i red = TIRRAVEL_MIX16(
      colour.red, _mm256_or_si256(_mm256_slli_epi16(r5, 3), _mm256_srli_epi16(r5, 2)));
  const __m256i green = TIRRAVEL_MIX16(
      colour.green, _mm256_or_si256(_mm256_slli_epi16(g6, 2), _mm256_srli_epi16(g6, 4)));
  const __m256i blue = TIRRAVEL_MIX16(
      colour.blue, _mm256_or_si256(_mm256_slli_epi16(b5, 3), _mm256_srli_epi16(b5, 2)));
  const __m256i packed =
      _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi16(_mm256_srli_epi16(red, 3), 11),
                                      _mm256_slli_epi16(_mm256_srli_epi16(green, 2), 5)),
                      _mm256_srli_epi16(blue, 3));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), packed);
#undef TIRRAVEL_MIX16
}

// Draws into one canvas with one colour: full coverage writes the colour's own pixel value,
// partial coverage blends it over what the pixel shows.
class Painter {
 public:
  Painter(const Canvas& canvas, COLORREF colour)
      : pixels_(canvas.pixels),
        codec_(canvas.pixels.layout, canvas.pixels.palette, canvas.paletteSize),
        colour_(RgbOf(colour)),
        solid_(codec_.Encode(colour_)),
        rgb565_(IsRgb565(canvas.pixels)),
        avx2_(HasAvx2()) {}

  // Fills [left, right) × [top, bottom), clipped.
  void Fill(long long left, long long top, long long right, long long bottom) const {
    const int x0 = static_cast<int>(std::max(0LL, left));
    const int y0 = static_cast<int>(std::max(0LL, top));
    const int x1 = static_cast<int>(std::min<long long>(pixels_.width, right));
    const int y1 = static_cast<int>(std::min<long long>(pixels_.height, bottom));
    for (int y = y0; y < y1; ++y) {
      if (rgb565_ && x0 < x1) {
        std::fill_n(Row565(y) + x0, x1 - x0, static_cast<std::uint16_t>(solid_));
        continue;
      }
      for (int x = x0; x < x1; ++x) platform::gdi::WriteRawPixel(pixels_, x, y, solid_);
    }
  }

  bool Rgb565() const { return rgb565_; }

  // Draws a line made by MakeLine for the point (x, y), clipped; on RGB 565 only.
  void Line(const LineImage& line, long long x, long long y) const {
    const bool inside = x + line.left >= 0 && y + line.top >= 0 &&
                        x + line.right <= pixels_.width && y + line.bottom <= pixels_.height;
    const auto solid = static_cast<std::uint16_t>(solid_);
    for (const LineImage::Run& run : line.runs) {
      long long first = 0, last = run.length;
      const long long row = y + run.dy;
      const long long start = x + run.dx;
      if (!inside) {
        if (row < 0 || row >= pixels_.height) continue;
        first = std::max(0LL, -start);
        last = std::min<long long>(run.length, pixels_.width - start);
        if (first >= last) continue;
      }
      std::uint16_t* pixels = Row565(static_cast<int>(row)) + start;
      const std::uint8_t* coverage = line.coverage.data() + run.coverage;
      long long column = first;
      if (avx2_) {
        for (; column + 16 <= last; column += 16) {
          std::uint64_t halves[2];
          std::memcpy(halves, coverage + column, sizeof halves);
          if ((halves[0] & halves[1]) == ~std::uint64_t{0}) {
            std::fill_n(pixels + column, 16, solid);
          } else if ((halves[0] | halves[1]) != 0) {
            BlendSixteenRgb565(pixels + column, coverage + column, colour_);
          }
        }
      }
      for (; column + 8 <= last; column += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, coverage + column, sizeof eight);
        if (eight == ~std::uint64_t{0}) {
          std::fill_n(pixels + column, 8, solid);
        } else if (eight != 0) {
          BlendEightRgb565(pixels + column, coverage + column);
        }
      }
      for (; column < last; ++column) BlendRgb565(pixels[column], coverage[column]);
    }
    for (const LineImage::Extra& extra : line.extras) {
      const long long row = y + extra.dy;
      const long long column = x + extra.dx;
      if (row < 0 || row >= pixels_.height || column < 0 || column >= pixels_.width) continue;
      BlendRgb565(Row565(static_cast<int>(row))[column], extra.coverage);
    }
  }

  // Blends a glyph whose top-left pixel lands on (left, top), clipped.
  void Glyph(const GlyphImage& glyph, long long left, long long top) const {
    const long long firstRow = std::max(0LL, -top);
    const long long lastRow = std::min<long long>(glyph.height, pixels_.height - top);
    const long long firstColumn = std::max(0LL, -left);
    const long long lastColumn = std::min<long long>(glyph.width, pixels_.width - left);
    for (long long row = firstRow; row < lastRow; ++row) {
      const std::uint8_t* coverage = glyph.coverage.data() + row * glyph.width;
      const int y = static_cast<int>(top + row);
      if (rgb565_) {
        BlendRowRgb565(coverage, firstColumn, lastColumn, left, y);
        continue;
      }
      for (long long column = firstColumn; column < lastColumn; ++column) {
        if (coverage[column] != 0) Plot(static_cast<int>(left + column), y, coverage[column]);
      }
    }
  }

 private:
  // RGB 565 with its pixels aligned as 16-bit words, so rows can be read as such.
  static bool IsRgb565(const platform::PixelBuffer& pixels) {
    const platform::PixelLayout& layout = pixels.layout;
    return !layout.paletteIndexed && layout.bitCount == 16 && layout.redMask == 0xF800 &&
           layout.greenMask == 0x07E0 && layout.blueMask == 0x001F && layout.alphaMask == 0 &&
           reinterpret_cast<std::uintptr_t>(pixels.bits) % 2 == 0 && pixels.pitch % 2 == 0;
  }

  std::uint16_t* Row565(int y) const {
    return reinterpret_cast<std::uint16_t*>(pixels_.bits +
                                            static_cast<std::ptrdiff_t>(y) * pixels_.pitch);
  }

  // Plot over one glyph row on the display's own format, without the general codec: the same
  // bit replication, mix and truncation, eight pixels at a time, skipping runs of eight that the
  // glyph leaves empty and filling those it covers fully.
  void BlendRowRgb565(const std::uint8_t* coverage, long long first, long long last, long long left,
                      int y) const {
    std::uint16_t* row = Row565(y);
    long long column = first;
    for (; column + 8 <= last; column += 8) {
      std::uint64_t eight;
      std::memcpy(&eight, coverage + column, sizeof eight);
      if (eight == 0) continue;
      if (eight == ~std::uint64_t{0}) {
        std::fill_n(row + left + column, 8, static_cast<std::uint16_t>(solid_));
        continue;
      }
      BlendEightRgb565(row + left + column, coverage + column);
    }
    for (; column < last; ++column) BlendRgb565(row[left + column], coverage[column]);
  }

  // Eight pixels at once: Mix on 16-bit lanes, x / 255 as (x + 1 + (x >> 8)) >> 8, which is
  // exact for every sum Mix can form (below 65153). Coverage 0 and 255 give the pixel back and
  // the solid colour, as Plot does.
  void BlendEightRgb565(std::uint16_t* pixels, const std::uint8_t* coverage) const {
    const __m128i zero = _mm_setzero_si128();
    const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
    const __m128i cover =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(coverage)), zero);
    const __m128i uncover = _mm_sub_epi16(_mm_set1_epi16(255), cover);
    auto mix = [&](std::uint8_t over, __m128i channel) {
      const __m128i sum = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_set1_epi16(over), cover),
                                                      _mm_mullo_epi16(channel, uncover)),
                                        _mm_set1_epi16(127));
      return _mm_srli_epi16(
          _mm_add_epi16(_mm_add_epi16(sum, _mm_set1_epi16(1)), _mm_srli_epi16(sum, 8)), 8);
    };
    const __m128i r5 = _mm_srli_epi16(under, 11);
    const __m128i g6 = _mm_and_si128(_mm_srli_epi16(under, 5), _mm_set1_epi16(0x3F));
    const __m128i b5 = _mm_and_si128(under, _mm_set1_epi16(0x1F));
    const __m128i red =
        mix(colour_.red, _mm_or_si128(_mm_slli_epi16(r5, 3), _mm_srli_epi16(r5, 2)));
    const __m128i green =
        mix(colour_.green, _mm_or_si128(_mm_slli_epi16(g6, 2), _mm_srli_epi16(g6, 4)));
    const __m128i blue =
        mix(colour_.blue, _mm_or_si128(_mm_slli_epi16(b5, 3), _mm_srli_epi16(b5, 2)));
    const __m128i packed = _mm_or_si128(_mm_or_si128(_mm_slli_epi16(_mm_srli_epi16(red, 3), 11),
                                                     _mm_slli_epi16(_mm_srli_epi16(green, 2), 5)),
                                        _mm_srli_epi16(blue, 3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), packed);
  }

  void BlendRgb565(std::uint16_t& pixel, int coverage) const {
    if (coverage == 0) return;
    if (coverage == 255) {
      pixel = static_cast<std::uint16_t>(solid_);
      return;
    }
    const int r5 = pixel >> 11, g6 = (pixel >> 5) & 0x3F, b5 = pixel & 0x1F;
    const std::uint8_t red =
        Mix(colour_.red, static_cast<std::uint8_t>(r5 << 3 | r5 >> 2), coverage);
    const std::uint8_t green =
        Mix(colour_.green, static_cast<std::uint8_t>(g6 << 2 | g6 >> 4), coverage);
    const std::uint8_t blue =
        Mix(colour_.blue, static_cast<std::uint8_t>(b5 << 3 | b5 >> 2), coverage);
    pixel = static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
  }

  void Plot(int x, int y, int coverage) const {
    if (coverage == 255) {
      platform::gdi::WriteRawPixel(pixels_, x, y, solid_);
      return;
    }
    const Rgb under = codec_.Decode(platform::gdi::ReadRawPixel(pixels_, x, y));
    const Rgb mixed{Mix(colour_.red, under.red, coverage),
                    Mix(colour_.green, under.green, coverage),
                    Mix(colour_.blue, under.blue, coverage)};
    platform::gdi::WriteRawPixel(pixels_, x, y, codec_.Encode(mixed));
  }

  platform::PixelBuffer pixels_;
  PixelCodec codec_;
  Rgb colour_;
  std::uint32_t solid_;
  bool rgb565_;  // the display's format, drawn without the general codec
  bool avx2_;    // sixteen pixels at a time
};

}  // namespace

HFONT CreateFontIndirectA(const LOGFONTA* description) {
  if (!description) {
    platform::SetLastErrorText("CreateFontIndirectA: no font description");
    return nullptr;
  }
  // Refused before anything is made: such glyphs would take megabytes each.
  auto tooLarge = [](LONG size) {
    return size < -platform::gdi::kMaxFontPixels || size > platform::gdi::kMaxFontPixels;
  };
  if (tooLarge(description->lfHeight) || tooLarge(description->lfWidth)) {
    platform::SetLastErrorText("CreateFontIndirectA: height or width beyond 1024 pixels");
    return nullptr;
  }
  auto font = std::make_unique<platform::gdi::FontObject>();
  font->description = *description;
  font->description.lfFaceName[LF_FACESIZE - 1] = '\0';  // a name that fills the field ends there
  platform::gdi::RealizedFontOf(*font);  // realise now: the cache makes it cheap when repeated
  platform::gdi::FontObject* handle = font.get();
  platform::gdi::State().fonts.emplace(handle, std::move(font));
  platform::NoteObjectCreated(platform::ObjectKind::Font);
  return handle;
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
  HDC__* context = platform::gdi::FindContext(dc);
  if (!context || length < 0 || (length > 0 && !text)) {
    platform::SetLastErrorText("TextOutA: unknown device context or bad text");
    return FALSE;
  }
  const std::optional<Canvas> canvas = platform::gdi::CanvasOf(*context);
  RealizedFont* font = platform::gdi::RealizedFontOf(*context->font);
  if (!canvas || !font || length == 0) return TRUE;  // nothing that could show

  const Painter ink(*canvas, context->textColour);
  // On the display's format the line is drawn as kept from its first drawing: the same pixels.
  if (const LineImage* line = ink.Rgb565() ? Lines().Line(*font, text, length) : nullptr) {
    if (context->backgroundMode == OPAQUE) {
      Painter(*canvas, context->backgroundColour)
          .Fill(x, y, x + line->width, static_cast<long long>(y) + font->CellHeight());
    }
    ink.Line(*line, x, y);
    return TRUE;
  }
  const std::u32string characters = platform::gdi::State().decoder.Decode(text, length);
  if (context->backgroundMode == OPAQUE) {
    long long width = 0;
    for (char32_t character : characters) width += font->Glyph(character).advance;
    Painter(*canvas, context->backgroundColour)
        .Fill(x, y, x + width, static_cast<long long>(y) + font->CellHeight());
  }
  const long long baseline = static_cast<long long>(y) + font->Ascent();
  long long pen = x;
  for (char32_t character : characters) {
    const GlyphImage& glyph = font->Glyph(character);
    ink.Glyph(glyph, pen + glyph.left, baseline - glyph.top);
    pen += glyph.advance;
  }
  return TRUE;
}
