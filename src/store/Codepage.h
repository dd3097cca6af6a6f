#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The catalogue files are stored in Windows-1252 on every platform, so a Data
// folder moves between machines unchanged.
namespace codepage {

// Every byte value reads; the five bytes the code page leaves undefined read as
// U+0081, U+008D, U+008F, U+0090 and U+009D and write back unchanged.
QString decode(QByteArrayView bytes);
// The character of one byte, as decode() reads it.
char16_t unicodeOf(uchar byte);
// Appends the bytes as decode() reads them.
void appendDecoded(QString& text, QByteArrayView bytes);

// A text file from another program: UTF-8 when utf8 is set or when the bytes
// read as UTF-8 (a byte-order mark is dropped), otherwise Windows-1252.
QString decodeText(const QByteArray& bytes, bool utf8);

// Encodes text that representable() accepted. Characters the code page cannot
// hold must be refused before they get here; they never reach a file.
QByteArray encode(const QString& text);

// True when every character of the text can be stored in Windows-1252.
bool representable(const QString& text);

// The first character of the text that Windows-1252 cannot store, or an empty
// string when there is none.
QString firstUnrepresentable(const QString& text);

// Text made one line, as every field of the catalogue must be: each line
// break (CR LF, CR, LF, U+0085, U+2028, U+2029), tab and other control
// character becomes one blank, and nothing after it is lost. The five C1
// characters the code page keeps for its undefined bytes stay.
QString oneLine(const QString& text);

// A character as a message names it, with its code: "the character 'é'
// (U+00E9)", or for one that shows nothing "the line break (U+000A)".
QString characterName(const QString& character);

// "The character '→' (U+2192) cannot be stored in the catalogue.", for the
// first character of the text that Windows-1252 cannot store or that would
// break the line; empty when the whole text can be stored. where is put after the character's name
// (" in the tags of 'x.flac'").
QString unstorableText(const QString& text, const QString& where = {});

// Splits a file text into lines. CR LF, LF alone and CR alone each end a line,
// so a file edited on another system keeps its records. A last line without a
// line end counts; nothing follows a final line end.
QStringList splitLines(const QString& text);
// The same lines of a file's bytes, handed one by one to take until it
// returns false.
template <class Take> void forEachLine(QByteArrayView bytes, Take&& take)
{
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    while (at < end) {
        const char* stop = at;
        while (stop < end && *stop != '\r' && *stop != '\n')
            ++stop;
        if (!take(QByteArrayView(at, stop - at)))
            return;
        if (stop < end && *stop == '\r' && stop + 1 < end && stop[1] == '\n')
            ++stop;
        at = stop + 1;
    }
}

} // namespace codepage
