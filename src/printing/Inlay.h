#pragma once

#include "store/CatalogueFiles.h"

#include <QRectF>
#include <QString>

// A disc's case inlay as a PDF on A4: the front insert (120 x 120 mm) with the
// disc's name and its numbered tracks (artist – title and length), and the
// tray card (151 x 118 mm, the name on both 6.5 mm spines) that takes the
// list when it does not fit the front; each with thin cut marks. The type
// grows smaller to fit 25 tracks. Characters print as they are.
namespace inlay {

inline const QRectF Front(0, 0, 120, 120); // millimetres
inline const QRectF Tray(0, 0, 151, 118);
constexpr qreal Spine = 6.5;
// Where they stand on the A4 page, in millimetres from its top left.
inline const QPointF FrontAt(45, 20);
inline const QPointF TrayAt(29.5, 160);

// A track's line: "artist – title", or the title alone.
QString trackLine(const catalogue::Track& track);

// An empty text, or what went wrong.
QString writePdf(const QString& path, const QString& discName,
                 const QList<catalogue::Track>& tracks);

} // namespace inlay
