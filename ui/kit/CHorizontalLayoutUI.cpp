#include "ui/kit/CHorizontalLayoutUI.h"

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
    LayoutInLine(rc, Qt::Horizontal);
}
