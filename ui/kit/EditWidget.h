#pragma once

#include <QLineEdit>

class CControlUI;

namespace kit {

// A line edit that draws its control's background and border beneath the
// text (rounded corners, colours from the layout); with no control it
// draws only the text (as part of a composite widget).
class EditWidget : public QLineEdit {
    Q_OBJECT
public:
    explicit EditWidget(CControlUI* control, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CControlUI* m_pControl;
};

} // namespace kit
