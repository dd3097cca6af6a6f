#include "main/TrackRows.h"

#include "dialogs/Chrome.h"
#include "dialogs/ElidedLabel.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace {

constexpr int twips(int t)
{
    return t / TwipsPerPixel;
}

// The panel that holds the rows, with a faint band behind each row.
class RowBands : public QWidget
{
public:
    explicit RowBands(QWidget* parent) : QWidget(parent)
    {
        resize(702, twips(1470 + 360 * 24 + 285) - TrackRows::Top + 2);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < TrackRows::Rows; ++i) {
            painter.setBrush(QColor(255, 255, 255, i % 2 == 0 ? 11 : 5));
            painter.drawRoundedRect(QRectF(36, twips(1470 + 360 * i) - TrackRows::Top, 648, 19), 3,
                                    3);
        }
    }
    // A press between the rows is a press on the window: it drags it.
    void mousePressEvent(QMouseEvent* event) override { event->ignore(); }
};

} // namespace

TrackRows::TrackRows(QWidget* window) : QScrollArea(window)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    setProperty("surface", true);
    viewport()->setProperty("surface", true);
    setAccessibleName(QStringLiteral("Tracks"));
    auto* panel = new RowBands(this);
    panel->setProperty("surface", true);
    setWidget(panel);
    move(0, Top);

    for (int i = 0; i < Rows; ++i) {
        const int top = twips(1470 + 360 * i) - Top;
        auto label = [&](int left, int width) {
            auto* l = new ElidedLabel(panel);
            l->setGeometry(twips(left), top, twips(width), twips(285));
            l->setProperty("cell", true);
            l->hide();
            return l;
        };
        lblLabel[i] = label(615, 1470);
        lblProducer[i] = label(2160, 1755);
        lblTitle[i] = label(4080, 2295);
        // Year and format reach to the next column, so that "1973" and
        // "Single" show whole in the program's font; the length stands at
        // the right of its cell, clear of the year.
        lblDate[i] = label(6480, 480);
        lblDate[i]->setProperty("year", true);
        lblLength[i] = label(6960, 495);
        lblLength[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblLength[i]->setIndent(3);
        lblFormat[i] = label(7560, 705);
        auto* box = new QLineEdit(panel);
        box->setMaxLength(TextBoxLimit);
        box->setGeometry(twips(8280), twips(1440 + 360 * i) - Top, twips(1950), twips(285));
        box->setAccessibleName(QStringLiteral("Comments of track %1").arg(i + 1));
        box->hide();
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, i] { emit commentEdited(i); });
        txtComments[i] = box;
    }
}

QWidget* TrackRows::cell(int field, int row) const
{
    if (row < 0 || row >= Rows || field < 0 || field > 6)
        return nullptr;
    const std::array<QWidget*, catalogue::FieldCount> cells = {
        lblLabel[row],  lblProducer[row], lblTitle[row],   lblDate[row],
        lblLength[row], lblFormat[row],   txtComments[row]};
    return cells[field];
}

void TrackRows::hideAll()
{
    m_shown = false;
    for (int i = 0; i < Rows; ++i)
        for (int f = 0; f < catalogue::FieldCount; ++f)
            cell(f, i)->hide();
}

void TrackRows::showTracks(const QList<catalogue::Track>& tracks,
                           const std::function<QString(int)>& comment, const QString& readOnly)
{
    hideAll();
    const int shown = std::min<int>(int(tracks.size()), Rows);
    for (int i = 0; i < shown; ++i) {
        const catalogue::Track& track = tracks.at(i);
        for (int f = 0; f < 6; ++f) {
            auto* label = static_cast<QLabel*>(cell(f, i));
            label->setText(track[f]);
            label->setToolTip(track[f]);
        }
        txtComments[i]->setText(comment(i));
        // A box that takes no typing says why.
        txtComments[i]->setReadOnly(!readOnly.isEmpty());
        txtComments[i]->setToolTip(readOnly.isEmpty()
                                       ? QString()
                                       : QStringLiteral("<p>%1</p>").arg(readOnly.toHtmlEscaped()));
        txtComments[i]->setCursorPosition(0);
    }
    for (int i = 0; i < shown; ++i)
        for (int f = 0; f < catalogue::FieldCount; ++f)
            cell(f, i)->show();
    m_shown = true;
}

void TrackRows::fitTo(int tracks, int height)
{
    widget()->resize(widget()->width(),
                     twips(1470 + 360 * std::max(tracks - 1, 0) + 285) - Top + 2);
    resize(702, std::max(height - Top - 6, 0));
}

void TrackRows::markCell(QWidget* widget, bool on)
{
    if (!widget)
        return;
    widget->setProperty("marked", on);
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
    widget->update();
}

void TrackRows::mark(int field, int row)
{
    if (HitField >= 0)
        markCell(cell(HitField, HitRow), false);
    HitField = cell(field, row) ? field : -1;
    HitRow = HitField >= 0 ? row : 0;
    if (HitField >= 0)
        markCell(cell(field, row), true);
}

bool TrackRows::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        for (int i = 0; i < Rows; ++i)
            if (watched == txtComments[i] && m_shown)
                emit commentLeft(i);
    }
    return QScrollArea::eventFilter(watched, event);
}
