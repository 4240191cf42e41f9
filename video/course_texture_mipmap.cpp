// The mip-mapped variant of texture creation: one bitmap per level.
#include "video/bitmap_utilities.h"
#include "video/course_texture.h"
#include "video/surface_bitmap.h"

int Texture::CreateMipmapFromBitmaps(IDirectDraw2* directDraw, IDirect3DDevice2* device,
                                     LPCSTR* bitmapNames, int count) {
  if (!bitmapNames || count < 1) return 0;
  owner = directDraw;
  HBITMAP bitmap = LoadBitmapImage(bitmapNames[0]);
  if (!bitmap) return 0;  // the texture keeps its previous surfaces
  ReleaseSurfaces();
  DWORD chosenBits = 0;
  if (!BuildFromBitmap(device, bitmap, static_cast<DWORD>(count), &chosenBits)) {
    return FailCreation(bitmap);
  }
  DeleteObject(bitmap);

  IDirectDrawSurface* level = memorySurface;
  level->AddRef();  // each level is held while the next one is looked up, then let go
  for (int index = 1; index < count; ++index) {
    bitmap = LoadBitmapImage(bitmapNames[index]);
    if (!bitmap) {
      level->Release();
      return 0;  // what was built so far stays
    }
    DDSCAPS caps{DDSCAPS_TEXTURE | DDSCAPS_MIPMAP};
    IDirectDrawSurface* next = nullptr;
    const HRESULT found = level->GetAttachedSurface(&caps, &next);
    level->Release();
    level = next;
    if (found != DD_OK || !level) return FailCreation(bitmap);
    if (chosenBits <= 8) {
      // The texture keeps one palette reference, to the latest; earlier levels hold theirs.
      if (palette) palette->Release();
      palette = CreatePaletteFromBitmap(owner, bitmap);
      level->SetPalette(palette);
    }
    if (!CopyBitmapToLevel(bitmap, level)) {
      level->Release();
      return FailCreation(bitmap);
    }
    DeleteObject(bitmap);
  }
  level->Release();
  return 1;
}

int Texture::CopyBitmapToLevel(HBITMAP bitmap, IDirectDrawSurface* level) {
  if (!DrawBitmapIntoSurface(level, bitmap)) return 0;
  return LoadToDevice();
}
