// Text drawn the way the game draws its texts: a Shift-JIS Mincho font of the given height and
// weight, selected for one TextOutA and then put back.
#pragma once

#include <cstring>
#include <string>

#include "platform/api/gdi.h"

inline constexpr char kMinchoName[] = "\x95\x57\x8f\x80\x96\xbe\x92\xa9";  // 標準明朝

inline void DrawMinchoText(HDC dc, const std::string& text, int height, int x, int y,
                           COLORREF colour, bool opaque, LONG weight = FW_BOLD) {
  LOGFONTA description{};
  description.lfHeight = height;
  description.lfWeight = weight;
  description.lfCharSet = SHIFTJIS_CHARSET;
  std::strcpy(description.lfFaceName, kMinchoName);
  HFONT font = CreateFontIndirectA(&description);
  HGDIOBJ previous = SelectObject(dc, font);
  SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
  SetTextColor(dc, colour);
  TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
  SelectObject(dc, previous);
  DeleteObject(font);
}
