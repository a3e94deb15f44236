#include "ui/CJsAlertDlg.h"

#include "ui/kit/CLabelUI.h"

CJsAlertDlg::CJsAlertDlg()
{
    AddNotifyEntry(QStringLiteral("click"), QString(), [this](TNotifyUI& msg) { OnClick(msg); });
}

CJsAlertDlg::~CJsAlertDlg() = default;

void CJsAlertDlg::SetMessage(QString first, QString second)
{
    m_strFirst = std::move(first);
    m_strSecond = std::move(second);
}

QString CJsAlertDlg::WindowClassName() const
{
    return QStringLiteral("CJsAlertDlg");
}

LRESULT CJsAlertDlg::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // Neither key may close or activate anything: a scanner's trailing
    // Enter must not dismiss a prompt unread.
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_SPACE))
        return 0;
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CJsAlertDlg::OnLayoutReady()
{
    if (auto* label = dynamic_cast<CLabelUI*>(m_PaintManager.FindControl(QStringLiteral("TextName")))) {
        label->SetText(m_strFirst);
        label->SetFont(0);
    }
    if (auto* label = dynamic_cast<CLabelUI*>(m_PaintManager.FindControl(QStringLiteral("TextName1")))) {
        label->SetText(m_strSecond);
        label->SetFont(0);
    }
}

void CJsAlertDlg::OnClick(TNotifyUI& msg)
{
    WindowImplBase::OnClick(msg);
}

QString CJsAlertDlg::SkinFolder()
{
    return QStringLiteral("skin\\");
}

QString CJsAlertDlg::SkinFile()
{
    return QStringLiteral("JsAlert.xml");
}

LRESULT CJsAlertDlg::OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    return WindowImplBase::OnClose(uMsg, wParam, lParam, bHandled);
}

void CJsAlertDlg::Notify(TNotifyUI& msg)
{
    if (msg.sType == QLatin1String("click") && msg.pSender
        && msg.pSender->GetName() == QLatin1String("ButtonConfirm")) {
        Close(1);
        return;
    }
    WindowImplBase::Notify(msg);
}

void CJsAlertDlg::OnFinalMessage(HWND)
{
    delete this;
}
