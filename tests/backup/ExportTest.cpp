#include "tests/backup/BackupTestFiles.h"
#include "tests/backup/BackupWindowFixture.h"

#include "backup/BackupField.h"
#include "store/Statements.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/DesktopServices.h"
#include "ui/CProgressDlg.h"
#include "ui/kit/KitTestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace {

using ExportTest = BackupWindowFixture;

const QString kNoData = QStringLiteral("导出失败，未读取到有效数据！");

QString Exported(int count)
{
    return QStringLiteral("导出成功，共计导出%1条数据！").arg(count);
}

TEST_F(ExportTest, ThreeRowsMoveTheBarTo33And66And100AndTheFileIsClosedBeforeTheMessage)
{
    for (int n = 1; n <= 3; ++n)
        Store(Invoice(n), QStringLiteral("备注"));
    QByteArray fileAtPrompt;
    bool dialogGoneAtPrompt = false;
    const QStringList prompts = Export([&] {
        fileAtPrompt = ReadBytes(QDir(ExportFolder()).filePath(BackupFiles().value(0)));
        dialogGoneAtPrompt = kit::test::FindWindow(QStringLiteral("CProgressDlg")) == nullptr
            && g_bProgressOpen.load() == 0;
    });

    EXPECT_EQ(prompts, QStringList{Exported(3)});
    EXPECT_EQ(BarValues(), (std::vector<int>{33, 66, 100}));
    EXPECT_TRUE(dialogGoneAtPrompt);
    // The remark is not carried; dates are yyyy-mm-dd; every line ends in CR LF.
    EXPECT_EQ(fileAtPrompt, Line(Invoice(1)) + Line(Invoice(2)) + Line(Invoice(3)));
    ASSERT_EQ(BackupFiles().size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Backup\\d{14}\\.dat$")).match(BackupFiles().at(0)).hasMatch());
}

TEST_F(ExportTest, ManyRowsMoveTheBarOncePerPercentUpTo100)
{
    for (int n = 1; n <= 250; ++n)
        Store(Invoice(n));
    EXPECT_EQ(Export(), QStringList{Exported(250)});
    std::vector<int> expected;
    for (int percent = 1; percent <= 100; ++percent)
        expected.push_back(percent);
    EXPECT_EQ(BarValues(), expected);
}

TEST_F(ExportTest, AnEmptyTableLeavesAnEmptyFileNamedAfterTheTime)
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    EXPECT_EQ(Export(), QStringList{kNoData});
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    ASSERT_EQ(BackupFiles().size(), 1);
    const QString name = BackupFiles().at(0);
    EXPECT_EQ(name.size(), 24);
    const QDateTime stamp = QDateTime::fromString(name.mid(6, 14), QStringLiteral("yyyyMMddHHmmss"));
    EXPECT_TRUE(stamp >= before && stamp <= after) << name.toStdString();
    EXPECT_TRUE(ReadBytes(QDir(ExportFolder()).filePath(name)).isEmpty());
    EXPECT_EQ(g_bProgressOpen.load(), 0);
}

TEST_F(ExportTest, TwoExportsInOneSecondAppendToOneFile)
{
    Store(Invoice(1));
    Store(Invoice(2));
    // Both exports must fall into one second: start early in a second, and
    // try again in the rare case that they still straddle two.
    for (int attempt = 0; attempt < 3; ++attempt) {
        for (const QString& name : BackupFiles())
            QFile::remove(QDir(ExportFolder()).filePath(name));
        while (QDateTime::currentDateTime().time().msec() > 100)
            QThread::msleep(5);
        EXPECT_EQ(Export(), QStringList{Exported(2)});
        EXPECT_EQ(Export(), QStringList{Exported(2)});
        if (BackupFiles().size() == 1)
            break;
    }
    ASSERT_EQ(BackupFiles().size(), 1);
    const QByteArray once = Line(Invoice(1)) + Line(Invoice(2));
    EXPECT_EQ(ReadBytes(QDir(ExportFolder()).filePath(BackupFiles().at(0))), once + once);
}

TEST_F(ExportTest, CancellingTheFolderPickerDoesNothing)
{
    Store(Invoice(1));
    m_folderAnswer.clear();
    EXPECT_TRUE(Export().isEmpty());
    EXPECT_TRUE(BackupFiles().isEmpty());
    EXPECT_TRUE(BarValues().empty());
}

// The clerk closes the progress dialog while the worker waits for a database
// that another program holds locked. The export goes on to the end without
// touching the closed dialog; the menu command returns only after the
// worker has finished and its message was shown.
TEST_F(ExportTest, ClosingTheDialogEarlyStillGivesTheWholeFileAndTheMessage)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (shell.isEmpty())
        GTEST_SKIP() << "the sqlcipher shell is not installed";
    for (int n = 1; n <= 3; ++n)
        Store(Invoice(n));

    QProcess other;
    other.setProcessChannelMode(QProcess::MergedChannels);
    other.start(shell, {Database().Path()});
    ASSERT_TRUE(other.waitForStarted());
    other.write("PRAGMA key='wzqp';\nBEGIN EXCLUSIVE;\n.print locked\n");
    QByteArray output;
    while (!output.contains("locked") && other.waitForReadyRead(10000))
        output += other.readAll();
    ASSERT_TRUE(output.contains("locked")) << output.constData();

    bool closedByClerk = false;
    kit::test::WhenWindowShown(QStringLiteral("CProgressDlg"), [&](HWND dialog) {
        kit::test::Click(dialog, QStringLiteral("closebtn"));
        kit::test::WaitForWindowGone(dialog);
        closedByClerk = g_bProgressOpen.load() == 0;
        other.write("COMMIT;\n");
        other.closeWriteChannel();
    });
    const QStringList prompts = Export();

    EXPECT_TRUE(closedByClerk);
    EXPECT_EQ(prompts, QStringList{Exported(3)});
    EXPECT_TRUE(BarValues().empty()) << "the closed dialog was touched";
    ASSERT_EQ(BackupFiles().size(), 1);
    EXPECT_EQ(ReadBytes(QDir(ExportFolder()).filePath(BackupFiles().at(0))),
              Line(Invoice(1)) + Line(Invoice(2)) + Line(Invoice(3)));
    other.waitForFinished(10000);
    EXPECT_EQ(other.state(), QProcess::NotRunning);
    EXPECT_EQ(other.exitCode(), 0) << (output + other.readAll()).constData();
}

TEST_F(ExportTest, InvoicesTheFileCannotCarryAreLeftOutAndCounted)
{
    QStringList comma = Invoice(2);
    comma[BackupValue] = QStringLiteral("1,000.00");
    QStringList lineBreak = Invoice(3);
    lineBreak[BackupCheckCode] = QStringLiteral("1234\n5678");
    QStringList wide = Invoice(4);
    wide[BackupTopType] = QStringLiteral("专票");
    QStringList latin1 = Invoice(5);
    latin1[BackupCheckCode] = QStringLiteral("Ré-ø");
    Store(Invoice(1), QStringLiteral("中文备注不影响导出"));
    Store(comma);
    Store(lineBreak);
    Store(wide);
    Store(latin1);

    EXPECT_EQ(Export(), QStringList{Exported(2) + QStringLiteral("有3条数据无法写入备份文件（内容含有逗号；"
                                                                "内容含有换行符；内容含有汉字等无法写入备份文件的字符），未导出！")});
    ASSERT_EQ(BackupFiles().size(), 1);
    const QByteArray file = ReadBytes(QDir(ExportFolder()).filePath(BackupFiles().at(0)));
    EXPECT_EQ(file, Line(Invoice(1)) + Line(latin1)) << file.toStdString();
    EXPECT_EQ(BarValues().back(), 100);
}

TEST_F(ExportTest, AFolderThatCannotTakeTheFileEndsTheExportWithItsReason)
{
    Store(Invoice(1));
    m_folderAnswer = QDir(ExportFolder()).filePath(QStringLiteral("missing"));
    const QStringList prompts = Export();
    ASSERT_EQ(prompts.size(), 1);
    EXPECT_TRUE(prompts.at(0).startsWith(QStringLiteral("导出失败："))) << prompts.at(0).toStdString();
    EXPECT_TRUE(prompts.at(0).contains(m_folderAnswer)) << prompts.at(0).toStdString();
    EXPECT_FALSE(QFileInfo::exists(m_folderAnswer));
    EXPECT_EQ(g_bProgressOpen.load(), 0);
    EXPECT_EQ(kit::test::FindWindow(QStringLiteral("CProgressDlg")), nullptr);
}

// Files may grow to a little more than one line: the second line's write
// fails part-way (as on a full disk), and the export stops there.
TEST_F(ExportTest, AFailedWriteEndsTheExportAndKeepsTheWholeLinesBeforeIt)
{
    for (int n = 1; n <= 3; ++n)
        Store(Invoice(n));
    const QByteArray first = Line(Invoice(1));

    FileSizeLimit limit(first.size() + first.size() / 2);
    ASSERT_TRUE(limit.IsActive());
    const QStringList prompts = Export();
    limit.Lift();

    ASSERT_EQ(prompts.size(), 1);
    EXPECT_TRUE(prompts.at(0).startsWith(QStringLiteral("导出失败："))) << prompts.at(0).toStdString();
    EXPECT_TRUE(prompts.at(0).contains(QStringLiteral("已写入备份文件的1条数据完整可用"))) << prompts.at(0).toStdString();
    ASSERT_EQ(BackupFiles().size(), 1);
    EXPECT_EQ(ReadBytes(QDir(ExportFolder()).filePath(BackupFiles().at(0))), first);
    EXPECT_EQ(g_bProgressOpen.load(), 0);
}

TEST(ExportWithoutDatabase, ShowsTheDatabaseErrorClosesTheDialogAndLeavesAnEmptyFile)
{
    // The program's connection never opened; the database error is the only message.
    qputenv("KESTRIN_ECHO_TARGET", "127.0.0.1");
    MessageBoxCapture messages;
    CAdoConnection connection;
    EXPECT_FALSE(connection.Open(QString(), QString(), QString(), -1,
                                 Statements::ConnectionString(QStringLiteral("/nonexistent/invoice.ss"))));
    QTemporaryDir folder;
    kit::SetFolderPicker([&](HWND, const QString&) { return folder.path(); });
    CPaintManagerUI::SetResourcePath(QStringLiteral(KESTRIN_SKIN_DIR));
    CKestrinWnd window(connection);
    ASSERT_NE(window.Create(nullptr, QStringLiteral("KestrinWnd"), UI_WNDSTYLE_FRAME, 0, 0, 0, 800, 572), nullptr);
    window.ShowWindow();
    kit::test::ProcessEvents(20);
    messages.Clear();
    QStringList prompts;
    {
        PromptAnswerer answerer;
        SendMenuItem(window, QStringLiteral("menu_export"));
        prompts = answerer.Texts();
    }
    kit::SetFolderPicker({});

    EXPECT_TRUE(prompts.isEmpty()) << prompts.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(messages.Messages().size(), 1);
    EXPECT_EQ(g_bProgressOpen.load(), 0);
    const QStringList files = QDir(folder.path()).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(QFileInfo(QDir(folder.path()).filePath(files.at(0))).size(), 0);
    window.Close(1);
    kit::test::WaitForWindowGone(window.GetHWND());
}

} // namespace
