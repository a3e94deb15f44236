#include "ui/kit/EditWidget.h"

#include "ui/kit/CControlUI.h"
#include "ui/kit/KitEventHub.h"

#include <QPainter>

namespace kit {

EditWidget::EditWidget(CControlUI* control, QWidget* parent) : QLineEdit(parent), m_pControl(control)
{
    setFrame(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    setFocusPolicy(Qt::StrongFocus);
    KitEventHub::SetOwnsKeys(this);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    setPalette(pal);
}

void EditWidget::paintEvent(QPaintEvent* event)
{
    if (m_pControl) {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-m_pControl->GetPos().topLeft());
        m_pControl->PaintBkColor(painter);
        m_pControl->PaintBorder(painter);
    }
    QLineEdit::paintEvent(event);
}

} // namespace kit
