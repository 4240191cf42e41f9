// Any bytes as text: TextOutA draws them (as code page 932, with whatever double-byte sequences
// and control codes they hold) in a font of a fuzzed face, size, width, weight and slant, at a
// fuzzed position, in either background mode and any colour, onto a 640 × 480 screen surface, the
// screen's memory at a render scale (4:3 or widened to 16:9), a surface of another texture
// format, or a fresh memory context with nothing to draw on. Nothing may read or write out of
// bounds, and every object made is given back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/surfaces.h"
#include "platform/api/gdi.h"
#include "platform/core/pixel_buffer.h"
#include "platform/gdi/surface_dc.h"
#include "platform/testing.h"

namespace {

// The faces the game and the system font ask for, in code page 932, then a fuzzed name.
const char* const kFaceNames[] = {"\x95\x57\x8f\x80\x96\xbe\x92\xa9",  // 標準明朝
                                  "", "System", "MS Gothic", "DejaVu Sans"};

// The fonts the game draws with: Mincho, bold, at its text sizes, and the system font.
const LONG kGameHeights[] = {30, 50, 55, 80, 150, 200};

// Holds one font of each of the game's descriptions for the whole process: a font nobody holds
// may be dropped from the cache with its glyphs when many others come and go.
void KeepTheGameFontsCached() {
  static const bool kept = [] {
    LOGFONTA font{};
    CreateFontIndirectA(&font);
    font.lfWeight = FW_BOLD;
    std::strcpy(font.lfFaceName, kFaceNames[0]);
    for (LONG height : kGameHeights) {
      font.lfHeight = height;
      CreateFontIndirectA(&font);
    }
    return true;
  }();
  (void)kept;
}

LOGFONTA GameFont(FuzzedDataProvider& input) {
  LOGFONTA font{};
  const auto size = input.ConsumeIntegralInRange<std::size_t>(0, std::size(kGameHeights));
  if (size == std::size(kGameHeights)) return font;  // the system font's description
  font.lfHeight = kGameHeights[size];
  font.lfWeight = FW_BOLD;
  std::strcpy(font.lfFaceName, kFaceNames[0]);
  return font;
}

LOGFONTA AnyFont(FuzzedDataProvider& input) {
  LOGFONTA font{};
  font.lfHeight = input.ConsumeIntegralInRange(0, 15) == 0
                      ? input.ConsumeIntegral<LONG>()
                      : input.ConsumeIntegralInRange(-120, 120);
  font.lfWidth = input.ConsumeBool() ? input.ConsumeIntegralInRange(-50, 200) : 0;
  font.lfWeight = input.ConsumeIntegralInRange(0, 1000);
  font.lfItalic = input.ConsumeBool();
  const std::size_t face = input.ConsumeIntegralInRange<std::size_t>(0, std::size(kFaceNames));
  if (face < std::size(kFaceNames)) {
    std::strcpy(font.lfFaceName, kFaceNames[face]);
  } else {
    const std::string name = input.ConsumeRandomLengthString(LF_FACESIZE - 1);
    std::memcpy(font.lfFaceName, name.data(), name.size());  // may hold NULs of its own
  }
  return font;
}

// The Japanese characters of the game's own texts, in code page 932.
const char* const kGameCharacters[] = {
    "\x82\xf0", "\x89\x9f", "\x82\xb7", "\x82\xc6", "\x83\x4d", "\x83\x75", "\x82\xea", "\x82\xdc",
    "\x81\xaa", "\x81\x40", "\x92\xbc", "\x90\x69", "\x81\xa9", "\x81\xa8", "\x95\xfb", "\x8c\xfc",
    "\x95\xcf", "\x8d\x58", "\x8d\x82", "\x93\x78", "\x8f\xe3", "\x82\xb0"};

// Characters the game draws: printable ASCII and its Japanese ones.
std::string GameText(FuzzedDataProvider& input) {
  std::string text;
  const int length = input.ConsumeIntegralInRange(0, 24);
  for (int i = 0; i < length && input.remaining_bytes() > 0; ++i) {
    const auto pick = input.ConsumeIntegral<std::uint8_t>();
    if (pick < 0x5F) {
      text += static_cast<char>(0x20 + pick);
    } else {
      text += kGameCharacters[pick % std::size(kGameCharacters)];
    }
  }
  return text;
}

// What one run draws. A glyph seen for the first time is rendered afresh, which costs most of a
// run, so novelty comes where it is cheap: one run in eight draws the bytes as they come (any
// character of the code page, broken double-byte sequences, control codes) in the system font;
// the others draw the game's characters in the game's fonts (their glyphs stay cached) or, one
// in thirty-two, in a font of any description.
struct Drawing {
  LOGFONTA font;
  std::string text;
};

Drawing FuzzedDrawing(FuzzedDataProvider& input) {
  if (input.ConsumeIntegralInRange(0, 7) == 0) {
    return {LOGFONTA{}, input.ConsumeRandomLengthString(40)};
  }
  const LOGFONTA font = input.ConsumeIntegralInRange(0, 31) == 0 ? AnyFont(input) : GameFont(input);
  return {font, GameText(input)};
}

void DrawText(HDC dc, FuzzedDataProvider& input) {
  const Drawing drawing = FuzzedDrawing(input);
  HFONT font = CreateFontIndirectA(&drawing.font);
  HGDIOBJ previous = SelectObject(dc, font);
  SetBkMode(dc, input.ConsumeBool() ? TRANSPARENT : OPAQUE);
  SetTextColor(dc, input.ConsumeIntegral<COLORREF>());
  // Mostly on or near the screen; now and then anywhere at all.
  const bool anywhere = input.ConsumeIntegralInRange(0, 7) == 0;
  const int x = anywhere ? input.ConsumeIntegral<int>() : input.ConsumeIntegralInRange(-700, 700);
  const int y = anywhere ? input.ConsumeIntegral<int>() : input.ConsumeIntegralInRange(-500, 500);
  // A negative length must be refused; a longer one than the text would be the caller's fault.
  const bool negative = input.ConsumeIntegralInRange(0, 31) == 0;
  const std::string& text = drawing.text;
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

// The display's memory at the render scales the tests hold the devices to, 4:3 and 16:9: made
// once each, as a display surface lends it to GDI.
const platform::PixelBuffer& ScaledScreen(FuzzedDataProvider& input) {
  constexpr float kScales[] = {2.0f, 2.25f, 3.0f};
  static std::vector<std::uint16_t> memory[std::size(kScales)][2];
  static platform::PixelBuffer screens[std::size(kScales)][2];
  const auto scale = input.ConsumeIntegralInRange<std::size_t>(0, std::size(kScales) - 1);
  const int wide = input.ConsumeBool() ? 1 : 0;
  platform::PixelBuffer& screen = screens[scale][wide];
  if (!screen.bits) {
    const int height = static_cast<int>(std::lround(480 * kScales[scale]));
    const int classicWidth = static_cast<int>(std::lround(640 * kScales[scale]));
    const int width = wide ? height * 16 / 9 : classicWidth;
    memory[scale][wide].assign(static_cast<std::size_t>(width) * height, 0);
    screen = {reinterpret_cast<std::uint8_t*>(memory[scale][wide].data()),
              width,
              height,
              width * 2,
              platform::kRgb565Layout,
              nullptr};
    screen.scale = kScales[scale];
    screen.originX = (width - classicWidth) / 2;
  }
  return screen;
}

void DrawOnScaledScreen(FuzzedDataProvider& input) {
  HDC dc = platform::gdi::CreateSurfaceDC(ScaledScreen(input));
  if (!dc) std::abort();
  DrawText(dc, input);
  platform::gdi::DeleteSurfaceDC(dc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TextureFormatSurfaces();  // made before counting, so they are not taken for leaks
  ScreenSurface();
  KeepTheGameFontsCached();
  const int liveBefore = platform::testing::LiveObjects();
  FuzzedDataProvider input(data, size);
  const int target = input.ConsumeIntegralInRange(0, 11);
  if (target < 7) {
    DrawOnSurface(ScreenSurface(), input);
  } else if (target < 9) {
    DrawOnScaledScreen(input);
  } else if (target == 9) {
    const auto& surfaces = TextureFormatSurfaces();
    DrawOnSurface(
        surfaces[input.ConsumeIntegralInRange<std::size_t>(0, surfaces.size() - 1)].surface, input);
  } else {
    HDC memory = CreateCompatibleDC(nullptr);
    DrawText(memory, input);
    DeleteDC(memory);
  }
  if (platform::testing::LiveObjects() != liveBefore) {
    std::fprintf(stderr, "platform objects were left: %d before, %d after\n", liveBefore,
                 platform::testing::LiveObjects());
    std::abort();
  }
  return 0;
}
