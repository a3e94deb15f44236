#include "ui/kit/CProgressUI.h"

#include "ui/kit/AttributeParsing.h"
#include "ui/kit/ProgressWidget.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

QString CProgressUI::GetClass() const
{
    return QStringLiteral("ProgressUI");
}

CControlUI* CProgressUI::GetInterface(const QString& name)
{
    return name == QLatin1String("Progress") ? this : CLabelUI::GetInterface(name);
}

void CProgressUI::SetMinValue(int value)
{
    m_nMin = value;
    if (m_nMax < m_nMin)
        m_nMax = m_nMin;
    SetValue(m_nValue);
}

void CProgressUI::SetMaxValue(int value)
{
    m_nMax = value;
    if (m_nMin > m_nMax)
        m_nMin = m_nMax;
    SetValue(m_nValue);
}

void CProgressUI::SetValue(int value)
{
    if (PostToGuiThreadIfNeeded([this, value] { SetValue(value); }))
        return;
    m_nValue = std::clamp(value, m_nMin, m_nMax);
    if (auto* bar = qobject_cast<QProgressBar*>(PeekWidget())) {
        bar->setRange(m_nMin, m_nMax);
        bar->setValue(m_nValue);
    }
    Invalidate();
}

void CProgressUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("min"))
        SetMinValue(kit::ParseInt(value));
    else if (name == QLatin1String("max"))
        SetMaxValue(kit::ParseInt(value, 100));
    else if (name == QLatin1String("value"))
        SetValue(kit::ParseInt(value));
    else if (name == QLatin1String("forecolor"))
        SetForeColor(kit::ParseColor(value));
    else
        CLabelUI::SetAttribute(name, value);
}

void CProgressUI::PaintStatusImage(QPainter& painter)
{
    if (m_nMax <= m_nMin || m_nValue <= m_nMin)
        return;
    const double fraction = double(m_nValue - m_nMin) / double(m_nMax - m_nMin);
    QRectF fill(m_rcItem);
    fill.setWidth(fill.width() * fraction);
    const DWORD color = m_dwForeColor ? m_dwForeColor : 0xFF2F80ED;
    QPainterPath clip;
    const QSize round = m_szBorderRound;
    if (round.width() > 0 && round.height() > 0)
        clip.addRoundedRect(QRectF(m_rcItem), round.width() / 2.0, round.height() / 2.0);
    else
        clip.addRect(QRectF(m_rcItem));
    QPainterPath bar;
    if (round.width() > 0 && round.height() > 0)
        bar.addRoundedRect(fill, round.width() / 2.0, round.height() / 2.0);
    else
        bar.addRect(fill);
    painter.fillPath(bar.intersected(clip), QColor::fromRgba(color));
}

QWidget* CProgressUI::CreateWidget()
{
    return new kit::ProgressWidget(this);
}

void CProgressUI::ApplyStateToWidget(QWidget* widget)
{
    CLabelUI::ApplyStateToWidget(widget);
    auto* bar = static_cast<QProgressBar*>(widget);
    bar->setRange(m_nMin, m_nMax);
    bar->setValue(m_nValue);
}
