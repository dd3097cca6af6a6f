#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;

// Prints a laid-out text on a printer: Arial 12 point on A4, every CR starts a
// new line at the left margin, a line too long for the page is wrapped at its
// right margin (at a blank where there is one), a full page goes on to the next.
// Returns an empty text on success, otherwise what went wrong.
QString printOut(QPrinter& printer, const QString& text);

// The lines as they will stand on paper, for a page of the given width in the
// printer's units; measure gives a text's width in the same units.
QStringList wrapLines(const QString& text, qreal width,
                      const std::function<qreal(const QString&)>& measure);
