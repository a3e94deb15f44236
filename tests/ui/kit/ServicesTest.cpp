#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/CRenderEngine.h"
#include "ui/kit/DesktopServices.h"
#include "ui/kit/KitTestSupport.h"
#include "ui/kit/MessageBox.h"
#include "ui/kit/ScreenMessageBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <thread>

TEST(DesktopServices, HandlersReplaceTheDesktopAndCanBeRestored)
{
    QString opened;
    kit::OpenUrlHandler previous = kit::SetOpenUrlHandler([&](const QString& url) {
        opened = url;
        return true;
    });
    EXPECT_TRUE(kit::OpenUrl("http://127.0.0.1/site"));
    EXPECT_EQ(opened, QStringLiteral("http://127.0.0.1/site"));
    kit::SetOpenUrlHandler(previous);

    kit::SetFolderPicker([](HWND owner, const QString& title) { return owner ? QString() : title + "/dir"; });
    EXPECT_EQ(kit::PickFolder(nullptr, "请选择路径:"), QStringLiteral("请选择路径:/dir"));
    kit::SetFolderPicker(nullptr);

    kit::SetOpenFilePicker([](HWND) { return QString(); });
    EXPECT_EQ(kit::PickOpenFile(nullptr), QString()) << "cancel";
    kit::SetOpenFilePicker(nullptr);
}

TEST(ScreenMessageBox, AWorkerWaitsForTheBoxShownOnTheGuiThread)
{
    kit::InstallScreenMessageBox();
    std::atomic<bool> returned{false};
    QString title;
    QString text;
    bool onGuiThread = false;
    bool workerWaited = false;
    // The box runs its own loop: look for it from a timer inside that loop.
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        title = box->windowTitle();
        text = box->text();
        onGuiThread = box->thread() == QApplication::instance()->thread();
        QThread::msleep(50);
        workerWaited = !returned;
        box->button(QMessageBox::Ok)->click();
    });
    poll.start();
    std::thread worker([&] {
        kit::ShowMessageBox("数据库错误");
        returned = true;
    });
    ASSERT_TRUE(kit::test::WaitUntil([&] { return returned.load(); }));
    worker.join();
    EXPECT_EQ(title, QStringLiteral("Kestrin"));
    EXPECT_EQ(text, QStringLiteral("数据库错误"));
    EXPECT_TRUE(onGuiThread);
    EXPECT_TRUE(workerWaited);
    kit::SetMessageBoxHandler(nullptr);
}

TEST(RenderEngine, CornersKeepTheirSizeWhileTheMiddleStretches)
{
    QTemporaryDir dir;
    // 12x12 image: 4-pixel red border, blue middle.
    QImage source(12, 12, QImage::Format_ARGB32);
    source.fill(Qt::red);
    for (int y = 4; y < 8; ++y)
        for (int x = 4; x < 8; ++x)
            source.setPixelColor(x, y, Qt::blue);
    ASSERT_TRUE(source.save(dir.filePath("frame.png")));

    CPaintManagerUI manager;
    manager.SetResourceFolder(dir.path());
    QImage target(60, 40, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    {
        QPainter painter(&target);
        EXPECT_TRUE(CRenderEngine::DrawImage(painter, &manager, target.rect(),
                                             "file='frame.png' corner='4,4,4,4'"));
        EXPECT_FALSE(CRenderEngine::DrawImage(painter, &manager, target.rect(), "file='missing.png'"));
    }
    EXPECT_EQ(target.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(3, 20), QColor(Qt::red)) << "the left border stays 4 wide";
    EXPECT_EQ(target.pixelColor(5, 20), QColor(Qt::blue));
    EXPECT_EQ(target.pixelColor(56, 20), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(30, 36), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(30, 20), QColor(Qt::blue));
}
