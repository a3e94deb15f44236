#include "ui/kit/WindowApi.h"

#include "ui/kit/CWindowWnd.h"
#include "ui/kit/GuiThread.h"
#include "ui/kit/WindowWidget.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

namespace kit {
namespace {

bool IsLive(HWND hWnd)
{
    if (!hWnd)
        return false;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget == hWnd)
            return true;
    return false;
}

} // namespace

bool IsWindow(HWND hWnd)
{
    bool live = false;
    RunOnGuiThread([&] { live = IsLive(hWnd) && hWnd->Owner(); });
    return live;
}

HWND GetParent(HWND hWnd)
{
    HWND parent = nullptr;
    RunOnGuiThread([&] {
        if (IsLive(hWnd))
            parent = hWnd->OwnerWindow();
    });
    return parent;
}

HWND GetTopLevelOwner(HWND hWnd)
{
    HWND top = hWnd;
    for (HWND parent = GetParent(top); parent; parent = GetParent(parent))
        top = parent;
    return top;
}

LRESULT SendMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    RunOnGuiThread([&] {
        if (IsLive(hWnd) && hWnd->Owner())
            result = hWnd->Owner()->SendMessage(uMsg, wParam, lParam);
    });
    return result;
}

void PostMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    PostToGuiThread([hWnd, uMsg, wParam, lParam] {
        if (IsLive(hWnd) && hWnd->Owner())
            hWnd->Owner()->SendMessage(uMsg, wParam, lParam);
    });
}

QPoint ClientToScreen(HWND hWnd, const QPoint& pt)
{
    QPoint result = pt;
    RunOnGuiThread([&] {
        if (IsLive(hWnd))
            result = hWnd->mapToGlobal(pt);
    });
    return result;
}

QPoint ScreenToClient(HWND hWnd, const QPoint& pt)
{
    QPoint result = pt;
    RunOnGuiThread([&] {
        if (IsLive(hWnd))
            result = hWnd->mapFromGlobal(pt);
    });
    return result;
}

QRect GetWindowRect(HWND hWnd)
{
    QRect rc;
    RunOnGuiThread([&] {
        if (IsLive(hWnd))
            rc = hWnd->geometry();
    });
    return rc;
}

QRect GetWorkArea(HWND hWnd)
{
    QRect rc;
    RunOnGuiThread([&] {
        QScreen* screen = IsLive(hWnd) ? hWnd->screen() : nullptr;
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        rc = screen ? screen->availableGeometry() : QRect();
    });
    return rc;
}

bool IsWindowEnabled(HWND hWnd)
{
    bool enabled = false;
    RunOnGuiThread([&] { enabled = IsLive(hWnd) && !hWnd->IsInputBlocked() && hWnd->isEnabled(); });
    return enabled;
}

bool IsWindowVisible(HWND hWnd)
{
    bool visible = false;
    RunOnGuiThread([&] { visible = IsLive(hWnd) && hWnd->isVisible(); });
    return visible;
}

HWND GetFocusWindow()
{
    HWND focus = nullptr;
    RunOnGuiThread([&] {
        if (QWidget* widget = QApplication::focusWidget())
            focus = qobject_cast<WindowWidget*>(widget->window());
    });
    return focus;
}

void SetFocus(HWND hWnd)
{
    RunOnGuiThread([&] {
        if (!IsLive(hWnd))
            return;
        hWnd->activateWindow();
        hWnd->setFocus(Qt::OtherFocusReason);
    });
}

QString GetWindowClassName(HWND hWnd)
{
    QString name;
    RunOnGuiThread([&] {
        if (IsLive(hWnd) && hWnd->Owner())
            name = hWnd->Owner()->GetWindowClassName();
    });
    return name;
}

} // namespace kit
