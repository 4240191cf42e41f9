#include "render/hud_text.h"

#include <cstring>

#include "platform/api/ddraw.h"
#include "platform/api/gdi.h"
#include "platform/api/win32.h"
#include "record/game_globals.h"
#include "record/screen_texts.h"

void DrawHudText(const char* text, int size, int x, int y, int red, int green, int blue,
                 int italic) {
  HDC dc = nullptr;
  if (globals.backBuffer->GetDC(&dc) != DD_OK) return;

  auto* description = static_cast<LOGFONTA*>(GlobalAlloc(GPTR, sizeof(LOGFONTA)));
  if (!description) {  // no memory for the description: give the context back, draw nothing
    globals.backBuffer->ReleaseDC(dc);
    return;
  }
  lstrcpyA(description->lfFaceName, kTextFaceName);
  description->lfWeight = FW_BOLD;
  description->lfEscapement = 0;
  description->lfWidth = 0;
  description->lfHeight = size;
  description->lfItalic = static_cast<BYTE>(italic);
  description->lfUnderline = 0;
  description->lfCharSet = SHIFTJIS_CHARSET;

  // A font is made and deleted for every line; the platform caches what makes that cheap.
  HFONT font = CreateFontIndirectA(description);
  if (font) {  // without a font the line would come out in the system font: draw nothing
    HGDIOBJ previousFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc,
                 RGB(static_cast<BYTE>(red), static_cast<BYTE>(green), static_cast<BYTE>(blue)));
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
    SelectObject(dc, previousFont);
    DeleteObject(font);
  }
  globals.backBuffer->ReleaseDC(dc);
  GlobalFree(description);
}
