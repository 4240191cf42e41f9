// DirectDraw of DirectX 5, stood in for on Linux: the interfaces, records and constants the game
// uses. The interfaces are abstract classes with COM's reference counting.
//
// Records that carry a dwSize must hold their DirectX 5 size (the *_SIZE constants below), which
// on this 64-bit machine is not always sizeof; it is a version marker that every call checks, and
// a wrong size is DDERR_INVALIDPARAMS.
#pragma once

#include <cstring>

#include "platform/api/win32.h"

// ---- COM basics -------------------------------------------------------------------------------

struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using LPGUID = GUID*;

inline bool operator==(const GUID& a, const GUID& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}
inline BOOL IsEqualGUID(const GUID& a, const GUID& b) {
  return a == b ? TRUE : FALSE;
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);

inline bool SUCCEEDED(HRESULT result) {
  return result >= 0;
}
inline bool FAILED(HRESULT result) {
  return result < 0;
}

using LPRECT = RECT*;
using LPDWORD = DWORD*;

// The root of every interface: reference counting and interface queries.
class IUnknown {
 public:
  // Hands out another interface of the same object (with a reference added) in *object, or sets
  // it to null and returns E_NOINTERFACE when the object has no such interface.
  virtual HRESULT QueryInterface(REFIID iid, LPVOID* object) = 0;
  // Adds a reference; returns the new count.
  virtual ULONG AddRef() = 0;
  // Gives a reference back; the object goes when the last one is given back. Returns the new
  // count (0 when the object is gone).
  virtual ULONG Release() = 0;

 protected:
  // Objects go through Release, never through delete by their users.
  virtual ~IUnknown() = default;
};

// ---- Interface identifiers (our own values) ---------------------------------------------------

inline constexpr IID IID_IUnknown = {0x54525200, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};
inline constexpr IID IID_IDirectDraw = {0x54525201, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};
inline constexpr IID IID_IDirectDraw2 = {
    0x54525202, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};
inline constexpr IID IID_IDirectDrawSurface = {
    0x54525211, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};
inline constexpr IID IID_IDirectDrawSurface3 = {
    0x54525213, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};
inline constexpr IID IID_IDirectDrawPalette = {
    0x54525221, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};

// ---- Interfaces -------------------------------------------------------------------------------

class IDirectDraw;
class IDirectDraw2;
class IDirectDrawSurface;
class IDirectDrawSurface3;
class IDirectDrawPalette;

using LPDIRECTDRAW = IDirectDraw*;
using LPDIRECTDRAW2 = IDirectDraw2*;
using LPDIRECTDRAWSURFACE = IDirectDrawSurface*;
using LPDIRECTDRAWSURFACE3 = IDirectDrawSurface3*;
using LPDIRECTDRAWPALETTE = IDirectDrawPalette*;
using LPUNKNOWN = IUnknown*;

// ---- Results ----------------------------------------------------------------------------------

inline constexpr HRESULT DD_OK = 0;
inline constexpr HRESULT DD_FALSE = S_FALSE;

inline constexpr HRESULT DDERR_GENERIC = E_FAIL;
inline constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
inline constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
inline constexpr HRESULT DDERR_UNSUPPORTED = E_NOTIMPL;
inline constexpr HRESULT DDERR_ALREADYINITIALIZED = static_cast<HRESULT>(0x88760005u);
inline constexpr HRESULT DDERR_CURRENTLYNOTAVAIL = static_cast<HRESULT>(0x88760028u);
inline constexpr HRESULT DDERR_INVALIDCAPS = static_cast<HRESULT>(0x88760064u);
inline constexpr HRESULT DDERR_INVALIDMODE = static_cast<HRESULT>(0x88760078u);
inline constexpr HRESULT DDERR_INVALIDOBJECT = static_cast<HRESULT>(0x88760082u);
inline constexpr HRESULT DDERR_INVALIDPIXELFORMAT = static_cast<HRESULT>(0x88760091u);
inline constexpr HRESULT DDERR_INVALIDRECT = static_cast<HRESULT>(0x88760096u);
inline constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = static_cast<HRESULT>(0x887600D4u);
inline constexpr HRESULT DDERR_NOCOLORKEY = static_cast<HRESULT>(0x887600D7u);
inline constexpr HRESULT DDERR_NOEXCLUSIVEMODE = static_cast<HRESULT>(0x887600E1u);
inline constexpr HRESULT DDERR_NOTFOUND = static_cast<HRESULT>(0x887600FFu);
inline constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = static_cast<HRESULT>(0x8876017Cu);
inline constexpr HRESULT DDERR_SURFACEBUSY = static_cast<HRESULT>(0x887601AEu);
inline constexpr HRESULT DDERR_SURFACELOST = static_cast<HRESULT>(0x887601C2u);
inline constexpr HRESULT DDERR_SURFACENOTATTACHED = static_cast<HRESULT>(0x887601CCu);
inline constexpr HRESULT DDERR_WASSTILLDRAWING = static_cast<HRESULT>(0x8876021Cu);
inline constexpr HRESULT DDERR_INVALIDDIRECTDRAWGUID = static_cast<HRESULT>(0x88760231u);
inline constexpr HRESULT DDERR_NODIRECTDRAWHW = static_cast<HRESULT>(0x88760233u);
inline constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = static_cast<HRESULT>(0x88760234u);
inline constexpr HRESULT DDERR_NOPALETTEATTACHED = static_cast<HRESULT>(0x8876023Cu);
inline constexpr HRESULT DDERR_EXCLUSIVEMODEALREADYSET = static_cast<HRESULT>(0x88760245u);
inline constexpr HRESULT DDERR_NOTFLIPPABLE = static_cast<HRESULT>(0x88760246u);
inline constexpr HRESULT DDERR_NOTLOCKED = static_cast<HRESULT>(0x88760248u);
inline constexpr HRESULT DDERR_CANTCREATEDC = static_cast<HRESULT>(0x88760249u);
inline constexpr HRESULT DDERR_NODC = static_cast<HRESULT>(0x8876024Au);
inline constexpr HRESULT DDERR_IMPLICITLYCREATED = static_cast<HRESULT>(0x8876024Cu);
inline constexpr HRESULT DDERR_NOTPALETTIZED = static_cast<HRESULT>(0x8876024Du);
inline constexpr HRESULT DDERR_UNSUPPORTEDMODE = static_cast<HRESULT>(0x8876024Eu);
inline constexpr HRESULT DDERR_DCALREADYCREATED = static_cast<HRESULT>(0x8876026Cu);

// ---- Records ----------------------------------------------------------------------------------

// DirectX 5 sizes, which the dwSize members must carry.
inline constexpr DWORD DDPIXELFORMAT_SIZE = 32;
inline constexpr DWORD DDSURFACEDESC_SIZE = 108;
inline constexpr DWORD DDCAPS_SIZE = 364;
inline constexpr DWORD DDBLTFX_SIZE = 100;

struct DDSCAPS {
  DWORD dwCaps;  // DDSCAPS_* flags
};
using LPDDSCAPS = DDSCAPS*;

struct DDCOLORKEY {
  DWORD dwColorSpaceLowValue;   // raw pixel value of the surface's format
  DWORD dwColorSpaceHighValue;  // equal to the low value: a key is one value here
};
using LPDDCOLORKEY = DDCOLORKEY*;

struct DDPIXELFORMAT {
  DWORD dwSize;   // DDPIXELFORMAT_SIZE
  DWORD dwFlags;  // DDPF_* flags
  DWORD dwFourCC;
  DWORD dwRGBBitCount;  // bits per pixel
  DWORD dwRBitMask;
  DWORD dwGBitMask;
  DWORD dwBBitMask;
  DWORD dwRGBAlphaBitMask;
};
using LPDDPIXELFORMAT = DDPIXELFORMAT*;

struct DDSURFACEDESC {
  DWORD dwSize;   // DDSURFACEDESC_SIZE
  DWORD dwFlags;  // DDSD_* flags: which members are valid
  DWORD dwHeight;
  DWORD dwWidth;
  LONG lPitch;  // bytes from one row to the next
  DWORD dwBackBufferCount;
  DWORD dwMipMapCount;  // levels of a mip-map chain, the top one included
  DWORD dwAlphaBitDepth;
  DWORD dwReserved;
  LPVOID lpSurface;  // the memory, while locked
  DDCOLORKEY ddckCKDestOverlay;
  DDCOLORKEY ddckCKDestBlt;
  DDCOLORKEY ddckCKSrcOverlay;
  DDCOLORKEY ddckCKSrcBlt;
  DDPIXELFORMAT ddpfPixelFormat;
  DDSCAPS ddsCaps;
};
using LPDDSURFACEDESC = DDSURFACEDESC*;

inline constexpr int DD_ROP_SPACE = 8;

struct DDCAPS {
  DWORD dwSize;  // DDCAPS_SIZE
  DWORD dwCaps;  // DDCAPS_* flags
  DWORD dwCaps2;
  DWORD dwCKeyCaps;  // DDCKEYCAPS_* flags
  DWORD dwFXCaps;
  DWORD dwFXAlphaCaps;
  DWORD dwPalCaps;  // DDPCAPS_* flags
  DWORD dwSVCaps;
  DWORD dwAlphaBltConstBitDepths;
  DWORD dwAlphaBltPixelBitDepths;
  DWORD dwAlphaBltSurfaceBitDepths;
  DWORD dwAlphaOverlayConstBitDepths;
  DWORD dwAlphaOverlayPixelBitDepths;
  DWORD dwAlphaOverlaySurfaceBitDepths;
  DWORD dwZBufferBitDepths;
  DWORD dwVidMemTotal;
  DWORD dwVidMemFree;
  DWORD dwMaxVisibleOverlays;
  DWORD dwCurrVisibleOverlays;
  DWORD dwNumFourCCCodes;
  DWORD dwAlignBoundarySrc;
  DWORD dwAlignSizeSrc;
  DWORD dwAlignBoundaryDest;
  DWORD dwAlignSizeDest;
  DWORD dwAlignStrideAlign;
  DWORD dwRops[DD_ROP_SPACE];
  DDSCAPS ddsCaps;  // the surface capabilities the driver offers
  DWORD dwMinOverlayStretch;
  DWORD dwMaxOverlayStretch;
  DWORD dwMinLiveVideoStretch;
  DWORD dwMaxLiveVideoStretch;
  DWORD dwMinHwCodecStretch;
  DWORD dwMaxHwCodecStretch;
  DWORD dwReserved1;
  DWORD dwReserved2;
  DWORD dwReserved3;
  DWORD dwSVBCaps;
  DWORD dwSVBCKeyCaps;
  DWORD dwSVBFXCaps;
  DWORD dwSVBRops[DD_ROP_SPACE];
  DWORD dwVSBCaps;
  DWORD dwVSBCKeyCaps;
  DWORD dwVSBFXCaps;
  DWORD dwVSBRops[DD_ROP_SPACE];
  DWORD dwSSBCaps;
  DWORD dwSSBCKeyCaps;
  DWORD dwSSBFXCaps;
  DWORD dwSSBRops[DD_ROP_SPACE];
  DWORD dwMaxVideoPorts;
  DWORD dwCurrVideoPorts;
  DWORD dwSVBCaps2;
  DWORD dwNLVBCaps;
  DWORD dwNLVBCaps2;
  DWORD dwNLVBCKeyCaps;
  DWORD dwNLVBFXCaps;
  DWORD dwNLVBRops[DD_ROP_SPACE];
};
using LPDDCAPS = DDCAPS*;

// Only dwSize and dwFillColor are read here; the pointer alternatives of the original's unions
// are left out, which keeps the record at its DirectX 5 size.
struct DDBLTFX {
  DWORD dwSize;  // DDBLTFX_SIZE
  DWORD dwDDFX;
  DWORD dwROP;
  DWORD dwDDROP;
  DWORD dwRotationAngle;
  DWORD dwZBufferOpCode;
  DWORD dwZBufferLow;
  DWORD dwZBufferHigh;
  DWORD dwZBufferBaseDest;
  DWORD dwZDestConstBitDepth;
  DWORD dwZDestConst;
  DWORD dwZSrcConstBitDepth;
  DWORD dwZSrcConst;
  DWORD dwAlphaEdgeBlendBitDepth;
  DWORD dwAlphaEdgeBlend;
  DWORD dwReserved;
  DWORD dwAlphaDestConstBitDepth;
  DWORD dwAlphaDestConst;
  DWORD dwAlphaSrcConstBitDepth;
  DWORD dwAlphaSrcConst;
  DWORD dwFillColor;  // raw pixel value of the destination's format
  DDCOLORKEY ddckDestColorkey;
  DDCOLORKEY ddckSrcColorkey;
};
using LPDDBLTFX = DDBLTFX*;

using LPPALETTEENTRY = PALETTEENTRY*;

static_assert(sizeof(DDPIXELFORMAT) == DDPIXELFORMAT_SIZE);
static_assert(sizeof(DDCAPS) == DDCAPS_SIZE);
static_assert(sizeof(DDBLTFX) == DDBLTFX_SIZE);

// ---- Flags ------------------------------------------------------------------------------------

// DDSURFACEDESC::dwFlags
inline constexpr DWORD DDSD_CAPS = 0x00000001;
inline constexpr DWORD DDSD_HEIGHT = 0x00000002;
inline constexpr DWORD DDSD_WIDTH = 0x00000004;
inline constexpr DWORD DDSD_PITCH = 0x00000008;
inline constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
inline constexpr DWORD DDSD_ALPHABITDEPTH = 0x00000080;
inline constexpr DWORD DDSD_LPSURFACE = 0x00000800;
inline constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
inline constexpr DWORD DDSD_CKDESTOVERLAY = 0x00002000;
inline constexpr DWORD DDSD_CKDESTBLT = 0x00004000;
inline constexpr DWORD DDSD_CKSRCOVERLAY = 0x00008000;
inline constexpr DWORD DDSD_CKSRCBLT = 0x00010000;
inline constexpr DWORD DDSD_MIPMAPCOUNT = 0x00020000;
inline constexpr DWORD DDSD_REFRESHRATE = 0x00040000;

// DDSCAPS::dwCaps
inline constexpr DWORD DDSCAPS_ALPHA = 0x00000002;
inline constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
inline constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
inline constexpr DWORD DDSCAPS_FLIP = 0x00000010;
inline constexpr DWORD DDSCAPS_FRONTBUFFER = 0x00000020;
inline constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
inline constexpr DWORD DDSCAPS_OVERLAY = 0x00000080;
inline constexpr DWORD DDSCAPS_PALETTE = 0x00000100;
inline constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
inline constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
inline constexpr DWORD DDSCAPS_TEXTURE = 0x00001000;
inline constexpr DWORD DDSCAPS_3DDEVICE = 0x00002000;
inline constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;
inline constexpr DWORD DDSCAPS_VISIBLE = 0x00008000;
inline constexpr DWORD DDSCAPS_WRITEONLY = 0x00010000;
inline constexpr DWORD DDSCAPS_ZBUFFER = 0x00020000;
inline constexpr DWORD DDSCAPS_OWNDC = 0x00040000;
inline constexpr DWORD DDSCAPS_MODEX = 0x00200000;
inline constexpr DWORD DDSCAPS_MIPMAP = 0x00400000;
inline constexpr DWORD DDSCAPS_ALLOCONLOAD = 0x04000000;
inline constexpr DWORD DDSCAPS_LOCALVIDMEM = 0x10000000;
inline constexpr DWORD DDSCAPS_NONLOCALVIDMEM = 0x20000000;

// DDPIXELFORMAT::dwFlags
inline constexpr DWORD DDPF_ALPHAPIXELS = 0x00000001;
inline constexpr DWORD DDPF_ALPHA = 0x00000002;
inline constexpr DWORD DDPF_FOURCC = 0x00000004;
inline constexpr DWORD DDPF_PALETTEINDEXED4 = 0x00000008;
inline constexpr DWORD DDPF_PALETTEINDEXEDTO8 = 0x00000010;
inline constexpr DWORD DDPF_PALETTEINDEXED8 = 0x00000020;
inline constexpr DWORD DDPF_RGB = 0x00000040;
inline constexpr DWORD DDPF_COMPRESSED = 0x00000080;
inline constexpr DWORD DDPF_YUV = 0x00000200;
inline constexpr DWORD DDPF_ZBUFFER = 0x00000400;
inline constexpr DWORD DDPF_PALETTEINDEXED1 = 0x00000800;
inline constexpr DWORD DDPF_PALETTEINDEXED2 = 0x00001000;

// DDCAPS::dwCaps
inline constexpr DWORD DDCAPS_3D = 0x00000001;
inline constexpr DWORD DDCAPS_BLT = 0x00000040;
inline constexpr DWORD DDCAPS_GDI = 0x00000400;
inline constexpr DWORD DDCAPS_PALETTE = 0x00008000;
inline constexpr DWORD DDCAPS_COLORKEY = 0x00400000;
inline constexpr DWORD DDCAPS_NOHARDWARE = 0x02000000;
inline constexpr DWORD DDCAPS_BLTCOLORFILL = 0x04000000;
inline constexpr DWORD DDCAPS_CANBLTSYSMEM = 0x80000000;

// DDCAPS::dwCKeyCaps
inline constexpr DWORD DDCKEYCAPS_SRCBLT = 0x00000200;

// SetCooperativeLevel
inline constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
inline constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
inline constexpr DWORD DDSCL_NOWINDOWCHANGES = 0x00000004;
inline constexpr DWORD DDSCL_NORMAL = 0x00000008;
inline constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
inline constexpr DWORD DDSCL_ALLOWMODEX = 0x00000040;

// Blt
inline constexpr DWORD DDBLT_COLORFILL = 0x00000400;
inline constexpr DWORD DDBLT_WAIT = 0x01000000;

// Flip
inline constexpr DWORD DDFLIP_WAIT = 0x00000001;

// Lock
inline constexpr DWORD DDLOCK_SURFACEMEMORYPTR = 0x00000000;
inline constexpr DWORD DDLOCK_WAIT = 0x00000001;
inline constexpr DWORD DDLOCK_READONLY = 0x00000010;
inline constexpr DWORD DDLOCK_WRITEONLY = 0x00000020;

// SetColorKey / GetColorKey
inline constexpr DWORD DDCKEY_COLORSPACE = 0x00000001;
inline constexpr DWORD DDCKEY_DESTBLT = 0x00000002;
inline constexpr DWORD DDCKEY_DESTOVERLAY = 0x00000004;
inline constexpr DWORD DDCKEY_SRCBLT = 0x00000008;
inline constexpr DWORD DDCKEY_SRCOVERLAY = 0x00000010;

// CreatePalette and IDirectDrawPalette::GetCaps
inline constexpr DWORD DDPCAPS_4BIT = 0x00000001;
inline constexpr DWORD DDPCAPS_8BITENTRIES = 0x00000002;
inline constexpr DWORD DDPCAPS_8BIT = 0x00000004;
inline constexpr DWORD DDPCAPS_INITIALIZE = 0x00000008;
inline constexpr DWORD DDPCAPS_PRIMARYSURFACE = 0x00000010;
inline constexpr DWORD DDPCAPS_ALLOW256 = 0x00000040;

// Enumeration callbacks
inline constexpr BOOL DDENUMRET_CANCEL = 0;
inline constexpr BOOL DDENUMRET_OK = 1;

// ---- Interfaces -------------------------------------------------------------------------------

// The DirectDraw object of one display driver (the first version of its interface).
class IDirectDraw : public IUnknown {
 public:
  // Creates a palette (DDPCAPS_8BIT: 256 entries copied from `entries`). DDERR_INVALIDPARAMS for
  // other sizes or a null table; DDERR_NOCOOPERATIVELEVELSET before SetCooperativeLevel.
  virtual HRESULT CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                                IUnknown* outer) = 0;
  // Creates a surface (a flip chain, a texture, a mip-map chain, a plain surface) as the
  // description asks; the caps, size (1 to 4096) or pixel format the platform cannot offer fail,
  // and so does every creation before SetCooperativeLevel (DDERR_NOCOOPERATIVELEVELSET).
  virtual HRESULT CreateSurface(LPDDSURFACEDESC description, LPDIRECTDRAWSURFACE* surface,
                                IUnknown* outer) = 0;
  // Fills the driver's (hardware) and the emulation's capabilities; either may be null.
  virtual HRESULT GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) = 0;
  // Describes the current display mode: size, pitch and pixel format.
  virtual HRESULT GetDisplayMode(LPDDSURFACEDESC description) = 0;
  // The display's refresh in hertz: how many pictures a second a flip each refresh shows.
  // DDERR_INVALIDPARAMS for a null pointer.
  virtual HRESULT GetMonitorFrequency(LPDWORD frequency) = 0;
  // Takes the display for a window: DDSCL_NORMAL, or DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN for the
  // whole screen (only one DirectDraw object may hold it).
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
  // Sets the display mode; only 640×480 at 16 bits per pixel exists. Needs exclusive mode.
  virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) = 0;
};

// The DirectDraw object's second interface, which adds a refresh rate to the mode change.
class IDirectDraw2 : public IUnknown {
 public:
  // As IDirectDraw::CreatePalette.
  virtual HRESULT CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                                IUnknown* outer) = 0;
  // As IDirectDraw::CreateSurface.
  virtual HRESULT CreateSurface(LPDDSURFACEDESC description, LPDIRECTDRAWSURFACE* surface,
                                IUnknown* outer) = 0;
  // As IDirectDraw::GetCaps.
  virtual HRESULT GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) = 0;
  // As IDirectDraw::GetDisplayMode.
  virtual HRESULT GetDisplayMode(LPDDSURFACEDESC description) = 0;
  // As IDirectDraw::GetMonitorFrequency.
  virtual HRESULT GetMonitorFrequency(LPDWORD frequency) = 0;
  // As IDirectDraw::SetCooperativeLevel.
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
  // Sets the display mode: 640×480×16 with refresh rate 0 (the default) or 60 and flags 0;
  // anything else is DDERR_INVALIDMODE. Needs exclusive mode.
  virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                 DWORD flags) = 0;
};

// A palette of 256 colours for 8-bit palette-indexed surfaces.
class IDirectDrawPalette : public IUnknown {
 public:
  // Reports the DDPCAPS_* flags the palette was created with.
  virtual HRESULT GetCaps(LPDWORD caps) = 0;
  // Copies `count` entries from index `start` into `entries`; DDERR_INVALIDPARAMS past 256.
  virtual HRESULT GetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY entries) = 0;
  // Replaces `count` entries from index `start`; DDERR_INVALIDPARAMS past 256.
  virtual HRESULT SetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY entries) = 0;
};

// The third surface interface below hides three first-version operations on purpose; the warning
// for that is silenced over both classes, since compilers report it at either one.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"

// One surface: the front or back buffer of the flip chain, a texture, one level of a mip-map
// chain or a plain surface. First version of the interface.
class IDirectDrawSurface : public IUnknown {
 public:
  // Colour fill (DDBLT_COLORFILL with fx->dwFillColor as a raw pixel value) of the whole surface
  // (null rectangle) or a rectangle inside it; other kinds of blit are DDERR_UNSUPPORTED.
  virtual HRESULT Blt(LPRECT destination, LPDIRECTDRAWSURFACE source, LPRECT sourceRect,
                      DWORD flags, LPDDBLTFX fx) = 0;
  // Front of a flip chain only: exchanges the memory of front and back buffer and hands the new
  // front picture to the display. DDERR_NOTFLIPPABLE on any other surface.
  virtual HRESULT Flip(LPDIRECTDRAWSURFACE overrideSurface, DWORD flags) = 0;
  // The attached surface whose caps include all of caps->dwCaps (the back buffer of a flip
  // chain, the next level of a mip-map chain), with a reference added; DDERR_NOTFOUND if none.
  virtual HRESULT GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) = 0;
  // The colour key of the given kind (DDCKEY_SRCBLT); DDERR_NOCOLORKEY when none is set.
  virtual HRESULT GetColorKey(DWORD flags, LPDDCOLORKEY key) = 0;
  // A GDI device context drawing into the surface's memory; DDERR_DCALREADYCREATED while one is
  // out, DDERR_SURFACEBUSY while the surface is locked.
  virtual HRESULT GetDC(HDC* dc) = 0;
  // The attached palette, with a reference added; DDERR_NOPALETTEATTACHED when none.
  virtual HRESULT GetPalette(LPDIRECTDRAWPALETTE* palette) = 0;
  // The surface's pixel format (pixelFormat->dwSize must be DDPIXELFORMAT_SIZE).
  virtual HRESULT GetPixelFormat(LPDDPIXELFORMAT pixelFormat) = 0;
  // The surface's description: caps, size, pitch, pixel format, colour key, mip-map count.
  virtual HRESULT GetSurfaceDesc(LPDDSURFACEDESC description) = 0;
  // Gives access to the memory of the whole surface (null rectangle) or a rectangle: fills the
  // description, lpSurface and lPitch included. DDERR_SURFACEBUSY while locked or a DC is out.
  virtual HRESULT Lock(LPRECT rect, LPDDSURFACEDESC description, DWORD flags, HANDLE event) = 0;
  // Gives back the device context of GetDC; DDERR_NODC when it is not the surface's one.
  virtual HRESULT ReleaseDC(HDC dc) = 0;
  // Brings back the memory of a lost surface; surfaces are never lost here, so DD_OK.
  virtual HRESULT Restore() = 0;
  // Sets (or with a null key removes) the colour key of the given kind: DDCKEY_SRCBLT, one value
  // (a DDCKEY_COLORSPACE range whose ends differ is DDERR_UNSUPPORTED).
  virtual HRESULT SetColorKey(DWORD flags, LPDDCOLORKEY key) = 0;
  // Attaches a palette (adding a reference) or with null detaches it; DDERR_NOTPALETTIZED on a
  // surface that is not palette-indexed.
  virtual HRESULT SetPalette(LPDIRECTDRAWPALETTE palette) = 0;
  // Ends a Lock; DDERR_NOTLOCKED when the surface is not locked.
  virtual HRESULT Unlock(LPVOID memory) = 0;
};

// The surface's third interface. It offers everything the first one does (a pointer to it may be
// passed where the first is wanted, as the original's compatible layout allowed) and takes and
// returns IDirectDrawSurface3 where a surface is passed or returned; those three operations hide
// their first-version namesakes, so a null argument is never ambiguous.
class IDirectDrawSurface3 : public IDirectDrawSurface {
 public:
  // As IDirectDrawSurface::Blt.
  virtual HRESULT Blt(LPRECT destination, LPDIRECTDRAWSURFACE3 source, LPRECT sourceRect,
                      DWORD flags, LPDDBLTFX fx) = 0;
  // As IDirectDrawSurface::Flip.
  virtual HRESULT Flip(LPDIRECTDRAWSURFACE3 overrideSurface, DWORD flags) = 0;
  // As IDirectDrawSurface::GetAttachedSurface.
  virtual HRESULT GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE3* attached) = 0;
};
#pragma GCC diagnostic pop

// ---- Functions --------------------------------------------------------------------------------

using LPDDENUMCALLBACKA = BOOL (*)(GUID* guid, LPSTR description, LPSTR name, LPVOID context);

// Calls `callback` once per display driver until it returns DDENUMRET_CANCEL. There is one: the
// primary display (GUID null), described as "Primary Display Driver", named "display", with no
// 3-D hardware. DDERR_INVALIDPARAMS for a null callback.
HRESULT DirectDrawEnumerateA(LPDDENUMCALLBACKA callback, LPVOID context);

// Creates the DirectDraw object of the driver with the given GUID (null: the primary display).
// DDERR_INVALIDDIRECTDRAWGUID for an unknown GUID; CLASS_E_NOAGGREGATION when outer is not null.
HRESULT DirectDrawCreate(GUID* guid, LPDIRECTDRAW* directDraw, IUnknown* outer);
