#include "store/Codepage.h"

#include <QStringDecoder>

#include <QStringEncoder>
#include <algorithm>

namespace codepage {

// Windows-1252 is Latin-1 but for the bytes 0x80 to 0x9F: text without them
// takes Qt's fast Latin-1 conversion, and gives the very same result.
static bool outsideTheDifference(const QByteArray& bytes)
{
    return std::none_of(bytes.cbegin(), bytes.cend(),
                        [](char c) { return uchar(c) >= 0x80 && uchar(c) <= 0x9F; });
}

QString decode(const QByteArray& bytes)
{
    if (outsideTheDifference(bytes))
        return QString::fromLatin1(bytes);
    QStringDecoder decoder("windows-1252");
    return decoder(bytes);
}

QByteArray encode(const QString& text)
{
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) {
            return c.unicode() > 0xFF || (c.unicode() >= 0x80 && c.unicode() <= 0x9F);
        }))
        return text.toLatin1();
    // A fresh encoder for every call: its error state does not reset itself.
    QStringEncoder encoder("windows-1252");
    return encoder(text);
}

QString firstUnrepresentable(const QString& text)
{
    // Walk by code point so that a character outside the basic plane is
    // reported whole.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString one = text.mid(i, len);
        QStringEncoder encoder("windows-1252");
        const QByteArray bytes = encoder(one);
        if (encoder.hasError() || decode(bytes) != one)
            return one;
        i += len;
    }
    return {};
}

bool representable(const QString& text)
{
    QStringEncoder encoder("windows-1252");
    const QByteArray bytes = encoder(text);
    return !encoder.hasError() && decode(bytes) == text;
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

} // namespace codepage
