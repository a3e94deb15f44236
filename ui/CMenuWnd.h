#pragma once

#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/CWindowWnd.h"
#include "ui/kit/INotifyUI.h"

#include <QPoint>
#include <QString>

class CControlUI;
class CShadowWnd;

// The program's popup menu: a small borderless tool window built from the
// layout "menu.xml", shown at a screen point with a soft frame drawn by a
// CShadowWnd beneath it. A click on an item sends the item's name as a
// notification type to the owner control's window (asynchronously, so the
// owner handles it after the menu's own handling), with the owner as the
// sender. The menu closes when an item is chosen, on Escape, and when it
// loses the focus to any window other than its shadow.
//
// Each opening creates a new menu: `auto* menu = new CMenuWnd;` then
// `if (!menu->Init(owner, pt)) delete menu;`. Once open, the menu deletes
// itself when its window is gone; the caller never touches it again.
class CMenuWnd : public CWindowWnd, public INotifyUI {
public:
    CMenuWnd();
    ~CMenuWnd() override;

    // Opens the menu with its top-left corner at `pt` (screen coordinates),
    // moved back into the work area at the right and bottom edges, owned by
    // the window of `owner`. True when the menu opened (it then deletes
    // itself when closed); false when there is no owner or the window could
    // not be made: nothing is shown and the object stays the caller's.
    bool Init(CControlUI* owner, const QPoint& pt);

    QString GetWindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;
    void Notify(TNotifyUI& msg) override;

    // The shadow under the menu while its window lives, else null.
    CShadowWnd* GetShadow() const;
    CPaintManagerUI* GetPaintManager() { return &m_PaintManager; }

    static constexpr const char* kShadowImage = "file='menu_bk.png' corner='40,8,8,8'";
    // Width of the frame around the menu's visible part where the shadow
    // shows through.
    static constexpr int kShadowMargin = 8;

private:
    LRESULT OnCreate();
    void PlaceInWorkArea();
    void OnSize();
    LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void SendItemToOwner(CControlUI* item);

    CPaintManagerUI m_PaintManager;
    CControlUI* m_pOwner = nullptr;
    QPoint m_ptPos;
    CShadowWnd* m_pShadow = nullptr;
    // The shadow's window, to tell a live shadow from one already gone.
    HWND m_hShadow = nullptr;
};
