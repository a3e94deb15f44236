#include "tests/support/MainWindowFixture.h"

#include "store/Statements.h"
#include "ui/kit/CLabelUI.h"
#include "ui/kit/CListUI.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/DesktopServices.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <memory>

void MainWindowFixture::SetUp()
{
    // Start pages and echo requests stay on this machine.
    qputenv("KESTRIN_ECHO_TARGET", "127.0.0.1");
    CPaintManagerUI::SetResourcePath(QStringLiteral(KESTRIN_SKIN_DIR));
    kit::SetOpenUrlHandler([this](const QString& url) {
        m_openedUrls << url;
        return true;
    });
    using Connect = TempInvoiceDatabase::Connect;
    m_database = std::make_unique<TempInvoiceDatabase>(m_provider,
                                                       m_openThroughDataLinkFile ? Connect::No : Connect::Yes);
    ASSERT_TRUE(m_database->IsValid()) << m_database->Error().toStdString();
    if (m_openThroughDataLinkFile) {
        const QDir folder(m_database->Directory());
        const QString link = folder.filePath(QStringLiteral("invoice.udl"));
        ASSERT_TRUE(WriteDataLinkFile(link, m_database->ConnectionString()));
        // No encrypted file lies there: only the data link file can open a database.
        ASSERT_TRUE(m_database->Connection().Open(
            QString(), QString(), link, -1,
            Statements::ConnectionString(folder.filePath(QStringLiteral("missing-") + Statements::DatabaseFileName))))
            << m_database->Messages().join(QLatin1Char('\n')).toStdString();
    }
    if (m_createWindowInSetUp)
        CreateWindow();
}

void MainWindowFixture::CreateWindow()
{
    m_window = std::make_unique<CKestrinWnd>(m_database->Connection());
    ASSERT_NE(m_window->Create(nullptr, QStringLiteral("KestrinWnd"), UI_WNDSTYLE_FRAME, 0, 0, 0, 800, 572),
              nullptr);
    m_window->CenterWindow();
    m_window->ShowWindow(true, true);
    kit::test::ProcessEvents(20);
    kit::test::FocusWindow(Hwnd());
}

void MainWindowFixture::TearDown()
{
    if (m_window && m_window->GetHWND() != nullptr) {
        HWND hwnd = m_window->GetHWND();
        m_window->Close(1);
        kit::test::WaitForWindowGone(hwnd);
    }
    m_window.reset();
    m_database.reset();
    kit::SetOpenUrlHandler({});
}

CControlUI* MainWindowFixture::Control(const QString& name) const
{
    return m_window->FindControl(name);
}

QString MainWindowFixture::Text(const QString& name) const
{
    const CControlUI* control = Control(name);
    return control != nullptr ? control->GetText() : QString();
}

void MainWindowFixture::Scan(const QString& payload)
{
    kit::test::TypeText(Hwnd(), payload);
    kit::test::PressKey(Hwnd(), VK_RETURN);
    kit::test::ProcessEvents();
}

bool MainWindowFixture::Click(const QString& controlName)
{
    const bool clicked = kit::test::Click(Control(controlName));
    kit::test::ProcessEvents();
    return clicked;
}

bool MainWindowFixture::TypeInto(const QString& controlName, const QString& text)
{
    return kit::test::TypeInto(Control(controlName), text);
}

DWORD MainWindowFixture::StateColor() const
{
    const auto* label = dynamic_cast<const CLabelUI*>(Control(QStringLiteral("textState")));
    return label != nullptr ? label->GetTextColor() : 0;
}

bool MainWindowFixture::WriteDataLinkFile(const QString& path, const QString& connectionString)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray bytes =
        encoder.encode(QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n")
                       + connectionString + QStringLiteral("\r\n"));
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString MainWindowFixture::ClickAnsweringPrompt(const QString& controlName)
{
    // The prompt may outlive this call's interest in it: the flag, shared
    // with the handler, keeps a late prompt from writing into a gone frame.
    auto prompt = std::make_shared<QString>();
    auto listening = std::make_shared<bool>(true);
    kit::test::WhenWindowShown(QStringLiteral("CJsAlertDlg"), [prompt, listening](HWND dlg) {
        if (!*listening)
            return;
        auto* window = static_cast<WindowImplBase*>(CWindowWnd::FromHandle(dlg));
        *prompt = window->FindControl(QStringLiteral("TextName"))->GetText();
        kit::test::Click(dlg, QStringLiteral("ButtonConfirm"));
    });
    EXPECT_TRUE(Click(controlName)) << controlName.toStdString();
    *listening = false;
    return *prompt;
}

QString MainWindowFixture::Query(const QString& start, const QString& end)
{
    EXPECT_TRUE(Click("queryclearbtn"));
    if (!start.isEmpty()) {
        EXPECT_TRUE(TypeInto("startdate", start));
    }
    if (!end.isEmpty()) {
        EXPECT_TRUE(TypeInto("enddate", end));
    }
    return ClickAnsweringPrompt("querybtn");
}

CListUI& MainWindowFixture::List() const
{
    return *dynamic_cast<CListUI*>(Control("listdata"));
}

QStringList MainWindowFixture::Column(int column) const
{
    QStringList texts;
    for (int i = 0; i < List().GetCount(); ++i)
        texts << List().GetItemAt(i)->GetText(column);
    return texts;
}

QString MainWindowFixture::DeleteRow(int row)
{
    EXPECT_TRUE(kit::test::ClickListRow(&List(), row));
    EXPECT_EQ(List().GetCurSel(), row);
    return ClickAnsweringPrompt("querydeletebtn");
}
