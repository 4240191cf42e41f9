// Direct3D Immediate Mode of DirectX 5, stood in for on Linux: the interfaces, records and
// constants the game uses.
//
// The Direct3D interface is had by querying the DirectDraw object for IID_IDirect3D2, and a
// texture's interface by querying its surface for IID_IDirect3DTexture2. There is no 3-D
// hardware: the HAL device cannot be created, the "MMX" device is the optimised software
// rasterizer and the "RGB" device the reference one; both draw the same pixels.
#pragma once

#include "platform/api/ddraw.h"

using D3DVALUE = float;
using D3DCOLOR = DWORD;  // ARGB, alpha in the top byte
using D3DTEXTUREHANDLE = DWORD;
using LPD3DTEXTUREHANDLE = D3DTEXTUREHANDLE*;

class IDirect3D2;
class IDirect3DDevice2;
class IDirect3DViewport2;
class IDirect3DTexture2;

using LPDIRECT3D2 = IDirect3D2*;
using LPDIRECT3DDEVICE2 = IDirect3DDevice2*;
using LPDIRECT3DVIEWPORT2 = IDirect3DViewport2*;
using LPDIRECT3DTEXTURE2 = IDirect3DTexture2*;

// ---- Identifiers (our own values) -------------------------------------------------------------

inline constexpr IID IID_IDirect3D2 = {0x54525301, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};
inline constexpr IID IID_IDirect3DDevice2 = {
    0x54525302, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};
inline constexpr IID IID_IDirect3DViewport2 = {
    0x54525303, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};
inline constexpr IID IID_IDirect3DTexture2 = {
    0x54525304, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};
// Device kinds for IDirect3D2::CreateDevice.
inline constexpr CLSID IID_IDirect3DHALDevice = {
    0x54525311, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};
inline constexpr CLSID IID_IDirect3DMMXDevice = {
    0x54525312, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};
inline constexpr CLSID IID_IDirect3DRGBDevice = {
    0x54525313, 0, 0, {'T', 'i', 'r', 'r', 'a', 'v', 'e', 'l'}};

// ---- Results ----------------------------------------------------------------------------------

inline constexpr HRESULT D3D_OK = 0;
inline constexpr HRESULT D3DERR_INVALID_DEVICE = static_cast<HRESULT>(0x887602C1u);
inline constexpr HRESULT D3DERR_INITFAILED = static_cast<HRESULT>(0x887602C2u);
inline constexpr HRESULT D3DERR_TEXTURE_NO_SUPPORT = static_cast<HRESULT>(0x887602D0u);
inline constexpr HRESULT D3DERR_TEXTURE_CREATE_FAILED = static_cast<HRESULT>(0x887602D1u);
inline constexpr HRESULT D3DERR_TEXTURE_LOAD_FAILED = static_cast<HRESULT>(0x887602D5u);
inline constexpr HRESULT D3DERR_SCENE_IN_SCENE = static_cast<HRESULT>(0x887602F8u);
inline constexpr HRESULT D3DERR_SCENE_NOT_IN_SCENE = static_cast<HRESULT>(0x887602F9u);
inline constexpr HRESULT D3DERR_SCENE_BEGIN_FAILED = static_cast<HRESULT>(0x887602FAu);
inline constexpr HRESULT D3DERR_SCENE_END_FAILED = static_cast<HRESULT>(0x887602FBu);
inline constexpr HRESULT D3DERR_NOVIEWPORTS = static_cast<HRESULT>(0x88760304u);
inline constexpr HRESULT D3DERR_VIEWPORTDATANOTSET = static_cast<HRESULT>(0x88760305u);
inline constexpr HRESULT D3DERR_VIEWPORTHASNODEVICE = static_cast<HRESULT>(0x88760306u);
inline constexpr HRESULT D3DERR_NOCURRENTVIEWPORT = static_cast<HRESULT>(0x88760307u);

// Enumeration callbacks
inline constexpr HRESULT D3DENUMRET_CANCEL = 0;
inline constexpr HRESULT D3DENUMRET_OK = 1;

// ---- Records ----------------------------------------------------------------------------------

// DirectX 5 sizes, which the dwSize members must carry.
inline constexpr DWORD D3DVIEWPORT2_SIZE = 44;
inline constexpr DWORD D3DDEVICEDESC_SIZE = 204;
inline constexpr DWORD D3DTRANSFORMCAPS_SIZE = 8;
inline constexpr DWORD D3DLIGHTINGCAPS_SIZE = 16;
inline constexpr DWORD D3DPRIMCAPS_SIZE = 56;

// A lit vertex: position in model space, colours already lit.
struct D3DLVERTEX {
  D3DVALUE x;
  D3DVALUE y;
  D3DVALUE z;
  DWORD dwReserved;
  D3DCOLOR color;     // diffuse, ARGB
  D3DCOLOR specular;  // ARGB; added after texturing
  D3DVALUE tu;
  D3DVALUE tv;
};
using LPD3DLVERTEX = D3DLVERTEX*;

// Row-major, row vectors (p' = p · M), translation in row 4.
struct D3DMATRIX {
  D3DVALUE _11, _12, _13, _14;
  D3DVALUE _21, _22, _23, _24;
  D3DVALUE _31, _32, _33, _34;
  D3DVALUE _41, _42, _43, _44;
};
using LPD3DMATRIX = D3DMATRIX*;

struct D3DVIEWPORT2 {
  DWORD dwSize;  // D3DVIEWPORT2_SIZE
  DWORD dwX;     // the viewport's rectangle on the render target, in pixels
  DWORD dwY;
  DWORD dwWidth;
  DWORD dwHeight;
  D3DVALUE dvClipX;  // the clip volume: x from dvClipX to dvClipX + dvClipWidth,
  D3DVALUE dvClipY;  // y from dvClipY - dvClipHeight up to dvClipY,
  D3DVALUE dvClipWidth;
  D3DVALUE dvClipHeight;
  D3DVALUE dvMinZ;  // z from dvMinZ to dvMaxZ
  D3DVALUE dvMaxZ;
};
using LPD3DVIEWPORT2 = D3DVIEWPORT2*;

enum D3DCOLORMODEL : DWORD {
  D3DCOLOR_MONO = 1,
  D3DCOLOR_RGB = 2,
};

struct D3DTRANSFORMCAPS {
  DWORD dwSize;  // D3DTRANSFORMCAPS_SIZE
  DWORD dwCaps;
};

struct D3DLIGHTINGCAPS {
  DWORD dwSize;  // D3DLIGHTINGCAPS_SIZE
  DWORD dwCaps;
  DWORD dwLightingModel;
  DWORD dwNumLights;
};

struct D3DPRIMCAPS {
  DWORD dwSize;  // D3DPRIMCAPS_SIZE
  DWORD dwMiscCaps;
  DWORD dwRasterCaps;
  DWORD dwZCmpCaps;
  DWORD dwSrcBlendCaps;   // D3DPBLENDCAPS_*
  DWORD dwDestBlendCaps;  // D3DPBLENDCAPS_*
  DWORD dwAlphaCmpCaps;
  DWORD dwShadeCaps;
  DWORD dwTextureCaps;
  DWORD dwTextureFilterCaps;  // D3DPTFILTERCAPS_*
  DWORD dwTextureBlendCaps;
  DWORD dwTextureAddressCaps;
  DWORD dwStippleWidth;
  DWORD dwStippleHeight;
};

// What a device can do. A software device answers GetCaps with an all-zero hardware record
// (dcmColorModel 0: no hardware) and a filled emulation record.
struct D3DDEVICEDESC {
  DWORD dwSize;                 // D3DDEVICEDESC_SIZE
  DWORD dwFlags;                // D3DDD_*: which members are valid
  D3DCOLORMODEL dcmColorModel;  // 0 when the record describes no device
  DWORD dwDevCaps;
  D3DTRANSFORMCAPS dtcTransformCaps;
  BOOL bClipping;
  D3DLIGHTINGCAPS dlcLightingCaps;
  D3DPRIMCAPS dpcLineCaps;
  D3DPRIMCAPS dpcTriCaps;
  DWORD dwDeviceRenderBitDepth;
  DWORD dwDeviceZBufferBitDepth;
  DWORD dwMaxBufferSize;
  DWORD dwMaxVertexCount;
  DWORD dwMinTextureWidth;
  DWORD dwMinTextureHeight;
  DWORD dwMaxTextureWidth;
  DWORD dwMaxTextureHeight;
  DWORD dwMinStippleWidth;
  DWORD dwMaxStippleWidth;
  DWORD dwMinStippleHeight;
  DWORD dwMaxStippleHeight;
};
using LPD3DDEVICEDESC = D3DDEVICEDESC*;

static_assert(sizeof(D3DLVERTEX) == 32);
static_assert(sizeof(D3DMATRIX) == 64);
static_assert(sizeof(D3DVIEWPORT2) == D3DVIEWPORT2_SIZE);
static_assert(sizeof(D3DPRIMCAPS) == D3DPRIMCAPS_SIZE);
static_assert(sizeof(D3DDEVICEDESC) == D3DDEVICEDESC_SIZE);

// D3DDEVICEDESC::dwFlags
inline constexpr DWORD D3DDD_COLORMODEL = 0x00000001;
inline constexpr DWORD D3DDD_DEVCAPS = 0x00000002;
inline constexpr DWORD D3DDD_TRANSFORMCAPS = 0x00000004;
inline constexpr DWORD D3DDD_LIGHTINGCAPS = 0x00000008;
inline constexpr DWORD D3DDD_BCLIPPING = 0x00000010;
inline constexpr DWORD D3DDD_LINECAPS = 0x00000020;
inline constexpr DWORD D3DDD_TRICAPS = 0x00000040;
inline constexpr DWORD D3DDD_DEVICERENDERBITDEPTH = 0x00000080;
inline constexpr DWORD D3DDD_DEVICEZBUFFERBITDEPTH = 0x00000100;
inline constexpr DWORD D3DDD_MAXBUFFERSIZE = 0x00000200;
inline constexpr DWORD D3DDD_MAXVERTEXCOUNT = 0x00000400;

// D3DPRIMCAPS::dwTextureFilterCaps
inline constexpr DWORD D3DPTFILTERCAPS_NEAREST = 0x00000001;
inline constexpr DWORD D3DPTFILTERCAPS_LINEAR = 0x00000002;
inline constexpr DWORD D3DPTFILTERCAPS_MIPNEAREST = 0x00000004;
inline constexpr DWORD D3DPTFILTERCAPS_MIPLINEAR = 0x00000008;
inline constexpr DWORD D3DPTFILTERCAPS_LINEARMIPNEAREST = 0x00000010;
inline constexpr DWORD D3DPTFILTERCAPS_LINEARMIPLINEAR = 0x00000020;

// D3DPRIMCAPS::dwSrcBlendCaps and dwDestBlendCaps
inline constexpr DWORD D3DPBLENDCAPS_ZERO = 0x00000001;
inline constexpr DWORD D3DPBLENDCAPS_ONE = 0x00000002;
inline constexpr DWORD D3DPBLENDCAPS_SRCCOLOR = 0x00000004;
inline constexpr DWORD D3DPBLENDCAPS_INVSRCCOLOR = 0x00000008;
inline constexpr DWORD D3DPBLENDCAPS_SRCALPHA = 0x00000010;
inline constexpr DWORD D3DPBLENDCAPS_INVSRCALPHA = 0x00000020;

// Device render bit depths (D3DDEVICEDESC::dwDeviceRenderBitDepth)
inline constexpr DWORD DDBD_8 = 0x00000800;
inline constexpr DWORD DDBD_16 = 0x00000400;
inline constexpr DWORD DDBD_24 = 0x00000200;
inline constexpr DWORD DDBD_32 = 0x00000100;

// ---- States -----------------------------------------------------------------------------------

enum D3DRENDERSTATETYPE : DWORD {
  D3DRENDERSTATE_TEXTUREHANDLE = 1,
  D3DRENDERSTATE_ANTIALIAS = 2,
  D3DRENDERSTATE_TEXTUREADDRESS = 3,
  D3DRENDERSTATE_TEXTUREPERSPECTIVE = 4,
  D3DRENDERSTATE_WRAPU = 5,
  D3DRENDERSTATE_WRAPV = 6,
  D3DRENDERSTATE_ZENABLE = 7,
  D3DRENDERSTATE_FILLMODE = 8,
  D3DRENDERSTATE_SHADEMODE = 9,
  D3DRENDERSTATE_LINEPATTERN = 10,
  D3DRENDERSTATE_MONOENABLE = 11,
  D3DRENDERSTATE_ROP2 = 12,
  D3DRENDERSTATE_PLANEMASK = 13,
  D3DRENDERSTATE_ZWRITEENABLE = 14,
  D3DRENDERSTATE_ALPHATESTENABLE = 15,
  D3DRENDERSTATE_LASTPIXEL = 16,
  D3DRENDERSTATE_TEXTUREMAG = 17,
  D3DRENDERSTATE_TEXTUREMIN = 18,
  D3DRENDERSTATE_SRCBLEND = 19,
  D3DRENDERSTATE_DESTBLEND = 20,
  D3DRENDERSTATE_TEXTUREMAPBLEND = 21,
  D3DRENDERSTATE_CULLMODE = 22,
  D3DRENDERSTATE_ZFUNC = 23,
  D3DRENDERSTATE_ALPHAREF = 24,
  D3DRENDERSTATE_ALPHAFUNC = 25,
  D3DRENDERSTATE_DITHERENABLE = 26,
  D3DRENDERSTATE_BLENDENABLE = 27,
  D3DRENDERSTATE_FOGENABLE = 28,
  D3DRENDERSTATE_SPECULARENABLE = 29,
  D3DRENDERSTATE_ZVISIBLE = 30,
  D3DRENDERSTATE_SUBPIXEL = 31,
  D3DRENDERSTATE_SUBPIXELX = 32,
  D3DRENDERSTATE_STIPPLEDALPHA = 33,
  D3DRENDERSTATE_FOGCOLOR = 34,
  D3DRENDERSTATE_FOGTABLEMODE = 35,
  D3DRENDERSTATE_FOGTABLESTART = 36,
  D3DRENDERSTATE_FOGTABLEEND = 37,
  D3DRENDERSTATE_FOGTABLEDENSITY = 38,
  D3DRENDERSTATE_STIPPLEENABLE = 39,
  D3DRENDERSTATE_EDGEANTIALIAS = 40,
  D3DRENDERSTATE_COLORKEYENABLE = 41,
  D3DRENDERSTATE_BORDERCOLOR = 43,
  D3DRENDERSTATE_TEXTUREADDRESSU = 44,
  D3DRENDERSTATE_TEXTUREADDRESSV = 45,
  D3DRENDERSTATE_MIPMAPLODBIAS = 46,
  D3DRENDERSTATE_ZBIAS = 47,
  D3DRENDERSTATE_RANGEFOGENABLE = 48,
  D3DRENDERSTATE_ANISOTROPY = 49,
};

enum D3DLIGHTSTATETYPE : DWORD {
  D3DLIGHTSTATE_MATERIAL = 1,
  D3DLIGHTSTATE_AMBIENT = 2,
  D3DLIGHTSTATE_COLORMODEL = 3,
  D3DLIGHTSTATE_FOGMODE = 4,
  D3DLIGHTSTATE_FOGSTART = 5,  // the value is the 32-bit pattern of a float
  D3DLIGHTSTATE_FOGEND = 6,    // the value is the 32-bit pattern of a float
  D3DLIGHTSTATE_FOGDENSITY = 7,
};

enum D3DTRANSFORMSTATETYPE : DWORD {
  D3DTRANSFORMSTATE_WORLD = 1,
  D3DTRANSFORMSTATE_VIEW = 2,
  D3DTRANSFORMSTATE_PROJECTION = 3,
};

enum D3DPRIMITIVETYPE : DWORD {
  D3DPT_POINTLIST = 1,
  D3DPT_LINELIST = 2,
  D3DPT_LINESTRIP = 3,
  D3DPT_TRIANGLELIST = 4,
  D3DPT_TRIANGLESTRIP = 5,
  D3DPT_TRIANGLEFAN = 6,
};

enum D3DVERTEXTYPE : DWORD {
  D3DVT_VERTEX = 1,
  D3DVT_LVERTEX = 2,
  D3DVT_TLVERTEX = 3,
};

// DrawPrimitive flags
inline constexpr DWORD D3DDP_WAIT = 0x00000001;
inline constexpr DWORD D3DDP_DONOTCLIP = 0x00000004;
inline constexpr DWORD D3DDP_DONOTUPDATEEXTENTS = 0x00000008;

// The most vertices one DrawPrimitive call takes.
inline constexpr DWORD D3DMAXNUMVERTICES = 1024;

enum D3DTEXTUREFILTER : DWORD {
  D3DFILTER_NEAREST = 1,
  D3DFILTER_LINEAR = 2,
  D3DFILTER_MIPNEAREST = 3,
  D3DFILTER_MIPLINEAR = 4,
  D3DFILTER_LINEARMIPNEAREST = 5,
  D3DFILTER_LINEARMIPLINEAR = 6,
};

enum D3DBLEND : DWORD {
  D3DBLEND_ZERO = 1,
  D3DBLEND_ONE = 2,
  D3DBLEND_SRCCOLOR = 3,
  D3DBLEND_INVSRCCOLOR = 4,
  D3DBLEND_SRCALPHA = 5,
  D3DBLEND_INVSRCALPHA = 6,
  D3DBLEND_DESTALPHA = 7,
  D3DBLEND_INVDESTALPHA = 8,
  D3DBLEND_DESTCOLOR = 9,
  D3DBLEND_INVDESTCOLOR = 10,
  D3DBLEND_SRCALPHASAT = 11,
  D3DBLEND_BOTHSRCALPHA = 12,
  D3DBLEND_BOTHINVSRCALPHA = 13,
};

enum D3DTEXTUREBLEND : DWORD {
  D3DTBLEND_DECAL = 1,
  D3DTBLEND_MODULATE = 2,
  D3DTBLEND_DECALALPHA = 3,
  D3DTBLEND_MODULATEALPHA = 4,
  D3DTBLEND_DECALMASK = 5,
  D3DTBLEND_MODULATEMASK = 6,
  D3DTBLEND_COPY = 7,
  D3DTBLEND_ADD = 8,
};

enum D3DTEXTUREADDRESS : DWORD {
  D3DTADDRESS_WRAP = 1,
  D3DTADDRESS_MIRROR = 2,
  D3DTADDRESS_CLAMP = 3,
  D3DTADDRESS_BORDER = 4,
};

enum D3DCULL : DWORD {
  D3DCULL_NONE = 1,
  D3DCULL_CW = 2,
  D3DCULL_CCW = 3,
};

enum D3DSHADEMODE : DWORD {
  D3DSHADE_FLAT = 1,
  D3DSHADE_GOURAUD = 2,
  D3DSHADE_PHONG = 3,
};

enum D3DFILLMODE : DWORD {
  D3DFILL_POINT = 1,
  D3DFILL_WIREFRAME = 2,
  D3DFILL_SOLID = 3,
};

enum D3DFOGMODE : DWORD {
  D3DFOG_NONE = 0,
  D3DFOG_EXP = 1,
  D3DFOG_EXP2 = 2,
  D3DFOG_LINEAR = 3,
};

enum D3DCMPFUNC : DWORD {
  D3DCMP_NEVER = 1,
  D3DCMP_LESS = 2,
  D3DCMP_EQUAL = 3,
  D3DCMP_LESSEQUAL = 4,
  D3DCMP_GREATER = 5,
  D3DCMP_NOTEQUAL = 6,
  D3DCMP_GREATEREQUAL = 7,
  D3DCMP_ALWAYS = 8,
};

enum D3DZBUFFERTYPE : DWORD {
  D3DZB_FALSE = 0,
  D3DZB_TRUE = 1,
};

// ---- Interfaces -------------------------------------------------------------------------------

// Called once per texture format a device offers, in the device's order, with a description
// whose ddpfPixelFormat holds the format; return D3DENUMRET_OK for the next, CANCEL to stop.
using LPD3DENUMTEXTUREFORMATSCALLBACK = HRESULT (*)(LPDDSURFACEDESC description, LPVOID context);

// Direct3D of one DirectDraw object (query the DirectDraw object for IID_IDirect3D2).
class IDirect3D2 : public IUnknown {
 public:
  // Creates a device of the given kind (IID_IDirect3DHALDevice, ...MMXDevice, ...RGBDevice)
  // drawing into `target` (a surface with DDSCAPS_3DDEVICE). The HAL device fails with
  // DDERR_INVALIDPARAMS; an unknown kind does too.
  virtual HRESULT CreateDevice(REFCLSID kind, LPDIRECTDRAWSURFACE target,
                               LPDIRECT3DDEVICE2* device) = 0;
  // Creates a viewport, to be added to a device; CLASS_E_NOAGGREGATION when outer is not null.
  virtual HRESULT CreateViewport(LPDIRECT3DVIEWPORT2* viewport, IUnknown* outer) = 0;
};

// A device that draws into its render target. States and transforms persist until changed;
// states the caller never sets keep the device's defaults. The device holds its target, but a
// back buffer goes with its front and every surface with its DirectDraw object's last Release:
// from then on BeginScene and DrawPrimitive fail with DDERR_SURFACELOST.
class IDirect3DDevice2 : public IUnknown {
 public:
  // Adds a viewport to the device's list (adding a reference to it).
  virtual HRESULT AddViewport(LPDIRECT3DVIEWPORT2 viewport) = 0;
  // Starts a scene; D3DERR_SCENE_IN_SCENE when one is open already.
  virtual HRESULT BeginScene() = 0;
  // Draws `count` vertices of the given type as the given primitive, with the current states,
  // transforms and viewport. Outside a scene it fails with D3DERR_SCENE_NOT_IN_SCENE; more than
  // D3DMAXNUMVERTICES vertices are DDERR_INVALIDPARAMS, refused before anything is copied.
  virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE primitive, D3DVERTEXTYPE vertexType,
                                LPVOID vertices, DWORD count, DWORD flags) = 0;
  // Ends the scene; D3DERR_SCENE_NOT_IN_SCENE when none is open.
  virtual HRESULT EndScene() = 0;
  // Calls `callback` once per texture format the device offers, until it returns CANCEL.
  virtual HRESULT EnumTextureFormats(LPD3DENUMTEXTUREFORMATSCALLBACK callback, LPVOID context) = 0;
  // Fills the hardware and the emulation description (dwSize D3DDEVICEDESC_SIZE each).
  virtual HRESULT GetCaps(LPD3DDEVICEDESC hardwareDesc, LPD3DDEVICEDESC emulationDesc) = 0;
  // Reads a light state's current value.
  virtual HRESULT GetLightState(D3DLIGHTSTATETYPE state, LPDWORD value) = 0;
  // Reads a render state's current value (the default until it is set).
  virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, LPDWORD value) = 0;
  // Reads a transform's current matrix (identity until it is set).
  virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) = 0;
  // Makes a viewport of the device's list the current one; DDERR_INVALIDPARAMS for another.
  virtual HRESULT SetCurrentViewport(LPDIRECT3DVIEWPORT2 viewport) = 0;
  // Sets a light state (fog mode, start, end ...).
  virtual HRESULT SetLightState(D3DLIGHTSTATETYPE state, DWORD value) = 0;
  // Sets a render state; an unknown state is DDERR_INVALIDPARAMS.
  virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
  // Sets the world, view or projection matrix.
  virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) = 0;
};

// The part of the render target a device draws into, and the clip volume mapped onto it.
class IDirect3DViewport2 : public IUnknown {
 public:
  // Reads the viewport's values (dwSize D3DVIEWPORT2_SIZE).
  virtual HRESULT GetViewport2(LPD3DVIEWPORT2 data) = 0;
  // Sets the viewport's values (dwSize D3DVIEWPORT2_SIZE); DDERR_INVALIDPARAMS for a wrong
  // size or an empty rectangle or clip volume.
  virtual HRESULT SetViewport2(LPD3DVIEWPORT2 data) = 0;
};

// A texture surface as the device sees it. It lives inside its surface and shares the surface's
// reference count.
class IDirect3DTexture2 : public IUnknown {
 public:
  // The handle by which the device's D3DRENDERSTATE_TEXTUREHANDLE names this texture.
  virtual HRESULT GetHandle(LPDIRECT3DDEVICE2 device, LPD3DTEXTUREHANDLE handle) = 0;
  // Copies the source texture's pixels (same size and format) into this one.
  virtual HRESULT Load(LPDIRECT3DTEXTURE2 source) = 0;
};
