#pragma once

#include <QPointer>
#include <QWidget>

class CDateTimeUI;
#include <QCalendarWidget>
class QToolButton;

namespace kit {

class EditWidget;

// The widget of a date field: a line edit for typing the date and a
// calendar button that opens a month calendar to pick one. Keys typed into
// it belong to it.
class DateFieldWidget : public QWidget {
    Q_OBJECT
public:
    explicit DateFieldWidget(CDateTimeUI* control);

    EditWidget* Edit() const { return m_pEdit; }
    QToolButton* CalendarButton() const { return m_pButton; }
    // Shows `text` without reporting it back as typed.
    void ShowText(const QString& text);
    // Marks text that is not a date.
    void UpdateValidityLook();
    void OpenCalendar();
    // The open calendar popup, or null.
    QCalendarWidget* Calendar() const { return m_pCalendar; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnEditingFinished();

    CDateTimeUI* m_pControl;
    EditWidget* m_pEdit;
    QToolButton* m_pButton;
    QPointer<QCalendarWidget> m_pCalendar;
};

} // namespace kit
