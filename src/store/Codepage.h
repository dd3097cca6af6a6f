#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The catalogue files are stored in Windows-1252 on every platform, so a Data
// folder moves between machines unchanged.
namespace codepage {

// Every byte value reads; the five bytes the code page leaves undefined read as
// U+0081, U+008D, U+008F, U+0090 and U+009D and write back unchanged.
QString decode(const QByteArray& bytes);

// Encodes text that representable() accepted. Characters the code page cannot
// hold must be refused before they get here; they never reach a file.
QByteArray encode(const QString& text);

// True when every character of the text can be stored in Windows-1252.
bool representable(const QString& text);

// The first character of the text that Windows-1252 cannot store, or an empty
// string when there is none.
QString firstUnrepresentable(const QString& text);

// Splits a file text into lines. CR LF, LF alone and CR alone each end a line,
// so a file edited on another system keeps its records. A last line without a
// line end counts; nothing follows a final line end.
QStringList splitLines(const QString& text);

} // namespace codepage
