#include "app/CKestrinWnd.h"

#include "backup/BackupFileName.h"
#include "backup/ImportPause.h"
#include "backup/InvoiceExporter.h"
#include "backup/InvoiceImporter.h"
#include "store/CAdoConnection.h"
#include "ui/CProgressDlg.h"
#include "ui/kit/DesktopServices.h"
#include "ui/kit/GuiThread.h"

#include <QDateTime>

namespace {

// The worker's touches of the progress dialog. The flag says whether the
// dialog is still open; the dialog drops what reaches it after it closed.
void MoveBar(CProgressDlg* dialog, int percent)
{
    if (dialog != nullptr && g_bProgressOpen.load() == 1)
        dialog->SetProgress(percent);
}

void CloseProgress(CProgressDlg* dialog)
{
    MoveBar(dialog, 100);
    if (dialog != nullptr && g_bProgressOpen.load() == 1)
        dialog->Close(1);
}

unsigned ExportThreadProc(void* param)
{
    static_cast<CKestrinWnd*>(param)->RunExport();
    return 0;
}

unsigned ImportThreadProc(void* param)
{
    static_cast<CKestrinWnd*>(param)->RunImport();
    return 0;
}

QString ExportMessage(const InvoiceExporter::Result& result)
{
    using Outcome = InvoiceExporter::Outcome;
    QString skipped;
    if (result.rowsSkipped > 0) {
        skipped = QStringLiteral("有%1条数据无法写入备份文件（%2），未导出！")
                      .arg(result.rowsSkipped)
                      .arg(result.skipReasons.join(QStringLiteral("；")));
    }
    switch (result.outcome) {
    case Outcome::QueryFailed:
        return QString();
    case Outcome::FileFailed:
    case Outcome::ReadFailed: {
        QString text = QStringLiteral("导出失败：%1。").arg(result.error);
        if (result.rowsWritten > 0)
            text += QStringLiteral("已写入备份文件的%1条数据完整可用。").arg(result.rowsWritten);
        return text + skipped;
    }
    case Outcome::Done:
        break;
    }
    if (result.rowsWritten == 0 && result.rowsSkipped == 0)
        return QStringLiteral("导出失败，未读取到有效数据！");
    if (result.rowsWritten == 0)
        return QStringLiteral("导出失败，") + skipped;
    return QStringLiteral("导出成功，共计导出%1条数据！").arg(result.rowsWritten) + skipped;
}

} // namespace

void CKestrinWnd::StartExport()
{
    m_backupWorker.Wait();
    const QString folder = kit::PickFolder(GetHWND(), QStringLiteral("请选择路径:"));
    if (folder.isEmpty())
        return;
    m_strBackupDir = folder;
    RunBackupWorker(QStringLiteral("数据导出进行中，请稍后……"), ExportThreadProc);
}

int CKestrinWnd::RunExport()
{
    const QString path =
        BackupFileName::Join(m_strBackupDir, BackupFileName::For(QDateTime::currentDateTime()));
    CProgressDlg* dialog = m_pProgressDlg;
    bool closeAsked = false;
    const InvoiceExporter::Result result =
        InvoiceExporter::Export(m_connection, path, [dialog, &closeAsked](int percent) {
            if (percent < 100) {
                MoveBar(dialog, percent);
            } else {
                CloseProgress(dialog);
                closeAsked = true;
            }
        });
    // The last row closes the dialog; an empty table or an export that
    // ended early leaves it open until now.
    if (!closeAsked)
        CloseProgress(dialog);
    const QString message = ExportMessage(result);
    if (!message.isEmpty())
        Prompt(message);
    return result.rowsWritten;
}

void CKestrinWnd::StartImport()
{
    m_backupWorker.Wait();
    const QString file = kit::PickOpenFile(GetHWND());
    if (file.isEmpty())
        return;
    m_strImportFile = file;
    RunBackupWorker(QStringLiteral("数据导入进行中，请稍后……"), ImportThreadProc);
}

int CKestrinWnd::RunImport()
{
    CProgressDlg* dialog = m_pProgressDlg;
    InvoiceImporter importer(m_connection);
    int code = importer.ReadFile(
        m_strImportFile,
        [this](const QString& code, const QString& number) { return InvoiceExists(code, number); },
        [dialog](int percent) { MoveBar(dialog, percent); });
    if (code == 0) {
        ImportPause::Sleep();
        code = importer.Store();
    }
    CloseProgress(dialog);
    ShowImportResult(code, importer.NewInvoices(), importer.Duplicates());
    return code;
}

bool CKestrinWnd::InvoiceExists(QString code, QString number)
{
    return InvoiceImporter::IsStored(m_connection, code, number);
}

void CKestrinWnd::ShowImportResult(int code, int newInvoices, int duplicates)
{
    QString message;
    switch (code) {
    case InvoiceImporter::kFormatError:
        message = QStringLiteral("备份文件格式有误，导入失败！");
        break;
    case InvoiceImporter::kNoLines:
        message = QStringLiteral("解析文件有误，未找到正确的发票信息！");
        break;
    case InvoiceImporter::kAllStored:
        message = QStringLiteral("文件中的发票信息都已存在，请勿重复导入！");
        break;
    case InvoiceImporter::kStored:
        message = duplicates == 0
            ? QStringLiteral("成功导入%1条数据！").arg(newInvoices)
            : QStringLiteral("成功导入%1条数据,有%2条数据在系统中已经存在！").arg(newInvoices).arg(duplicates);
        break;
    case InvoiceImporter::kStoreFailed:
        message = QStringLiteral("操作数据库出错，请重新尝试！");
        break;
    case InvoiceImporter::kOpenFailed:
        message = QStringLiteral("打开备份文件失败！");
        break;
    default:
        return;
    }
    Prompt(message);
}

void CKestrinWnd::RunBackupWorker(const QString& progressText, unsigned (*threadProc)(void*))
{
    m_pProgressDlg = new CProgressDlg;
    m_pProgressDlg->SetMessage(progressText);
    m_pProgressDlg->Create(GetHWND(), QStringLiteral("提示"), UI_WNDSTYLE_DIALOG, 0);
    m_pProgressDlg->CenterWindow();
    g_bProgressOpen = 1;
    m_backupWorker.Start([this, threadProc] { threadProc(this); });
    m_pProgressDlg->ShowModal();
    // The dialog is gone (also when its window could not be made).
    g_bProgressOpen = 0;
    // The clerk may have closed the dialog early. The worker still uses the
    // one database connection, so the window takes no commands until it has
    // ended and its message has been dismissed.
    m_backupWorker.Wait();
    delete m_pProgressDlg;
    m_pProgressDlg = nullptr;
}
