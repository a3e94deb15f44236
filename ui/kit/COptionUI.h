#pragma once

#include "ui/kit/CButtonUI.h"

// A button that stays selected. A click sends "click" like a button; then
// options sharing a group name select one another out: clicking an
// unselected option selects it, unselects the rest of its group and sends
// "selectchanged"; clicking the selected one changes nothing. An option
// without a group toggles and sends "selectchanged" on every change.
class COptionUI : public CButtonUI {
public:
    ~COptionUI() override;

    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;

    QString GetGroup() const { return m_sGroupName; }
    void SetGroup(const QString& group);
    bool IsSelected() const { return m_bSelected; }
    // Sends "selectchanged" when the state changes and triggerEvent is set.
    void Selected(bool selected, bool triggerEvent = true);

    void SetSelectedBkColor(DWORD color) { m_dwSelectedBkColor = color; Invalidate(); }
    void SetSelectedTextColor(DWORD color) { m_dwSelectedTextColor = color; Invalidate(); }
    void SetSelectedImage(const QString& image) { m_sSelectedImage = image; Invalidate(); }

    bool Activate() override;
    void SetAttribute(const QString& name, const QString& value) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
    void PaintBkColor(QPainter& painter) override;
    void PaintStatusImage(QPainter& painter) override;
    void PaintText(QPainter& painter) override;

private:
    QString m_sGroupName;
    QString m_sSelectedImage;
    DWORD m_dwSelectedBkColor = 0;
    DWORD m_dwSelectedTextColor = 0;
    bool m_bSelected = false;
};
