// One clerk's desk in a process of its own, for the test of several desks
// registering into one server database at once. It opens the register as
// start-up does, so the "invoice.udl" beside this executable names the
// database; it shows the real main window on the offscreen platform and,
// once <go file> exists, types each line of <payload file> as the scanner
// does (its characters, then Enter):
//
//   kestrin_desk_client <payload file> <go file>
//
// Standard output, one line each, flushed at once:
//   READY                      the window is up and waits for <go file>;
//   STATE <tab> n <tab> text   the state label after scan n (from 0);
//   MESSAGE <tab> text         a message box (an engine error);
//   DONE                       every payload was scanned.
#include "app/CKestrinApp.h"
#include "app/CKestrinWnd.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/DesktopServices.h"
#include "ui/kit/KitTestSupport.h"
#include "ui/kit/MessageBox.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QThread>

#include <cstdio>

namespace {

void Report(const QString& kind, const QString& text = QString())
{
    QString line = kind;
    if (!text.isNull())
        line += QLatin1Char('\t') + QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fputs(line.toUtf8().append('\n').constData(), stdout);
    std::fflush(stdout);
}

void ScanAll(CKestrinWnd& window, const QStringList& payloads, const QString& goFile)
{
    Report(QStringLiteral("READY"));
    while (!QFile::exists(goFile))
        QThread::usleep(500);
    HWND hwnd = window.GetHWND();
    for (qsizetype i = 0; i < payloads.size(); ++i) {
        kit::test::TypeText(hwnd, payloads[i]);
        kit::test::PressKey(hwnd, VK_RETURN);
        kit::test::ProcessEvents();
        Report(QStringLiteral("STATE"), QStringLiteral("%1\t%2").arg(i).arg(window.State()));
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Start page and echo requests stay on this machine.
    qputenv("KESTRIN_ECHO_TARGET", "127.0.0.1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() != 3)
        return 2;
    QFile payloadFile(args[1]);
    if (!payloadFile.open(QIODevice::ReadOnly))
        return 2;
    const QStringList payloads =
        QString::fromLatin1(payloadFile.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);

    kit::SetMessageBoxHandler([](const QString& text) { Report(QStringLiteral("MESSAGE"), text); });
    kit::SetOpenUrlHandler([](const QString&) { return true; });
    CPaintManagerUI::SetResourcePath(QStringLiteral(KESTRIN_SKIN_DIR));

    CKestrinApp app;
    app.OpenDatabase();
    {
        CKestrinWnd window(app.Connection());
        if (window.Create(nullptr, QStringLiteral("KestrinWnd"), UI_WNDSTYLE_FRAME, 0, 0, 0, 800, 572) == nullptr)
            return 4;
        window.ShowWindow(true, true);
        kit::test::ProcessEvents(20);
        kit::test::FocusWindow(window.GetHWND());
        ScanAll(window, payloads, args[2]);
        window.Close(1);
        kit::test::WaitForWindowGone(window.GetHWND());
    }
    Report(QStringLiteral("DONE"));
    return 0;
}
