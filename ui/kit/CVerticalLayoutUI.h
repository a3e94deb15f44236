#pragma once

#include "ui/kit/CContainerUI.h"

// Stacks its children top to bottom. Children with a fixed height keep it;
// the others share the remaining height equally. A child without a fixed
// width fills the width.
class CVerticalLayoutUI : public CContainerUI {
public:
    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;

protected:
    void LayoutChildren(const QRect& rc) override;
};
