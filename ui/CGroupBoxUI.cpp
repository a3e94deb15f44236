#include "ui/CGroupBoxUI.h"

#include "ui/kit/CPaintManagerUI.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// Leading decimal digits after optional blanks and sign, as the C library
// reads them; 0 when there are none.
int LeadingDecimal(const QString& value)
{
    const QByteArray text = value.toLatin1();
    const long number = std::strtol(text.constData(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(number, INT_MIN, INT_MAX));
}

// Leading hexadecimal digits as an unsigned 32-bit value; 0 when there are
// none. Larger values saturate as they would in a 32-bit unsigned long.
DWORD LeadingHex(const QString& value)
{
    const QByteArray text = value.toLatin1();
    const unsigned long number = std::strtoul(text.constData(), nullptr, 16);
    return static_cast<DWORD>(std::min<unsigned long>(number, 0xFFFFFFFFul));
}

// The caption is laid out from its top-left corner and wrapped in the
// width left to it, like a typographic string format without extra space.
constexpr int kCaptionFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

} // namespace

CGroupBoxUI::CGroupBoxUI() = default;

CGroupBoxUI::~CGroupBoxUI() = default;

QString CGroupBoxUI::GetClass() const
{
    return QStringLiteral("GroupBox");
}

CControlUI* CGroupBoxUI::GetInterface(const QString& name)
{
    if (name == QLatin1String("GroupBox"))
        return this;
    return CContainerUI::GetInterface(name);
}

void CGroupBoxUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("font")) {
        m_iFont = LeadingDecimal(value);
        Invalidate();
    } else if (name == QLatin1String("textcolor")) {
        m_dwTextColor = LeadingHex(value.startsWith(QLatin1Char('#')) ? value.mid(1) : value);
        Invalidate();
    } else if (name == QLatin1String("showhtml")) {
        const bool showHtml = value == QLatin1String("true");
        if (showHtml != m_bShowHtml) {
            m_bShowHtml = showHtml;
            Invalidate();
        }
    } else {
        // The plain control's attributes only, not the container's.
        CControlUI::SetAttribute(name, value);
    }
}

void CGroupBoxUI::PaintText(QPainter& painter)
{
    if (m_dwTextColor == 0 && m_pManager != nullptr)
        m_dwTextColor = m_pManager->GetDefaultFontColor();
    const int left = m_rcItem.left();
    const int top = m_rcItem.top();
    const int right = left + m_rcItem.width();
    const int bottom = top + m_rcItem.height();
    const int x0 = left + m_szBorderRound.width() + kGapStart + kCaptionSpace;

    const QFont font = m_pManager != nullptr ? m_pManager->GetFont(m_iFont) : QFont();
    const QRectF layout(x0, top, std::max(0, right - x0), bottom - top);
    const QRectF bounds = QFontMetricsF(font).boundingRect(layout, kCaptionFlags, m_sText);
    m_nCaptionWidth = static_cast<int>(bounds.width());
    m_nCaptionHeight = static_cast<int>(bounds.height());

    // Drawn with alpha 254 whatever the colour's own alpha.
    QColor color = QColor::fromRgba(m_dwTextColor);
    color.setAlpha(0xFE);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(layout, kCaptionFlags, m_sText);
    painter.restore();
}

void CGroupBoxUI::PaintBorder(QPainter& painter)
{
    const int left = m_rcItem.left();
    const int top = m_rcItem.top();
    const int right = left + m_rcItem.width();
    const int bottom = top + m_rcItem.height();
    const int cx = m_szBorderRound.width();
    const int cy = m_szBorderRound.height();
    // The top edge runs through the middle of the caption last painted.
    const int ym = top + m_nCaptionHeight / 2;

    QColor color = QColor::fromRgba(GetAdjustColor(m_dwBorderColor));
    color.setAlpha(0xFF);
    QPen pen(color, 2.0);
    pen.setCapStyle(Qt::FlatCap);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);

    // Corner arcs, clockwise quarter circles (Qt counts angles the other way).
    if (cx > 0 && cy > 0) {
        const auto arc = [&](int x, int y, int startDegrees) {
            painter.drawArc(QRectF(x, y, 2 * cx, 2 * cy), -startDegrees * 16, -90 * 16);
        };
        arc(left, ym, 180);
        arc(right - 2 * cx, ym, 270);
        arc(left, bottom - 2 * cy, 90);
        arc(right - 2 * cx, bottom - 2 * cy, 0);
    }

    const int gapLeft = left + cx + kGapStart;
    const int gapRight = left + cx + kGapStart + 2 * kCaptionSpace + m_nCaptionWidth;
    painter.drawLine(QLineF(left, ym + cy, left, bottom - cy));
    painter.drawLine(QLineF(left + cx, ym, gapLeft, ym));
    painter.drawLine(QLineF(gapRight, ym, right - cx, ym));
    painter.drawLine(QLineF(right, ym + cy, right, bottom - cy));
    painter.drawLine(QLineF(left + cx, bottom, right - cx, bottom));
    painter.restore();
}
