#include "store/TimeText.h"

#include <array>

namespace timetext {

namespace {

// One to three numbers of one or two digits each, separated by colons, as
// the whole text; nothing when it is anything else.
std::optional<std::array<int, 3>> numbers(QStringView text, int* count)
{
    std::array<int, 3> found{};
    *count = 0;
    qsizetype at = 0;
    for (;;) {
        const qsizetype first = at;
        int value = 0;
        while (at < text.size() && at - first < 3 && text[at] >= u'0' && text[at] <= u'9')
            value = value * 10 + (text[at++].unicode() - u'0');
        if (at == first || at - first > 2 || *count == 3)
            return std::nullopt;
        found[size_t((*count)++)] = value;
        if (at == text.size())
            return found;
        if (text[at++] != u':')
            return std::nullopt;
    }
}

// A blank as the forms have always read one: a space, tab or line break.
bool blank(QChar c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

} // namespace

std::optional<int> parse(QStringView text)
{
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    int count = 0;
    const std::optional<std::array<int, 3>> n = numbers(text, &count);
    if (!n || count < 2)
        return std::nullopt;
    const auto [h, min, s] = *n;
    if (h > 23 || min > 59 || s > 59)
        return std::nullopt;
    return h * 3600 + min * 60 + s;
}

QString format(qint64 seconds)
{
    qint64 t = seconds % 86400;
    if (t < 0)
        t += 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(t / 3600)
        .arg((t / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(t % 60, 2, 10, QLatin1Char('0'));
}

QString minutesForm(qint64 seconds)
{
    const qint64 t = seconds < 0 ? -seconds : seconds;
    return QStringLiteral("%1:%2")
        .arg(t / 60, 2, 10, QLatin1Char('0'))
        .arg(t % 60, 2, 10, QLatin1Char('0'));
}

QString trackLengthText(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

std::optional<int> trackLength(QStringView text)
{
    // Minutes and seconds, or minutes alone; blanks after them only.
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    int count = 0;
    const std::optional<std::array<int, 3>> n = numbers(text, &count);
    if (!n || count > 2)
        return std::nullopt;
    const auto [min, s, unused] = *n;
    if (min > 59 || s > 59)
        return std::nullopt;
    return min * 60 + s;
}

} // namespace timetext
