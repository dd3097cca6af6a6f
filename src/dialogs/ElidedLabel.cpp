#include "dialogs/ElidedLabel.h"

#include <QAbstractItemView>
#include <QBrush>
#include <QHelpEvent>
#include <QListView>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>

QString ElidedLabel::shownText() const
{
    const int room = contentsRect().width() - std::max(indent(), 0) - 2 * margin();
    return fontMetrics().elidedText(text(), Qt::ElideRight, room);
}

void ElidedLabel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event); // the frame that marks a cell
    QPainter painter(this);
    QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    if (indent() > 0) {
        if (alignment() & Qt::AlignRight)
            area.setRight(area.right() - indent());
        else
            area.setLeft(area.left() + indent());
    }
    style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}

ElidedComboBox::ElidedComboBox(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { setToolTip(text); });
}

int ElidedComboBox::fieldWidth() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()
               ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this)
               .width() -
           4;
}

QString ElidedComboBox::shownText() const
{
    return fontMetrics().elidedText(currentText(), Qt::ElideRight, fieldWidth());
}

void ElidedComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = shownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void ElidedComboBox::showPopup()
{
    QComboBox::showPopup();
    // Long names are cut in the list too, rather than the list running far
    // wider than its box.
    QWidget* popup = view()->window();
    if (popup->width() > width() + 40) {
        view()->setTextElideMode(Qt::ElideRight);
        popup->resize(width() + 40, popup->height());
    }
}

static QStyleOptionViewItem clamped(const QStyleOptionViewItem& option, const QWidget* viewport)
{
    QStyleOptionViewItem narrow = option;
    if (viewport)
        narrow.rect.setRight(std::min(narrow.rect.right(), viewport->rect().right()));
    narrow.state &= ~QStyle::State_HasFocus;
    narrow.textElideMode = Qt::ElideRight;
    return narrow;
}

void ElidingDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    // Drawn here rather than by the style: a list of thousands of discs
    // shows at once.
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    const QStyleOptionViewItem line = clamped(option, view ? view->viewport() : nullptr);
    const bool chosen = line.state & QStyle::State_Selected;
    if (chosen)
        painter->fillRect(line.rect, QColor(0xf2, 0xa9, 0x3b));
    const QVariant font = index.data(Qt::FontRole);
    const QFont face = font.isValid() ? font.value<QFont>() : line.font;
    const QVariant brush = index.data(Qt::ForegroundRole);
    painter->save();
    painter->setFont(face);
    painter->setPen(chosen            ? QColor(0x2a, 0x1a, 0x05)
                    : brush.isValid() ? brush.value<QBrush>().color()
                                      : QColor(0xe8, 0xed, 0xf4));
    const QRect text = line.rect.adjusted(3, 0, -3, 0);
    painter->drawText(
        text, Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(face).elidedText(index.data().toString(), Qt::ElideRight, text.width()));
    painter->restore();
}

bool ElidingDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    const QStyleOptionViewItem shown = clamped(option, view->viewport());
    if (shown.fontMetrics.horizontalAdvance(text) + 6 > shown.rect.width())
        QToolTip::showText(event->globalPos(), text, view);
    else
        QToolTip::hideText();
    return true;
}

void ElidingDelegate::applyTo(QListView* list)
{
    list->setItemDelegate(new ElidingDelegate(list));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideRight);
}
