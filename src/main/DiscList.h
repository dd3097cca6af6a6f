#pragma once

#include <QAbstractListModel>

class Module1;

// The catalogue's discs as one list that the disc chooser and the navigator
// both show: the names are read from the shared disc table when they are
// drawn, never copied into either, and the disc on show is marked.
class DiscList : public QAbstractListModel
{
public:
    DiscList(Module1& state, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Every disc of the table again.
    void refill();
    // The newest disc (the last row of the table) joins the list.
    void appendNewest();
    // The disc at row leaves the list.
    void removeDisc(int row);
    // Marks the disc on show (-1: none).
    void markShown(int row);

private:
    Module1& m_state;
    int m_rows = 0;
    int m_shown = -1;
};
