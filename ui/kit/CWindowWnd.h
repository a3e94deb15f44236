#pragma once

#include "ui/kit/KitDefs.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>

#include <atomic>
#include <memory>

class QIcon;

// A top-level window of the program: a frameless, skinned Qt window whose
// events arrive in HandleMessage as the messages of KitDefs.h:
//   WM_CREATE (in Create), WM_CLOSE (close request; the default destroys
//   the window), WM_DESTROY, WM_SIZE (wParam SIZE_*, lParam MAKELPARAM(w,h)),
//   WM_MOVE (lParam MAKELPARAM(x,y) of the client origin on the screen),
//   WM_KILLFOCUS (the window lost the keyboard focus; wParam: the kit window
//   that got it, as HWND, or 0), WM_TIMER (wParam: timer id), WM_MOUSEWHEEL
//   (HIWORD(wParam): delta; lParam: screen point), WM_KEYDOWN (wParam: VK
//   code) and then, for a key that types text, WM_CHAR (wParam: each UTF-16
//   code unit; control characters such as Enter give no WM_CHAR).
// Keys reach HandleMessage when the window itself, a button or a list has
// the focus; keys typed into an edit box or date field belong to that
// control and never arrive here. A key that falls through to the base
// HandleMessage goes on to the focused control (e.g. arrows move the list
// selection); a key answered without the base is swallowed.
//
// Threads: Close and PostMessage may be called from any thread (posted).
// Create, CenterWindow, ShowWindow, ShowModal, SendMessage and the placing
// helpers called from another thread run on the GUI thread while the
// caller waits; ShowModal returns to that caller once the window is gone.
//
// Lifetime: when the window is destroyed, OnFinalMessage runs; a window
// object that deletes itself does it there. Nothing touches the object
// after OnFinalMessage.
class CWindowWnd {
public:
    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const;
    operator HWND() const { return GetHWND(); }

    // Creates the window (hidden unless WS_VISIBLE: then it shows once the
    // caller returns to the event loop, after CenterWindow). A size of
    // CW_USEDEFAULT takes the layout's size; a position of CW_USEDEFAULT
    // leaves the placing to CenterWindow or the system. The owner keeps the
    // window above it and is disabled while it runs modally. When WM_CREATE
    // answers -1 (e.g. the layout is missing) Create returns null, no window
    // exists, ShowModal returns 0 at once and OnFinalMessage is not called.
    HWND Create(HWND hwndParent, const QString& name, DWORD style, DWORD exStyle,
                int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT,
                int cy = CW_USEDEFAULT, void* hMenu = nullptr);
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Shows the window and runs a nested event loop until it is destroyed;
    // the owner is disabled meanwhile. Returns the result given to Close.
    UINT ShowModal();
    // Asks the window to close with `result` (posted WM_CLOSE, wParam result).
    void Close(UINT result = IDOK);
    // Centres over the owner when there is a visible one, else on the work
    // area of the screen.
    void CenterWindow();
    void SetIcon(const QIcon& icon);
    void SetWindowText(const QString& text);
    QString GetWindowText() const;

    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queued to the window; dropped when the window is gone by then.
    void PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);

    // Window rectangle on the screen (frameless: equals the client area).
    QRect GetWindowRect() const;
    // Client rectangle, origin 0,0.
    QRect GetClientRect() const;
    QPoint ClientToScreen(const QPoint& pt) const;
    // Placing never activates the window and keeps the stacking order.
    void MoveWindow(int x, int y);
    void ResizeClient(int cx, int cy);
    // rc in screen coordinates; flags SWP_NOMOVE / SWP_NOSIZE choose parts.
    void SetWindowPos(const QRect& rc, UINT flags);
    bool IsMinimized() const;
    // True while ShowModal's loop runs for this window (GUI thread).
    bool IsInModalLoop() const { return m_pModalLoop != nullptr; }
    bool IsVisible() const;
    // Work area of the screen the window is on (screen coordinates).
    QRect GetWorkArea() const;

    // Restricts the visible part of the window (client coordinates); an
    // empty region shows the whole window again.
    void SetWindowRegion(const QRegion& region);
    // Layered window (WS_EX_LAYERED): shows `image` with its per-pixel
    // alpha as the whole window, resized to the image's size.
    void UpdateLayered(const QImage& image);

    // WM_TIMER with wParam `id` every `elapseMs` milliseconds.
    bool SetTimer(UINT id, UINT elapseMs);
    bool KillTimer(UINT id);

    // Messages of this window; call the base for default handling.
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual QString GetWindowClassName() const;
    virtual void OnFinalMessage(HWND hWnd);

    // The window object of a kit window, null when none.
    static CWindowWnd* FromHandle(HWND hWnd);

protected:
    // Destroys the window now (GUI thread): WM_DESTROY, then the widget
    // goes, a modal loop ends and OnFinalMessage runs.
    void DestroyWindow();
    // True when Create was given CW_USEDEFAULT sizes.
    bool HasDefaultSize() const { return m_bDefaultSize; }

private:
    friend class kit::WindowWidget;
    HWND CreateOnGuiThread(HWND hwndParent, const QString& name, DWORD style, DWORD exStyle, int x,
                           int y, int cx, int cy);
    UINT ShowModalOnGuiThread();
    // The widget is being deleted by someone else (e.g. with its owner).
    void OnWidgetGone(HWND hWnd);

    kit::WindowWidget* m_pWidget = nullptr;
    bool m_bDefaultSize = true;
    // Shared with work posted from other threads; cleared when the object
    // goes so that such work is dropped.
    std::shared_ptr<std::atomic<CWindowWnd*>> m_pAlive;
    // Exit code of a running modal loop; the loop lives in ShowModal.
    void* m_pModalLoop = nullptr;
    UINT m_nCloseResult = IDOK;
};
