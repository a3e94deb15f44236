#include "tests/backup/BackupWindowFixture.h"

#include "backup/BackupField.h"
#include "backup/ImportPause.h"
#include "store/Statements.h"
#include "tests/backup/BackupTestFiles.h"
#include "ui/CProgressDlg.h"
#include "ui/kit/CControlUI.h"
#include "ui/kit/DesktopServices.h"
#include "ui/kit/KitTestSupport.h"

#include <QDir>
#include <QTimer>

PromptAnswerer::PromptAnswerer(std::function<void()> onShown)
    : m_timer(new QTimer), m_onShown(std::move(onShown))
{
    m_timer->setInterval(5);
    QObject::connect(m_timer, &QTimer::timeout, [this] {
        HWND prompt = kit::test::FindWindow(QStringLiteral("CJsAlertDlg"));
        if (prompt == nullptr)
            return;
        auto* window = static_cast<WindowImplBase*>(CWindowWnd::FromHandle(prompt));
        m_texts << window->FindControl(QStringLiteral("TextName"))->GetText();
        if (m_onShown)
            m_onShown();
        kit::test::Click(prompt, QStringLiteral("ButtonConfirm"));
        kit::test::WaitForWindowGone(prompt);
    });
    m_timer->start();
}

PromptAnswerer::~PromptAnswerer()
{
    delete m_timer;
}

void BackupWindowFixture::SetUp()
{
    ASSERT_TRUE(m_exportDir.isValid());
    ASSERT_TRUE(m_scratchDir.isValid());
    m_folderAnswer = m_exportDir.path();
    kit::SetFolderPicker([this](HWND, const QString&) { return m_folderAnswer; });
    kit::SetOpenFilePicker([this](HWND) { return m_fileAnswer; });
    ImportPause::SetLength(std::chrono::milliseconds(kTestPauseMs));
    CProgressDlg::SetBarObserver([this](int percent) { m_barValues.push_back(percent); });
    MainWindowFixture::SetUp();
}

void BackupWindowFixture::TearDown()
{
    MainWindowFixture::TearDown();
    CProgressDlg::SetBarObserver({});
    ImportPause::SetLength(ImportPause::kDefaultLength);
    kit::SetOpenFilePicker({});
    kit::SetFolderPicker({});
}

void BackupWindowFixture::Store(const QStringList& fields, const QString& remark)
{
    // Dates go in as date literals, or as Null when there is none.
    auto date = [](const QString& text) {
        return text.isEmpty() ? QStringLiteral("Null") : QStringLiteral("#%1#").arg(text);
    };
    const QString statement =
        QStringLiteral("INSERT INTO INVOICE(INV_TOPTYPE, INV_SUBTYPE, INV_NUMBER, INV_CODE, INV_VALUE, "
                       "INV_DATE, INV_CHECKCODE, INV_STATUS, INV_CHECKBIT, INV_OPDATE, IS_AUTOSCAN, "
                       "INV_BACKUP) VALUES('%s','%s','%s','%s','%s',")
        + date(fields.value(5))
        + QStringLiteral(",'%s','%s','%s',") + date(fields.value(9)) + QStringLiteral(",'%s','%s')");
    // Through the window's connection (idle between commands): opening a
    // connection of its own per row would cost a key derivation each time.
    const bool stored = Database().Connection().Execute(Statements::Format(
        statement, {fields.value(0), fields.value(1), fields.value(2), fields.value(3), fields.value(4),
                    fields.value(6), fields.value(7), fields.value(8), fields.value(10), remark}));
    ASSERT_TRUE(stored) << Database().Messages().join(QLatin1Char('\n')).toStdString();
}

void SendMenuItem(CKestrinWnd& window, const QString& item)
{
    kit::test::Notify(window, item, item);
}

QStringList BackupWindowFixture::Export(const std::function<void()>& onPrompt)
{
    PromptAnswerer prompts(onPrompt);
    SendMenuItem(Window(), QStringLiteral("menu_export"));
    return prompts.Texts();
}

QStringList BackupWindowFixture::Import(const QString& file)
{
    return Import(Window(), file);
}

QStringList BackupWindowFixture::Import(CKestrinWnd& window, const QString& file)
{
    m_fileAnswer = file;
    PromptAnswerer prompts;
    SendMenuItem(window, QStringLiteral("menu_import"));
    return prompts.Texts();
}

QStringList BackupWindowFixture::ImportThroughWindowOn(TempInvoiceDatabase& database, const QString& file, int times)
{
    CKestrinWnd window(database.Connection());
    if (window.Create(nullptr, QStringLiteral("KestrinWnd"), UI_WNDSTYLE_FRAME, 0, 0, 0, 800, 572) == nullptr) {
        ADD_FAILURE() << "no main window on the database";
        return {};
    }
    window.ShowWindow();
    QStringList prompts;
    for (int i = 0; i < times; ++i)
        prompts += Import(window, file);
    window.Close(1);
    kit::test::WaitForWindowGone(window.GetHWND());
    return prompts;
}

void BackupWindowFixture::StoreInvoicesOfEveryShape()
{
    QStringList undated = Invoice(2);
    undated[BackupDate].clear();
    undated[BackupTopType].clear();
    undated[BackupSubType].clear();
    undated[BackupAutoScan] = QStringLiteral("0");
    QStringList unusual = Invoice(3);
    unusual[BackupCheckCode] = QStringLiteral("12'34 é#");
    unusual[BackupCheckBit] = QStringLiteral("12345");
    unusual[BackupOpDate] = QStringLiteral("2024-04-01 13:45:10");
    Store(Invoice(1), QStringLiteral("中文备注"));
    Store(undated);
    Store(unusual);
}

QStringList BackupWindowFixture::BackupFiles() const
{
    QDir folder(m_exportDir.path());
    return folder.entryList({QStringLiteral("Backup*.dat")}, QDir::Files, QDir::Name);
}

QString BackupWindowFixture::WriteImportFile(const QByteArray& bytes)
{
    const QString path = m_scratchDir.filePath(QStringLiteral("import%1.dat").arg(++m_nScratchFiles));
    EXPECT_TRUE(WriteBytes(path, bytes));
    return path;
}

int BackupWindowFixture::CountInvoices()
{
    return static_cast<int>(Database().ReadRows(QStringLiteral("select * from INVOICE")).size());
}

QStringList BackupWindowFixture::Invoice(int n)
{
    const QString number = QStringLiteral("%1").arg(10000000 + n);
    return {QStringLiteral("01"),        QStringLiteral("04"),   number,
            QStringLiteral("144031900111"), QStringLiteral("%1.50").arg(100 + n),
            QStringLiteral("2024-03-05"), QStringLiteral("12345678901234567890"),
            QStringLiteral("1"),         QString(),              QStringLiteral("2024-04-01"),
            QStringLiteral("1")};
}

QByteArray BackupWindowFixture::Line(const QStringList& fields)
{
    return fields.join(QLatin1Char(',')).toLatin1() + "\r\n";
}
