#include "ui/kit/ScreenMessageBox.h"

#include "ui/kit/GuiThread.h"
#include "ui/kit/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace kit {
namespace {

void ShowOnScreen(const QString& text)
{
    RunOnGuiThread([&text] {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Kestrin"), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.setObjectName(QStringLiteral("KestrinMessageBox"));
        box.exec();
    });
}

} // namespace

void InstallScreenMessageBox()
{
    SetMessageBoxHandler(ShowOnScreen);
}

} // namespace kit
