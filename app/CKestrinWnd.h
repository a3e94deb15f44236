#pragma once

#include "backup/BackupWorker.h"
#include "query/QueryRow.h"
#include "registration/InvoiceRecord.h"
#include "ui/kit/WindowImplBase.h"

#include <QString>

#include <cstdint>
#include <map>

class CAdoConnection;
class CCustomWebEventHandler;
class CProgressDlg;

// The program's main window: the scan page with the entry form, the query
// page with the result list, the start page pane and the menu button. It
// dispatches every notification and key to the operation that handles it.
// The operations live beside their subject: the entry form, scanning and
// registration in registration/, the query and deletion in query/, export
// and import in backup/, the start page in app/CKestrinWndStartPage.cpp.
class CKestrinWnd : public WindowImplBase {
public:
    explicit CKestrinWnd(CAdoConnection& connection);
    ~CKestrinWnd() override;

    QString WindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnLayoutReady() override;
    QString SkinFolder() override;
    QString SkinFile() override;
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const QString& className) override;

    // Entry form.
    void ClearInvoiceFields();
    void ClearForm();
    bool ReadForm();
    void FillForm();
    void ShowState(const QString& text, int kind);

    // Scanner payloads and registration.
    bool ParseScan();
    void Register(int autoScan);
    // With `alreadyStored`, a unique key's refusal is not shown but reported there.
    bool InsertInvoice(int autoScan, bool* alreadyStored = nullptr);

    // Date-range query and deletion.
    bool QueryInvoices();
    void FillQueryList();
    void ClearQuery();
    void DeleteSelectedInvoice();

    // Backup export and import.
    void StartExport();
    int RunExport();
    void StartImport();
    int RunImport();
    bool InvoiceExists(QString code, QString number);
    void ShowImportResult(int code, int newInvoices, int duplicates);

    // Start page and connectivity check.
    QString GetStartPageUrl();
    bool LoadIcmpFunctions();
    bool CheckConnectivity();

    // State, for the kit's owners and for tests.
    const QString& ScanBuffer() const { return m_strScanBuffer; }
    const InvoiceRecord& Invoice() const { return m_invoice; }
    const QString& State() const { return m_strState; }
    int CurrentTab() const { return m_nCurTab; }
    const std::map<int32_t, QueryRow>& QueryResult() const { return m_mapQueryResult; }

    // Result of a kind given to ShowState.
    static constexpr int kStateError = 1;
    static constexpr int kStateSuccess = 0;

private:
    void OnClickNotify(TNotifyUI& msg);
    void OnSelectChanged(TNotifyUI& msg);
    void OpenPopupMenu(TNotifyUI& msg);
    void ShowAboutBox();
    void ReleaseWebHandler();
    void AppendScannedCharacter(WPARAM code);
    // Shows a prompt modally over this window (any thread).
    void Prompt(const QString& message);
    // Runs an export or import worker behind a new progress dialog and
    // returns once the worker has ended.
    void RunBackupWorker(const QString& progressText, unsigned (*threadProc)(void*));

    CAdoConnection& m_connection;

    QString m_strScanBuffer;
    InvoiceRecord m_invoice;
    QString m_strState;
    QString m_strBackupDir;
    QString m_strImportFile;
    CProgressDlg* m_pProgressDlg = nullptr;
    std::map<int32_t, QueryRow> m_mapQueryResult;
    int32_t m_nCurTab = 0;
    CCustomWebEventHandler* m_pWebHandler = nullptr;
    // Declared last: destroyed first, it waits for a running worker.
    BackupWorker m_backupWorker;
};
