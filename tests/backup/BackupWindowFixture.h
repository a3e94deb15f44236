#pragma once

#include "tests/support/MainWindowFixture.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <vector>

class QTimer;

// Answers every prompt (CJsAlertDlg) shown while it lives, from the event
// loop: records its first text, runs `onShown` while the prompt is still
// up, then clicks its confirm button as the clerk would.
class PromptAnswerer {
public:
    explicit PromptAnswerer(std::function<void()> onShown = {});
    ~PromptAnswerer();
    PromptAnswerer(const PromptAnswerer&) = delete;
    PromptAnswerer& operator=(const PromptAnswerer&) = delete;

    const QStringList& Texts() const { return m_texts; }

private:
    QTimer* m_timer;
    QStringList m_texts;
    std::function<void()> m_onShown;
};

// Chooses a popup menu item ("menu_export", "menu_import") of the window.
void SendMenuItem(CKestrinWnd& window, const QString& item);

// The main window on a fresh database, with the folder picker answering
// ExportFolder(), the file picker answering the file given to Import, a
// short import pause (see kTestPause), and every value the progress bar is
// given recorded in BarValues().
class BackupWindowFixture : public MainWindowFixture {
public:
    // Invoice n: the eleven fields of a backup line (BackupField order).
    static QStringList Invoice(int n);
    // The line the export writes for these fields, with its CR LF.
    static QByteArray Line(const QStringList& fields);

protected:
    void SetUp() override;
    void TearDown() override;

    // One stored invoice: the eleven columns of a backup line in BackupField
    // order, dates as yyyy-mm-dd or empty for none, plus the remark.
    void Store(const QStringList& fields, const QString& remark = QString());
    // Three invoices that take every path of a backup line: invoice 1 with
    // a Chinese remark, a typed one without date and types, and one with an
    // apostrophe and accents in its check code, a long check bit and a time
    // in its registration date.
    void StoreInvoicesOfEveryShape();

    // Chooses the export through the window's menu; returns the prompts the
    // export showed (each answered). `onPrompt` runs while a prompt is up.
    QStringList Export(const std::function<void()>& onPrompt = {});
    QStringList Import(const QString& file);
    QStringList Import(CKestrinWnd& window, const QString& file);
    // Imports `file` `times` times through a main window of its own on
    // `database`, closed afterwards; returns the prompts of every import.
    QStringList ImportThroughWindowOn(TempInvoiceDatabase& database, const QString& file, int times = 1);

    QString ExportFolder() const { return m_exportDir.path(); }
    // Backup files in the export folder, sorted by name.
    QStringList BackupFiles() const;
    // A file in the test's scratch folder holding exactly `bytes`.
    QString WriteImportFile(const QByteArray& bytes);
    int CountInvoices();

    const std::vector<int>& BarValues() const { return m_barValues; }

    static constexpr int kTestPauseMs = 10;

    QString m_folderAnswer;
    QString m_fileAnswer;

private:
    QTemporaryDir m_exportDir;
    QTemporaryDir m_scratchDir;
    int m_nScratchFiles = 0;
    std::vector<int> m_barValues;
};
