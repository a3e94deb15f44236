#pragma once

#include "ui/kit/CControlUI.h"
#include "ui/kit/CListTextElementUI.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace kit {
class ListModel;
}

// A list of text rows under a header of columns declared in the layout
// (<ListHeader><ListHeaderItem text=".." width=".."/></ListHeader>). Backed
// by a table model: rows are plain data, and rows added in a burst are
// announced to the view together, so even very large results stay fast.
// Selecting a row (by click, keyboard or SelectItem) sends "itemselect"
// (wParam: new index, lParam: old index); a click on a row sends
// "itemclick" (wParam: the row index).
class CListUI : public CControlUI {
public:
    CListUI();
    ~CListUI() override;

    QString GetClass() const override;
    CControlUI* GetInterface(const QString& name) override;

    // Takes ownership of the row; false (and the row deleted) when null or
    // already in a list.
    bool Add(CListTextElementUI* row);
    // Deletes every row; no selection afterwards.
    void RemoveAll();
    CListTextElementUI* GetItemAt(int index) const;
    int GetCount() const { return static_cast<int>(m_rows.size()); }
    // -1 when no row is selected.
    int GetCurSel() const { return m_iCurSel; }
    // -1 clears the selection. Sends "itemselect" when it changed.
    bool SelectItem(int index, bool takeFocus = false);

    // Columns, normally from the layout.
    void AddColumn(const QString& text, int width);
    int GetColumnCount() const { return static_cast<int>(m_columnTexts.size()); }
    QString GetColumnText(int column) const;
    int GetColumnWidth(int column) const;

    void SetAttribute(const QString& name, const QString& value) override;

    // Kit internals: the model reads rows, the view reports selection.
    void OnRowTextChanged(CListTextElementUI* row, int column);
    void OnViewSelectionChanged(int index);
    void OnViewRowClicked(int index);
    // Announces rows added since the last flush to the view now.
    void FlushPendingRows();

protected:
    QWidget* CreateWidget() override;
    void ApplyStateToWidget(QWidget* widget) override;

private:
    void ScheduleFlush();

    std::vector<std::unique_ptr<CListTextElementUI>> m_rows;
    std::unique_ptr<kit::ListModel> m_pModel;
    QStringList m_columnTexts;
    std::vector<int> m_columnWidths;
    int m_iCurSel = -1;
    bool m_bFlushScheduled = false;
    bool m_bSyncingSelection = false;

public:
    // Look, from the layout (0xAARRGGBB; 0 = the kit's default).
    DWORD m_dwItemTextColor = 0;
    DWORD m_dwItemBkColor = 0;
    DWORD m_dwItemAltBkColor = 0;
    DWORD m_dwSelectedBkColor = 0;
    DWORD m_dwSelectedTextColor = 0;
    DWORD m_dwHotBkColor = 0;
    DWORD m_dwHeaderBkColor = 0;
    DWORD m_dwHeaderTextColor = 0;
    DWORD m_dwLineColor = 0;
    int m_iItemFont = -1;
    int m_iHeaderFont = -1;
    int m_nItemHeight = 28;
    int m_nHeaderHeight = 30;
    QString m_sItemAlign = QStringLiteral("center");
};
