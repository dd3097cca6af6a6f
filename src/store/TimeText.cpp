#include "store/TimeText.h"

#include <QRegularExpression>

namespace timetext {

std::optional<int> parse(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int h = m.captured(1).toInt();
    const int min = m.captured(2).toInt();
    const int s = m.hasCaptured(3) ? m.captured(3).toInt() : 0;
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

std::optional<int> trackLength(const QString& text)
{
    return parse(QStringLiteral("00:") + text);
}

} // namespace timetext
