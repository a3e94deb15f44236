#include "ui/kit/ControlWidget.h"

#include "ui/kit/CControlUI.h"

#include <QPainter>

namespace kit {

ControlWidget::ControlWidget(CControlUI* control) : m_pControl(control)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void ControlWidget::PaintControl(QWidget* widget, CControlUI* control)
{
    QPainter painter(widget);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(-control->GetPos().topLeft());
    control->DoPaint(painter);
}

void ControlWidget::paintEvent(QPaintEvent*)
{
    PaintControl(this, m_pControl);
}

} // namespace kit
