#include "ui/kit/ProgressWidget.h"

#include "ui/kit/ControlWidget.h"

namespace kit {

ProgressWidget::ProgressWidget(CControlUI* control) : m_pControl(control)
{
    setFocusPolicy(Qt::NoFocus);
    setTextVisible(false);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ProgressWidget::paintEvent(QPaintEvent*)
{
    ControlWidget::PaintControl(this, m_pControl);
}

} // namespace kit
