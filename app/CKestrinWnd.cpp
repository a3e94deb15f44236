#include "app/CKestrinWnd.h"

#include "app/CKestrinApp.h"
#include "ui/CCustomWebEventHandler.h"
#include "ui/CGroupBoxUI.h"
#include "ui/CJsAlertDlg.h"
#include "ui/CMenuWnd.h"
#include "ui/kit/CControlUI.h"
#include "ui/kit/CTabLayoutUI.h"
#include "ui/kit/CWebBrowserUI.h"
#include "ui/kit/DesktopServices.h"
#include "ui/kit/GuiThread.h"

namespace {

const QString kMakerSite = QStringLiteral("https://kestrin.example.com/");

bool Is(const QString& text, const char* expected)
{
    return text.compare(QLatin1String(expected), Qt::CaseInsensitive) == 0;
}

} // namespace

CKestrinWnd::CKestrinWnd(CAdoConnection& connection) : m_connection(connection)
{
}

CKestrinWnd::~CKestrinWnd()
{
    // A window destroyed without a close request still lets its handler go;
    // the controls live on until the base class's paint manager goes.
    ReleaseWebHandler();
}

QString CKestrinWnd::WindowClassName() const
{
    return QStringLiteral("CKestrinWnd");
}

QString CKestrinWnd::SkinFolder()
{
    return QStringLiteral("skin/");
}

QString CKestrinWnd::SkinFile()
{
    return QStringLiteral("KestrinWnd.xml");
}

LRESULT CKestrinWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_KEYDOWN && wParam == VK_RETURN) {
        // The scanner ends every payload with Enter; on the query page it does nothing.
        if (m_nCurTab == 0 && ParseScan()) {
            FillForm();
            Register(1);
        }
        return 0;
    }
    if (uMsg == WM_CHAR)
        AppendScannedCharacter(wParam);
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CKestrinWnd::AppendScannedCharacter(WPARAM code)
{
    // The scanner types single-byte characters. Keep the low byte as the
    // character of that code, without widening its sign, so that bytes
    // above 0x7F stay what they were (U+0080 to U+00FF).
    m_strScanBuffer.append(QChar(static_cast<char16_t>(code & 0xFF)));
}

void CKestrinWnd::Notify(TNotifyUI& msg)
{
    if (Is(msg.sType, "click"))
        OnClickNotify(msg);
    else if (Is(msg.sType, "selectchanged"))
        OnSelectChanged(msg);
    else if (Is(msg.sType, "menu_export"))
        StartExport();
    else if (Is(msg.sType, "menu_import"))
        StartImport();
    else if (Is(msg.sType, "menu_about"))
        ShowAboutBox();
}

void CKestrinWnd::OnClickNotify(TNotifyUI& msg)
{
    if (msg.pSender == nullptr)
        return;
    const QString name = msg.pSender->GetName();
    if (Is(name, "clearbtn")) {
        ClearForm();
    } else if (Is(name, "insertbtn")) {
        if (ReadForm())
            Register(0);
    } else if (Is(name, "minbtn")) {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (Is(name, "closebtn")) {
        Close(1);
    } else if (Is(name, "menubtn")) {
        OpenPopupMenu(msg);
    } else if (Is(name, "querybtn")) {
        // The list mirrors the result, also after a refused or empty query.
        QueryInvoices();
        FillQueryList();
    } else if (Is(name, "queryclearbtn")) {
        ClearQuery();
    } else if (Is(name, "querydeletebtn")) {
        DeleteSelectedInvoice();
    } else if (Is(name, "logo")) {
        kit::OpenUrl(kMakerSite);
    }
}

void CKestrinWnd::OnSelectChanged(TNotifyUI& msg)
{
    auto* pages = static_cast<CTabLayoutUI*>(FindControl(QStringLiteral("switch")));
    if (pages == nullptr || msg.pSender == nullptr)
        return;
    // The page names are compared exactly, unlike every other name.
    const QString name = msg.pSender->GetName();
    if (name == QLatin1String("scan") && pages->GetCurSel() != 0) {
        ClearForm();
        m_nCurTab = 0;
        pages->SelectItem(0, true);
    } else if (name == QLatin1String("query") && pages->GetCurSel() != 1) {
        ClearQuery();
        m_nCurTab = 1;
        pages->SelectItem(1, true);
    }
}

void CKestrinWnd::ShowAboutBox()
{
    auto* dlg = new CJsAlertDlg;
    dlg->SetMessage(QStringLiteral("Kestrin 发票报销登记系统 V%1").arg(g_strVersion),
                    QStringLiteral("© Kestrin 软件工作室"));
    dlg->Create(GetHWND(), QStringLiteral("提示"), UI_WNDSTYLE_DIALOG, 0);
    dlg->CenterWindow();
    dlg->ShowModal();
}

void CKestrinWnd::Prompt(const QString& message)
{
    // From a worker the whole prompt runs on the GUI thread, so the clerk
    // cannot dismiss the box between its creation and its modal loop.
    if (!kit::IsGuiThread()) {
        kit::RunOnGuiThread([&] { Prompt(message); });
        return;
    }
    auto* dlg = new CJsAlertDlg;
    dlg->SetMessage(message, QString());
    dlg->Create(GetHWND(), QStringLiteral("提示"), UI_WNDSTYLE_DIALOG, 0);
    dlg->CenterWindow();
    dlg->ShowModal();
}

void CKestrinWnd::OpenPopupMenu(TNotifyUI& msg)
{
    // The menu opens below the click, reaching to its left, towards the
    // middle of the window.
    const QPoint pt = ClientToScreen(QPoint(msg.ptMouse.x() - 120, msg.ptMouse.y()));
    auto* menu = new CMenuWnd;
    if (!menu->Init(msg.pSender, pt))
        delete menu;
}

LRESULT CKestrinWnd::OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    ReleaseWebHandler();
    return WindowImplBase::OnClose(uMsg, wParam, lParam, bHandled);
}

void CKestrinWnd::ReleaseWebHandler()
{
    if (m_pWebHandler == nullptr)
        return;
    // The browser keeps a plain pointer to its handler: detach it first so
    // that no late browser event reaches a deleted handler.
    CControlUI* pane = FindControl(QStringLiteral("webBrowser"));
    CControlUI* browser = pane != nullptr ? pane->GetInterface(QStringLiteral("WebBrowser")) : nullptr;
    if (browser != nullptr)
        static_cast<CWebBrowserUI*>(browser)->SetWebBrowserEventHandler(nullptr);
    delete m_pWebHandler;
    m_pWebHandler = nullptr;
}

CControlUI* CKestrinWnd::CreateControl(const QString& className)
{
    if (Is(className, "GroupBox"))
        return new CGroupBoxUI;
    return nullptr;
}
