#pragma once

#include <QAbstractButton>

class CButtonUI;

namespace kit {

// The widget of a button or option: click semantics of QAbstractButton,
// drawn by the control. It never takes the keyboard focus; pressing it
// gives the focus to its window, so typed keys reach the window.
class ButtonWidget : public QAbstractButton {
    Q_OBJECT
public:
    explicit ButtonWidget(CButtonUI* control);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    CButtonUI* m_pControl;
};

} // namespace kit
