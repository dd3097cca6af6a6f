#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Time texts: disc lengths are times of day ("1:14:00"), track lengths are
// minutes and seconds ("4:05"), totals are shown as whole minutes ("74:00").
namespace timetext {

// The length a disc gets when it has none, as stored.
inline const QString DefaultDiscLength = QStringLiteral("01:14:00");

// Reads hours, minutes and optional seconds separated by colons, one or two
// digits each, hours 0 to 23, minutes and seconds 0 to 59, blanks around the
// text allowed. Seconds of the day; empty for anything else, the empty text too.
std::optional<int> parse(QStringView text);
inline std::optional<int> parse(const QString& text)
{
    return parse(QStringView(text));
}

// The form h:mm:ss with hours unpadded ("1:14:00"); whole days are dropped.
QString format(qint64 seconds);

// Whole minutes with at least two digits, a colon and two-digit seconds:
// 245 s is "04:05", 4440 s is "74:00". Never wrapped at a day.
QString minutesForm(qint64 seconds);

// A track length of whole seconds as the track window writes it: unpadded
// minutes, two-digit seconds ("0:59", "4:05", "61:01").
QString trackLengthText(qint64 seconds);

// A track length ("4:05") read as zero hours, minutes and seconds; empty when
// it does not read so (letters, minutes of 60 or more).
std::optional<int> trackLength(QStringView text);
inline std::optional<int> trackLength(const QString& text)
{
    return trackLength(QStringView(text));
}

// The sum of the tracks' lengths (field 4) in seconds; empty when one of
// them is not a length.
template <typename Tracks> std::optional<qint64> totalLength(const Tracks& tracks)
{
    qint64 total = 0;
    for (const auto& track : tracks) {
        const std::optional<int> length = trackLength(track[4]);
        if (!length)
            return std::nullopt;
        total += *length;
    }
    return total;
}

} // namespace timetext
