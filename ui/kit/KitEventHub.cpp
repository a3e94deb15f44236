#include "ui/kit/KitEventHub.h"

#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/VirtualKeys.h"
#include "ui/kit/WindowWidget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

namespace kit {
namespace {

constexpr const char* kOwnsKeysProperty = "kitOwnsKeys";
KitEventHub* g_hub = nullptr;

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

WindowWidget* KitWindowOf(QWidget* widget)
{
    return widget ? qobject_cast<WindowWidget*>(widget->window()) : nullptr;
}

} // namespace

KitEventHub::KitEventHub(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &KitEventHub::OnFocusChanged);
}

void KitEventHub::Install()
{
    if (!g_hub && qApp)
        g_hub = new KitEventHub(qApp);
}

void KitEventHub::SetOwnsKeys(QWidget* widget)
{
    if (widget)
        widget->setProperty(kOwnsKeysProperty, true);
}

bool KitEventHub::OwnsKeys(QWidget* widget, QWidget* window)
{
    for (QWidget* w = widget; w && w != window; w = w->parentWidget())
        if (w->property(kOwnsKeysProperty).toBool())
            return true;
    return false;
}

bool KitEventHub::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType())
        return false;
    const QEvent::Type type = event->type();
    const bool input = IsUserInput(type);
    if (!input && type != QEvent::MouseMove)
        return false;
    auto* receiver = static_cast<QWidget*>(watched);
    WindowWidget* window = KitWindowOf(receiver);
    if (!window)
        return false;
    if (input && window->IsInputBlocked())
        return true;
    switch (type) {
    case QEvent::KeyPress:
        return HandleKeyPress(window, receiver, static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        if (CPaintManagerUI* manager = window->PaintManager()) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            manager->SetMousePos(receiver->mapTo(window, mouse->position().toPoint()));
        }
        return false;
    default:
        return false;
    }
}

bool KitEventHub::HandleKeyPress(WindowWidget* window, QWidget* receiver, QKeyEvent* event)
{
    // Act once, where the key is first delivered: at the window's focus.
    // A key the focused control ignores travels up to its parents; those
    // deliveries are not new keys.
    QWidget* focus = window->focusWidget() ? window->focusWidget() : window;
    if (receiver != focus)
        return false;
    if (OwnsKeys(receiver, window))
        return false;

    QPointer<WindowWidget> guard(window);
    bool passOn = true;
    const WPARAM vk = VirtualKeyFromQtKey(event->key());
    if (vk != 0) {
        const LPARAM lParam = 1 | (event->isAutoRepeat() ? (LPARAM(1) << 30) : 0);
        passOn = window->SendKey(WM_KEYDOWN, vk, lParam);
    }
    for (const QChar ch : event->text()) {
        if (!guard)
            return true;
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            continue;
        passOn = window->SendKey(WM_CHAR, ch.unicode(), 1) && passOn;
    }
    return !guard || !passOn;
}

void KitEventHub::OnFocusChanged(QWidget* old, QWidget* now)
{
    QPointer<WindowWidget> oldWindow = KitWindowOf(old);
    WindowWidget* newWindow = KitWindowOf(now);
    if (!oldWindow || oldWindow == newWindow)
        return;
    oldWindow->Send(WM_KILLFOCUS, reinterpret_cast<WPARAM>(static_cast<HWND>(newWindow)), 0);
}

} // namespace kit
