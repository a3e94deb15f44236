#pragma once

#include <cstdint>

// Basic types and constants of the window kit. The program talks to its
// windows in messages and key codes; these are the values it uses. Nothing
// here needs a Qt Widgets header: a window handle is an opaque pointer.

namespace kit {
class WindowWidget;
}

using UINT = unsigned int;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using BOOL = bool;
using HRESULT = std::int32_t;

// A window: the kit's top-level widget. Null when there is none.
using HWND = kit::WindowWidget*;

// Window messages.
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_NCACTIVATE = 0x0086;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
// First message number free for a window's own messages.
inline constexpr UINT WM_USER = 0x0400;

inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_RESTORE = 0xF120;

// WM_SIZE wParam.
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_SETICON wParam; lParam carries a `const QIcon*` (copied by the window).
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;

// Window styles. Windows are skinned and frameless whatever the style; the
// kit honours WS_VISIBLE, WS_EX_TOOLWINDOW (no taskbar entry) and
// WS_EX_LAYERED (per-pixel alpha picture, see CWindowWnd::UpdateLayered).
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr DWORD WS_EX_LAYERED = 0x00080000;
// Style of prompts and the progress dialog (popup, visible, caption, system menu).
inline constexpr DWORD UI_WNDSTYLE_DIALOG = 0x96C80000;
// Popup menu and its shadow.
inline constexpr DWORD UI_WNDSTYLE_MENU = 0x96000000;
inline constexpr DWORD UI_WNDSTYLE_SHADOW = 0x94000000;
// The main window: overlapped window, visible.
inline constexpr DWORD UI_WNDSTYLE_FRAME = 0x10CF0000;

inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// SetWindowPos flags.
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;

// Dialog results.
inline constexpr UINT IDOK = 1;
inline constexpr UINT IDCANCEL = 2;

// Results of the browser host callbacks.
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);

// Virtual key codes (WM_KEYDOWN wParam). Letters and digits are their
// upper-case ASCII codes ('A'..'Z', '0'..'9').
inline constexpr WPARAM VK_BACK = 0x08;
inline constexpr WPARAM VK_TAB = 0x09;
inline constexpr WPARAM VK_CLEAR = 0x0C;
inline constexpr WPARAM VK_RETURN = 0x0D;
inline constexpr WPARAM VK_SHIFT = 0x10;
inline constexpr WPARAM VK_CONTROL = 0x11;
inline constexpr WPARAM VK_MENU = 0x12;
inline constexpr WPARAM VK_PAUSE = 0x13;
inline constexpr WPARAM VK_CAPITAL = 0x14;
inline constexpr WPARAM VK_ESCAPE = 0x1B;
inline constexpr WPARAM VK_SPACE = 0x20;
inline constexpr WPARAM VK_PRIOR = 0x21;
inline constexpr WPARAM VK_NEXT = 0x22;
inline constexpr WPARAM VK_END = 0x23;
inline constexpr WPARAM VK_HOME = 0x24;
inline constexpr WPARAM VK_LEFT = 0x25;
inline constexpr WPARAM VK_UP = 0x26;
inline constexpr WPARAM VK_RIGHT = 0x27;
inline constexpr WPARAM VK_DOWN = 0x28;
inline constexpr WPARAM VK_PRINT = 0x2A;
inline constexpr WPARAM VK_SNAPSHOT = 0x2C;
inline constexpr WPARAM VK_INSERT = 0x2D;
inline constexpr WPARAM VK_DELETE = 0x2E;
inline constexpr WPARAM VK_HELP = 0x2F;
inline constexpr WPARAM VK_LWIN = 0x5B;
inline constexpr WPARAM VK_APPS = 0x5D;
inline constexpr WPARAM VK_NUMPAD0 = 0x60;
inline constexpr WPARAM VK_MULTIPLY = 0x6A;
inline constexpr WPARAM VK_ADD = 0x6B;
inline constexpr WPARAM VK_SUBTRACT = 0x6D;
inline constexpr WPARAM VK_DECIMAL = 0x6E;
inline constexpr WPARAM VK_DIVIDE = 0x6F;
inline constexpr WPARAM VK_F1 = 0x70;
inline constexpr WPARAM VK_F2 = 0x71;
inline constexpr WPARAM VK_F3 = 0x72;
inline constexpr WPARAM VK_F4 = 0x73;
inline constexpr WPARAM VK_F5 = 0x74;
inline constexpr WPARAM VK_F6 = 0x75;
inline constexpr WPARAM VK_F7 = 0x76;
inline constexpr WPARAM VK_F8 = 0x77;
inline constexpr WPARAM VK_F9 = 0x78;
inline constexpr WPARAM VK_F10 = 0x79;
inline constexpr WPARAM VK_F11 = 0x7A;
inline constexpr WPARAM VK_F12 = 0x7B;
inline constexpr WPARAM VK_NUMLOCK = 0x90;
inline constexpr WPARAM VK_SCROLL = 0x91;
inline constexpr WPARAM VK_OEM_1 = 0xBA;      // ;:
inline constexpr WPARAM VK_OEM_PLUS = 0xBB;   // =+
inline constexpr WPARAM VK_OEM_COMMA = 0xBC;  // ,<
inline constexpr WPARAM VK_OEM_MINUS = 0xBD;  // -_
inline constexpr WPARAM VK_OEM_PERIOD = 0xBE; // .>
inline constexpr WPARAM VK_OEM_2 = 0xBF;      // /?
inline constexpr WPARAM VK_OEM_3 = 0xC0;      // `~
inline constexpr WPARAM VK_OEM_4 = 0xDB;      // [{
inline constexpr WPARAM VK_OEM_5 = 0xDC;      // \|
inline constexpr WPARAM VK_OEM_6 = 0xDD;      // ]}
inline constexpr WPARAM VK_OEM_7 = 0xDE;      // '"

// Packing of two 16-bit values into a message parameter (WM_SIZE sizes,
// WM_MOVE positions, the WM_MOUSEWHEEL delta in the high word of wParam).
constexpr LPARAM MAKELPARAM(int low, int high)
{
    return static_cast<LPARAM>((static_cast<std::uint32_t>(high & 0xFFFF) << 16)
                               | static_cast<std::uint32_t>(low & 0xFFFF));
}
constexpr unsigned LOWORD(std::uintptr_t value) { return static_cast<unsigned>(value & 0xFFFF); }
constexpr unsigned HIWORD(std::uintptr_t value) { return static_cast<unsigned>((value >> 16) & 0xFFFF); }
constexpr int GET_X_LPARAM(LPARAM value) { return static_cast<std::int16_t>(value & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM value) { return static_cast<std::int16_t>((value >> 16) & 0xFFFF); }
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM value) { return static_cast<std::int16_t>((value >> 16) & 0xFFFF); }
