#pragma once

#include "ui/kit/CControlUI.h"

#include <vector>

// A control holding other controls. The plain container gives every child
// its whole inner rectangle (inside the inset), shrunk by the child's
// padding and limited to the child's fixed size; floating children sit at
// their own position. The container owns its children.
class CContainerUI : public CControlUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;

    bool Add(CControlUI* control);
    bool AddAt(CControlUI* control, int index);
    // Removes and deletes the child.
    bool Remove(CControlUI* control);
    void RemoveAll();
    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(CControlUI* control) const;
    int GetCount() const { return static_cast<int>(m_items.size()); }

    QMargins GetInset() const { return m_rcInset; }
    void SetInset(const QMargins& inset);
    int GetChildPadding() const { return m_nChildPadding; }
    void SetChildPadding(int padding);

    void SetPos(const QRect& rc) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
    void SetVisible(bool visible = true) override;

protected:
    QWidget* CreateWidget() override;
    void ApplyStateToWidget(QWidget* widget) override;
    // Places the non-floating children inside `rc` (the inner rectangle).
    virtual void LayoutChildren(const QRect& rc);
    // Places the non-floating children one after the other along
    // `orientation`: fixed sizes are kept, the others share what is left.
    void LayoutInLine(const QRect& rc, Qt::Orientation orientation);
    // Places floating children relative to the container's top-left.
    void LayoutFloatChildren();
    // Rectangle inside the inset.
    QRect InnerRect() const;
    void AttachChildWidget(CControlUI* control);

    std::vector<CControlUI*> m_items;
    QMargins m_rcInset;
    int m_nChildPadding = 0;
};
