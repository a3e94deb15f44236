#include "ui/kit/CVerticalLayoutUI.h"

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
    LayoutInLine(rc, Qt::Vertical);
}
