#pragma once

#include <QString>

#include <functional>

// The program's standard message box: modal, one OK button, the program's
// name as caption. The window kit installs the on-screen implementation at
// start-up; tests install one that records what would have been shown.
// ShowMessageBox may be called from any thread.
namespace kit {

using MessageBoxHandler = std::function<void(const QString& text)>;

void ShowMessageBox(const QString& text);

// Installs `handler` and returns the one it replaces. An empty handler
// restores the default, which writes the text to standard error.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace kit
