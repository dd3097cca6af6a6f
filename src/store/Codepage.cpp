#include "store/Codepage.h"

#include <QHash>
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

static bool keptByTheCodePage(char16_t c)
{
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

static bool breaksTheLine(char16_t c)
{
    return (QChar::category(c) == QChar::Other_Control && !keptByTheCodePage(c)) || c == 0x2028 ||
           c == 0x2029;
}

QString oneLine(const QString& text)
{
    if (std::none_of(text.cbegin(), text.cend(),
                     [](QChar c) { return breaksTheLine(c.unicode()); }))
        return text;
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            continue; // CR LF is one line break: its LF gives the blank
        line.append(breaksTheLine(c) ? QChar(u' ') : text.at(i));
    }
    return line;
}

QString characterName(const QString& character)
{
    const char32_t code = character.isEmpty() ? 0 : character.toUcs4().value(0);
    const QString hex = QStringLiteral("U+%1").arg(uint(code), 4, 16, QChar(u'0')).toUpper();
    static const QHash<char32_t, const char*> names = {
        {0x0A, "the line break"},
        {0x0D, "the carriage return"},
        {0x09, "the tab"},
        {0x00, "the NUL character"},
        {0x85, "the next-line mark"},
        {0x2028, "the line separator"},
        {0x2029, "the paragraph separator"},
    };
    if (const auto named = names.constFind(code); named != names.cend())
        return QStringLiteral("%1 (%2)").arg(QLatin1StringView(named.value()), hex);
    const QChar::Category category = QChar::category(code);
    const bool invisible = !QChar::isPrint(code) || category == QChar::Separator_Space ||
                           category == QChar::Other_Format || category == QChar::Mark_NonSpacing;
    if (invisible)
        return QStringLiteral("the invisible character %1").arg(hex);
    return QStringLiteral("the character '%1' (%2)").arg(character, hex);
}

QString unstorableText(const QString& text, const QString& where)
{
    QString bad;
    for (qsizetype i = 0; i < text.size() && bad.isEmpty(); ++i)
        if (breaksTheLine(text.at(i).unicode()))
            bad = text.at(i);
    const QString outside = firstUnrepresentable(text);
    if (!outside.isEmpty() && (bad.isEmpty() || text.indexOf(outside) < text.indexOf(bad)))
        bad = outside;
    if (bad.isEmpty())
        return {};
    QString name = characterName(bad);
    name[0] = name.at(0).toUpper();
    return QStringLiteral("%1%2 cannot be stored in the catalogue.").arg(name, where);
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
