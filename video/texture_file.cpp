// The texture's file: the current folder's, else the installed game's own.
#include "video/texture_file.h"

#include <cstdio>
#include <cstring>

// The data folder relative to the program's own folder ("../share/games/tirravel"), given by the
// build from the install layout.
#ifndef TIRRAVEL_DATA_FROM_PROGRAM
#error "TIRRAVEL_DATA_FROM_PROGRAM must name the data folder relative to the program's folder"
#endif

namespace {

// The full path of `name` in the data folder beside the program, with *namePart at its last
// component; 0 when the program's own file is unknown or the path too long.
int DataFilePath(LPCSTR name, LPSTR path, LPSTR* namePart) {
  char program[kFilePathRoom];
  const DWORD length = GetModuleFileNameA(nullptr, program, kFilePathRoom);
  if (length == 0 || length >= kFilePathRoom) return 0;
  LPSTR lastSlash = std::strrchr(program, '/');
  if (!lastSlash) return 0;
  *lastSlash = '\0';
  char joined[kFilePathRoom];
  const int joinedLength =
      std::snprintf(joined, sizeof joined, "%s/%s/%s", program, TIRRAVEL_DATA_FROM_PROGRAM, name);
  if (joinedLength < 0 || joinedLength >= static_cast<int>(sizeof joined)) return 0;
  // Resolves the "games/../" between the program's folder and the data folder.
  const DWORD full = GetFullPathNameA(joined, kFilePathRoom, path, namePart);
  return full != 0 && full < kFilePathRoom && *namePart != nullptr;
}

// The current folder's full path, or words for it when it is unknown.
void CurrentFolder(LPSTR folder) {
  const DWORD length = GetFullPathNameA(".", kFilePathRoom, folder, nullptr);
  if (length == 0 || length >= kFilePathRoom) lstrcpyA(folder, "the current folder");
}

}  // namespace

int FindTextureFile(LPCSTR name, LPSTR path) {
  if (std::strlen(name) >= kFilePathRoom) {
    SetPlatformErrorText("the texture's file name is too long");
    return 0;
  }
  if (GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES) {
    lstrcpyA(path, name);
    return 1;
  }
  LPSTR namePart = nullptr;
  const int known = DataFilePath(name, path, &namePart);
  if (known && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return 1;

  char here[kFilePathRoom];
  CurrentFolder(here);
  char reason[3 * kFilePathRoom];
  if (known) {
    // The data folder is the path without its last component ("/" when that is all there is).
    namePart[namePart - 1 == path ? 0 : -1] = '\0';
    std::snprintf(reason, sizeof reason, "%s: file not found in %s nor in %s", name, here, path);
  } else {
    std::snprintf(reason, sizeof reason,
                  "%s: file not found in %s (and the program's own folder is unknown)", name, here);
  }
  path[0] = '\0';
  SetPlatformErrorText(reason);
  return 0;
}
