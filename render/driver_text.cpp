#include <cstring>

#include "platform/api/gdi.h"
#include "platform/api/win32.h"
#include "record/game_globals.h"
#include "record/screen_texts.h"
#include "render/scene.h"

void DrawDeviceInfo() {
  GameGlobals& g = globals;
  // Each name is at most 127 characters, so both fit with the brackets and the terminator.
  char line[2 * sizeof g.deviceName + sizeof kTextDeviceInfoFormat];
  wsprintfA(line, kTextDeviceInfoFormat, g.deviceName, g.driverName);

  HDC dc = nullptr;
  if (g.backBuffer->GetDC(&dc) != DD_OK) return;
  // No font, colour or mode is chosen: the context's system font, black on opaque white.
  TextOutA(dc, 10, 460, line, static_cast<int>(std::strlen(line)));
  lstrcpyA(line, g.filterEnabled != 0 ? kTextFilterOn : kTextFilterOff);
  TextOutA(dc, 10, 440, line, static_cast<int>(std::strlen(line)));
  g.backBuffer->ReleaseDC(dc);
}
