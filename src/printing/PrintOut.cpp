#include "printing/PrintOut.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

QStringList wrapLines(const QString& text, qreal width,
                      const std::function<qreal(const QString&)>& measure)
{
    QStringList lines;
    for (QString rest : text.split(u'\r')) {
        while (measure(rest) > width && rest.size() > 1) {
            // The longest start that fits, broken after its last blank if it has one.
            qsizetype fit = 1;
            while (fit < rest.size() && measure(rest.left(fit + 1)) <= width)
                ++fit;
            const qsizetype blank = rest.left(fit).lastIndexOf(u' ');
            const qsizetype cut = blank > 0 ? blank + 1 : fit;
            lines.append(rest.left(cut));
            rest = rest.mid(cut);
        }
        lines.append(rest);
    }
    return lines;
}

QString printOut(QPrinter& printer, const QString& text)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("the printer could not be started");
    QFont font(QStringLiteral("Arial"), 12);
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QRectF page = painter.viewport();
    const qreal lineHeight = metrics.lineSpacing();
    const QStringList lines = wrapLines(text + u'\r', page.width(), [&metrics](const QString& s) {
        return metrics.horizontalAdvance(s);
    });
    qreal y = 0;
    for (const QString& line : lines) {
        if (y + lineHeight > page.height() && y > 0) {
            if (!printer.newPage()) {
                painter.end();
                return QStringLiteral("the printer refused a new page");
            }
            y = 0;
        }
        painter.drawText(QPointF(0, y + metrics.ascent()), line);
        y += lineHeight;
    }
    if (!painter.end())
        return QStringLiteral("the print job could not be finished");
    return {};
}
