// Bitmaps: DIB sections loaded from BMP files, their colour tables.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "platform/api/gdi.h"
#include "platform/core/last_error.h"
#include "platform/core/live_objects.h"
#include "platform/core/resource_name.h"
#include "platform/gdi/bmp_reader.h"
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/pixel_codec.h"

using platform::Fail;
using platform::gdi::BitmapObject;
using platform::gdi::BmpImage;

namespace {

// A DIB section that keeps the file's own format and row order; the view walks it top row first.
std::unique_ptr<BitmapObject> DibSectionOf(BmpImage image) {
  auto bitmap = std::make_unique<BitmapObject>();
  bitmap->memory = std::move(image.rows);
  bitmap->stride = image.stride;
  bitmap->colourCount = static_cast<int>(image.colourTable.size());
  std::copy(image.colourTable.begin(), image.colourTable.end(), bitmap->colourTable.begin());
  platform::PixelBuffer& view = bitmap->pixels;
  view.width = image.width;
  view.height = image.height;
  view.layout = image.layout;
  view.palette = image.layout.paletteIndexed ? bitmap->colourTable.data() : nullptr;
  if (image.topDown) {
    view.bits = bitmap->memory.data();
    view.pitch = image.stride;
  } else {
    view.bits = bitmap->memory.data() + static_cast<std::size_t>(image.height - 1) * image.stride;
    view.pitch = -image.stride;
  }
  return bitmap;
}

// A device-dependent bitmap: the picture converted to the display's 16-bit RGB 565, top down.
// Null when the converted picture would be larger than any BMP file's pixels may be: a file of
// one bit per pixel grows sixteenfold here.
std::unique_ptr<BitmapObject> DisplayBitmapOf(const BitmapObject& dib) {
  const platform::PixelBuffer& from = dib.pixels;
  const std::int64_t stride = (std::int64_t{from.width} * 2 + 3) / 4 * 4;
  if (stride * from.height > platform::gdi::kMaxBmpPixelBytes) return nullptr;
  auto bitmap = std::make_unique<BitmapObject>();
  bitmap->stride = static_cast<int>(stride);
  bitmap->memory.assign(static_cast<std::size_t>(bitmap->stride) * from.height, 0);
  bitmap->pixels = {bitmap->memory.data(),   from.width, from.height, bitmap->stride,
                    platform::kRgb565Layout, nullptr};
  const platform::gdi::PixelCodec decode(from.layout, from.palette, dib.colourCount);
  const platform::gdi::PixelCodec encode(platform::kRgb565Layout, nullptr, 0);
  for (int y = 0; y < from.height; ++y) {
    for (int x = 0; x < from.width; ++x) {
      const std::uint32_t raw = platform::gdi::ReadRawPixel(from, x, y);
      platform::gdi::WriteRawPixel(bitmap->pixels, x, y, encode.Encode(decode.Decode(raw)));
    }
  }
  return bitmap;
}

}  // namespace

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags) {
  if (!name) return Fail(nullptr, "LoadImageA: no image name");
  // A resource number passed where a name is expected is no pointer to read through.
  const std::string shown = platform::ResourceNameText(name);
  if (type != IMAGE_BITMAP) return Fail(nullptr, shown + ": only bitmaps can be loaded");
  if (width != 0 || height != 0) {
    return Fail(nullptr, shown + ": bitmaps are loaded at their own size only");
  }
  if (!(flags & LR_LOADFROMFILE) || platform::IsResourceNumber(name)) {
    (void)instance;  // the program carries no resources to look in
    return Fail(nullptr, shown + ": the program has no bitmap resource of that name");
  }
  std::string reason;
  std::optional<BmpImage> image = platform::gdi::ReadBmpFile(name, &reason);
  if (!image) return Fail(nullptr, reason);
  std::unique_ptr<BitmapObject> bitmap = DibSectionOf(std::move(*image));
  if (!(flags & LR_CREATEDIBSECTION)) {
    bitmap = DisplayBitmapOf(*bitmap);
    if (!bitmap) {
      return Fail(nullptr, shown + ": too large for a display bitmap (at most " +
                               std::to_string(platform::gdi::kMaxBmpPixelBytes) +
                               " bytes of pixels)");
    }
  }
  BitmapObject* handle = bitmap.get();
  platform::gdi::State().bitmaps.emplace(handle, std::move(bitmap));
  platform::NoteObjectCreated(platform::ObjectKind::Bitmap);
  return static_cast<HBITMAP>(handle);
}

UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colours) {
  const HDC__* context = platform::gdi::FindContext(dc);
  if (!context || !context->bitmap || context->bitmap->stock || !colours) return 0;
  const BitmapObject& bitmap = *context->bitmap;
  if (!bitmap.pixels.layout.paletteIndexed) return 0;
  const UINT available = static_cast<UINT>(bitmap.colourCount);
  if (start >= available) return 0;
  const UINT copied = std::min(count, available - start);
  for (UINT i = 0; i < copied; ++i) {
    const platform::PaletteColour& entry = bitmap.colourTable[start + i];
    colours[i] = RGBQUAD{entry.blue, entry.green, entry.red, 0};
  }
  return copied;
}
