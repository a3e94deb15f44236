#pragma once

#include "ui/kit/CLabelUI.h"

// A horizontal progress bar, range "min".."max" (default 0..100).
// SetValue may be called from any thread (posted to the GUI thread).
class CProgressUI : public CLabelUI {
public:
    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;

    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int value);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int value);
    int GetValue() const { return m_nValue; }
    // Clamped to the range.
    void SetValue(int value);

    void SetForeColor(DWORD color) { m_dwForeColor = color; Invalidate(); }
    DWORD GetForeColor() const { return m_dwForeColor; }

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintStatusImage(QPainter& painter) override;

protected:
    QWidget* CreateWidget() override;
    void ApplyStateToWidget(QWidget* widget) override;

private:
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    DWORD m_dwForeColor = 0;
};
