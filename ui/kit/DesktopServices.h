#pragma once

#include "ui/kit/KitDefs.h"

#include <QString>

#include <functional>

// Services of the desktop, each replaceable (tests install their own so
// nothing leaves the machine and no dialog blocks). Setters return the
// handler they replace; an empty handler restores the desktop's.
// All may be called from any thread: dialogs are shown on the GUI thread
// while the caller waits.
namespace kit {

// Opens an address (http URL or file path) with the desktop's default
// handler. False when it could not be handed over.
using OpenUrlHandler = std::function<bool(const QString& url)>;
bool OpenUrl(const QString& url);
OpenUrlHandler SetOpenUrlHandler(OpenUrlHandler handler);

// Lets the clerk choose a folder; the chosen path, or empty on cancel.
using FolderPicker = std::function<QString(HWND owner, const QString& title)>;
QString PickFolder(HWND owner, const QString& title);
FolderPicker SetFolderPicker(FolderPicker picker);

// Lets the clerk choose an existing file; its path, or empty on cancel.
using OpenFilePicker = std::function<QString(HWND owner)>;
QString PickOpenFile(HWND owner);
OpenFilePicker SetOpenFilePicker(OpenFilePicker picker);

} // namespace kit
