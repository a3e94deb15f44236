#include "ui/CMenuWnd.h"

#include "ui/CShadowWnd.h"
#include "ui/kit/CControlUI.h"
#include "ui/kit/CDialogBuilder.h"
#include "ui/kit/WindowApi.h"

namespace {

QString SkinFolderOfTheProgram()
{
    QString folder = CPaintManagerUI::GetResourcePath();
    if (folder.isEmpty())
        folder = CPaintManagerUI::GetInstancePath() + QStringLiteral("skin/");
    return folder;
}

} // namespace

CMenuWnd::CMenuWnd() = default;

CMenuWnd::~CMenuWnd() = default;

bool CMenuWnd::Init(CControlUI* owner, const QPoint& pt)
{
    if (owner == nullptr)
        return false;
    m_ptPos = pt;
    m_pOwner = owner;
    HWND ownerWindow = owner->GetManager() != nullptr ? owner->GetManager()->GetPaintWindow() : nullptr;

    if (m_pShadow == nullptr) {
        m_pShadow = new CShadowWnd;
        m_pShadow->SetImage(QString::fromLatin1(kShadowImage));
        m_hShadow = m_pShadow->Create(ownerWindow, QString(), UI_WNDSTYLE_SHADOW,
                                      WS_EX_TOOLWINDOW | WS_EX_LAYERED);
        if (m_hShadow == nullptr) {
            delete m_pShadow;
            m_pShadow = nullptr;
        } else {
            // Shown now, before the menu, so that the menu lies above it.
            m_pShadow->ShowWindow(true, false);
        }
    }
    if (Create(ownerWindow, QString(), UI_WNDSTYLE_MENU, WS_EX_TOOLWINDOW) == nullptr) {
        // No menu (its layout could not be built): take the shadow away
        // with it, and leave this object to the caller.
        if (CShadowWnd* shadow = GetShadow())
            shadow->SendMessage(WM_CLOSE, 1, 0);
        m_pShadow = nullptr;
        m_hShadow = nullptr;
        return false;
    }

    HWND topOwner = kit::GetTopLevelOwner(GetHWND());
    ShowWindow(true, true);
    // The owner's frame stays drawn as active while the menu has the focus.
    kit::SendMessage(topOwner, WM_NCACTIVATE, 1, 0);
    return true;
}

QString CMenuWnd::GetWindowClassName() const
{
    return QStringLiteral("MenuWnd");
}

CShadowWnd* CMenuWnd::GetShadow() const
{
    if (m_pShadow == nullptr || !kit::IsWindow(m_hShadow))
        return nullptr;
    return CWindowWnd::FromHandle(m_hShadow) == m_pShadow ? m_pShadow : nullptr;
}

LRESULT CMenuWnd::OnCreate()
{
    m_PaintManager.Init(GetHWND());
    m_PaintManager.SetResourceFolder(SkinFolderOfTheProgram());
    CDialogBuilder builder;
    CControlUI* root = builder.Create(QStringLiteral("menu.xml"), nullptr, &m_PaintManager);
    if (root == nullptr) {
        qWarning("Kestrin: the menu has no layout: %s", qUtf8Printable(builder.GetLastError()));
        return -1;
    }
    m_PaintManager.AttachDialog(root);
    m_PaintManager.AddNotifier(this);
    m_PaintManager.SetRoundCorner(3, 3);
    PlaceInWorkArea();
    return 0;
}

void CMenuWnd::PlaceInWorkArea()
{
    // The size is the layout's; only the bottom and right edges are kept
    // inside the work area, as a menu opens to the right and downwards.
    const QRect window = GetWindowRect();
    const int width = window.width();
    const int height = window.height();
    int left = m_ptPos.x();
    int top = m_ptPos.y();
    const QRect work = GetWorkArea();
    const int workRight = work.x() + work.width();
    const int workBottom = work.y() + work.height();
    if (top + height > workBottom)
        top = height < work.height() ? workBottom - height : 0;
    if (left + width > workRight)
        left = width < work.width() ? workRight - width : 0;
    MoveWindow(left, top);
}

void CMenuWnd::OnSize()
{
    if (IsMinimized())
        return;
    const QRect client = GetClientRect();
    SetWindowRegion(QRegion(client.adjusted(kShadowMargin, kShadowMargin, -kShadowMargin, -kShadowMargin)));
    if (CShadowWnd* shadow = GetShadow())
        shadow->SetWindowPos(GetWindowRect(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CMenuWnd::OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const auto gainer = reinterpret_cast<HWND>(wParam);
    if (gainer != nullptr && gainer == GetHWND())
        return 0;
    if (gainer != nullptr && gainer == m_hShadow && GetShadow() != nullptr) {
        // A click on the frame: the menu stays open and takes the focus back.
        CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        kit::SetFocus(GetHWND());
        return 0;
    }
    Close(1);
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT CMenuWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        return OnCreate();
    case WM_MOVE:
        if (CShadowWnd* shadow = GetShadow())
            shadow->SetWindowPos(GetWindowRect(), SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    case WM_SIZE:
        OnSize();
        break;
    case WM_KILLFOCUS:
        return OnKillFocus(uMsg, wParam, lParam);
    case WM_CLOSE:
        if (CShadowWnd* shadow = GetShadow())
            shadow->Close(1);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            Close(1);
        return 0;
    case WM_MOUSEWHEEL:
        return 0;
    default:
        break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CMenuWnd::Notify(TNotifyUI& msg)
{
    if (msg.sType == QLatin1String("itemselect")) {
        Close(1);
    } else if (msg.sType == QLatin1String("itemclick")) {
        if (m_pOwner != nullptr)
            SendItemToOwner(msg.pSender);
    } else if (msg.sType == QLatin1String("click") && msg.pSender != nullptr) {
        // The items of "menu.xml" are buttons: a click on one is both the
        // item's click and its choice.
        m_PaintManager.SendNotify(msg.pSender, QStringLiteral("itemclick"));
        m_PaintManager.SendNotify(msg.pSender, QStringLiteral("itemselect"));
    }
}

void CMenuWnd::SendItemToOwner(CControlUI* item)
{
    if (item == nullptr || item->GetName().isEmpty() || m_pOwner->GetManager() == nullptr)
        return;
    // Delivered after this notification's handling is over: the owner's
    // command may open windows of its own (a prompt, a folder picker).
    m_pOwner->GetManager()->SendNotify(m_pOwner, item->GetName(), 0, 0, true);
}

void CMenuWnd::OnFinalMessage(HWND)
{
    delete this;
}
