// Any bytes as a bitmap file: LoadImageA reads them (as a DIB section and as a display bitmap),
// and whatever it accepts is described, read pixel by pixel at its corners, and copied with
// BitBlt into a surface of every texture format, whole and clipped. Nothing may read or write
// out of bounds, and every object made is given back.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/surfaces.h"
#include "platform/api/gdi.h"
#include "platform/testing.h"

namespace {

// The input lives in an in-memory file, so a run costs no disk traffic.
const std::string& InputPath() {
  static const std::string path = [] {
    const int fd = memfd_create("fuzzed.bmp", 0);
    if (fd < 0) {
      std::perror("memfd_create");
      std::abort();
    }
    return "/proc/self/fd/" + std::to_string(fd);
  }();
  return path;
}

void WriteInput(const std::uint8_t* data, std::size_t size) {
  const int fd = std::stoi(InputPath().substr(InputPath().rfind('/') + 1));
  if (ftruncate(fd, 0) != 0 ||
      (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))) {
    std::perror("writing the fuzz input");
    std::abort();
  }
}

void CopyIntoEverySurface(HDC source, const BITMAP& shape) {
  for (const FuzzSurface& target : TextureFormatSurfaces()) {
    HDC dc = nullptr;
    if (target.surface->GetDC(&dc) != DD_OK) std::abort();
    BitBlt(dc, 0, 0, shape.bmWidth, shape.bmHeight, source, 0, 0, SRCCOPY);
    // Hanging over every edge of both: only the overlap may be touched.
    BitBlt(dc, -3, 5, shape.bmWidth + 7, shape.bmHeight + 2, source, 2, -4, SRCCOPY);
    BitBlt(dc, 50, 30, shape.bmWidth, shape.bmHeight, source, shape.bmWidth - 1, shape.bmHeight - 1,
           SRCCOPY);
    target.surface->ReleaseDC(dc);
  }
}

void Exercise(HBITMAP bitmap) {
  BITMAP shape{};
  if (GetObjectA(bitmap, sizeof shape, &shape) != sizeof shape) std::abort();
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  RGBQUAD colours[256];
  GetDIBColorTable(memory, 0, 256, colours);
  GetDIBColorTable(memory, 255, 4, colours);
  for (int y : {-1, 0, static_cast<int>(shape.bmHeight) - 1, static_cast<int>(shape.bmHeight)}) {
    for (int x : {-1, 0, static_cast<int>(shape.bmWidth) - 1, static_cast<int>(shape.bmWidth)}) {
      GetPixel(memory, x, y);
    }
  }
  CopyIntoEverySurface(memory, shape);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TextureFormatSurfaces();  // made before counting, so they are not taken for leaks
  const int liveBefore = platform::testing::LiveObjects();
  WriteInput(data, size);
  for (UINT flags : {LR_LOADFROMFILE | LR_CREATEDIBSECTION, LR_LOADFROMFILE}) {
    HANDLE loaded = LoadImageA(nullptr, InputPath().c_str(), IMAGE_BITMAP, 0, 0, flags);
    if (loaded) Exercise(static_cast<HBITMAP>(loaded));
  }
  if (platform::testing::LiveObjects() != liveBefore) {
    std::fprintf(stderr, "platform objects were left: %d before, %d after\n", liveBefore,
                 platform::testing::LiveObjects());
    std::abort();
  }
  return 0;
}
