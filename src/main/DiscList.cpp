#include "main/DiscList.h"

#include "store/Module1.h"

#include <QBrush>
#include <QColor>
#include <QFont>

DiscList::DiscList(const Module1& state, QObject* parent)
    : QAbstractListModel(parent), m_state(state)
{
    const Catalogue* catalogue = &state.catalogue();
    connect(catalogue, &Catalogue::catalogueReset, this, &DiscList::refill);
    connect(catalogue, &Catalogue::discAdded, this, [this](int row) {
        beginInsertRows({}, row, row);
        ++m_rows;
        if (m_shown >= row)
            ++m_shown;
        endInsertRows();
    });
    connect(catalogue, &Catalogue::discRemoved, this, [this](int row) {
        if (row < 0 || row >= m_rows)
            return;
        beginRemoveRows({}, row, row);
        --m_rows;
        if (m_shown == row)
            m_shown = -1;
        else if (m_shown > row)
            --m_shown;
        endRemoveRows();
    });
    connect(catalogue, &Catalogue::discShown, this, &DiscList::markShown);
    refill();
}

int DiscList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant DiscList::data(const QModelIndex& index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || row < 0 || row >= m_rows || row >= m_state.Discs.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
        return m_state.Discs.at(row).name;
    case Qt::FontRole:
        if (row == m_shown) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ForegroundRole:
        return row == m_shown ? QVariant(QBrush(QColor(0xf2, 0xa9, 0x3b))) : QVariant();
    default:
        return {};
    }
}

void DiscList::refill()
{
    beginResetModel();
    m_rows = m_state.DiscCount;
    m_shown =
        m_state.CurrentDisc >= 0 && m_state.CurrentDisc < m_rows && !m_state.DiscPath.isEmpty()
            ? m_state.CurrentDisc
            : -1;
    endResetModel();
}

void DiscList::markShown(int row)
{
    if (row == m_shown)
        return;
    const int before = m_shown;
    m_shown = row;
    for (const int r : {before, row})
        if (r >= 0 && r < m_rows)
            emit dataChanged(index(r), index(r), {Qt::FontRole, Qt::ForegroundRole});
}
