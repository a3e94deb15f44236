#pragma once

#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/CWindowWnd.h"
#include "ui/kit/TDrawInfo.h"

#include <QString>

// A borderless layered window that lies exactly under another pop-up window
// and shows a skin image with per-pixel alpha: the soft frame and shadow of
// the popup menu. The window above keeps it on its own rectangle (position
// and size) and closes it together with itself.
//
// Redrawing is decoupled from resizing: WM_SIZE only marks the picture as
// stale, and the next tick of a 10 ms timer redraws it once, however many
// size changes came in between. Moves never redraw: a layered window keeps
// its picture when it moves.
//
// Create it on the heap; it deletes itself when its window is gone
// (OnFinalMessage).
class CShadowWnd : public CWindowWnd {
public:
    CShadowWnd();
    ~CShadowWnd() override;

    // The image description drawn over the whole client area, e.g.
    // "file='menu_bk.png' corner='40,8,8,8'".
    void SetImage(const QString& description);

    QString GetWindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

    // Pictures drawn so far; for tests of the redraw rule.
    int GetRedrawCount() const { return m_nRedrawCount; }

    static constexpr UINT kRedrawTimerId = 9000;
    static constexpr UINT kRedrawPeriodMs = 10;

private:
    void Redraw();

    // Set when the size changed; starts set so the first tick draws.
    bool m_bNeedsRedraw = true;
    TDrawInfo m_drawInfo;
    // Only the image source of DrawImage (loads and caches the file); it is
    // never attached to the window.
    CPaintManagerUI m_PaintManager;
    int m_nRedrawCount = 0;
};
