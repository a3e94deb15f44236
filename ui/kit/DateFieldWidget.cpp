#include "ui/kit/DateFieldWidget.h"

#include "ui/kit/CDateTimeUI.h"
#include "ui/kit/ControlWidget.h"
#include "ui/kit/EditWidget.h"
#include "ui/kit/KitEventHub.h"

#include <QCalendarWidget>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpressionValidator>
#include <QToolButton>

#include <algorithm>

namespace kit {
namespace {

constexpr int kButtonWidth = 28;

QIcon CalendarIcon(const QColor& color)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 2.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(5, 7, 22, 20), 3, 3);
    painter.drawLine(QPointF(5, 13), QPointF(27, 13));
    painter.drawLine(QPointF(11, 4), QPointF(11, 9));
    painter.drawLine(QPointF(21, 4), QPointF(21, 9));
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            painter.drawRect(QRectF(9.5 + col * 5, 16.5 + row * 5, 3, 3));
    return QIcon(pixmap);
}

} // namespace

DateFieldWidget::DateFieldWidget(CDateTimeUI* control)
    : m_pControl(control), m_pEdit(new EditWidget(nullptr, this)), m_pButton(new QToolButton(this))
{
    setAttribute(Qt::WA_NoSystemBackground);
    KitEventHub::SetOwnsKeys(this);
    setFocusProxy(m_pEdit);
    setFocusPolicy(Qt::StrongFocus);
    m_pEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9./-]{0,10}")), m_pEdit));
    m_pEdit->setMaxLength(10);
    m_pButton->setFocusPolicy(Qt::NoFocus);
    m_pButton->setAutoRaise(true);
    m_pButton->setCursor(Qt::PointingHandCursor);
    m_pButton->setIcon(CalendarIcon(QColor(0x5B, 0x6B, 0x7F)));
    m_pButton->setIconSize(QSize(18, 18));
    m_pButton->setToolTip(QStringLiteral("选择日期"));
    m_pButton->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"));

    connect(m_pEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_pControl->TakeTypedText(text);
        UpdateValidityLook();
    });
    connect(m_pEdit, &QLineEdit::editingFinished, this, &DateFieldWidget::OnEditingFinished);
    connect(m_pButton, &QToolButton::clicked, this, &DateFieldWidget::OpenCalendar);
}

void DateFieldWidget::ShowText(const QString& text)
{
    if (m_pEdit->text() != text)
        m_pEdit->setText(text);
    UpdateValidityLook();
}

void DateFieldWidget::UpdateValidityLook()
{
    const QString text = m_pEdit->text().trimmed();
    const bool invalid = !text.isEmpty() && !CDateTimeUI::ParseDate(text).isValid();
    m_pEdit->setProperty("kitInvalidDate", invalid);
    QPalette pal = m_pEdit->palette();
    QColor color = pal.color(QPalette::Text);
    const QColor normal = m_pEdit->property("kitNormalTextColor").value<QColor>();
    if (!m_pEdit->property("kitNormalTextColor").isValid())
        m_pEdit->setProperty("kitNormalTextColor", color);
    pal.setColor(QPalette::Text, invalid ? QColor(0xD9, 0x36, 0x36)
                                         : (normal.isValid() ? normal : color));
    m_pEdit->setPalette(pal);
}

void DateFieldWidget::OnEditingFinished()
{
    const QDate date = CDateTimeUI::ParseDate(m_pEdit->text());
    if (date.isValid()) {
        const QString text = date.toString(QStringLiteral("yyyy-MM-dd"));
        ShowText(text);
        m_pControl->TakeTypedText(text);
    }
}

void DateFieldWidget::OpenCalendar()
{
    if (m_pCalendar) {
        m_pCalendar->close();
        return;
    }
    auto* calendar = new QCalendarWidget(this);
    calendar->setWindowFlags(Qt::Popup);
    calendar->setAttribute(Qt::WA_DeleteOnClose);
    calendar->setGridVisible(false);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setFirstDayOfWeek(Qt::Monday);
    const QDate current = m_pControl->GetDate();
    calendar->setSelectedDate(current.isValid() ? current : QDate::currentDate());
    connect(calendar, &QCalendarWidget::clicked, this, [this, calendar](const QDate& date) {
        const QString text = date.toString(QStringLiteral("yyyy-MM-dd"));
        ShowText(text);
        m_pControl->TakeTypedText(text);
        calendar->close();
    });
    calendar->adjustSize();
    calendar->move(mapToGlobal(QPoint(0, height() + 2)));
    m_pCalendar = calendar;
    calendar->show();
    calendar->setFocus(Qt::PopupFocusReason);
}

void DateFieldWidget::paintEvent(QPaintEvent*)
{
    ControlWidget::PaintControl(this, m_pControl);
}

void DateFieldWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int border = std::max(1, m_pControl->GetBorderSize());
    const QRect inner = rect().adjusted(border, border, -border, -border);
    m_pButton->setGeometry(inner.right() - kButtonWidth + 1, inner.top(), kButtonWidth, inner.height());
    m_pEdit->setGeometry(inner.left(), inner.top(), inner.width() - kButtonWidth, inner.height());
}

} // namespace kit
