// The course texture: a Windows bitmap turned into a Direct3D texture. It picks a pixel format
// that suits both the bitmap and the display, makes the surfaces the device needs, fills them
// through GDI, loads them into the device, and sets a source colour key from a colour.
#pragma once

#include "platform/api/d3d.h"
#include "platform/api/ddraw.h"
#include "platform/api/gdi.h"

// No base class and no virtual operations. Destroying a Texture releases nothing:
// ReleaseSurfaces is the only operation that gives the surfaces and palette back.
class Texture {
 public:
  // Empty: no surfaces, no palette, handle 0. Leaves owner unset.
  Texture();

  // Loads the named bitmap and makes the texture from it on `device`. Returns 1 on success; 0
  // when the bitmap cannot be loaded (the texture keeps what it had) or a later step fails (the
  // texture is left empty).
  int CreateFromBitmap(IDirectDraw2* directDraw, IDirect3DDevice2* device, LPCSTR bitmapName);
  // Sets the device surface's source colour key to the value GDI writes for `colour`, or with
  // CLR_INVALID to pixel (0, 0) as it is. Returns 1 when the key was set, else 0.
  int SetKeyColor(COLORREF colour);
  // The device's handle for the texture; 0 while the texture is not complete.
  D3DTEXTUREHANDLE GetTextureHandle() const;
  // Fills `format` with the device's texture format nearest above wantedBitCount that keeps the
  // display's channel order (all zero when none passes); returns the enumeration's result.
  HRESULT FindTextureFormat(IDirect3DDevice2* device, DWORD wantedBitCount, DDPIXELFORMAT* format);
  // Draws the bitmap into memorySurface through GDI, then loads it into the device.
  int CopyBitmap(HBITMAP bitmap);
  // Moves memorySurface's pixels into deviceSurface (nothing to do when they are one object).
  int LoadToDevice();
  // Releases memorySurface, deviceSurface and palette (each when set) and clears the handle.
  void ReleaseSurfaces();
  // As CreateFromBitmap, with a mip-map chain of `count` levels, one bitmap per level.
  int CreateMipmapFromBitmaps(IDirectDraw2* directDraw, IDirect3DDevice2* device,
                              LPCSTR* bitmapNames, int count);
  // Draws the bitmap into one level of the memory chain, then loads the whole texture.
  int CopyBitmapToLevel(HBITMAP bitmap, IDirectDrawSurface* level);

  IDirectDraw2* owner;                // makes the surfaces and palette; not reference-counted here
  IDirectDrawSurface* memorySurface;  // GDI draws here; system memory
  IDirectDrawSurface* deviceSurface;  // the device draws from here; == memorySurface in software
  IDirectDrawPalette* palette;        // only for formats of 8 bits or fewer
  D3DTEXTUREHANDLE handle;

 private:
  // The heart of the creation (format, surfaces, palette, picture, handle), shared by the plain
  // and the mip-mapped variant.
  // *chosenBits receives the bit count of the chosen format.
  int BuildFromBitmap(IDirect3DDevice2* device, HBITMAP bitmap, DWORD mipLevels, DWORD* chosenBits);
  int CreateSurfaces(DDSURFACEDESC& description, IDirect3DDevice2* device, bool mipmapped);
  int FailCreation(HBITMAP bitmap);
};
