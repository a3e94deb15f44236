#include "ui/kit/CListTextElementUI.h"

#include "ui/kit/CListUI.h"

QString CListTextElementUI::GetText(int column) const
{
    return m_texts.value(column);
}

void CListTextElementUI::SetText(int column, const QString& text)
{
    if (column < 0)
        return;
    while (m_texts.size() <= column)
        m_texts.append(QString());
    m_texts[column] = text;
    if (m_pOwner)
        m_pOwner->OnRowTextChanged(this, column);
}
