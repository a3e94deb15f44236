#include "ui/kit/CLabelUI.h"

#include "ui/kit/AttributeParsing.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/ControlWidget.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

QString CLabelUI::GetClass() const
{
    return QStringLiteral("LabelUI");
}

CControlUI* CLabelUI::GetInterface(const QString& name)
{
    return name == QLatin1String("Label") ? this : CControlUI::GetInterface(name);
}

void CLabelUI::SetTextColor(DWORD color)
{
    if (PostToGuiThreadIfNeeded([this, color] { SetTextColor(color); }))
        return;
    m_dwTextColor = color;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD color)
{
    m_dwDisabledTextColor = color;
    Invalidate();
}

void CLabelUI::SetFont(int index)
{
    if (PostToGuiThreadIfNeeded([this, index] { SetFont(index); }))
        return;
    m_iFont = index;
    OnTextChanged();
}

void CLabelUI::SetTextStyle(unsigned align)
{
    m_uTextStyle = align;
    Invalidate();
}

void CLabelUI::SetTextPadding(const QMargins& padding)
{
    m_rcTextPadding = padding;
    Invalidate();
}

void CLabelUI::SetMultiLine(bool multiLine)
{
    m_bMultiLine = multiLine;
    Invalidate();
}

void CLabelUI::SetEndEllipsis(bool ellipsis)
{
    m_bEndEllipsis = ellipsis;
    Invalidate();
}

void CLabelUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("textcolor")) {
        SetTextColor(kit::ParseColor(value));
    } else if (name == QLatin1String("disabledtextcolor")) {
        SetDisabledTextColor(kit::ParseColor(value));
    } else if (name == QLatin1String("font")) {
        SetFont(kit::ParseInt(value, -1));
    } else if (name == QLatin1String("align")) {
        unsigned style = m_uTextStyle & ~(AlignLeft | AlignHCenter | AlignRight);
        if (value == QLatin1String("center"))
            style |= AlignHCenter;
        else if (value == QLatin1String("right"))
            style |= AlignRight;
        else
            style |= AlignLeft;
        SetTextStyle(style);
    } else if (name == QLatin1String("valign")) {
        unsigned style = m_uTextStyle & ~(AlignTop | AlignVCenter | AlignBottom);
        if (value == QLatin1String("top"))
            style |= AlignTop;
        else if (value == QLatin1String("bottom"))
            style |= AlignBottom;
        else
            style |= AlignVCenter;
        SetTextStyle(style);
    } else if (name == QLatin1String("textpadding")) {
        SetTextPadding(kit::ParseMargins(value));
    } else if (name == QLatin1String("multiline")) {
        SetMultiLine(kit::ParseBool(value));
    } else if (name == QLatin1String("endellipsis")) {
        SetEndEllipsis(kit::ParseBool(value));
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

DWORD CLabelUI::EffectiveTextColor() const
{
    if (!m_bEnabled) {
        if (m_dwDisabledTextColor)
            return m_dwDisabledTextColor;
        return m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFFA0A0A0;
    }
    if (m_dwTextColor)
        return m_dwTextColor;
    return m_pManager ? m_pManager->GetDefaultFontColor() : 0xFF333333;
}

QFont CLabelUI::EffectiveFont() const
{
    if (m_pManager)
        return m_pManager->GetFont(m_iFont);
    return QFont();
}

void CLabelUI::DrawTextIn(QPainter& painter, const QRect& rc, DWORD color) const
{
    if (m_sText.isEmpty() || rc.isEmpty())
        return;
    Qt::Alignment align;
    align |= (m_uTextStyle & AlignHCenter) ? Qt::AlignHCenter
             : (m_uTextStyle & AlignRight) ? Qt::AlignRight
                                            : Qt::AlignLeft;
    align |= (m_uTextStyle & AlignTop) ? Qt::AlignTop
             : (m_uTextStyle & AlignBottom) ? Qt::AlignBottom
                                             : Qt::AlignVCenter;
    const QFont font = EffectiveFont();
    painter.save();
    painter.setFont(font);
    painter.setPen(QColor::fromRgba(color));
    QString text = m_sText;
    int flags = static_cast<int>(align);
    if (m_bMultiLine) {
        flags |= Qt::TextWordWrap;
    } else {
        flags |= Qt::TextSingleLine;
        if (m_bEndEllipsis)
            text = QFontMetrics(font).elidedText(text, Qt::ElideRight, rc.width());
    }
    painter.drawText(rc, flags, text);
    painter.restore();
}

void CLabelUI::PaintText(QPainter& painter)
{
    DrawTextIn(painter, m_rcItem.marginsRemoved(m_rcTextPadding), EffectiveTextColor());
}

QWidget* CLabelUI::CreateWidget()
{
    return new kit::ControlWidget(this);
}

void CLabelUI::OnTextChanged()
{
    if (QWidget* widget = PeekWidget())
        widget->setAccessibleName(m_sText);
    Invalidate();
}
