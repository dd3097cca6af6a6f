#pragma once

#include <QAbstractListModel>

class Module1;

// The catalogue's discs as one list that the disc chooser and the navigator
// both show. It follows the catalogue's signals: the names are read from the
// shared disc table when they are drawn, never copied, and the disc on show
// is marked.
class DiscList : public QAbstractListModel
{
public:
    DiscList(const Module1& state, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void refill();
    void markShown(int row);

    const Module1& m_state;
    int m_rows = 0;
    int m_shown = -1;
};
