#pragma once

#include "ui/kit/KitDefs.h"

#include <QPoint>
#include <QString>

#include <functional>

class CControlUI;
class INotifyUI;

// Helpers for tests that drive kit windows with real mouse and key events
// (QTest) on the offscreen platform. GUI thread only.
namespace kit::test {

// Processes events for `ms` milliseconds (at least once).
void ProcessEvents(int ms = 0);
// Processes events until `condition` holds or `timeoutMs` passed; the
// condition's last value.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// A visible kit window whose class name (GetWindowClassName) is `className`,
// the most recently created when there are several; null when none.
HWND FindWindow(const QString& className);
HWND WaitForWindow(const QString& className, int timeoutMs = 5000);
bool WaitForWindowGone(HWND hWnd, int timeoutMs = 5000);
// Runs `action` with the window once a window of that class is shown (the
// check runs from the event loop, so this works while the test is inside
// ShowModal). Gives up silently after `timeoutMs`.
void WhenWindowShown(const QString& className, std::function<void(HWND)> action,
                     int timeoutMs = 5000);
// Same, once the window runs modally (ShowModal's loop has started), so the
// action may close it and the ShowModal caller sees the result. Use it for
// prompts: the modal loop runs inside whatever the test is waiting in.
void WhenModalWindowShown(const QString& className, std::function<void(HWND)> action,
                          int timeoutMs = 5000);

// Real left click (press and release) in the middle of the control's widget.
bool Click(CControlUI* control);
bool Click(HWND hWnd, const QString& controlName);

// Hands `receiver` a notification of `type` as the kit would deliver it,
// from a button named `senderName` (a menu item, say).
void Notify(INotifyUI& receiver, const QString& type, const QString& senderName);
// Real left click at a point of the window (client coordinates), on
// whatever widget is there.
bool ClickAt(HWND hWnd, const QPoint& clientPt);
bool RightClick(CControlUI* control);
// Clicks row `row` of a list control.
bool ClickListRow(CControlUI* list, int row);
// Real left double click in the middle of the control.
bool DoubleClick(CControlUI* control);

// Types `text` as key events to whatever has the keyboard focus in the
// window (the window itself, or the focused control). '\n' and '\r' are
// typed as Enter.
void TypeText(HWND hWnd, const QString& text);
// Presses and releases one key, given as a VK code (KitDefs.h).
void PressKey(HWND hWnd, WPARAM vk);
// Clicks the edit control to focus it, then types into it.
bool TypeInto(CControlUI* control, const QString& text);
// Gives the keyboard focus to the window itself / to the control.
void FocusWindow(HWND hWnd);
bool FocusControl(CControlUI* control);
// True when the window itself (not a child) has the keyboard focus.
bool WindowHasFocus(HWND hWnd);
// True when the control's widget (or a part of it) has the keyboard focus.
bool ControlHasFocus(CControlUI* control);
// Name of the focused control of the window, empty for the window itself.
QString FocusedControlName(HWND hWnd);

// Saves a picture of the window (as drawn now) to a PNG file.
bool SaveScreenshot(HWND hWnd, const QString& pngPath);

} // namespace kit::test
