#pragma once

#include "ui/kit/CContainerUI.h"

// Places its children left to right. Children with a fixed width keep it;
// the others share the remaining width equally. A child without a fixed
// height fills the height.
class CHorizontalLayoutUI : public CContainerUI {
public:
    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;

protected:
    void LayoutChildren(const QRect& rc) override;
};
