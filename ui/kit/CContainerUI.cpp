#include "ui/kit/CContainerUI.h"

#include "ui/kit/AttributeParsing.h"
#include "ui/kit/ControlWidget.h"

#include <QWidget>

#include <algorithm>

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI()
{
    RemoveAll();
}

QString CContainerUI::GetClass() const
{
    return QStringLiteral("ContainerUI");
}

CControlUI* CContainerUI::GetInterface(const QString& name)
{
    if (name == QLatin1String("Container") || name == QLatin1String("IContainer"))
        return this;
    return CControlUI::GetInterface(name);
}

bool CContainerUI::Add(CControlUI* control)
{
    return AddAt(control, GetCount());
}

bool CContainerUI::AddAt(CControlUI* control, int index)
{
    if (!control || index < 0 || index > GetCount())
        return false;
    if (std::find(m_items.begin(), m_items.end(), control) != m_items.end())
        return false;
    m_items.insert(m_items.begin() + index, control);
    control->SetManager(m_pManager, this);
    if (PeekWidget())
        AttachChildWidget(control);
    if (!m_rcItem.isNull())
        SetPos(m_rcItem);
    return true;
}

bool CContainerUI::Remove(CControlUI* control)
{
    auto it = std::find(m_items.begin(), m_items.end(), control);
    if (it == m_items.end())
        return false;
    m_items.erase(it);
    delete control;
    if (!m_rcItem.isNull())
        SetPos(m_rcItem);
    return true;
}

void CContainerUI::RemoveAll()
{
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* item : items)
        delete item;
}

CControlUI* CContainerUI::GetItemAt(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_items[static_cast<size_t>(index)];
}

int CContainerUI::GetItemIndex(CControlUI* control) const
{
    auto it = std::find(m_items.begin(), m_items.end(), control);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

void CContainerUI::SetInset(const QMargins& inset)
{
    m_rcInset = inset;
    if (!m_rcItem.isNull())
        SetPos(m_rcItem);
}

void CContainerUI::SetChildPadding(int padding)
{
    m_nChildPadding = padding;
    if (!m_rcItem.isNull())
        SetPos(m_rcItem);
}

void CContainerUI::SetPos(const QRect& rc)
{
    CControlUI::SetPos(rc);
    LayoutChildren(InnerRect());
    LayoutFloatChildren();
}

void CContainerUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("inset"))
        SetInset(kit::ParseMargins(value));
    else if (name == QLatin1String("childpadding"))
        SetChildPadding(kit::ParseInt(value));
    else
        CControlUI::SetAttribute(name, value);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent)
{
    CControlUI::SetManager(manager, parent);
    for (CControlUI* item : m_items)
        item->SetManager(manager, this);
}

void CContainerUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
}

QWidget* CContainerUI::CreateWidget()
{
    return new kit::ControlWidget(this);
}

void CContainerUI::ApplyStateToWidget(QWidget* widget)
{
    CControlUI::ApplyStateToWidget(widget);
    for (CControlUI* item : m_items)
        AttachChildWidget(item);
}

void CContainerUI::AttachChildWidget(CControlUI* control)
{
    QWidget* parentWidget = PeekWidget();
    QWidget* child = control->GetWidget();
    if (!parentWidget || !child)
        return;
    if (child->parentWidget() != parentWidget)
        child->setParent(parentWidget);
    child->setVisible(control->IsVisible());
}

QRect CContainerUI::InnerRect() const
{
    return m_rcItem.marginsRemoved(m_rcInset);
}

void CContainerUI::LayoutChildren(const QRect& rc)
{
    for (CControlUI* item : m_items) {
        if (!item->IsVisible() || item->IsFloat())
            continue;
        QRect itemRc = rc.marginsRemoved(item->GetPadding());
        if (item->GetFixedWidth() > 0)
            itemRc.setWidth(item->GetFixedWidth());
        if (item->GetFixedHeight() > 0)
            itemRc.setHeight(item->GetFixedHeight());
        item->SetPos(itemRc);
    }
}

void CContainerUI::LayoutFloatChildren()
{
    for (CControlUI* item : m_items) {
        if (!item->IsFloat())
            continue;
        QRect rc = item->GetFloatPos();
        if (item->GetFixedWidth() > 0 && rc.width() <= 0)
            rc.setWidth(item->GetFixedWidth());
        if (item->GetFixedHeight() > 0 && rc.height() <= 0)
            rc.setHeight(item->GetFixedHeight());
        item->SetPos(rc.translated(m_rcItem.topLeft()));
    }
}

void CContainerUI::LayoutInLine(const QRect& rc, Qt::Orientation orientation)
{
    const bool horizontal = orientation == Qt::Horizontal;
    // Sizes along the line ("main") and across it ("cross").
    const auto fixedMain = [horizontal](const CControlUI* item) {
        return horizontal ? item->GetFixedWidth() : item->GetFixedHeight();
    };
    const auto padBefore = [horizontal](const QMargins& pad) { return horizontal ? pad.left() : pad.top(); };
    const auto padAfter = [horizontal](const QMargins& pad) { return horizontal ? pad.right() : pad.bottom(); };

    int fixedTotal = 0;
    int stretchCount = 0;
    int visibleCount = 0;
    for (const CControlUI* item : m_items) {
        if (!item->IsVisible() || item->IsFloat())
            continue;
        ++visibleCount;
        fixedTotal += padBefore(item->GetPadding()) + padAfter(item->GetPadding());
        if (fixedMain(item) > 0)
            fixedTotal += fixedMain(item);
        else
            ++stretchCount;
    }
    if (visibleCount > 1)
        fixedTotal += m_nChildPadding * (visibleCount - 1);
    const int length = horizontal ? rc.width() : rc.height();
    const int room = std::max(0, length - fixedTotal);
    const int stretch = stretchCount > 0 ? room / stretchCount : 0;
    const int remainder = stretchCount > 0 ? room - stretch * stretchCount : 0;

    int along = horizontal ? rc.left() : rc.top();
    for (CControlUI* item : m_items) {
        if (!item->IsVisible() || item->IsFloat())
            continue;
        const QMargins pad = item->GetPadding();
        along += padBefore(pad);
        int size = fixedMain(item);
        if (size <= 0) {
            size = stretch;
            if (--stretchCount == 0)
                size += remainder;
        }
        size = std::max(0, size);
        if (horizontal) {
            const int height = item->GetFixedHeight() > 0 ? item->GetFixedHeight()
                                                          : rc.height() - pad.top() - pad.bottom();
            item->SetPos(QRect(along, rc.top() + pad.top(), size, std::max(0, height)));
        } else {
            const int width = item->GetFixedWidth() > 0 ? item->GetFixedWidth()
                                                        : rc.width() - pad.left() - pad.right();
            item->SetPos(QRect(rc.left() + pad.left(), along, std::max(0, width), size));
        }
        along += size + padAfter(pad) + m_nChildPadding;
    }
}
