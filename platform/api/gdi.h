// The GDI calls the game makes, stood in for on Linux: device contexts over memory bitmaps and
// over DirectDraw surfaces, bitmaps loaded from BMP files, pixel reads and writes, block copies
// with GDI's colour conversion, fonts and text.
//
// Handles: HBITMAP and HFONT derive from HGDIOBJ, so SelectObject and DeleteObject take either
// as Windows code passes them, and a previously selected object comes back as HGDIOBJ.
//
// Faces: "標準明朝" (and the other Mincho names) is drawn with IPAMincho, emboldened for weights
// of 600 and more; the system font, and faces not installed, with IPAGothic.
#pragma once

#include "platform/api/win32.h"

struct HBITMAP__ : HGDIOBJ__ {};
struct HFONT__ : HGDIOBJ__ {};
using HBITMAP = HBITMAP__*;
using HFONT = HFONT__*;

// ---- Records --------------------------------------------------------------------------------

struct BITMAP {
  LONG bmType;        // always 0
  LONG bmWidth;       // pixels
  LONG bmHeight;      // pixels, positive whatever the row order
  LONG bmWidthBytes;  // bytes from one row to the next
  WORD bmPlanes;      // always 1
  WORD bmBitsPixel;   // 1, 4, 8, 16, 24 or 32
  LPVOID bmBits;      // the pixel memory of a DIB section, as its file stored it; else null
};

inline constexpr int LF_FACESIZE = 32;

struct LOGFONTA {
  LONG lfHeight;  // > 0: cell height (ascent + descent) in pixels; < 0: em height; 0: default
  LONG lfWidth;   // average character width in pixels; 0 lets the face choose
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;  // 0 or 400 plain; 600 and above are drawn bold
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];  // NUL-terminated, in code page 932
};
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA keeps its Windows size");

// A colour-table entry of a bitmap: blue first.
struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

// ---- Constants ------------------------------------------------------------------------------

inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

inline constexpr DWORD SRCCOPY = 0x00CC0020u;

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

inline constexpr LONG FW_DONTCARE = 0;
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_BOLD = 700;

inline constexpr BYTE ANSI_CHARSET = 0;
inline constexpr BYTE DEFAULT_CHARSET = 1;
inline constexpr BYTE SHIFTJIS_CHARSET = 128;

inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT LR_DEFAULTCOLOR = 0x0000;
inline constexpr UINT LR_LOADFROMFILE = 0x0010;
inline constexpr UINT LR_CREATEDIBSECTION = 0x2000;

// ---- Colours --------------------------------------------------------------------------------

// A COLORREF is 0x00BBGGRR.
constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue) {
  return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) |
         (static_cast<COLORREF>(blue) << 16);
}
constexpr BYTE GetRValue(COLORREF colour) {
  return static_cast<BYTE>(colour & 0xFF);
}
constexpr BYTE GetGValue(COLORREF colour) {
  return static_cast<BYTE>((colour >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF colour) {
  return static_cast<BYTE>((colour >> 16) & 0xFF);
}

// ---- Device contexts and objects ------------------------------------------------------------

// Creates a memory device context: it draws into the bitmap selected into it (at first a 1×1
// monochrome one) with the system font. The reference context is ignored. Null on failure.
HDC CreateCompatibleDC(HDC reference);
// Deletes a context from CreateCompatibleDC; its selected objects become free again. FALSE for
// an unknown handle or a surface's context (those go back through the surface's ReleaseDC).
BOOL DeleteDC(HDC dc);
// Selects a bitmap or a font into a context and returns the object it replaces, or null on
// failure (unknown handle, a bitmap already selected elsewhere or into a surface's context).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Deletes a bitmap or a font. FALSE for an unknown handle or one still selected into a context;
// the stock objects a context starts with cannot be deleted, and deleting them returns TRUE.
BOOL DeleteObject(HGDIOBJ object);
// Copies an object's description into buffer: a BITMAP for a bitmap, a LOGFONTA for a font.
// Returns the bytes written, the size needed when buffer is null, or 0 on failure.
int GetObjectA(HGDIOBJ object, int bufferSize, LPVOID buffer);

// ---- Bitmaps --------------------------------------------------------------------------------

// Loads a BMP file (LR_LOADFROMFILE; the program has no resources) at its own size: a DIB section
// in the file's format with LR_CREATEDIBSECTION, else RGB 565. Null, reason in
// GetPlatformErrorText().
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags);
// Copies up to count colour-table entries, from start on, of the DIB section selected into dc.
// Returns the number copied; 0 when it has none (more than 8 bits, or no DIB section).
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colours);

// ---- Pixels and block copies ----------------------------------------------------------------

// The colour of one pixel (the stored value expanded to 8 bits per channel), or CLR_INVALID
// outside the context's drawing area.
COLORREF GetPixel(HDC dc, int x, int y);
// Writes the nearest colour the target can hold (16-bit RGB truncates; palettes match the
// nearest entry) and returns that colour, or CLR_INVALID outside the drawing area.
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
// Copies a block of source to (x, y) of dc (SRCCOPY), converted to dc's format and clipped to
// both areas. FALSE for another operation, an unknown context or a negative size.
BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD operation);

// ---- Fonts and text -------------------------------------------------------------------------

// Creates a font from a description (face name in code page 932); faces and glyphs are cached,
// so a font made again costs next to nothing. Null for a null description.
HFONT CreateFontIndirectA(const LOGFONTA* description);
// Sets TRANSPARENT (only the glyphs are painted) or OPAQUE (the text's cells are first filled
// with the background colour). Returns the previous mode, or 0 on failure.
int SetBkMode(HDC dc, int mode);
// Sets the colour text is drawn in. Returns the previous colour, or CLR_INVALID on failure.
COLORREF SetTextColor(HDC dc, COLORREF colour);
// Draws length bytes of code-page-932 text with the selected font, the top-left of the text's
// cell at (x, y), clipped to the drawing area. FALSE for an unknown context or a negative length.
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
