#pragma once

#include "store/CatalogueFiles.h"

#include <QScrollArea>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;

// The main window's 25 track rows: six cells and a comment box a row, on a
// panel with a faint band behind each row, scrolling when the window cannot
// grow tall enough for them. It shows what it is given and marks the cell of
// a search hit; the typing in its comment boxes goes out as signals.
class TrackRows : public QScrollArea
{
    Q_OBJECT
public:
    static constexpr int Rows = 25;
    // Where the rows begin in the window, in pixels.
    static constexpr int Top = 96;

    explicit TrackRows(QWidget* window);

    // The tracks in the rows, at most 25, with the comments as comment()
    // gives them; read-only (with the reason as the boxes' tooltip) when
    // readOnly is not empty.
    void showTracks(const QList<catalogue::Track>& tracks,
                    const std::function<QString(int row)>& comment, const QString& readOnly);
    // No row shows; a comment box that loses the focus now hands nothing on.
    void hideAll();
    bool rowsShown() const { return m_shown; }
    // The panel as tall as the rows of that many tracks, the area height pixels high.
    void fitTo(int tracks, int height);

    // The cell of a field in a row: a label, or the comment box for field 6.
    QWidget* cell(int field, int row) const;
    // Marks the cell of a search hit; field -1 marks none.
    void mark(int field, int row);
    int HitField = -1;
    int HitRow = 0;

    std::array<QLabel*, Rows> lblLabel{};
    std::array<QLabel*, Rows> lblProducer{};
    std::array<QLabel*, Rows> lblTitle{};
    std::array<QLabel*, Rows> lblDate{};
    std::array<QLabel*, Rows> lblLength{};
    std::array<QLabel*, Rows> lblFormat{};
    std::array<QLineEdit*, Rows> txtComments{};

signals:
    // The user typed in the comment box of a row.
    void commentEdited(int row);
    // The comment box of a row lost the focus.
    void commentLeft(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void markCell(QWidget* cell, bool on);
    bool m_shown = false;
};
