#pragma once

#include "ui/kit/CLabelUI.h"

#include <QDate>

// A date field. Its text is the date as "yyyy-mm-dd", or empty when no
// valid date is entered. The clerk types the date (also accepted: yyyy-m-d,
// yyyy/m/d, yyyy.m.d and yyyymmdd, shown as yyyy-mm-dd when the field is
// left) or picks one from the calendar button. Keys typed into it belong to
// it and never reach the window's HandleMessage.
class CDateTimeUI : public CLabelUI {
public:
    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;

    // "yyyy-mm-dd", or empty.
    QString GetText() const override;
    // "" empties the field; a date text sets it; anything else empties it.
    void SetText(const QString& text) override;
    QDate GetDate() const;
    void SetDate(const QDate& date);

    // Parses the forms listed above; an invalid QDate when it is no date.
    static QDate ParseDate(const QString& text);

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintText(QPainter& painter) override;

    // Kit internal: the field's widget reports what the clerk typed.
    void TakeTypedText(const QString& text);

protected:
    QWidget* CreateWidget() override;
    void ApplyStateToWidget(QWidget* widget) override;
    void OnTextChanged() override;

private:
    QString m_sTipValue;
};
