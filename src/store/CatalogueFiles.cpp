#include "store/CatalogueFiles.h"

#include "store/Codepage.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cmath>

namespace catalogue {

LeadingNumber leadingNumber(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    double value = 0.0;
    bool digits = false;
    while (i < n && text.at(i) >= u'0' && text.at(i) <= u'9') {
        value = value * 10.0 + (text.at(i).unicode() - u'0');
        digits = true;
        ++i;
    }
    if (i < n && text.at(i) == u'.') {
        ++i;
        double scale = 0.1;
        while (i < n && text.at(i) >= u'0' && text.at(i) <= u'9') {
            value += scale * (text.at(i).unicode() - u'0');
            scale /= 10.0;
            digits = true;
            ++i;
        }
    }
    if (!digits)
        return {};
    return {true, negative ? -value : value};
}

std::optional<int> roundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default mode rounds half to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<int>(rounded);
}

std::optional<int> countOf(const QString& countText)
{
    const LeadingNumber number = leadingNumber(countText);
    if (!number.found)
        return 0;
    return roundToInt16(number.value);
}

bool isReadableName(const QString& name)
{
    if (name.contains(u'/') || name.contains(u'\\') || name.contains(QChar(0)))
        return false;
    return name.compare(u"index", Qt::CaseInsensitive) != 0;
}

static bool isReservedDeviceName(const QString& name)
{
    // Windows takes these names as devices, with or without an extension.
    QString base = name.section(u'.', 0, 0);
    while (base.endsWith(u' '))
        base.chop(1);
    base = base.toUpper();
    static const QStringList reserved = {QStringLiteral("CON"), QStringLiteral("PRN"),
                                         QStringLiteral("AUX"), QStringLiteral("NUL")};
    if (reserved.contains(base))
        return true;
    static const QRegularExpression numbered(QStringLiteral("^(COM|LPT)[1-9]$"));
    return numbered.match(base).hasMatch();
}

NameProblem newNameProblem(const QString& name)
{
    if (name.contains(u'/') || name.contains(u'\\') || name.contains(QChar(0)))
        return NameProblem::Separator;
    if (name.compare(u"index", Qt::CaseInsensitive) == 0)
        return NameProblem::IndexName;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return NameProblem::ControlChar;
        if (QStringView(u":*?\"<>|").contains(c))
            return NameProblem::ForbiddenChar;
    }
    if (isReservedDeviceName(name))
        return NameProblem::ReservedName;
    if (!codepage::representable(name))
        return NameProblem::NotInCodepage;
    if (QFile::encodeName(name).size() > MaxNameBytes)
        return NameProblem::TooLong;
    return NameProblem::None;
}

std::optional<QString> formatFor(const QString& typed)
{
    static const QList<std::pair<QStringList, QString>> codes = {
        {{"lp", "l"}, "LP"}, {{"ep", "e"}, "EP"}, {{"p"}, "Promo"},
        {{"s"}, "Single"},   {{"c", "cd"}, "CD"},
    };
    for (const auto& [written, entry] : codes)
        if (written.contains(typed))
            return entry;
    if (Formats.count(typed) == 1)
        return typed;
    return std::nullopt;
}

QByteArray indexBytes(const QList<DiscRow>& discs)
{
    // The count line is written as a number: a blank where the sign would be,
    // the digits and a trailing blank.
    const QString crlf = QStringLiteral("\r\n");
    QString text = u' ' + QString::number(discs.size()) + u' ' + crlf;
    for (const DiscRow& disc : discs) {
        text += disc.name + crlf;
        text += disc.count + crlf;
    }
    return codepage::encode(text);
}

QByteArray discBytes(const QList<Track>& tracks)
{
    QString text;
    for (const Track& track : tracks)
        for (const QString& field : track)
            text += field + QStringLiteral("\r\n");
    return codepage::encode(text);
}

QString writeAtomically(const QString& path, const QByteArray& bytes, qint64 failAfterBytes)
{
    QSaveFile file(path);
    // Unbuffered: a buffered write reports every byte as written and only the
    // flush in commit() meets the full disk, after which QSaveFile would still
    // rename the truncated file into place. Written directly, a short count
    // shows at once.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    const qint64 wanted = bytes.size();
    const qint64 offered = failAfterBytes >= 0 ? std::min(failAfterBytes, wanted) : wanted;
    const qint64 written = offered > 0 ? file.write(bytes.constData(), offered) : 0;
    // A write cut short by a full disk returns the short count without an
    // error; committing then would install the truncated file.
    if (written != wanted) {
        const QString reason = written < 0 || file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("the disk is full");
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QString createEmptyFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return file.errorString();
    file.close();
    return {};
}

static std::optional<QByteArray> readBytes(const QString& path, QString* problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem)
            *problem = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (problem)
            *problem = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

static std::optional<int> strictCount(const QString& line)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    const QString trimmed = line.trimmed();
    if (!number.match(trimmed).hasMatch())
        return std::nullopt;
    return roundToInt16(leadingNumber(trimmed).value);
}

IndexRead readIndex(const QString& path)
{
    IndexRead result;
    QFileInfo info(path);
    if (!info.exists()) {
        result.status = IndexRead::Missing;
        return result;
    }
    const std::optional<QByteArray> bytes = readBytes(path, &result.problem);
    if (!bytes) {
        result.status = IndexRead::Unreadable;
        return result;
    }
    return parseIndex(*bytes);
}

IndexRead parseIndex(const QByteArray& bytes)
{
    IndexRead result;
    if (bytes.isEmpty())
        return result;
    const QStringList lines = codepage::splitLines(codepage::decode(bytes));
    const std::optional<int> count = lines.isEmpty() ? std::nullopt : strictCount(lines.first());
    if (!count || *count < 0) {
        result.status = IndexRead::Damaged;
        result.line = 1;
        result.problem = QStringLiteral("the first line is not a number of discs");
        return result;
    }
    const qsizetype needed = 1 + 2 * qsizetype(*count);
    if (lines.size() < needed) {
        result.status = IndexRead::Damaged;
        result.line = int(lines.size()) + 1;
        result.problem = QStringLiteral("it lists %1 discs but ends after %2 lines")
                             .arg(*count)
                             .arg(lines.size());
        return result;
    }
    result.discs.reserve(*count);
    for (int k = 0; k < *count; ++k) {
        const QString& name = lines.at(1 + 2 * k);
        if (!isReadableName(name)) {
            result.status = IndexRead::Damaged;
            result.line = 2 + 2 * k;
            result.discs.clear();
            result.problem =
                QStringLiteral("the disc name '%1' cannot be a file in the Data folder").arg(name);
            return result;
        }
        result.discs.append({name, lines.at(2 + 2 * k)});
    }
    return result;
}

DiscRead readDiscFile(const QString& path, int count)
{
    DiscRead result;
    if (!QFileInfo::exists(path)) {
        result.status = DiscRead::Missing;
        result.problem = QStringLiteral("the file does not exist");
        return result;
    }
    const std::optional<QByteArray> bytes = readBytes(path, &result.problem);
    if (!bytes) {
        result.status = DiscRead::Unreadable;
        return result;
    }
    return parseDiscFile(*bytes, count);
}

DiscRead parseDiscFile(const QByteArray& bytes, int count)
{
    DiscRead result;
    const QStringList lines = codepage::splitLines(codepage::decode(bytes));
    const qsizetype whole = std::clamp<qsizetype>(count, 0, lines.size() / FieldCount);
    result.tracks.reserve(whole);
    for (qsizetype r = 0; r < whole; ++r) {
        Track track;
        for (int f = 0; f < FieldCount; ++f)
            track[f] = lines.at(r * FieldCount + f);
        result.tracks.append(track);
    }
    if (whole < count)
        result.status = DiscRead::Short;
    return result;
}

std::optional<QString> readWholeText(const QString& path)
{
    const std::optional<QByteArray> bytes = readBytes(path, nullptr);
    if (!bytes)
        return std::nullopt;
    return codepage::decode(*bytes);
}

} // namespace catalogue
