#pragma once

#include <QComboBox>
#include <QLabel>
#include <QStyledItemDelegate>

class QListView;

// A label that shows as much of its text as fits and ends it with "…" where
// it does not; text() stays the whole text, and so does the tooltip its
// owner gives it.
class ElidedLabel : public QLabel
{
public:
    using QLabel::QLabel;
    // The text as it is drawn.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A drop-down list whose box shows the chosen entry cut with "…" where it is
// too long, whose tooltip holds the whole entry, and whose list stays near the
// box's width.
class ElidedComboBox : public QComboBox
{
public:
    explicit ElidedComboBox(QWidget* parent);
    QString shownText() const;
    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int fieldWidth() const;
};

// The lines of a list end with "…" where they are wider than the list, with
// the whole line as their tooltip; and a line only looks chosen when it is
// chosen, not merely because the list's keyboard place is on it.
class ElidingDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
    // Gives a list this way of showing its lines.
    static void applyTo(QListView* list);
};
