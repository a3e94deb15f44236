#include "ui/kit/ListModel.h"

#include "ui/kit/CListUI.h"

#include <algorithm>

namespace kit {

ListModel::ListModel(CListUI* list) : m_pList(list) {}

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nAnnounced;
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(1, m_pList->GetColumnCount());
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_nAnnounced)
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const CListTextElementUI* row = m_pList->GetItemAt(index.row());
        return row ? row->GetText(index.column()) : QString();
    }
    if (role == Qt::TextAlignmentRole) {
        const QString& align = m_pList->m_sItemAlign;
        Qt::Alignment h = align == QLatin1String("left")    ? Qt::AlignLeft
                          : align == QLatin1String("right") ? Qt::AlignRight
                                                            : Qt::AlignHCenter;
        return QVariant::fromValue(int(h | Qt::AlignVCenter));
    }
    return QVariant();
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_pList->GetColumnText(section);
    return QVariant();
}

void ListModel::Announce(int total)
{
    if (total <= m_nAnnounced)
        return;
    beginInsertRows(QModelIndex(), m_nAnnounced, total - 1);
    m_nAnnounced = total;
    endInsertRows();
}

void ListModel::Reset(const std::function<void()>& clear)
{
    beginResetModel();
    clear();
    m_nAnnounced = 0;
    endResetModel();
}

void ListModel::RowChanged(int row, int column)
{
    if (row < 0 || row >= m_nAnnounced)
        return;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed);
}

void ListModel::ColumnsChanged()
{
    beginResetModel();
    endResetModel();
}

} // namespace kit
