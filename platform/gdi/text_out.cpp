// Fonts and text: TextOutA draws code-page-932 text with the selected font into the context's
// pixels, glyph coverage blended in the text colour, clipped to the drawing area. At a render
// scale the text is laid out and drawn at that many times the font's size, from the pixel the
// game's point lands on.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "platform/api/gdi.h"
#include "platform/core/last_error.h"
#include "platform/core/live_objects.h"
#include "platform/gdi/font_library.h"
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/pixel_codec.h"
#include "platform/gdi/render_scale.h"
#include "platform/gdi/rgb565_blend.h"
#include "platform/gdi/text_line.h"
#include "platform/gdi/text_line_draw.h"

using platform::Fail;
using platform::gdi::Canvas;
using platform::gdi::GlyphImage;
using platform::gdi::LineImage;
using platform::gdi::Mix;
using platform::gdi::PixelCodec;
using platform::gdi::RealizedFont;
using platform::gdi::Rgb;
using platform::gdi::Rgb565Ink;

namespace {

Rgb RgbOf(COLORREF colour) {
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
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
        ink_{colour_, static_cast<std::uint16_t>(solid_)},
        rgb565_(IsRgb565(canvas.pixels)) {}

  // Fills [left, right) × [top, bottom), clipped.
  void Fill(long long left, long long top, long long right, long long bottom) const {
    // Clamped before narrowing: at a render scale a point far off the surface lies beyond int.
    const long long width = pixels_.width;
    const long long height = pixels_.height;
    const int x0 = static_cast<int>(std::clamp(left, 0LL, width));
    const int y0 = static_cast<int>(std::clamp(top, 0LL, height));
    const int x1 = static_cast<int>(std::clamp(right, 0LL, width));
    const int y1 = static_cast<int>(std::clamp(bottom, 0LL, height));
    for (int y = y0; y < y1; ++y) {
      if (rgb565_ && x0 < x1) {
        std::fill_n(Row565(y) + x0, x1 - x0, static_cast<std::uint16_t>(solid_));
        continue;
      }
      for (int x = x0; x < x1; ++x) platform::gdi::WriteRawPixel(pixels_, x, y, solid_);
    }
  }

  bool Rgb565() const { return rgb565_; }

  // Draws a kept line for the point (x, y), clipped; on RGB 565 only.
  void Line(const LineImage& line, long long x, long long y) const {
    platform::gdi::DrawLineRgb565(line, pixels_, x, y, ink_);
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
  // bit replication, mix and truncation, a register of pixels at a time.
  void BlendRowRgb565(const std::uint8_t* coverage, long long first, long long last, long long left,
                      int y) const {
    platform::gdi::BlendSpanRgb565(Row565(y) + left + first, coverage + first, last - first, ink_);
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
  Rgb565Ink ink_;  // colour_ and solid_ for the display's format
  bool rgb565_;    // the display's format, drawn without the general codec
};

}  // namespace

HFONT CreateFontIndirectA(const LOGFONTA* description) {
  if (!description) {
    return Fail(nullptr, "CreateFontIndirectA: no font description");
  }
  // Refused before anything is made: such glyphs would take megabytes each.
  auto tooLarge = [](LONG size) {
    return size < -platform::gdi::kMaxFontPixels || size > platform::gdi::kMaxFontPixels;
  };
  if (tooLarge(description->lfHeight) || tooLarge(description->lfWidth)) {
    return Fail(nullptr, "CreateFontIndirectA: height or width beyond 1024 pixels");
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
    return Fail(FALSE, "TextOutA: unknown device context or bad text");
  }
  const std::optional<Canvas> canvas = platform::gdi::CanvasOf(*context);
  if (!canvas || length == 0) return TRUE;  // nothing that could show
  // At a render scale the font is drawn at its real size from the pixel the game's point lands on.
  const platform::PixelBuffer& pixels = canvas->pixels;
  RealizedFont* font = platform::gdi::RealizedFontOf(*context->font, pixels.scale);
  if (!font) return TRUE;
  const long long left = platform::gdi::PhysicalX(pixels, x);
  const long long top = platform::gdi::PhysicalY(pixels, y);

  const Painter ink(*canvas, context->textColour);
  // On the display's format a line drawn often enough is drawn as kept: the same pixels.
  if (const LineImage* line =
          ink.Rgb565() ? platform::gdi::State().lines.Line(*font, text, length) : nullptr) {
    if (context->backgroundMode == OPAQUE) {
      Painter(*canvas, context->backgroundColour)
          .Fill(left, top, left + line->width, top + font->CellHeight());
    }
    ink.Line(*line, left, top);
    return TRUE;
  }
  const std::u32string characters = platform::gdi::State().decoder.Decode(text, length);
  if (context->backgroundMode == OPAQUE) {
    long long width = 0;
    for (char32_t character : characters) width += font->Glyph(character).advance;
    Painter(*canvas, context->backgroundColour)
        .Fill(left, top, left + width, top + font->CellHeight());
  }
  const long long baseline = top + font->Ascent();
  long long pen = left;
  for (char32_t character : characters) {
    const GlyphImage& glyph = font->Glyph(character);
    ink.Glyph(glyph, pen + glyph.left, baseline - glyph.top);
    pen += glyph.advance;
  }
  return TRUE;
}
