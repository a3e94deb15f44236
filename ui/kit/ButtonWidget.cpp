#include "ui/kit/ButtonWidget.h"

#include "ui/kit/CButtonUI.h"
#include "ui/kit/ControlWidget.h"

#include <QMouseEvent>

namespace kit {

ButtonWidget::ButtonWidget(CButtonUI* control) : m_pControl(control)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setAttribute(Qt::WA_NoSystemBackground);
    connect(this, &QAbstractButton::clicked, this, [this] { m_pControl->Activate(); });
}

void ButtonWidget::paintEvent(QPaintEvent*)
{
    ControlWidget::PaintControl(this, m_pControl);
}

void ButtonWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        window()->setFocus(Qt::MouseFocusReason);
    QAbstractButton::mousePressEvent(event);
}

bool ButtonWidget::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
        update();
        break;
    default:
        break;
    }
    return QAbstractButton::event(event);
}

} // namespace kit
