// The GDI module's objects and its one state record: every live bitmap, font and device
// context, the stock objects a context starts with, and the font and text-line caches.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/core/pixel_buffer.h"
#include "platform/gdi/cp932.h"
#include "platform/gdi/text_line.h"

namespace platform::gdi {

class FontLibrary;
class RealizedFont;

struct BitmapObject : HBITMAP__ {
  std::vector<std::uint8_t> memory;  // the rows as stored (bottom-up unless top-down)
  PixelBuffer pixels;                // a top-row-first view of memory
  int stride = 0;                    // bytes per stored row
  std::array<PaletteColour, 256> colourTable{};
  int colourCount = 0;         // entries of colourTable the picture defines
  bool stock = false;          // the 1×1 monochrome bitmap of a fresh memory context
  HDC selectedInto = nullptr;  // the memory context holding it, if any
};

struct FontObject : HFONT__ {
  LOGFONTA description{};
  std::shared_ptr<RealizedFont> realized;  // shared with every font of the same description
  // The font realised for the last render scale other than 1 it was drawn at, and that scale.
  std::shared_ptr<RealizedFont> scaled;
  float scaledFor = 0.0f;
  bool stock = false;  // the system font of a fresh context
  int selections = 0;  // contexts it is selected into
};

// What a context draws into: pixels, and how many palette entries colours may be matched to.
struct Canvas {
  PixelBuffer pixels;
  int paletteSize = 0;
};

}  // namespace platform::gdi

struct HDC__ {
  bool surface = false;                           // lent by a DirectDraw surface
  platform::gdi::Canvas surfaceCanvas;            // the surface's memory, for a surface context
  platform::gdi::BitmapObject* bitmap = nullptr;  // the selected bitmap, for a memory context
  platform::gdi::FontObject* font = nullptr;      // the selected font
  int backgroundMode = OPAQUE;
  COLORREF backgroundColour = RGB(255, 255, 255);
  COLORREF textColour = RGB(0, 0, 0);
};

namespace platform::gdi {

struct GdiState {
  GdiState();
  ~GdiState();

  // Declared first so it is destroyed last: fonts below share its realised fonts. Made by the
  // constructor; RealizedFontOf (gdi_state.cpp) realises fonts through it.
  std::unique_ptr<FontLibrary> fontLibrary;
  // Decodes code-page-932 text for RealizedFontOf, TextOutA (text_out.cpp) and LineCache::Line
  // (text_line.cpp).
  Cp932Decoder decoder;
  BitmapObject stockBitmap;  // 1×1 monochrome; written by the constructor only
  FontObject systemFont;     // IPAGothic, 16-pixel cell, no anti-aliasing; the constructor, and
                             // NewContext, which selects it
  // Live objects by handle: LoadImageA adds bitmaps (bitmaps.cpp), CreateFontIndirectA fonts
  // (text_out.cpp), NewContext contexts; DeleteObject, DeleteDC and ReleaseDC remove them
  // (device_context.cpp).
  std::unordered_map<const HGDIOBJ__*, std::unique_ptr<BitmapObject>> bitmaps;
  std::unordered_map<const HGDIOBJ__*, std::unique_ptr<FontObject>> fonts;
  std::unordered_map<const HDC__*, std::unique_ptr<HDC__>> contexts;
  // The description last realised and its font, written by RealizedFontOf: the game creates the
  // same font for a line's shadow and again for the line, every frame, and this skips decoding
  // the face name and looking the font up by its key. The same for the last one realised at a
  // render scale.
  LOGFONTA lastDescription{};
  std::shared_ptr<RealizedFont> lastRealized;
  LOGFONTA lastScaledDescription{};
  float lastScale = 0.0f;
  std::shared_ptr<RealizedFont> lastScaled;
  // The lines drawn lately, which TextOutA (text_out.cpp) draws through and fills.
  LineCache lines;
};

// The module's state, made on first use.
GdiState& State();

// Live objects by handle, stock objects included; null for anything else.
BitmapObject* FindBitmap(HGDIOBJ handle);
FontObject* FindFont(HGDIOBJ handle);
HDC__* FindContext(HDC handle);

// What a context draws into; nothing for a memory context whose bitmap has no pixels.
std::optional<Canvas> CanvasOf(const HDC__& context);

// The drawable font of a font object, realised on first use; null when no face is installed.
RealizedFont* RealizedFontOf(FontObject& font);
// The same at a render scale: glyphs drawn at scale times the font's size (see FontRequest).
RealizedFont* RealizedFontOf(FontObject& font, float scale);

// Makes a context with the defaults every context starts with and registers it.
HDC__* NewContext();

}  // namespace platform::gdi
