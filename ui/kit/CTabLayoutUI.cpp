#include "ui/kit/CTabLayoutUI.h"

#include "ui/kit/AttributeParsing.h"
#include "ui/kit/CPaintManagerUI.h"

#include <QWidget>

QString CTabLayoutUI::GetClass() const
{
    return QStringLiteral("TabLayoutUI");
}

CControlUI* CTabLayoutUI::GetInterface(const QString& name)
{
    return name == QLatin1String("TabLayout") ? this : CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::SelectItem(int index, bool triggerEvent)
{
    if (index < 0 || index >= GetCount())
        return false;
    if (index == m_iCurSel)
        return true;
    const int old = m_iCurSel;
    m_iCurSel = index;
    ApplySelection();
    if (triggerEvent && m_pManager)
        m_pManager->SendNotify(this, QStringLiteral("tabselect"), static_cast<WPARAM>(index),
                               static_cast<LPARAM>(old));
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* control, bool triggerEvent)
{
    const int index = GetItemIndex(control);
    return index >= 0 && SelectItem(index, triggerEvent);
}

void CTabLayoutUI::SetAttribute(const QString& name, const QString& value)
{
    if (name == QLatin1String("selectedid"))
        m_iCurSel = kit::ParseInt(value);
    else
        CContainerUI::SetAttribute(name, value);
    ApplySelection();
}

void CTabLayoutUI::LayoutChildren(const QRect& rc)
{
    CContainerUI::LayoutChildren(rc);
    ApplySelection();
}

void CTabLayoutUI::ApplySelection()
{
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = m_items[static_cast<size_t>(i)];
        QWidget* widget = item->PeekWidget();
        if (widget && widget->parentWidget())
            widget->setVisible(i == m_iCurSel && item->IsVisible());
    }
}

void CTabLayoutUI::ApplyStateToWidget(QWidget* widget)
{
    CContainerUI::ApplyStateToWidget(widget);
    ApplySelection();
}
