#pragma once

#include <QAbstractTableModel>

#include <functional>

class CListUI;

namespace kit {

// Table model over the rows of a CListUI. Rows appended to the list are
// announced to the view in batches (Announce), so a burst of appends costs
// one insertion notification.
class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListModel(CListUI* list);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Makes the first `total` rows of the list visible to views.
    void Announce(int total);
    // Runs `clear` (which empties the list) inside a model reset.
    void Reset(const std::function<void()>& clear);
    void RowChanged(int row, int column);
    void ColumnsChanged();
    int AnnouncedRows() const { return m_nAnnounced; }

private:
    CListUI* m_pList;
    int m_nAnnounced = 0;
};

} // namespace kit
