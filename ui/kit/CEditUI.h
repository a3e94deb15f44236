#pragma once

#include "ui/kit/CLabelUI.h"

// A one-line text box. Keys typed into it belong to it and never reach the
// window's HandleMessage. Sends "textchanged" when the clerk edits the text
// and "return" on Enter.
class CEditUI : public CLabelUI {
public:
    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;

    QString GetText() const override;
    void SetMaxChar(int maxChar);
    int GetMaxChar() const { return m_nMaxChar; }
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetPasswordMode(bool password);
    // Grey hint shown while the box is empty.
    void SetTipValue(const QString& tip);
    QString GetTipValue() const { return m_sTipValue; }
    // Gives the box the keyboard focus.
    void SetFocus();

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintText(QPainter& painter) override;

protected:
    QWidget* CreateWidget() override;
    void ApplyStateToWidget(QWidget* widget) override;
    void OnTextChanged() override;

private:
    int m_nMaxChar = 255;
    bool m_bReadOnly = false;
    bool m_bPassword = false;
    QString m_sTipValue;
};
