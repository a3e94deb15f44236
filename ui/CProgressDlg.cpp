#include "ui/CProgressDlg.h"

#include "ui/kit/CLabelUI.h"
#include "ui/kit/CProgressUI.h"

std::atomic<int32_t> g_bProgressOpen{0};

namespace {

// Set and called on the GUI thread only.
CProgressDlg::BarObserver& Observer()
{
    static CProgressDlg::BarObserver observer;
    return observer;
}

} // namespace

CProgressDlg::CProgressDlg() = default;

CProgressDlg::~CProgressDlg() = default;

void CProgressDlg::SetMessage(const QString& text)
{
    m_strMessage = text;
}

void CProgressDlg::SetProgress(int percent)
{
    // The finding and setting happen on the window's thread, where the
    // controls cannot vanish half-way; a post to a closed window is dropped.
    PostMessage(kMsgSetProgress, static_cast<WPARAM>(percent), 0);
}

QString CProgressDlg::WindowClassName() const
{
    return QStringLiteral("CProgressDlg");
}

LRESULT CProgressDlg::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_SPACE))
        return 0;
    if (uMsg == kMsgSetProgress) {
        ApplyProgress(static_cast<int>(wParam));
        return 0;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CProgressDlg::ApplyProgress(int percent)
{
    auto* bar = dynamic_cast<CProgressUI*>(m_PaintManager.FindControl(QStringLiteral("ProgressDown")));
    if (bar == nullptr)
        return;
    bar->SetValue(percent);
    if (Observer())
        Observer()(percent);
}

void CProgressDlg::OnLayoutReady()
{
    if (auto* label = dynamic_cast<CLabelUI*>(m_PaintManager.FindControl(QStringLiteral("TextName")))) {
        label->SetText(m_strMessage);
        label->SetFont(0);
    }
}

void CProgressDlg::OnClick(TNotifyUI& msg)
{
    WindowImplBase::OnClick(msg);
}

QString CProgressDlg::SkinFolder()
{
    return QStringLiteral("skin\\");
}

QString CProgressDlg::SkinFile()
{
    return QStringLiteral("Progress.xml");
}

LRESULT CProgressDlg::OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    g_bProgressOpen = 0;
    return WindowImplBase::OnClose(uMsg, wParam, lParam, bHandled);
}

void CProgressDlg::SetBarObserver(BarObserver observer)
{
    Observer() = std::move(observer);
}
