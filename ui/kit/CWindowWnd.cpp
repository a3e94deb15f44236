#include "ui/kit/CWindowWnd.h"

#include "ui/kit/GuiThread.h"
#include "ui/kit/WindowWidget.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kFallbackWidth = 400;
constexpr int kFallbackHeight = 300;

QRect AvailableGeometryFor(QWidget* widget)
{
    QScreen* screen = widget ? widget->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

CWindowWnd::CWindowWnd() : m_pAlive(std::make_shared<std::atomic<CWindowWnd*>>(this)) {}

CWindowWnd::~CWindowWnd()
{
    m_pAlive->store(nullptr);
    if (kit::WindowWidget* widget = m_pWidget) {
        m_pWidget = nullptr;
        widget->DetachOwner();
        if (kit::IsGuiThread())
            delete widget;
        else
            QMetaObject::invokeMethod(widget, "deleteLater", Qt::QueuedConnection);
    }
}

HWND CWindowWnd::GetHWND() const
{
    return m_pWidget;
}

HWND CWindowWnd::Create(HWND hwndParent, const QString& name, DWORD style, DWORD exStyle, int x,
                        int y, int cx, int cy, void*)
{
    HWND result = nullptr;
    kit::RunOnGuiThread([&] { result = CreateOnGuiThread(hwndParent, name, style, exStyle, x, y, cx, cy); });
    return result;
}

HWND CWindowWnd::CreateOnGuiThread(HWND hwndParent, const QString& name, DWORD style, DWORD exStyle,
                                   int x, int y, int cx, int cy)
{
    if (m_pWidget)
        return m_pWidget;
    Qt::WindowFlags flags = Qt::FramelessWindowHint;
    if (exStyle & WS_EX_TOOLWINDOW)
        flags |= Qt::Tool;
    else if (hwndParent)
        flags |= Qt::Dialog;
    else
        flags |= Qt::Window;
    auto* widget = new kit::WindowWidget(this, hwndParent, flags);
    widget->setWindowTitle(name);
    if (exStyle & WS_EX_LAYERED) {
        widget->SetLayered(true);
        widget->setAttribute(Qt::WA_ShowWithoutActivating);
    }
    m_bDefaultSize = (cx == CW_USEDEFAULT || cy == CW_USEDEFAULT);
    widget->m_bDefaultSize = m_bDefaultSize;
    widget->resize(m_bDefaultSize ? QSize(kFallbackWidth, kFallbackHeight) : QSize(cx, cy));
    if (x != CW_USEDEFAULT && y != CW_USEDEFAULT)
        widget->move(x, y);
    m_pWidget = widget;

    QPointer<kit::WindowWidget> guard(widget);
    const LRESULT created = widget->Send(WM_CREATE, 0, 0);
    if (!guard)
        return nullptr;
    if (created == -1) {
        // Creation failed: the window never existed for the object, so no
        // final message (a self-deleting object stays with its caller).
        qWarning("Kestrin: window %s could not be created", qUtf8Printable(GetWindowClassName()));
        widget->DetachOwner();
        widget->StopAllTimers();
        m_pWidget = nullptr;
        widget->deleteLater();
        return nullptr;
    }
    // Keys go to the window itself, not to the first edit box.
    widget->setFocus(Qt::OtherFocusReason);
    if (style & WS_VISIBLE) {
        widget->m_bShowPending = true;
        const bool activate = !(exStyle & WS_EX_LAYERED);
        QTimer::singleShot(0, widget, [widget, activate] {
            if (widget->m_bShowPending && widget->Owner())
                widget->Owner()->ShowWindow(true, activate);
        });
    }
    return widget;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus)
{
    kit::RunOnGuiThread([&] {
        kit::WindowWidget* widget = m_pWidget;
        if (!widget)
            return;
        widget->m_bShowPending = false;
        if (!show) {
            widget->hide();
            return;
        }
        if (takeFocus) {
            widget->show();
            widget->raise();
            widget->activateWindow();
            widget->setFocus(Qt::ActiveWindowFocusReason);
        } else {
            const bool noActivate = widget->testAttribute(Qt::WA_ShowWithoutActivating);
            widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
            widget->show();
            widget->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
        }
    });
}

UINT CWindowWnd::ShowModal()
{
    UINT result = 0;
    // Off the GUI thread the modal loop runs there while this thread waits;
    // the object may be gone when it returns.
    kit::RunOnGuiThread([&] { result = ShowModalOnGuiThread(); });
    return result;
}

UINT CWindowWnd::ShowModalOnGuiThread()
{
    kit::WindowWidget* widget = m_pWidget;
    if (!widget)
        return 0;
    QPointer<kit::WindowWidget> owner = widget->OwnerWindow();
    if (owner)
        owner->BlockInput(true);
    ShowWindow(true, true);

    QEventLoop loop;
    m_pModalLoop = &loop;
    const int result = loop.exec(QEventLoop::DialogExec);
    // `this` may have been deleted by OnFinalMessage: touch locals only.
    if (owner) {
        owner->BlockInput(false);
        if (!owner->IsInputBlocked() && owner->isVisible()) {
            owner->activateWindow();
            if (!owner->focusWidget())
                owner->setFocus(Qt::ActiveWindowFocusReason);
        }
    }
    return static_cast<UINT>(result);
}

void CWindowWnd::Close(UINT result)
{
    PostMessage(WM_CLOSE, result, 0);
}

void CWindowWnd::CenterWindow()
{
    kit::RunOnGuiThread([&] {
        kit::WindowWidget* widget = m_pWidget;
        if (!widget)
            return;
        QWidget* owner = widget->parentWidget();
        const QRect workArea = AvailableGeometryFor(owner ? owner : widget);
        QRect around = workArea;
        if (owner && owner->isVisible() && !owner->isMinimized())
            around = owner->frameGeometry();
        QRect rc(QPoint(0, 0), widget->size());
        rc.moveCenter(around.center());
        if (rc.right() > workArea.right())
            rc.moveRight(workArea.right());
        if (rc.bottom() > workArea.bottom())
            rc.moveBottom(workArea.bottom());
        if (rc.left() < workArea.left())
            rc.moveLeft(workArea.left());
        if (rc.top() < workArea.top())
            rc.moveTop(workArea.top());
        widget->move(rc.topLeft());
    });
}

void CWindowWnd::SetIcon(const QIcon& icon)
{
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(&icon));
}

void CWindowWnd::SetWindowText(const QString& text)
{
    kit::RunOnGuiThread([&] {
        if (m_pWidget)
            m_pWidget->setWindowTitle(text);
    });
}

QString CWindowWnd::GetWindowText() const
{
    QString text;
    kit::RunOnGuiThread([&] {
        if (m_pWidget)
            text = m_pWidget->windowTitle();
    });
    return text;
}

LRESULT CWindowWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    kit::RunOnGuiThread([&] {
        if (!m_pWidget)
            return;
        if (uMsg == WM_CLOSE)
            m_nCloseResult = static_cast<UINT>(wParam);
        result = HandleMessage(uMsg, wParam, lParam);
    });
    return result;
}

void CWindowWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    kit::PostToGuiThread([alive = m_pAlive, uMsg, wParam, lParam] {
        if (CWindowWnd* self = alive->load())
            self->SendMessage(uMsg, wParam, lParam);
    });
}

QRect CWindowWnd::GetWindowRect() const
{
    QRect rc;
    kit::RunOnGuiThread([&] {
        if (m_pWidget)
            rc = m_pWidget->geometry();
    });
    return rc;
}

QRect CWindowWnd::GetClientRect() const
{
    QRect rc;
    kit::RunOnGuiThread([&] {
        if (m_pWidget)
            rc = m_pWidget->rect();
    });
    return rc;
}

QPoint CWindowWnd::ClientToScreen(const QPoint& pt) const
{
    QPoint result = pt;
    kit::RunOnGuiThread([&] {
        if (m_pWidget)
            result = m_pWidget->mapToGlobal(pt);
    });
    return result;
}

void CWindowWnd::MoveWindow(int x, int y)
{
    kit::RunOnGuiThread([&] {
        if (m_pWidget)
            m_pWidget->move(x, y);
    });
}

void CWindowWnd::ResizeClient(int cx, int cy)
{
    kit::RunOnGuiThread([&] {
        if (m_pWidget)
            m_pWidget->resize(cx, cy);
    });
}

void CWindowWnd::SetWindowPos(const QRect& rc, UINT flags)
{
    kit::RunOnGuiThread([&] {
        if (!m_pWidget)
            return;
        if (!(flags & SWP_NOMOVE))
            m_pWidget->move(rc.topLeft());
        if (!(flags & SWP_NOSIZE))
            m_pWidget->resize(rc.size());
    });
}

bool CWindowWnd::IsMinimized() const
{
    bool minimized = false;
    kit::RunOnGuiThread([&] { minimized = m_pWidget && m_pWidget->isMinimized(); });
    return minimized;
}

bool CWindowWnd::IsVisible() const
{
    bool visible = false;
    kit::RunOnGuiThread([&] { visible = m_pWidget && m_pWidget->isVisible(); });
    return visible;
}

QRect CWindowWnd::GetWorkArea() const
{
    QRect rc;
    kit::RunOnGuiThread([&] { rc = AvailableGeometryFor(m_pWidget); });
    return rc;
}

void CWindowWnd::SetWindowRegion(const QRegion& region)
{
    kit::RunOnGuiThread([&] {
        if (m_pWidget)
            m_pWidget->SetUserRegion(region);
    });
}

void CWindowWnd::UpdateLayered(const QImage& image)
{
    kit::RunOnGuiThread([&] {
        if (m_pWidget)
            m_pWidget->SetLayeredImage(image);
    });
}

bool CWindowWnd::SetTimer(UINT id, UINT elapseMs)
{
    bool ok = false;
    kit::RunOnGuiThread([&] { ok = m_pWidget && m_pWidget->StartTimer(id, elapseMs); });
    return ok;
}

bool CWindowWnd::KillTimer(UINT id)
{
    bool ok = false;
    kit::RunOnGuiThread([&] { ok = m_pWidget && m_pWidget->StopTimer(id); });
    return ok;
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    kit::WindowWidget* widget = m_pWidget;
    switch (uMsg) {
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_SYSCOMMAND:
        if (widget && (wParam & 0xFFF0) == SC_MINIMIZE)
            widget->showMinimized();
        else if (widget && (wParam & 0xFFF0) == SC_RESTORE)
            widget->showNormal();
        return 0;
    case WM_SETICON:
        if (widget && lParam)
            widget->AddIcon(*reinterpret_cast<const QIcon*>(lParam));
        return 0;
    case WM_KEYDOWN:
    case WM_CHAR:
        if (widget)
            widget->MarkKeyDefault();
        return 0;
    case WM_NCACTIVATE:
        return 1;
    default:
        return 0;
    }
}

QString CWindowWnd::GetWindowClassName() const
{
    return QString();
}

void CWindowWnd::OnFinalMessage(HWND) {}

CWindowWnd* CWindowWnd::FromHandle(HWND hWnd)
{
    return hWnd ? hWnd->Owner() : nullptr;
}

void CWindowWnd::DestroyWindow()
{
    kit::WindowWidget* widget = m_pWidget;
    if (!widget)
        return;
    HandleMessage(WM_DESTROY, 0, 0);
    widget = m_pWidget;
    if (!widget)
        return;
    widget->StopAllTimers();
    widget->DetachOwner();
    m_pWidget = nullptr;
    widget->hide();
    // Deleted from the event loop: we may be inside one of its events.
    widget->deleteLater();
    OnWidgetGone(widget);
}

void CWindowWnd::OnWidgetGone(HWND hWnd)
{
    m_pWidget = nullptr;
    if (m_pModalLoop) {
        static_cast<QEventLoop*>(m_pModalLoop)->exit(static_cast<int>(m_nCloseResult));
        m_pModalLoop = nullptr;
    }
    OnFinalMessage(hWnd);
}
