#pragma once

// Installs the on-screen message box as the handler of kit::ShowMessageBox:
// a modal box with the text, one OK button and the caption "Kestrin".
// Callable from any thread: the box is shown on the GUI thread while the
// caller waits.
namespace kit {

void InstallScreenMessageBox();

} // namespace kit
