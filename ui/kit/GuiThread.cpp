#include "ui/kit/GuiThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <thread>

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

void WaitProcessingEvents(const std::function<bool()>& done)
{
    constexpr int kPollMs = 5;
    if (!done || done())
        return;
    if (!IsGuiThread()) {
        while (!done())
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
        return;
    }
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(kPollMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace kit
