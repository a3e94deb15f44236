#include "ui/kit/WindowImplBase.h"

#include "ui/kit/CControlUI.h"
#include "ui/kit/CDialogBuilder.h"

WindowImplBase::WindowImplBase()
{
    AddNotifyEntry(QStringLiteral("click"), QString(), [this](TNotifyUI& msg) { OnClick(msg); });
}

WindowImplBase::~WindowImplBase()
{
    m_PaintManager.RemoveNotifier(this);
}

QString WindowImplBase::WindowClassName() const
{
    return QStringLiteral("WindowImplBase");
}

QString WindowImplBase::GetWindowClassName() const
{
    return WindowClassName();
}

QString WindowImplBase::SkinFolder()
{
    return QStringLiteral("skin/");
}

QString WindowImplBase::SkinFile()
{
    return QString();
}

void WindowImplBase::OnLayoutReady() {}

void WindowImplBase::OnClick(TNotifyUI& msg)
{
    if (msg.pSender && msg.pSender->GetName() == QLatin1String("closebtn"))
        Close(IDOK);
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

void WindowImplBase::Notify(TNotifyUI& msg)
{
    LoopDispatch(msg);
}

CControlUI* WindowImplBase::CreateControl(const QString&)
{
    return nullptr;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = true;
    m_PaintManager.Init(GetHWND());
    QString folder = CPaintManagerUI::GetResourcePath();
    if (folder.isEmpty())
        folder = CPaintManagerUI::GetInstancePath() + SkinFolder();
    m_PaintManager.SetResourceFolder(folder);

    CDialogBuilder builder;
    CControlUI* root = builder.Create(SkinFile(), this, &m_PaintManager);
    if (!root) {
        qWarning("Kestrin: window %s has no layout: %s", qUtf8Printable(WindowClassName()),
                 qUtf8Printable(builder.GetLastError()));
        return -1;
    }
    m_PaintManager.AttachDialog(root);
    m_PaintManager.AddNotifier(this);
    OnLayoutReady();
    return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    bool handled = false;
    LRESULT result = 0;
    switch (uMsg) {
    case WM_CREATE:
        result = OnCreate(uMsg, wParam, lParam, handled);
        break;
    case WM_CLOSE:
        handled = true;
        result = OnClose(uMsg, wParam, lParam, handled);
        break;
    default:
        break;
    }
    if (handled)
        return result;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}
