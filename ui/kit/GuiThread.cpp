#include "ui/kit/GuiThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace kit {

bool IsGuiThread()
{
    auto* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void PostToGuiThread(std::function<void()> fn)
{
    auto* app = QCoreApplication::instance();
    if (!app || !fn)
        return;
    QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

void RunOnGuiThread(const std::function<void()>& fn)
{
    if (!fn)
        return;
    if (IsGuiThread()) {
        fn();
        return;
    }
    auto* app = QCoreApplication::instance();
    if (!app)
        return;
    QMetaObject::invokeMethod(app, [&fn] { fn(); }, Qt::BlockingQueuedConnection);
}

} // namespace kit
