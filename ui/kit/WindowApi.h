#pragma once

#include "ui/kit/KitDefs.h"

#include <QPoint>
#include <QRect>
#include <QString>

// Operations on a window known only by its handle (any kit window).
namespace kit {

// True while the handle names a live window.
bool IsWindow(HWND hWnd);
// The owner window, null for a window without one.
HWND GetParent(HWND hWnd);
// Walks up the owners to the window that has none.
HWND GetTopLevelOwner(HWND hWnd);
LRESULT SendMessage(HWND hWnd, UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
void PostMessage(HWND hWnd, UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
QPoint ClientToScreen(HWND hWnd, const QPoint& pt);
QPoint ScreenToClient(HWND hWnd, const QPoint& pt);
QRect GetWindowRect(HWND hWnd);
// Work area of the screen of the window (the primary screen for null).
QRect GetWorkArea(HWND hWnd);
// False while a modal window owned by it runs.
bool IsWindowEnabled(HWND hWnd);
bool IsWindowVisible(HWND hWnd);
// The window that has the keyboard focus, null when none of the kit's.
HWND GetFocusWindow();
// Gives the window the keyboard focus (the window itself, not a child).
void SetFocus(HWND hWnd);
QString GetWindowClassName(HWND hWnd);

} // namespace kit
