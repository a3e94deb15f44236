#include "app/CKestrinApp.h"

#include "app/CKestrinWnd.h"
#include "app/GetModuleDirectory.h"
#include "store/Statements.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/ScreenMessageBox.h"

#include <memory>

const QString g_strVersion = QStringLiteral("1.1");

namespace {

constexpr int kMainWindowWidth = 800;
constexpr int kMainWindowHeight = 572;

} // namespace

CKestrinApp::CKestrinApp() = default;

CKestrinApp::~CKestrinApp()
{
    m_connection.Close();
}

bool CKestrinApp::StartUp()
{
    // Database errors are shown in the program's own message box from here on.
    kit::InstallScreenMessageBox();

    OpenDatabase();

    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + QStringLiteral("skin"));

    auto window = std::make_unique<CKestrinWnd>(m_connection);
    window->Create(nullptr, QStringLiteral("KestrinWnd"), UI_WNDSTYLE_FRAME, 0, 0, 0, kMainWindowWidth,
                   kMainWindowHeight);
    window->CenterWindow();
    window->ShowModal();
    return false;
}

void CKestrinApp::OpenDatabase()
{
    const QString folder = GetModuleDirectory();
    const QString connectionString = Statements::ConnectionString(folder + Statements::DatabaseFileName);
    // A data link file beside the program, when there is one, names another
    // database (a shared server); otherwise the encrypted file is used.
    m_connection.Open(QString(), QString(), folder + QStringLiteral("invoice.udl"), -1, connectionString);
}
