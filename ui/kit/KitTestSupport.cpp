#include "ui/kit/KitTestSupport.h"

#include "ui/kit/CButtonUI.h"
#include "ui/kit/CContainerUI.h"
#include "ui/kit/CControlUI.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/CListUI.h"
#include "ui/kit/CWindowWnd.h"
#include "ui/kit/INotifyUI.h"
#include "ui/kit/VirtualKeys.h"
#include "ui/kit/WindowWidget.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace kit::test {
namespace {

QWidget* FocusTarget(HWND hWnd)
{
    QWidget* focus = hWnd->focusWidget();
    return focus ? focus : hWnd;
}

// The widget that receives mouse input at the centre of the control.
QWidget* MouseTarget(CControlUI* control, QPoint& local)
{
    QWidget* widget = control ? control->PeekWidget() : nullptr;
    if (!widget || !widget->isVisible())
        return nullptr;
    local = widget->rect().center();
    if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
        local = view->viewport()->rect().center();
        return view->viewport();
    }
    QWidget* child = widget->childAt(local);
    if (child) {
        local = child->mapFrom(widget, local);
        return child;
    }
    return widget;
}

void EnsureActive(HWND hWnd)
{
    if (!hWnd)
        return;
    if (!hWnd->isActiveWindow()) {
        hWnd->activateWindow();
        QApplication::processEvents();
    }
}

} // namespace

void ProcessEvents(int ms)
{
    QApplication::processEvents();
    if (ms > 0)
        QTest::qWait(ms);
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return condition();
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(5);
    }
    return true;
}

HWND FindWindow(const QString& className)
{
    WindowWidget* newest = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<WindowWidget*>(widget);
        if (!window || !window->Owner() || !window->isVisible())
            continue;
        if (window->Owner()->GetWindowClassName() != className)
            continue;
        if (!newest || window->m_nSerial > newest->m_nSerial)
            newest = window;
    }
    return newest;
}

HWND WaitForWindow(const QString& className, int timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindow(className)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitForWindowGone(HWND hWnd, int timeoutMs)
{
    QPointer<QWidget> guard(hWnd);
    return WaitUntil([&] { return !guard || !static_cast<WindowWidget*>(guard.data())->Owner(); },
                     timeoutMs);
}

namespace {

void WhenWindowReady(const QString& className, std::function<void(HWND)> action, int timeoutMs,
                     bool modal)
{
    auto* timer = new QTimer(qApp);
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        HWND window = FindWindow(className);
        if (window && (!modal || (window->Owner() && window->Owner()->IsInModalLoop()))) {
            timer->stop();
            timer->deleteLater();
            action(window);
            return;
        }
        if (elapsed->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

} // namespace

void WhenWindowShown(const QString& className, std::function<void(HWND)> action, int timeoutMs)
{
    WhenWindowReady(className, std::move(action), timeoutMs, false);
}

void WhenModalWindowShown(const QString& className, std::function<void(HWND)> action, int timeoutMs)
{
    WhenWindowReady(className, std::move(action), timeoutMs, true);
}

bool Click(CControlUI* control)
{
    QPoint local;
    QWidget* target = MouseTarget(control, local);
    if (!target)
        return false;
    EnsureActive(qobject_cast<WindowWidget*>(target->window()));
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, local);
    return true;
}

bool Click(HWND hWnd, const QString& controlName)
{
    if (!hWnd || !hWnd->PaintManager())
        return false;
    return Click(hWnd->PaintManager()->FindControl(controlName));
}

void Notify(INotifyUI& receiver, const QString& type, const QString& senderName)
{
    CButtonUI sender;
    sender.SetName(senderName);
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = &sender;
    receiver.Notify(msg);
}

bool ClickAt(HWND hWnd, const QPoint& clientPt)
{
    if (!hWnd)
        return false;
    QWidget* target = hWnd->childAt(clientPt);
    if (!target)
        target = hWnd;
    EnsureActive(hWnd);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(hWnd, clientPt));
    return true;
}

bool RightClick(CControlUI* control)
{
    QPoint local;
    QWidget* target = MouseTarget(control, local);
    if (!target)
        return false;
    QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, local);
    return true;
}

bool ClickListRow(CControlUI* list, int row)
{
    auto* listControl = dynamic_cast<CListUI*>(list);
    auto* view = listControl ? qobject_cast<QTableView*>(listControl->PeekWidget()) : nullptr;
    if (!view)
        return false;
    listControl->FlushPendingRows();
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    const QRect rc = view->visualRect(index);
    if (!rc.isValid())
        return false;
    EnsureActive(qobject_cast<WindowWidget*>(view->window()));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rc.center());
    return true;
}

bool DoubleClick(CControlUI* control)
{
    QPoint local;
    QWidget* target = MouseTarget(control, local);
    if (!target)
        return false;
    QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, local);
    return true;
}

void TypeText(HWND hWnd, const QString& text)
{
    if (!hWnd)
        return;
    for (const QChar ch : text) {
        QPointer<QWidget> target = FocusTarget(hWnd);
        if (ch == QLatin1Char('\n') || ch == QLatin1Char('\r')) {
            QTest::keyClick(target, Qt::Key_Return);
            continue;
        }
        const char16_t code = ch.unicode();
        int key = 0;
        Qt::KeyboardModifiers mods = Qt::NoModifier;
        if (code >= 'a' && code <= 'z') {
            key = Qt::Key_A + (code - 'a');
        } else if (code >= 'A' && code <= 'Z') {
            key = Qt::Key_A + (code - 'A');
            mods = Qt::ShiftModifier;
        } else if (code < 0x80) {
            key = code;
        } else {
            key = Qt::Key_unknown;
        }
        QKeyEvent press(QEvent::KeyPress, key, mods, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, key, mods, QString(ch));
        QApplication::sendEvent(target, &press);
        if (target)
            QApplication::sendEvent(target, &release);
    }
    QApplication::processEvents();
}

void PressKey(HWND hWnd, WPARAM vk)
{
    if (!hWnd)
        return;
    const int key = QtKeyFromVirtualKey(vk);
    QTest::keyClick(FocusTarget(hWnd), static_cast<Qt::Key>(key ? key : int(Qt::Key_unknown)));
    QApplication::processEvents();
}

bool TypeInto(CControlUI* control, const QString& text)
{
    if (!FocusControl(control))
        return false;
    auto* window = qobject_cast<WindowWidget*>(control->PeekWidget()->window());
    TypeText(window, text);
    return true;
}

void FocusWindow(HWND hWnd)
{
    if (!hWnd)
        return;
    EnsureActive(hWnd);
    hWnd->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
}

bool FocusControl(CControlUI* control)
{
    QWidget* widget = control ? control->PeekWidget() : nullptr;
    if (!widget || !widget->isVisible())
        return false;
    EnsureActive(qobject_cast<WindowWidget*>(widget->window()));
    if (auto* edit = widget->findChild<QLineEdit*>(); edit && !qobject_cast<QLineEdit*>(widget))
        edit->setFocus(Qt::MouseFocusReason);
    else
        widget->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    return ControlHasFocus(control);
}

bool WindowHasFocus(HWND hWnd)
{
    return hWnd && hWnd->focusWidget() == hWnd;
}

bool ControlHasFocus(CControlUI* control)
{
    QWidget* widget = control ? control->PeekWidget() : nullptr;
    if (!widget)
        return false;
    QWidget* focus = widget->window()->focusWidget();
    return focus && (focus == widget || widget->isAncestorOf(focus));
}

namespace {

CControlUI* ControlOwningWidget(CControlUI* control, QWidget* focus)
{
    if (!control)
        return nullptr;
    if (auto* container = dynamic_cast<CContainerUI*>(control))
        for (int i = 0; i < container->GetCount(); ++i)
            if (CControlUI* found = ControlOwningWidget(container->GetItemAt(i), focus))
                return found;
    QWidget* widget = control->PeekWidget();
    if (widget && (widget == focus || widget->isAncestorOf(focus)))
        return control;
    return nullptr;
}

} // namespace

QString FocusedControlName(HWND hWnd)
{
    if (!hWnd || !hWnd->PaintManager())
        return QString();
    QWidget* focus = hWnd->focusWidget();
    if (!focus || focus == hWnd)
        return QString();
    CControlUI* control = ControlOwningWidget(hWnd->PaintManager()->GetRoot(), focus);
    return control ? control->GetName() : QString();
}

bool SaveScreenshot(HWND hWnd, const QString& pngPath)
{
    if (!hWnd)
        return false;
    return hWnd->grab().save(pngPath, "PNG");
}

} // namespace kit::test
