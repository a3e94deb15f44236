#pragma once

#include "ui/kit/CLabelUI.h"

// A push button: a label with colours and images for its normal, hot (mouse
// over), pushed and disabled states. A click sends "click". Buttons never
// take the keyboard focus: clicking one gives the focus to the window.
class CButtonUI : public CLabelUI {
public:
    CButtonUI();

    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;

    void SetHotBkColor(DWORD color) { m_dwHotBkColor = color; Invalidate(); }
    DWORD GetHotBkColor() const { return m_dwHotBkColor; }
    void SetPushedBkColor(DWORD color) { m_dwPushedBkColor = color; Invalidate(); }
    DWORD GetPushedBkColor() const { return m_dwPushedBkColor; }
    void SetHotTextColor(DWORD color) { m_dwHotTextColor = color; Invalidate(); }
    void SetPushedTextColor(DWORD color) { m_dwPushedTextColor = color; Invalidate(); }
    void SetHotBorderColor(DWORD color) { m_dwHotBorderColor = color; Invalidate(); }
    // Image descriptions: a file name, or "file='x.png' corner='l,t,r,b'".
    void SetNormalImage(const QString& image) { m_sNormalImage = image; Invalidate(); }
    void SetHotImage(const QString& image) { m_sHotImage = image; Invalidate(); }
    void SetPushedImage(const QString& image) { m_sPushedImage = image; Invalidate(); }
    void SetDisabledImage(const QString& image) { m_sDisabledImage = image; Invalidate(); }

    // Acts as if clicked: sends "click".
    virtual bool Activate();

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintBkColor(QPainter& painter) override;
    void PaintStatusImage(QPainter& painter) override;
    void PaintText(QPainter& painter) override;
    void PaintBorder(QPainter& painter) override;

protected:
    QWidget* CreateWidget() override;
    bool IsHot() const;
    bool IsPushed() const;

    DWORD m_dwHotBkColor = 0;
    DWORD m_dwPushedBkColor = 0;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
    DWORD m_dwHotBorderColor = 0;
    QString m_sNormalImage;
    QString m_sHotImage;
    QString m_sPushedImage;
    QString m_sDisabledImage;
    bool m_bHandCursor = false;
};
