#include "ui/kit/MessageBox.h"

#include <QtGlobal>

#include <mutex>

namespace kit {
namespace {

std::mutex g_handlerMutex;
MessageBoxHandler g_handler;

} // namespace

void ShowMessageBox(const QString& text)
{
    MessageBoxHandler handler;
    {
        std::lock_guard lock(g_handlerMutex);
        handler = g_handler;
    }
    if (handler)
        handler(text);
    else
        qWarning("Kestrin: %s", qUtf8Printable(text));
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    std::lock_guard lock(g_handlerMutex);
    MessageBoxHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}

} // namespace kit
