#include "ui/kit/DesktopServices.h"

#include "ui/kit/GuiThread.h"
#include "ui/kit/WindowWidget.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include <mutex>

namespace kit {
namespace {

std::mutex g_mutex;
OpenUrlHandler g_openUrl;
FolderPicker g_folderPicker;
OpenFilePicker g_openFilePicker;

template <typename Handler>
Handler Current(const Handler& handler)
{
    std::lock_guard lock(g_mutex);
    return handler;
}

template <typename Handler>
Handler Replace(Handler& slot, Handler handler)
{
    std::lock_guard lock(g_mutex);
    Handler previous = std::move(slot);
    slot = std::move(handler);
    return previous;
}

bool DesktopOpenUrl(const QString& address)
{
    bool ok = false;
    RunOnGuiThread([&] {
        const QString trimmed = address.trimmed();
        const QUrl url = QFileInfo(trimmed).isAbsolute() ? QUrl::fromLocalFile(trimmed)
                                                         : QUrl::fromUserInput(trimmed);
        ok = url.isValid() && QDesktopServices::openUrl(url);
    });
    return ok;
}

QString DesktopPickFolder(HWND owner, const QString& title)
{
    QString path;
    RunOnGuiThread([&] { path = QFileDialog::getExistingDirectory(owner, title); });
    return path;
}

QString DesktopPickOpenFile(HWND owner)
{
    QString path;
    RunOnGuiThread([&] { path = QFileDialog::getOpenFileName(owner); });
    return path;
}

} // namespace

bool OpenUrl(const QString& url)
{
    const OpenUrlHandler handler = Current(g_openUrl);
    return handler ? handler(url) : DesktopOpenUrl(url);
}

OpenUrlHandler SetOpenUrlHandler(OpenUrlHandler handler)
{
    return Replace(g_openUrl, std::move(handler));
}

QString PickFolder(HWND owner, const QString& title)
{
    const FolderPicker picker = Current(g_folderPicker);
    return picker ? picker(owner, title) : DesktopPickFolder(owner, title);
}

FolderPicker SetFolderPicker(FolderPicker picker)
{
    return Replace(g_folderPicker, std::move(picker));
}

QString PickOpenFile(HWND owner)
{
    const OpenFilePicker picker = Current(g_openFilePicker);
    return picker ? picker(owner) : DesktopPickOpenFile(owner);
}

OpenFilePicker SetOpenFilePicker(OpenFilePicker picker)
{
    return Replace(g_openFilePicker, std::move(picker));
}

} // namespace kit
