#include "platform/gdi/gdi_state.h"

#include <cstring>
#include <string>

#include "platform/core/pending_drawing.h"
#include "platform/gdi/font_library.h"

namespace platform::gdi {
namespace {

constexpr BYTE kNonAntialiasedQuality = 3;

std::string Utf8Of(const std::u32string& characters) {
  std::string text;
  for (char32_t c : characters) {
    if (c == kUndecodable || c > 0x10FFFF) continue;
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else if (c < 0x800) {
      text += static_cast<char>(0xC0 | (c >> 6));
      text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      text += static_cast<char>(0xE0 | (c >> 12));
      text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      text += static_cast<char>(0xF0 | (c >> 18));
      text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return text;
}

}  // namespace

GdiState::GdiState() : fontLibrary(std::make_unique<FontLibrary>()) {
  // A fresh memory context draws into a 1×1 monochrome bitmap, black on a white palette.
  stockBitmap.stock = true;
  stockBitmap.stride = 4;
  stockBitmap.memory.assign(4, 0);
  stockBitmap.colourTable[0] = {0, 0, 0};
  stockBitmap.colourTable[1] = {255, 255, 255};
  stockBitmap.colourCount = 2;
  stockBitmap.pixels = {stockBitmap.memory.data(),     1, 1, 4, PixelLayout{1, true, 0, 0, 0, 0},
                        stockBitmap.colourTable.data()};

  // The system font: a plain Japanese sans with a 16-pixel cell, drawn without anti-aliasing as
  // the bitmap font it stands for was.
  systemFont.stock = true;
  systemFont.description.lfHeight = 16;
  systemFont.description.lfWeight = FW_NORMAL;
  systemFont.description.lfCharSet = SHIFTJIS_CHARSET;
  systemFont.description.lfQuality = kNonAntialiasedQuality;
  std::strcpy(systemFont.description.lfFaceName, "System");
}

GdiState::~GdiState() = default;

GdiState& State() {
  static GdiState state;
  return state;
}

BitmapObject* FindBitmap(HGDIOBJ handle) {
  GdiState& state = State();
  if (handle == &state.stockBitmap) return &state.stockBitmap;
  auto found = state.bitmaps.find(handle);
  return found == state.bitmaps.end() ? nullptr : found->second.get();
}

FontObject* FindFont(HGDIOBJ handle) {
  GdiState& state = State();
  if (handle == &state.systemFont) return &state.systemFont;
  auto found = state.fonts.find(handle);
  return found == state.fonts.end() ? nullptr : found->second.get();
}

HDC__* FindContext(HDC handle) {
  GdiState& state = State();
  auto found = state.contexts.find(handle);
  return found == state.contexts.end() ? nullptr : found->second.get();
}

std::optional<Canvas> CanvasOf(const HDC__& context) {
  if (context.surface) {
    // A 3-D device may still keep work for the surface, if the context was had before it.
    FinishDrawingOn(context.surfaceCanvas.pixels.bits);
    return context.surfaceCanvas;
  }
  if (!context.bitmap || !context.bitmap->pixels.bits) return std::nullopt;
  return Canvas{context.bitmap->pixels, context.bitmap->colourCount};
}

namespace {

std::shared_ptr<RealizedFont> Realize(const LOGFONTA& description, float scale) {
  GdiState& state = State();
  FontRequest request;
  request.faceName = Utf8Of(state.decoder.Decode(
      description.lfFaceName, static_cast<int>(strnlen(description.lfFaceName, LF_FACESIZE))));
  request.height = description.lfHeight;
  request.width = description.lfWidth;
  request.bold = description.lfWeight >= 600;
  request.italic = description.lfItalic != 0;
  // The system font stands for a bitmap font drawn at the game's pixels; at a render scale its
  // pixels are finer than the bitmap's, and it is smoothed like every other text.
  request.monochrome = description.lfQuality == kNonAntialiasedQuality && scale == 1.0f;
  request.scale = scale;
  return state.fontLibrary->Realize(request);
}

bool SameDescription(const LOGFONTA& a, const LOGFONTA& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

RealizedFont* RealizedFontOf(FontObject& font) {
  if (!font.realized) {
    GdiState& state = State();
    const LOGFONTA& description = font.description;
    if (state.lastRealized && SameDescription(state.lastDescription, description)) {
      font.realized = state.lastRealized;
      return font.realized.get();
    }
    font.realized = Realize(description, 1.0f);
    state.lastDescription = description;
    state.lastRealized = font.realized;
  }
  return font.realized.get();
}

RealizedFont* RealizedFontOf(FontObject& font, float scale) {
  if (scale == 1.0f) return RealizedFontOf(font);
  if (font.scaled && font.scaledFor == scale) return font.scaled.get();
  GdiState& state = State();
  if (state.lastScaled && state.lastScale == scale &&
      SameDescription(state.lastScaledDescription, font.description)) {
    font.scaled = state.lastScaled;
  } else {
    font.scaled = Realize(font.description, scale);
    state.lastScaledDescription = font.description;
    state.lastScale = scale;
    state.lastScaled = font.scaled;
  }
  font.scaledFor = scale;
  return font.scaled.get();
}

HDC__* NewContext() {
  GdiState& state = State();
  auto context = std::make_unique<HDC__>();
  context->font = &state.systemFont;
  ++state.systemFont.selections;
  HDC__* handle = context.get();
  state.contexts.emplace(handle, std::move(context));
  return handle;
}

}  // namespace platform::gdi
