// Fonts and text: TextOutA draws code-page-932 text with the selected font into the context's
// pixels, glyph coverage blended in the text colour, clipped to the drawing area.
#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

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

// Draws into one canvas with one colour: full coverage writes the colour's own pixel value,
// partial coverage blends it over what the pixel shows.
class Painter {
 public:
  Painter(const Canvas& canvas, COLORREF colour)
      : pixels_(canvas.pixels),
        codec_(canvas.pixels.layout, canvas.pixels.palette, canvas.paletteSize),
        colour_(RgbOf(colour)),
        solid_(codec_.Encode(colour_)),
        rgb565_(IsRgb565(canvas.pixels)) {}

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

  const std::u32string characters = platform::gdi::State().decoder.Decode(text, length);
  if (context->backgroundMode == OPAQUE) {
    long long width = 0;
    for (char32_t character : characters) width += font->Glyph(character).advance;
    Painter(*canvas, context->backgroundColour)
        .Fill(x, y, x + width, static_cast<long long>(y) + font->CellHeight());
  }
  const Painter ink(*canvas, context->textColour);
  const long long baseline = static_cast<long long>(y) + font->Ascent();
  long long pen = x;
  for (char32_t character : characters) {
    const GlyphImage& glyph = font->Glyph(character);
    ink.Glyph(glyph, pen + glyph.left, baseline - glyph.top);
    pen += glyph.advance;
  }
  return TRUE;
}
