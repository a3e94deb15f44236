#pragma once

#include "ui/kit/CContainerUI.h"

// A container that frames its children with a rounded rectangle and writes
// its text as a caption into a gap of the top edge, like a classic group
// box. Layouts name it "GroupBox"; the main window's builder callback makes
// it. The top edge runs at the middle of the caption, and the gap reaches
// from 15 pixels right of the corner to 5 pixels past the caption, which
// starts at left + cx + 20 (cx, cy: the "borderround" size).
//
// Attributes of its own: "font" (index into the layout's fonts), "textcolor"
// (hexadecimal 0xAARRGGBB, one leading '#' allowed; 0 means the window's
// default text colour) and "showhtml". Every other attribute is the plain
// control's: container attributes such as "inset" have no effect, so the
// children are placed with their own "padding".
class CGroupBoxUI : public CContainerUI {
public:
    CGroupBoxUI();
    ~CGroupBoxUI() override;

    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void PaintText(QPainter& painter) override;
    void PaintBorder(QPainter& painter) override;

    DWORD GetTextColor() const { return m_dwTextColor; }
    int GetFont() const { return m_iFont; }
    bool IsShowHtml() const { return m_bShowHtml; }
    // Size of the caption as last measured by PaintText, in whole pixels.
    int GetCaptionWidth() const { return m_nCaptionWidth; }
    int GetCaptionHeight() const { return m_nCaptionHeight; }

    // Space between the corner and the gap, and between the gap's ends and
    // the caption.
    static constexpr int kGapStart = 15;
    static constexpr int kCaptionSpace = 5;

private:
    DWORD m_dwTextColor = 0;
    int m_iFont = -1;
    bool m_bShowHtml = false;
    int m_nCaptionWidth = 0;
    int m_nCaptionHeight = 0;
};
