#include "ui/kit/CButtonUI.h"

#include "ui/kit/AttributeParsing.h"
#include "ui/kit/ButtonWidget.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/CRenderEngine.h"

#include <QPainter>
#include <QPainterPath>

CButtonUI::CButtonUI()
{
    m_uTextStyle = AlignHCenter | AlignVCenter;
}

QString CButtonUI::GetClass() const
{
    return QStringLiteral("ButtonUI");
}

CControlUI* CButtonUI::GetInterface(const QString& name)
{
    return name == QLatin1String("Button") ? this : CLabelUI::GetInterface(name);
}

bool CButtonUI::Activate()
{
    if (!m_bEnabled || !m_bVisible)
        return false;
    if (m_pManager)
        m_pManager->SendNotify(this, QStringLiteral("click"));
    return true;
}

void CButtonUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("hotbkcolor"))
        SetHotBkColor(kit::ParseColor(value));
    else if (name == QLatin1String("pushedbkcolor"))
        SetPushedBkColor(kit::ParseColor(value));
    else if (name == QLatin1String("hottextcolor"))
        SetHotTextColor(kit::ParseColor(value));
    else if (name == QLatin1String("pushedtextcolor"))
        SetPushedTextColor(kit::ParseColor(value));
    else if (name == QLatin1String("hotbordercolor"))
        SetHotBorderColor(kit::ParseColor(value));
    else if (name == QLatin1String("normalimage"))
        SetNormalImage(value);
    else if (name == QLatin1String("hotimage"))
        SetHotImage(value);
    else if (name == QLatin1String("pushedimage"))
        SetPushedImage(value);
    else if (name == QLatin1String("disabledimage"))
        SetDisabledImage(value);
    else if (name == QLatin1String("cursor"))
        m_bHandCursor = value == QLatin1String("hand");
    else
        CLabelUI::SetAttribute(name, value);
    if (name == QLatin1String("cursor"))
        if (QWidget* widget = PeekWidget())
            widget->setCursor(m_bHandCursor ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

QWidget* CButtonUI::CreateWidget()
{
    auto* widget = new kit::ButtonWidget(this);
    if (m_bHandCursor)
        widget->setCursor(Qt::PointingHandCursor);
    return widget;
}

bool CButtonUI::IsHot() const
{
    auto* widget = qobject_cast<QAbstractButton*>(PeekWidget());
    return widget && m_bEnabled && widget->underMouse();
}

bool CButtonUI::IsPushed() const
{
    auto* widget = qobject_cast<QAbstractButton*>(PeekWidget());
    return widget && m_bEnabled && widget->isDown();
}

namespace {

void FillRounded(QPainter& painter, const QRect& rc, const QSize& round, DWORD color)
{
    QPainterPath path;
    if (round.width() > 0 && round.height() > 0)
        path.addRoundedRect(QRectF(rc), round.width() / 2.0, round.height() / 2.0);
    else
        path.addRect(QRectF(rc));
    painter.fillPath(path, QColor::fromRgba(color));
}

} // namespace

void CButtonUI::PaintBkColor(QPainter& painter)
{
    DWORD color = m_dwBkColor;
    if (IsPushed())
        color = m_dwPushedBkColor ? m_dwPushedBkColor : (m_dwHotBkColor ? m_dwHotBkColor : m_dwBkColor);
    else if (IsHot() && m_dwHotBkColor)
        color = m_dwHotBkColor;
    if (color)
        FillRounded(painter, m_rcItem, m_szBorderRound, color);
}

void CButtonUI::PaintStatusImage(QPainter& painter)
{
    if (!m_pManager)
        return;
    QString image = m_sNormalImage;
    if (!m_bEnabled && !m_sDisabledImage.isEmpty())
        image = m_sDisabledImage;
    else if (IsPushed() && !m_sPushedImage.isEmpty())
        image = m_sPushedImage;
    else if ((IsHot() || IsPushed()) && !m_sHotImage.isEmpty())
        image = m_sHotImage;
    if (!image.isEmpty())
        CRenderEngine::DrawImage(painter, m_pManager, m_rcItem, image);
}

void CButtonUI::PaintText(QPainter& painter)
{
    DWORD color = EffectiveTextColor();
    if (m_bEnabled) {
        if (IsPushed() && m_dwPushedTextColor)
            color = m_dwPushedTextColor;
        else if ((IsHot() || IsPushed()) && m_dwHotTextColor)
            color = m_dwHotTextColor;
    }
    DrawTextIn(painter, m_rcItem.marginsRemoved(m_rcTextPadding), color);
}

void CButtonUI::PaintBorder(QPainter& painter)
{
    if (IsHot() && m_dwHotBorderColor && m_nBorderSize > 0) {
        const DWORD saved = m_dwBorderColor;
        m_dwBorderColor = m_dwHotBorderColor;
        CLabelUI::PaintBorder(painter);
        m_dwBorderColor = saved;
        return;
    }
    CLabelUI::PaintBorder(painter);
}
