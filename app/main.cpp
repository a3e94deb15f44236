#include "app/CKestrinApp.h"

#include <QApplication>
#include <QFont>

#include <unistd.h>

int main(int argc, char** argv)
{
    // The browser's sandbox cannot run as root; only then is it turned off.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrin"));
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 10));

    CKestrinApp app;
    app.StartUp();
    return 0;
}
