#include "store/Codepage.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>

namespace codepage {

// The byte of a character, or -1 when the code page has none for it.
static int byteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    const auto at = std::find(std::begin(High), std::end(High), c);
    return at == std::end(High) ? -1 : int(0x80 + (at - std::begin(High)));
}

// Text without the bytes or characters where the code page and Latin-1
// differ takes Qt's fast Latin-1 conversion, with the very same result.
static bool latin1(char16_t c)
{
    return c <= 0xFF && (c < 0x80 || c > 0x9F);
}

void appendDecoded(QString& text, QByteArrayView bytes)
{
    const qsizetype at = text.size();
    text.resize(at + bytes.size());
    std::transform(bytes.cbegin(), bytes.cend(), text.begin() + at,
                   [](char b) { return QChar(unicodeOf(uchar(b))); });
}

QString decode(QByteArrayView bytes)
{
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char b) { return latin1(uchar(b)); }))
        return QString::fromLatin1(bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    std::transform(bytes.cbegin(), bytes.cend(), text.begin(),
                   [](char b) { return QChar(unicodeOf(uchar(b))); });
    return text;
}

QByteArray encode(const QString& text)
{
    // A character the code page cannot hold becomes the substitute byte 0x1A,
    // once for a character outside the basic plane.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return latin1(c.unicode()); }))
        return text.toLatin1();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        const int b = c.isSurrogate() ? -1 : byteOf(c.unicode());
        bytes.append(char(b < 0 ? 0x1A : b));
    }
    return bytes;
}

QString firstUnrepresentable(const QString& text)
{
    // Walk by code point so that a character outside the basic plane is
    // reported whole.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            return text.mid(i, 2);
        if (c.isSurrogate() || byteOf(c.unicode()) < 0)
            return c;
    }
    return {};
}

bool representable(const QString& text)
{
    return firstUnrepresentable(text).isEmpty();
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

QString decodeText(const QByteArray& bytes, bool utf8)
{
    QByteArrayView text(bytes);
    if (text.startsWith("\xEF\xBB\xBF")) {
        text = text.sliced(3);
        utf8 = true;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(text);
    if (utf8 || !decoder.hasError())
        return decoded;
    return decode(text.toByteArray());
}

} // namespace codepage
