#pragma once

#include <QProgressBar>

class CControlUI;

namespace kit {

// The widget of a progress bar: value and range of QProgressBar, drawn by
// the control (rounded track and fill).
class ProgressWidget : public QProgressBar {
    Q_OBJECT
public:
    explicit ProgressWidget(CControlUI* control);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CControlUI* m_pControl;
};

} // namespace kit
