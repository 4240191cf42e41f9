// Where the course texture is read from. A Texture.bmp in the folder the game starts in wins, so
// a player can try their own; without one, an installed game reads its own from its data folder,
// found from where the program's file is (never from a path built in), so that it starts from a
// terminal in any folder and from the desktop menu alike.
#pragma once

#include "platform/api/win32.h"

// Room for a path with its terminator: the longest Linux allows.
inline constexpr DWORD kFilePathRoom = 4096;

// Puts in `path` (kFilePathRoom characters) the file to load for `name`: `name` itself when the
// current folder has an entry of that name, even a broken one, so that its load says what is
// wrong; else the full path of `name` in the data folder beside the program. Returns 0 when
// neither has it, with the platform's error text naming both folders.
int FindTextureFile(LPCSTR name, LPSTR path);
