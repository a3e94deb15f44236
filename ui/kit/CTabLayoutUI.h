#pragma once

#include "ui/kit/CContainerUI.h"

// Pages on top of each other; only the current one is shown. Selecting a
// page with triggerEvent sends "tabselect" (wParam new page, lParam old).
class CTabLayoutUI : public CContainerUI {
public:
    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;

    int GetCurSel() const { return m_iCurSel; }
    bool SelectItem(int index, bool triggerEvent = true);
    bool SelectItem(CControlUI* control, bool triggerEvent = true);

    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void LayoutChildren(const QRect& rc) override;
    void ApplyStateToWidget(QWidget* widget) override;

private:
    void ApplySelection();

    int m_iCurSel = 0;
};
