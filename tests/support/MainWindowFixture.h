#pragma once

#include "app/CKestrinWnd.h"
#include "tests/support/TempInvoiceDatabase.h"
#include "ui/kit/KitTestSupport.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

class CControlUI;
class CListUI;

// The real main window on a fresh database (an encrypted file unless the
// test chooses the server), shown on the offscreen platform with the
// program's own layout. Addresses that the window would open with the
// desktop are recorded instead; message boxes are captured.
class MainWindowFixture : public ::testing::Test {
public:
    // Writes a data link file as the system's editor of such files does:
    // UTF-16 with a byte-order mark, the "[oledb]" header and a comment line
    // before the connection string.
    static bool WriteDataLinkFile(const QString& path, const QString& connectionString);

protected:
    void SetUp() override;
    void TearDown() override;

    CKestrinWnd& Window() { return *m_window; }
    HWND Hwnd() const { return m_window->GetHWND(); }
    TempInvoiceDatabase& Database() { return *m_database; }
    CControlUI* Control(const QString& name) const;
    QString Text(const QString& name) const;

    // Types `payload` as a scanner does (its characters, then Enter) into
    // the window, which has the keyboard focus as it would after a click.
    void Scan(const QString& payload);
    bool Click(const QString& controlName);
    // Types into an edit box or date field by clicking it first.
    bool TypeInto(const QString& controlName, const QString& text);
    // The colour of the state label, 0xAARRGGBB.
    DWORD StateColor() const;
    // Clicks the control, answers a prompt shown meanwhile and returns its
    // text (empty when none was shown).
    QString ClickAnsweringPrompt(const QString& controlName);

    // The query page: a query over the optional dates (yyyy-mm-dd) that
    // returns its prompt, the result list, one column of it row by row, and
    // the deletion of a row that returns its prompt.
    QString Query(const QString& start = {}, const QString& end = {});
    CListUI& List() const;
    QStringList Column(int column) const;
    QString DeleteRow(int row);

    // Creates the window; tests that need to prepare the database first
    // call it themselves (SetUp does unless `m_createWindowInSetUp` is false).
    void CreateWindow();

    bool m_createWindowInSetUp = true;
    // Chosen before SetUp: the binding of the fresh database, and whether
    // the window's connection is opened as start-up opens it when an
    // "invoice.udl" lies beside the program (the data link file names the
    // database; the encrypted file's string given with it is not used).
    engine::ProviderKind m_provider = engine::ProviderKind::SqlCipher;
    bool m_openThroughDataLinkFile = false;
    QStringList m_openedUrls;

private:
    std::unique_ptr<TempInvoiceDatabase> m_database;
    std::unique_ptr<CKestrinWnd> m_window;
};
