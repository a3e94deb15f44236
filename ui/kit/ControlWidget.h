#pragma once

#include <QWidget>

class CControlUI;

namespace kit {

// The widget of a painted control (plain control, label, container): it
// draws through the control's DoPaint in window coordinates and lets mouse
// presses pass to the window (so the caption band drags).
class ControlWidget : public QWidget {
    Q_OBJECT
public:
    explicit ControlWidget(CControlUI* control);
    // Paints `control` on `widget` through its DoPaint hooks.
    static void PaintControl(QWidget* widget, CControlUI* control);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CControlUI* m_pControl;
};

} // namespace kit
