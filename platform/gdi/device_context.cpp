// Device contexts and the objects selected into them.
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/api/gdi.h"
#include "platform/core/last_error.h"
#include "platform/core/live_objects.h"
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/pixel_codec.h"
#include "platform/gdi/render_scale.h"
#include "platform/gdi/surface_dc.h"

using platform::Fail;
using namespace platform::gdi;

namespace {

// Takes a context's font out of its hands, so the font can be deleted once nobody holds it.
void DeselectAll(HDC__& context) {
  if (context.bitmap && !context.bitmap->stock) context.bitmap->selectedInto = nullptr;
  if (context.font) --context.font->selections;
  context.bitmap = nullptr;
  context.font = nullptr;
}

HGDIOBJ SelectBitmap(HDC dc, HDC__& context, BitmapObject& bitmap) {
  if (context.surface) {
    return Fail(nullptr, "SelectObject: a surface's context cannot take a bitmap");
  }
  if (!bitmap.stock && bitmap.selectedInto && bitmap.selectedInto != dc) {
    return Fail(nullptr, "SelectObject: the bitmap is selected into another context");
  }
  BitmapObject* previous = context.bitmap;
  if (previous && !previous->stock) previous->selectedInto = nullptr;
  context.bitmap = &bitmap;
  if (!bitmap.stock) bitmap.selectedInto = dc;
  return previous;
}

HGDIOBJ SelectFont(HDC__& context, FontObject& font) {
  FontObject* previous = context.font;
  if (previous) --previous->selections;
  context.font = &font;
  ++font.selections;
  return previous;
}

// Whether pitch and size describe memory that can hold the rows the buffer claims.
bool RowsFit(const platform::PixelBuffer& buffer) {
  const long long rowBytes =
      (static_cast<long long>(buffer.width) * buffer.layout.bitCount + 7) / 8;
  return std::llabs(static_cast<long long>(buffer.pitch)) >= rowBytes;
}

}  // namespace

HDC CreateCompatibleDC(HDC) {
  HDC__* context = platform::gdi::NewContext();
  context->bitmap = &State().stockBitmap;
  platform::NoteObjectCreated(platform::ObjectKind::DeviceContext);
  return context;
}

BOOL DeleteDC(HDC dc) {
  HDC__* context = FindContext(dc);
  if (!context) return Fail(FALSE, "DeleteDC: unknown device context");
  if (context->surface) {
    return Fail(FALSE, "DeleteDC: a surface's context goes back through ReleaseDC");
  }
  DeselectAll(*context);
  State().contexts.erase(context);
  platform::NoteObjectDestroyed(platform::ObjectKind::DeviceContext);
  return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  HDC__* context = FindContext(dc);
  if (!context) return Fail(nullptr, "SelectObject: unknown device context");
  if (BitmapObject* bitmap = FindBitmap(object)) return SelectBitmap(dc, *context, *bitmap);
  if (FontObject* font = FindFont(object)) return SelectFont(*context, *font);
  return Fail(nullptr, "SelectObject: unknown object");
}

BOOL DeleteObject(HGDIOBJ object) {
  auto& state = State();
  if (BitmapObject* bitmap = FindBitmap(object)) {
    if (bitmap->stock) return TRUE;
    if (bitmap->selectedInto) return Fail(FALSE, "DeleteObject: the bitmap is still selected");
    state.bitmaps.erase(object);
    platform::NoteObjectDestroyed(platform::ObjectKind::Bitmap);
    return TRUE;
  }
  if (FontObject* font = FindFont(object)) {
    if (font->stock) return TRUE;
    if (font->selections > 0) return Fail(FALSE, "DeleteObject: the font is still selected");
    state.fonts.erase(object);
    platform::NoteObjectDestroyed(platform::ObjectKind::Font);
    return TRUE;
  }
  return Fail(FALSE, "DeleteObject: unknown object");
}

int GetObjectA(HGDIOBJ object, int bufferSize, LPVOID buffer) {
  if (const BitmapObject* bitmap = FindBitmap(object)) {
    if (!buffer) return sizeof(BITMAP);
    if (bufferSize < static_cast<int>(sizeof(BITMAP)))
      return Fail(0, "GetObjectA: buffer too small");
    BITMAP info{};
    info.bmWidth = bitmap->pixels.width;
    info.bmHeight = bitmap->pixels.height;
    info.bmWidthBytes = bitmap->stride;
    info.bmPlanes = 1;
    info.bmBitsPixel = static_cast<WORD>(bitmap->pixels.layout.bitCount);
    info.bmBits = bitmap->stock ? nullptr : const_cast<std::uint8_t*>(bitmap->memory.data());
    std::memcpy(buffer, &info, sizeof info);
    return sizeof(BITMAP);
  }
  if (const FontObject* font = FindFont(object)) {
    if (!buffer) return sizeof(LOGFONTA);
    if (bufferSize < static_cast<int>(sizeof(LOGFONTA)))
      return Fail(0, "GetObjectA: buffer too small");
    std::memcpy(buffer, &font->description, sizeof(LOGFONTA));
    return sizeof(LOGFONTA);
  }
  return Fail(0, "GetObjectA: unknown object");
}

int SetBkMode(HDC dc, int mode) {
  HDC__* context = FindContext(dc);
  if (!context) return Fail(0, "SetBkMode: unknown device context");
  if (mode != TRANSPARENT && mode != OPAQUE) return Fail(0, "SetBkMode: unknown mode");
  const int previous = context->backgroundMode;
  context->backgroundMode = mode;
  return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
  HDC__* context = FindContext(dc);
  if (!context) return Fail(CLR_INVALID, "SetTextColor: unknown device context");
  const COLORREF previous = context->textColour;
  context->textColour = colour;
  return previous;
}

namespace platform::gdi {

HDC CreateSurfaceDC(const PixelBuffer& target) {
  if (!target.bits || target.width <= 0 || target.height <= 0) {
    return Fail(nullptr, "GetDC: the surface has no pixels");
  }
  if (!IsDrawableLayout(target.layout) || !RowsFit(target)) {
    return Fail(nullptr, "GetDC: GDI cannot draw into the surface's pixel format");
  }
  if (target.layout.paletteIndexed && !target.palette) {
    return Fail(nullptr, "GetDC: the palette-indexed surface has no palette");
  }
  if (!UsableScale(target)) {
    return Fail(nullptr, "GetDC: the surface's render scale or origin is out of range");
  }
  HDC__* context = NewContext();
  context->surface = true;
  const int paletteSize = target.layout.paletteIndexed ? 1 << target.layout.bitCount : 0;
  context->surfaceCanvas = Canvas{target, paletteSize};
  NoteObjectCreated(ObjectKind::DeviceContext);
  return context;
}

bool DeleteSurfaceDC(HDC dc) {
  HDC__* context = FindContext(dc);
  if (!context || !context->surface) return false;
  DeselectAll(*context);
  State().contexts.erase(context);
  NoteObjectDestroyed(ObjectKind::DeviceContext);
  return true;
}

}  // namespace platform::gdi
