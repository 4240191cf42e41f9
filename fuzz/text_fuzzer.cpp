// Any bytes as text: TextOutA draws them (as code page 932, with whatever double-byte sequences
// and control codes they hold) in a font of a fuzzed face, size, width, weight and slant, at a
// fuzzed position, in either background mode and any colour, onto a 640 × 480 screen surface, a
// surface of another texture format, or a fresh memory context with nothing to draw on. Nothing
// may read or write out of bounds, and every object made is given back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/surfaces.h"
#include "platform/core/live_objects.h"
#include "platform/gdi.h"

namespace {

// The faces the game and the system font ask for, in code page 932, then a fuzzed name.
const char* const kFaceNames[] = {"\x95\x57\x8f\x80\x96\xbe\x92\xa9",  // 標準明朝
                                  "", "System", "MS Gothic", "DejaVu Sans"};

LOGFONTA FuzzedFont(FuzzedDataProvider& input) {
  LOGFONTA font{};
  // Mostly the sizes text is drawn at; now and then any value at all.
  const bool anyHeight = input.ConsumeIntegralInRange(0, 15) == 0;
  font.lfHeight =
      anyHeight ? input.ConsumeIntegral<LONG>() : input.ConsumeIntegralInRange(-300, 300);
  font.lfWidth = input.ConsumeBool() ? 0 : input.ConsumeIntegralInRange(-50, 200);
  font.lfWeight = input.ConsumeIntegralInRange(0, 1000);
  font.lfItalic = input.ConsumeIntegral<BYTE>() & 1;
  const std::size_t face = input.ConsumeIntegralInRange<std::size_t>(0, std::size(kFaceNames));
  if (face < std::size(kFaceNames)) {
    std::strncpy(font.lfFaceName, kFaceNames[face], LF_FACESIZE - 1);
  } else {
    const std::string name = input.ConsumeRandomLengthString(LF_FACESIZE - 1);
    std::memcpy(font.lfFaceName, name.data(), name.size());  // may hold NULs of its own
  }
  return font;
}

void DrawText(HDC dc, FuzzedDataProvider& input) {
  const LOGFONTA description = FuzzedFont(input);
  HFONT font = CreateFontIndirectA(&description);
  HGDIOBJ previous = SelectObject(dc, font);
  SetBkMode(dc, input.ConsumeBool() ? TRANSPARENT : OPAQUE);
  SetTextColor(dc, input.ConsumeIntegral<COLORREF>());
  const int x = input.ConsumeIntegralInRange(-700, 700);
  const int y = input.ConsumeIntegralInRange(-500, 500);
  // A negative length must be refused; a longer one than the text would be the caller's fault.
  const bool negative = input.ConsumeIntegralInRange(0, 31) == 0;
  const std::string text = input.ConsumeRandomLengthString(96);
  const int length = negative ? -1 - static_cast<int>(text.size()) : static_cast<int>(text.size());
  TextOutA(dc, x, y, text.data(), length);
  if (previous) SelectObject(dc, previous);
  DeleteObject(font);
}

void DrawOnSurface(IDirectDrawSurface* surface, FuzzedDataProvider& input) {
  HDC dc = nullptr;
  if (surface->GetDC(&dc) != DD_OK) std::abort();
  DrawText(dc, input);
  surface->ReleaseDC(dc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TextureFormatSurfaces();  // made before counting, so they are not taken for leaks
  ScreenSurface();
  const int liveBefore = platform::LiveObjects();
  FuzzedDataProvider input(data, size);
  const int target = input.ConsumeIntegralInRange(0, 9);
  if (target < 7) {
    DrawOnSurface(ScreenSurface(), input);
  } else if (target == 7) {
    const auto& surfaces = TextureFormatSurfaces();
    DrawOnSurface(
        surfaces[input.ConsumeIntegralInRange<std::size_t>(0, surfaces.size() - 1)].surface, input);
  } else {
    HDC memory = CreateCompatibleDC(nullptr);
    DrawText(memory, input);
    DeleteDC(memory);
  }
  if (platform::LiveObjects() != liveBefore) {
    std::fprintf(stderr, "platform objects were left: %d before, %d after\n", liveBefore,
                 platform::LiveObjects());
    std::abort();
  }
  return 0;
}
