#include "ui/kit/CVerticalLayoutUI.h"

#include <algorithm>

QString CVerticalLayoutUI::GetClass() const
{
    return QStringLiteral("VerticalLayoutUI");
}

CControlUI* CVerticalLayoutUI::GetInterface(const QString& name)
{
    return name == QLatin1String("VerticalLayout") ? this : CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::LayoutChildren(const QRect& rc)
{
    int fixedTotal = 0;
    int stretchCount = 0;
    int visibleCount = 0;
    for (CControlUI* item : m_items) {
        if (!item->IsVisible() || item->IsFloat())
            continue;
        ++visibleCount;
        fixedTotal += item->GetPadding().top() + item->GetPadding().bottom();
        if (item->GetFixedHeight() > 0)
            fixedTotal += item->GetFixedHeight();
        else
            ++stretchCount;
    }
    if (visibleCount > 1)
        fixedTotal += m_nChildPadding * (visibleCount - 1);
    const int room = std::max(0, rc.height() - fixedTotal);
    const int stretch = stretchCount > 0 ? room / stretchCount : 0;
    const int remainder = stretchCount > 0 ? room - stretch * stretchCount : 0;

    int y = rc.top();
    for (CControlUI* item : m_items) {
        if (!item->IsVisible() || item->IsFloat())
            continue;
        const QMargins pad = item->GetPadding();
        y += pad.top();
        int height = item->GetFixedHeight();
        if (height <= 0) {
            height = stretch;
            if (--stretchCount == 0)
                height += remainder;
        }
        const int width = item->GetFixedWidth() > 0 ? item->GetFixedWidth()
                                                    : rc.width() - pad.left() - pad.right();
        item->SetPos(QRect(rc.left() + pad.left(), y, std::max(0, width), std::max(0, height)));
        y += height + pad.bottom() + m_nChildPadding;
    }
}
