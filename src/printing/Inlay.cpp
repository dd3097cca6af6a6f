#include "printing/Inlay.h"

#include "store/TimeText.h"

#include <QBuffer>
#include <QDir>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace inlay {

namespace {

// Millimetres to the writer's units.
struct Page {
    qreal unit;
    qreal operator()(qreal mm) const { return mm * unit; }
    QRectF rect(const QRectF& mm) const
    {
        return {mm.x() * unit, mm.y() * unit, mm.width() * unit, mm.height() * unit};
    }
};

QFont face(qreal points, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Thin marks beyond each corner of a cut line, clear of the insert itself.
void cutMarks(QPainter& painter, const Page& mm, const QRectF& insert)
{
    const qreal gap = 2, length = 5;
    for (const qreal x : {insert.left(), insert.right()}) {
        for (const qreal y : {insert.top(), insert.bottom()}) {
            const qreal outX = x == insert.left() ? -1 : 1;
            const qreal outY = y == insert.top() ? -1 : 1;
            painter.drawLine(QPointF(mm(x + outX * gap), mm(y)),
                             QPointF(mm(x + outX * (gap + length)), mm(y)));
            painter.drawLine(QPointF(mm(x), mm(y + outY * gap)),
                             QPointF(mm(x), mm(y + outY * (gap + length))));
        }
    }
}

QString lengthOf(const QList<catalogue::Track>& tracks)
{
    const std::optional<qint64> total = timetext::totalLength(tracks);
    return total ? timetext::minutesForm(*total) : QString();
}

// The numbered track list in an area: the largest size up to `largest` at
// which every line fits; false when that would be smaller than `smallest`.
// Without a painter it only tells whether the list fits.
bool trackList(QPaintDevice* device, QPainter* painter, const Page& mm, const QRectF& area,
               const QList<catalogue::Track>& tracks, qreal largest, qreal smallest)
{
    for (qreal points = largest; points >= smallest; points -= 0.25) {
        const QFont font = face(points);
        const QFontMetricsF metrics(font, device);
        const qreal line = metrics.lineSpacing();
        if (line * tracks.size() > mm(area.height()))
            continue;
        bool fits = true;
        for (qsizetype t = 0; t < tracks.size() && fits; ++t) {
            const catalogue::Track& track = tracks.at(t);
            const QString text = QStringLiteral("%1. %2").arg(t + 1).arg(trackLine(track));
            fits = metrics.horizontalAdvance(text) +
                       metrics.horizontalAdvance(QStringLiteral("  00:00")) <=
                   mm(area.width());
        }
        if (!fits)
            continue;
        if (!painter)
            return true;
        painter->setFont(font);
        for (qsizetype t = 0; t < tracks.size(); ++t) {
            const catalogue::Track& track = tracks.at(t);
            const QRectF row(mm(area.x()), mm(area.y()) + t * line, mm(area.width()), line);
            painter->drawText(row, Qt::AlignLeft | Qt::AlignVCenter,
                              QStringLiteral("%1. %2").arg(t + 1).arg(trackLine(track)));
            painter->drawText(row, Qt::AlignRight | Qt::AlignVCenter, track[4]);
        }
        return true;
    }
    return false;
}

// A single line of text as large as fits, up to `largest` points.
void fitted(QPainter& painter, const QRectF& area, const QString& text, qreal largest, bool bold,
            int flags = Qt::AlignCenter)
{
    qreal points = largest;
    for (; points > 4; points -= 0.25) {
        const QFontMetricsF metrics(face(points, bold), painter.device());
        if (metrics.horizontalAdvance(text) <= area.width() && metrics.height() <= area.height())
            break;
    }
    painter.setFont(face(points, bold));
    painter.drawText(area, flags, text);
}

} // namespace

QString trackLine(const catalogue::Track& track)
{
    return track[1].isEmpty() ? track[2] : track[1] + QStringLiteral(" \u2013 ") + track[2];
}

QString writePdf(const QString& path, const QString& discName,
                 const QList<catalogue::Track>& tracks)
{
    // Drawn in memory, then written as every file for the user is: a
    // device or a pipe is written to, never replaced, and a failed write
    // never reads as done.
    const QString failed = QStringLiteral("The inlay could not be written to '%1'")
                               .arg(QDir::toNativeSeparators(path));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(1200);
    pdf.setTitle(discName);
    pdf.setCreator(QStringLiteral("Platterbook"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return failed + u'.';
    const Page mm{pdf.resolution() / 25.4};
    const QRectF front = Front.translated(FrontAt);
    const QRectF tray = Tray.translated(TrayAt);

    painter.setPen(QPen(Qt::black, mm(0.1)));
    cutMarks(painter, mm, front);
    cutMarks(painter, mm, tray);
    // The spines fold: short marks beyond the card's edges.
    for (const qreal x : {tray.left() + Spine, tray.right() - Spine}) {
        painter.drawLine(QPointF(mm(x), mm(tray.top() - 2)), QPointF(mm(x), mm(tray.top() - 5)));
        painter.drawLine(QPointF(mm(x), mm(tray.bottom() + 2)),
                         QPointF(mm(x), mm(tray.bottom() + 5)));
    }

    // The front: the disc's name, and its tracks when they fit there.
    const QRectF frontText = front.adjusted(6, 6, -6, -6);
    const QRectF frontList(frontText.x(), frontText.y() + 14, frontText.width(),
                           frontText.height() - 14);
    const bool onFront = trackList(&pdf, nullptr, mm, frontList, tracks, 11, 6.5);
    fitted(
        painter,
        mm.rect(onFront ? QRectF(frontText.x(), frontText.y(), frontText.width(), 11) : frontText),
        discName, onFront ? 16 : 26, true);
    if (onFront)
        trackList(&pdf, &painter, mm, frontList, tracks, 11, 6.5);

    // The tray card: the list when the front could not hold it, otherwise
    // the name and the playing time; the name on both spines.
    const QRectF back = tray.adjusted(Spine + 5, 5, -Spine - 5, -5);
    if (onFront) {
        fitted(painter, mm.rect(QRectF(back.x(), back.y() + 30, back.width(), 14)), discName, 18,
               true);
        const QString total = lengthOf(tracks);
        fitted(painter, mm.rect(QRectF(back.x(), back.y() + 48, back.width(), 8)),
               QStringLiteral("%1 tracks%2")
                   .arg(tracks.size())
                   .arg(total.isEmpty() ? QString() : QStringLiteral(", ") + total),
               11, false);
    } else {
        fitted(painter, mm.rect(QRectF(back.x(), back.y(), back.width(), 8)), discName, 12, true);
        trackList(&pdf, &painter, mm,
                  QRectF(back.x(), back.y() + 10, back.width(), back.height() - 10), tracks, 10, 3);
    }
    for (const bool left : {true, false}) {
        painter.save();
        const QRectF spine(left ? tray.left() : tray.right() - Spine, tray.top(), Spine,
                           tray.height());
        painter.translate(mm(spine.center().x()), mm(spine.center().y()));
        painter.rotate(left ? -90 : 90);
        fitted(painter,
               QRectF(-mm(spine.height() - 6) / 2, -mm(Spine - 1.5) / 2, mm(spine.height() - 6),
                      mm(Spine - 1.5)),
               discName, 9, true);
        painter.restore();
    }
    if (!painter.end())
        return failed + u'.';
    if (const QString reason = catalogue::writeForUser(path, buffer.data()); !reason.isEmpty())
        return QStringLiteral("%1: %2.").arg(failed, reason);
    return {};
}

} // namespace inlay
