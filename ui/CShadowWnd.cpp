#include "ui/CShadowWnd.h"

#include "ui/kit/CRenderEngine.h"

#include <QImage>
#include <QPainter>

CShadowWnd::CShadowWnd()
{
    // The images lie with the layouts: in the resource folder, or else in
    // the skin folder beside the program.
    QString folder = CPaintManagerUI::GetResourcePath();
    if (folder.isEmpty())
        folder = CPaintManagerUI::GetInstancePath() + QStringLiteral("skin/");
    m_PaintManager.SetResourceFolder(folder);
}

CShadowWnd::~CShadowWnd() = default;

void CShadowWnd::SetImage(const QString& description)
{
    m_drawInfo = TDrawInfo(description);
    m_bNeedsRedraw = true;
}

QString CShadowWnd::GetWindowClassName() const
{
    return QStringLiteral("UIShadow");
}

LRESULT CShadowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        SetTimer(kRedrawTimerId, kRedrawPeriodMs);
        break;
    case WM_SIZE:
        m_bNeedsRedraw = true;
        break;
    case WM_CLOSE:
        KillTimer(kRedrawTimerId);
        break;
    case WM_TIMER:
        if (wParam == kRedrawTimerId && m_bNeedsRedraw && !IsMinimized())
            Redraw();
        break;
    default:
        break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CShadowWnd::Redraw()
{
    const QRect client = GetClientRect();
    // Nothing to draw into: leave the picture as it is and try again on a
    // later tick.
    if (client.isEmpty())
        return;
    QImage picture(client.size(), QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return;
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        CRenderEngine::DrawImage(painter, &m_PaintManager, client, client, m_drawInfo);
    }
    UpdateLayered(picture);
    ++m_nRedrawCount;
    m_bNeedsRedraw = false;
}

void CShadowWnd::OnFinalMessage(HWND)
{
    delete this;
}
