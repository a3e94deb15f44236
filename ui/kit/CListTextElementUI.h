#pragma once

#include <QString>
#include <QStringList>

class CListUI;

// One row of a CListUI: a text per column. Not a widget: a list may hold
// hundreds of thousands of rows. Once added, the list owns the row.
class CListTextElementUI {
public:
    CListTextElementUI() = default;
    ~CListTextElementUI() = default;
    CListTextElementUI(const CListTextElementUI&) = delete;
    CListTextElementUI& operator=(const CListTextElementUI&) = delete;

    // Empty for a column that was never set.
    QString GetText(int column) const;
    void SetText(int column, const QString& text);

    CListUI* GetOwner() const { return m_pOwner; }
    // Row index in the owner list, -1 when not in a list.
    int GetIndex() const { return m_iIndex; }

private:
    friend class CListUI;
    QStringList m_texts;
    CListUI* m_pOwner = nullptr;
    int m_iIndex = -1;
};
