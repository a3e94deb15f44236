// A clerk's desk in a process of its own, for the tests that run several
// desks on one database or kill one in the middle of its work. It opens the
// database file as the program does, shows the real main window on the
// offscreen platform and works it with real key events and menu commands:
//
//   kestrin_test_desk register <database> <payload file> [<go file>]
//       scans each line of the payload file as the scanner types it, after
//       <go file> exists when one is named (so that several desks start
//       together);
//   kestrin_test_desk import <database> <backup file> <pause ms>
//       imports the backup file through the window's menu, with the pause
//       between reading and storing shortened to <pause ms>.
//
// It reports on standard output, one line each, flushed at once:
//   READY                      the window is up and about to start;
//   STATE <tab> n <tab> text   the state label after scan n (from 0);
//   ENTER <tab> n <tab> ms     how long the window took to handle its Enter;
//   MESSAGE <tab> text         a message box (the engine's error);
//   BAR <tab> percent          the import's progress bar, when it changes;
//   PROMPT <tab> text          a prompt (the import's result);
//   DONE                       all work ended; the process exits with 0.
#include "app/CKestrinWnd.h"
#include "backup/ImportPause.h"
#include "store/CAdoConnection.h"
#include "store/Statements.h"
#include "ui/CProgressDlg.h"
#include "ui/kit/CControlUI.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/DesktopServices.h"
#include "ui/kit/KitTestSupport.h"
#include "ui/kit/MessageBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <mutex>

namespace {

void Report(const QString& kind, const QString& text = QString())
{
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    QString line = kind;
    if (!text.isNull())
        line += QLatin1Char('\t') + QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fputs(line.toUtf8().append('\n').constData(), stdout);
    std::fflush(stdout);
}

void SendMenuItem(CKestrinWnd& window, const QString& item)
{
    kit::test::Notify(window, item, item);
}

int Register(CKestrinWnd& window, const QString& payloadFile, const QString& goFile)
{
    QFile file(payloadFile);
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const QStringList payloads = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    Report(QStringLiteral("READY"));
    if (!goFile.isEmpty()) {
        while (!QFile::exists(goFile))
            QThread::usleep(500);
    }
    HWND hwnd = window.GetHWND();
    for (qsizetype i = 0; i < payloads.size(); ++i) {
        kit::test::TypeText(hwnd, payloads[i]);
        QElapsedTimer enter;
        enter.start();
        kit::test::PressKey(hwnd, VK_RETURN);
        const qint64 ms = enter.elapsed();
        kit::test::ProcessEvents();
        Report(QStringLiteral("STATE"), QStringLiteral("%1\t%2").arg(i).arg(window.State()));
        Report(QStringLiteral("ENTER"), QStringLiteral("%1\t%2").arg(i).arg(ms));
    }
    return 0;
}

int Import(CKestrinWnd& window, const QString& backupFile, int pauseMs)
{
    ImportPause::SetLength(std::chrono::milliseconds(pauseMs));
    kit::SetOpenFilePicker([backupFile](HWND) { return backupFile; });
    // The result prompt is answered as soon as it is up.
    QTimer answerer;
    answerer.setInterval(5);
    QObject::connect(&answerer, &QTimer::timeout, [] {
        HWND prompt = kit::test::FindWindow(QStringLiteral("CJsAlertDlg"));
        if (prompt == nullptr)
            return;
        auto* dialog = static_cast<WindowImplBase*>(CWindowWnd::FromHandle(prompt));
        Report(QStringLiteral("PROMPT"), dialog->FindControl(QStringLiteral("TextName"))->GetText());
        kit::test::Click(prompt, QStringLiteral("ButtonConfirm"));
        kit::test::WaitForWindowGone(prompt);
    });
    answerer.start();
    // Reading ends below 50 per cent; 100 comes once the invoices are stored.
    CProgressDlg::SetBarObserver([last = -1](int percent) mutable {
        if (percent != last)
            Report(QStringLiteral("BAR"), QString::number(percent));
        last = percent;
    });
    Report(QStringLiteral("READY"));
    SendMenuItem(window, QStringLiteral("menu_import"));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTRIN_ECHO_TARGET", "127.0.0.1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    const QString mode = args[1];

    kit::SetMessageBoxHandler([](const QString& text) { Report(QStringLiteral("MESSAGE"), text); });
    kit::SetOpenUrlHandler([](const QString&) { return true; });
    CPaintManagerUI::SetResourcePath(QStringLiteral(KESTRIN_SKIN_DIR));

    CAdoConnection connection;
    if (!connection.Open(QString(), QString(), QString(), -1, Statements::ConnectionString(args[2])))
        return 3;
    int result = 2;
    {
        CKestrinWnd window(connection);
        if (window.Create(nullptr, QStringLiteral("KestrinWnd"), UI_WNDSTYLE_FRAME, 0, 0, 0, 800, 572) == nullptr)
            return 4;
        window.ShowWindow(true, true);
        kit::test::ProcessEvents(20);
        kit::test::FocusWindow(window.GetHWND());

        if (mode == QLatin1String("register"))
            result = Register(window, args[3], args.value(4));
        else if (mode == QLatin1String("import") && args.size() >= 5)
            result = Import(window, args[3], args[4].toInt());

        window.Close(1);
        kit::test::WaitForWindowGone(window.GetHWND());
    }
    connection.Close();
    if (result == 0)
        Report(QStringLiteral("DONE"));
    return result;
}
