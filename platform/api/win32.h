// The Windows user-interface and kernel calls the game makes, stood in for on Linux.
//
// Integer types keep their Windows widths on this 64-bit machine (LONG, DWORD, UINT and HRESULT
// are 32-bit; WORD and SHORT 16-bit), so records keep the sizes the game allocates. Handles and
// the pointer-sized message parameters are pointer-sized.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include "platform/api/virtual_keys.h"

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using SHORT = std::int16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using BOOL = std::int32_t;
using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using COLORREF = DWORD;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using ATOM = WORD;
using CHAR = char;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using HANDLE = void*;
using HGLOBAL = HANDLE;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// Distinct opaque handle types, so a window cannot be passed where a device context is wanted.
struct HWND__;
struct HINSTANCE__;
struct HICON__;
struct HCURSOR__;
struct HBRUSH__;
struct HMENU__;
struct HDC__;
// Complete (and empty) so that the GDI's bitmap and font handles can derive from it.
struct HGDIOBJ__ {};
using HWND = HWND__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HICON = HICON__*;
using HCURSOR = HCURSOR__*;
using HBRUSH = HBRUSH__*;
using HMENU = HMENU__*;
using HDC = HDC__*;
using HGDIOBJ = HGDIOBJ__*;

struct POINT {
  LONG x;
  LONG y;
};

// One palette colour, as both GDI and DirectDraw palettes store it.
struct PALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
};

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

// ---- Keyboard -------------------------------------------------------------------------------

// The virtual-key codes (VK_...) are in platform/api/virtual_keys.h, included above.

// State of a virtual key as the messages already taken from the queue describe it: 0xFF80 while
// the key is down, 0 while it is up; bit 0 toggles with each press. VK_SHIFT is down while either
// shift key is.
SHORT GetKeyState(int virtualKey);

// ---- Clock and memory -----------------------------------------------------------------------

// Milliseconds since the host started, as an unsigned 32-bit count that wraps.
DWORD GetTickCount();

inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Allocates bytes from the global heap; with GMEM_FIXED the handle is the memory's address.
// Returns null when the memory cannot be had.
HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
// Frees a block from GlobalAlloc; returns null on success, the handle on failure.
HGLOBAL GlobalFree(HGLOBAL memory);

// Copies a NUL-terminated string; returns the destination. The caller guarantees the room.
LPSTR lstrcpyA(LPSTR destination, LPCSTR source);

// Formats like sprintf for the conversions %d, %i, %u, %x, %X, %c, %s and %% (flags, width and
// precision included), writing at most 1024 bytes with the terminator, as the real one does.
// Returns the count of characters written, not counting the terminator.
int wsprintfA(LPSTR buffer, LPCSTR format, ...);
int wvsprintfA(LPSTR buffer, LPCSTR format, std::va_list arguments);

// The program's own module handle for a null name; null for any other name.
HMODULE GetModuleHandleA(LPCSTR moduleName);

// ---- Files and the program's own file ---------------------------------------------------------

inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010u;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080u;
inline constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x00000400u;

// The full path of the program's file for a null module or the program's own handle, copied with
// its terminator; returns its length. A path that does not fit is cut to size - 1 characters plus
// the terminator and size is returned. 0 for another module, a null buffer or a size of 0.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
// FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_NORMAL for anything else, or for a symbolic link
// (judged itself, not followed) FILE_ATTRIBUTE_REPARSE_POINT, with the directory bit when it
// leads to one; INVALID_FILE_ATTRIBUTES when there is no such entry.
DWORD GetFileAttributesA(LPCSTR fileName);
// The name made absolute against the current folder, with ".", ".." and doubled separators
// resolved by the text alone. Returns its length, or the room needed (terminator included) when
// bufferLength is too small, leaving the buffer as it was; 0 on failure. *filePart, when asked
// for, points at the last component in the buffer (null when the path ends in a separator).
DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart);

// ---- Windows and messages -------------------------------------------------------------------

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;
inline constexpr UINT CS_BYTEALIGNCLIENT = 0x1000;

inline constexpr DWORD WS_POPUP = 0x80000000u;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_SHOWDEFAULT = 10;

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ACTIVATEAPP = 0x001C;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
// Alt, F10 and keys pressed while Alt is down come as system keys; bit 29 of lParam (the context
// bit) is set while Alt is down.
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;

inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

inline constexpr int BLACK_BRUSH = 4;

// IDC_ARROW is a resource id passed where a name is expected, as on Windows.
inline const LPCSTR IDC_ARROW = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(32512));

// Registers a window class; returns 0 when the class cannot be registered (null name or
// procedure, or a class of that name exists already).
ATOM RegisterClassA(const WNDCLASSA* windowClass);
// Creates a window of a registered class (the host opens the real one); null on failure.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
// Shows or hides the window; returns whether it was visible before.
BOOL ShowWindow(HWND window, int showCommand);
// Sends WM_PAINT if the window needs painting; returns FALSE for an unknown window.
BOOL UpdateWindow(HWND window);
// Sends WM_DESTROY to the window's procedure and closes it; FALSE for an unknown window.
BOOL DestroyWindow(HWND window);
// The system's arrow cursor for a null instance and IDC_ARROW; null for anything else (the
// program carries no cursor resources).
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName);
// The stock black brush for BLACK_BRUSH; null for any other object.
HGDIOBJ GetStockObject(int object);

// Takes the next message of the thread's queue (host events first turned into messages) without
// waiting; FALSE when none is waiting. With PM_REMOVE the message leaves the queue.
BOOL PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// For a WM_KEYDOWN of a character key, puts the WM_CHAR it types (US layout) at the front of the
// queue; for a WM_SYSKEYDOWN, a WM_SYSCHAR. Returns non-zero for any key message, FALSE for other
// messages.
BOOL TranslateMessage(const MSG* message);
// Calls the procedure of the message's window; returns its result.
LRESULT DispatchMessageA(const MSG* message);
// Default handling: WM_CLOSE destroys the window; WM_SYSKEYDOWN of F4 with Alt down (Alt+F4)
// sends the window WM_CLOSE; everything returns 0.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Posts WM_QUIT with the given exit code to the thread's queue.
void PostQuitMessage(int exitCode);

// The program's entry for a GUI program, defined by the game; the platform's main calls it.
int WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

// ---- Our own addition ------------------------------------------------------------------------

// One line saying why the most recent platform call failed (for the start-up error line), or an
// empty string. Not a Windows call: Linux has no message box to show, so the shell prints it.
LPCSTR GetPlatformErrorText();
// Forgets the last failure, so that a later GetPlatformErrorText speaks only of what came after.
void ClearPlatformErrorText();
// Replaces the last failure's line with the caller's own, for a reason only the caller can phrase
// (a file looked for in more than one place).
void SetPlatformErrorText(LPCSTR text);
