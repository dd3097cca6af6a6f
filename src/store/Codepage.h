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
// Windows-1252 is Latin-1 but for the bytes 0x80 to 0x9F. The five of those
// it leaves undefined stand for the control characters of the same number, as
// in Windows' own conversion. Written out here because Qt for Windows, built
// without ICU, has no converter for it; the tests hold it to Qt's on Linux.
inline constexpr char16_t High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The character of one byte, as decode() reads it.
inline char16_t unicodeOf(uchar byte)
{
    return byte >= 0x80 && byte <= 0x9F ? High[byte - 0x80] : char16_t(byte);
}
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
