#pragma once

#include "ui/kit/CControlUI.h"

#include <QFont>

// Text in one of the layout's fonts and a colour, aligned inside the
// control (less the text padding).
class CLabelUI : public CControlUI {
public:
    // Text alignment flags, combinable: one horizontal and one vertical.
    enum Align : unsigned {
        AlignLeft = 0x1,
        AlignHCenter = 0x2,
        AlignRight = 0x4,
        AlignTop = 0x10,
        AlignVCenter = 0x20,
        AlignBottom = 0x40,
    };

    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;

    // 0xAARRGGBB; 0 means the window's default text colour.
    void SetTextColor(DWORD color);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetDisabledTextColor(DWORD color);
    DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    // Index into the layout's font list; -1 is the default font.
    void SetFont(int index);
    int GetFont() const { return m_iFont; }
    void SetTextStyle(unsigned align);
    unsigned GetTextStyle() const { return m_uTextStyle; }
    void SetTextPadding(const QMargins& padding);
    QMargins GetTextPadding() const { return m_rcTextPadding; }
    // Wraps long text onto several lines.
    void SetMultiLine(bool multiLine);
    bool IsMultiLine() const { return m_bMultiLine; }
    // Cuts text that does not fit with "…".
    void SetEndEllipsis(bool ellipsis);

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintText(QPainter& painter) override;

protected:
    QWidget* CreateWidget() override;
    void OnTextChanged() override;
    // Colour the text is drawn in now (enabled / disabled, default colour).
    DWORD EffectiveTextColor() const;
    QFont EffectiveFont() const;
    void DrawTextIn(QPainter& painter, const QRect& rc, DWORD color) const;

    DWORD m_dwTextColor = 0;
    DWORD m_dwDisabledTextColor = 0;
    int m_iFont = -1;
    unsigned m_uTextStyle = AlignLeft | AlignVCenter;
    QMargins m_rcTextPadding;
    bool m_bMultiLine = false;
    bool m_bEndEllipsis = false;
};
