#include "ui/kit/CHorizontalLayoutUI.h"

#include <algorithm>

QString CHorizontalLayoutUI::GetClass() const
{
    return QStringLiteral("HorizontalLayoutUI");
}

CControlUI* CHorizontalLayoutUI::GetInterface(const QString& name)
{
    return name == QLatin1String("HorizontalLayout") ? this : CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::LayoutChildren(const QRect& rc)
{
    int fixedTotal = 0;
    int stretchCount = 0;
    int visibleCount = 0;
    for (CControlUI* item : m_items) {
        if (!item->IsVisible() || item->IsFloat())
            continue;
        ++visibleCount;
        fixedTotal += item->GetPadding().left() + item->GetPadding().right();
        if (item->GetFixedWidth() > 0)
            fixedTotal += item->GetFixedWidth();
        else
            ++stretchCount;
    }
    if (visibleCount > 1)
        fixedTotal += m_nChildPadding * (visibleCount - 1);
    const int room = std::max(0, rc.width() - fixedTotal);
    const int stretch = stretchCount > 0 ? room / stretchCount : 0;
    const int remainder = stretchCount > 0 ? room - stretch * stretchCount : 0;

    int x = rc.left();
    for (CControlUI* item : m_items) {
        if (!item->IsVisible() || item->IsFloat())
            continue;
        const QMargins pad = item->GetPadding();
        x += pad.left();
        int width = item->GetFixedWidth();
        if (width <= 0) {
            width = stretch;
            if (--stretchCount == 0)
                width += remainder;
        }
        const int height = item->GetFixedHeight() > 0 ? item->GetFixedHeight()
                                                      : rc.height() - pad.top() - pad.bottom();
        item->SetPos(QRect(x, rc.top() + pad.top(), std::max(0, width), std::max(0, height)));
        x += width + pad.right() + m_nChildPadding;
    }
}
