#pragma once

#include "ui/kit/KitDefs.h"

#include <QIcon>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <map>

class CPaintManagerUI;
class CWindowWnd;
class QTimer;

namespace kit {

// The top-level widget behind a CWindowWnd (its HWND). Turns Qt events into
// the window's messages, lays out the paint manager's root control over
// its client area, drags the window by the caption band, and draws the
// window background, rounded corners and layered picture.
class WindowWidget : public QWidget {
    Q_OBJECT
public:
    WindowWidget(CWindowWnd* owner, QWidget* parent, Qt::WindowFlags flags);
    ~WindowWidget() override;

    CWindowWnd* Owner() const { return m_pOwner; }
    // The window object lets go; no messages are delivered after this.
    void DetachOwner() { m_pOwner = nullptr; }
    // The kit window that owns this one (Qt parent), or null.
    WindowWidget* OwnerWindow() const;

    // Delivers a message to the window object now; 0 when there is none.
    LRESULT Send(UINT uMsg, WPARAM wParam, LPARAM lParam);
    // Sends a key message; true when it reached the default handling (the
    // key then goes on to the focused control).
    bool SendKey(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void MarkKeyDefault() { m_bKeyDefault = true; }

    void SetPaintManager(CPaintManagerUI* manager);
    CPaintManagerUI* PaintManager() const { return m_pManager; }
    // Places the root control over the client area.
    void LayoutRoot();

    void SetLayered(bool layered);
    bool IsLayered() const { return m_bLayered; }
    void SetLayeredImage(const QImage& image);
    void SetUserRegion(const QRegion& region);
    void UpdateWindowMask();
    void AddIcon(const QIcon& icon);

    // Input to a window is blocked while modal windows it owns run.
    void BlockInput(bool block);
    bool IsInputBlocked() const { return m_nInputBlocks > 0; }

    bool StartTimer(UINT id, UINT elapseMs);
    bool StopTimer(UINT id);
    void StopAllTimers();

    // Size requested at creation was CW_USEDEFAULT: the layout decides.
    bool m_bDefaultSize = true;
    // Created with WS_VISIBLE and not shown yet.
    bool m_bShowPending = false;
    // Order of creation, for finding the newest window of a class.
    quint64 m_nSerial = 0;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool InCaption(const QPoint& pt) const;

    CWindowWnd* m_pOwner = nullptr;
    CPaintManagerUI* m_pManager = nullptr;
    std::map<UINT, QTimer*> m_timers;
    QImage m_layeredImage;
    QRegion m_userRegion;
    QIcon m_icon;
    QPoint m_dragOffset;
    int m_nInputBlocks = 0;
    bool m_bLayered = false;
    bool m_bDragging = false;
    bool m_bKeyDefault = false;
};

} // namespace kit
