#include "store/CatalogueFiles.h"

#include "store/Codepage.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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
    // Measured as Linux names files (UTF-8) on every system, so that a Data
    // folder made on Windows opens on Linux too.
    if (name.toUtf8().size() > MaxNameBytes)
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
    const QLatin1StringView crlf("\r\n");
    qsizetype size = 16;
    for (const DiscRow& disc : discs)
        size += disc.name.size() + disc.count.size() + 4;
    QString text;
    text.reserve(size);
    text.append(u' ').append(QString::number(discs.size())).append(u' ').append(crlf);
    for (const DiscRow& disc : discs)
        text.append(disc.name).append(crlf).append(disc.count).append(crlf);
    return codepage::encode(text);
}

QByteArray discBytes(const QList<Track>& tracks)
{
    QString text;
    qsizetype size = 0;
    for (const Track& track : tracks)
        for (const QString& field : track)
            size += field.size() + 2;
    text.reserve(size);
    for (const Track& track : tracks)
        for (const QString& field : track)
            text.append(field).append(QLatin1StringView("\r\n"));
    return codepage::encode(text);
}

QString reasonOf(const QFileDevice& file)
{
    QString reason = file.errorString();
    while (reason.endsWith(u'.'))
        reason.chop(1);
    return reason;
}

QString writeAtomically(const QString& path, const QByteArray& bytes, qint64 failAfterBytes)
{
    QSaveFile file(path);
    // Unbuffered: a buffered write reports every byte as written and only the
    // flush in commit() meets the full disk, after which QSaveFile would still
    // rename the truncated file into place. Written directly, a short count
    // shows at once.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return reasonOf(file);
    const qint64 wanted = bytes.size();
    const qint64 offered = failAfterBytes >= 0 ? std::min(failAfterBytes, wanted) : wanted;
    qint64 written = offered > 0 ? file.write(bytes.constData(), offered) : 0;
    // A write cut short by a full disk returns the short count without an
    // error; committing then would install the truncated file. (commit()
    // syncs the new file to the disk before it takes the old one's place, so
    // a power cut leaves the old file or the new one, not an empty one.)
    if (written != wanted) {
        const QString reason = written < 0 || file.error() != QFileDevice::NoError
                                   ? reasonOf(file)
                                   : QStringLiteral("the disk is full");
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return reasonOf(file);
    return {};
}

// Where a path leads as a shell's redirection follows it: every link on the
// way, and the file at its end.
static QStringList linkChain(const QString& path)
{
    QStringList chain = {QFileInfo(path).absoluteFilePath()};
    for (int hops = 0; hops < 40 && QFileInfo(chain.last()).isSymLink(); ++hops)
        chain.append(QFileInfo(chain.last()).symLinkTarget());
    return chain;
}

#ifdef Q_OS_WIN
// The device a reserved name stands for in any folder (NUL, CON, COM1.txt),
// or none.
static QString deviceNamed(const QString& path)
{
    const QString base = QFileInfo(path).fileName().section(u'.', 0, 0).trimmed().toUpper();
    static const QRegularExpression device(QStringLiteral("^(CON|PRN|AUX|NUL|(COM|LPT)[1-9])$"));
    return device.match(base).hasMatch() ? base : QString();
}
#endif

static bool isSystemStream(const QString& path)
{
#ifdef Q_OS_WIN
    return path.startsWith(QLatin1String("//./")) || path.startsWith(QLatin1String("\\\\.\\")) ||
           !deviceNamed(path).isEmpty();
#else
    return path.startsWith(QLatin1String("/dev/")) || path.startsWith(QLatin1String("/proc/"));
#endif
}

QString writeForUser(const QString& path, const QByteArray& bytes)
{
    const QStringList chain = linkChain(path);
    const QFileInfo end(chain.last());
    if (end.isDir())
        return QStringLiteral("it is a folder");
    const bool stream = (end.exists() && !end.isFile()) ||
                        std::any_of(chain.cbegin(), chain.cend(), isSystemStream);
    if (!stream) {
        return writeAtomically(chain.last(), bytes);
    }
    // A device or a pipe takes the bytes as they come; each write is checked.
    // (On Windows Qt would make a device's name a path in the current folder.)
#ifdef Q_OS_WIN
    const QString device = deviceNamed(path);
    QFile file(device.isEmpty() ? path : QStringLiteral("\\\\.\\") + device);
#else
    QFile file(path);
#endif
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return reasonOf(file);
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return n < 0 ? reasonOf(file) : QStringLiteral("nothing more could be written");
        done += n;
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return reasonOf(file);
    return {};
}

QString createEmptyFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return reasonOf(file);
    file.close();
    return {};
}

// A file's bytes; missing is set when there is no file at all. A pipe or a
// device in a file's place would hold the program up, or never end: it is
// not read.
static std::optional<QByteArray> readBytes(const QString& path, QString* problem,
                                           bool* missing = nullptr)
{
    const auto fail = [&](const QString& reason, bool none = false) -> std::optional<QByteArray> {
        if (problem)
            *problem = reason;
        if (missing)
            *missing = none;
        return std::nullopt;
    };
#ifndef Q_OS_WIN
    // One open, without waiting for a pipe's writer, and one look at what
    // was opened.
    const int handle =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (handle < 0) {
        const int error = errno;
        return fail(error == ENOENT ? QStringLiteral("the file does not exist")
                                    : qt_error_string(error),
                    error == ENOENT);
    }
    struct stat info = {};
    if (::fstat(handle, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(handle);
        return fail(QStringLiteral("it is not a regular file"));
    }
    // Room for one byte more than the file held when it was looked at: once
    // that much is in, a read that fills less than the room has reached the
    // end, and only a file grown since then needs more room and more reads.
    QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(got + 4096);
        const ssize_t n = ::read(handle, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(handle);
            return fail(qt_error_string(error));
        }
        got += n;
        if (n == 0 || (got >= info.st_size && got < bytes.size()))
            break;
    }
    ::close(handle);
    bytes.truncate(got);
    return bytes;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("the file does not exist"), true);
    if (!info.isFile())
        return fail(QStringLiteral("it is not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(reasonOf(file));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(reasonOf(file));
    return bytes;
#endif
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

namespace {

// The lines of a text one after another, cut as codepage::splitLines() cuts
// them, without a list of them all.
class Lines
{
public:
    explicit Lines(QStringView text) : m_text(text) {}
    bool next(QStringView* line)
    {
        const qsizetype n = m_text.size();
        if (m_at >= n)
            return false;
        qsizetype end = m_at;
        while (end < n && m_text[end] != u'\r' && m_text[end] != u'\n')
            ++end;
        *line = m_text.mid(m_at, end - m_at);
        m_at = end + (end + 1 < n && m_text[end] == u'\r' && m_text[end + 1] == u'\n' ? 2 : 1);
        ++m_read;
        return true;
    }
    int read() const { return m_read; }

private:
    QStringView m_text;
    qsizetype m_at = 0;
    int m_read = 0;
};

} // namespace

// The usual counts ("0" to "25") are one shared text each, not one a disc.
QString countTextOf(QStringView text)
{
    static const QStringList usual = [] {
        QStringList counts;
        for (int n = 0; n <= MaxTracks; ++n)
            counts.append(QString::number(n));
        return counts;
    }();
    if (text.size() <= 2) {
        bool ok = false;
        const int n = text.toInt(&ok);
        if (ok && n >= 0 && n <= MaxTracks && usual.at(n) == text)
            return usual.at(n);
    }
    return text.toString();
}

IndexRead parseIndex(const QByteArray& bytes)
{
    IndexRead result;
    if (bytes.isEmpty())
        return result;
    const QString text = codepage::decode(bytes);
    Lines lines(text);
    QStringView first;
    const std::optional<int> count =
        lines.next(&first) ? strictCount(first.toString()) : std::nullopt;
    if (!count || *count < 0) {
        result.status = IndexRead::Damaged;
        result.line = 1;
        result.problem = QStringLiteral("the first line is not a number of discs");
        return result;
    }
    result.discs.reserve(*count);
    int badName = 0; // the line of the first name that cannot be a disc's file
    QStringView name, countText;
    // Every whole pair is a disc, also past the count: a count left behind by
    // another program must not hide discs. Past the count an empty name ends
    // the list, and so does the most a count line can say.
    while (result.discs.size() < 32767 && lines.next(&name) &&
           (result.discs.size() < *count || !name.isEmpty()) && lines.next(&countText)) {
        result.discs.append({name.toString(), countTextOf(countText)});
        if (!badName && !isReadableName(result.discs.last().name))
            badName = int(2 * result.discs.size());
    }
    if (result.discs.size() != *count)
        result.wrongCount = *count;
    if (badName) {
        result.status = IndexRead::Damaged;
        result.line = badName;
        result.problem = QStringLiteral("the disc name '%1' cannot be a file in the Data folder")
                             .arg(result.discs.at(badName / 2 - 1).name);
        result.discs.clear();
    }
    return result;
}

DiscRead readDiscFile(const QString& path, int count)
{
    DiscRead result;
    bool missing = false;
    const std::optional<QByteArray> bytes = readBytes(path, &result.problem, &missing);
    if (!bytes) {
        result.status = missing ? DiscRead::Missing : DiscRead::Unreadable;
        return result;
    }
    return parseDiscFile(*bytes, count);
}

DiscRead parseDiscFile(const QByteArray& bytes, int count)
{
    // Lines end at CR, LF or both, as everywhere; each counted line is
    // decoded on its own, and nothing after the counted records is.
    DiscRead result;
    const qsizetype wanted = qsizetype(std::max(count, 0)) * FieldCount;
    QList<QString> lines;
    lines.reserve(std::min<qsizetype>(wanted, bytes.size() / 2 + 1));
    codepage::forEachLine(bytes, [&](QByteArrayView line) {
        if (lines.size() == wanted)
            return false;
        lines.append(codepage::decode(line));
        return true;
    });
    const qsizetype whole = std::clamp<qsizetype>(count, 0, lines.size() / FieldCount);
    result.tracks.reserve(whole);
    for (qsizetype r = 0; r < whole; ++r) {
        Track track;
        for (int f = 0; f < FieldCount; ++f)
            track[f] = std::move(lines[r * FieldCount + f]);
        result.tracks.append(std::move(track));
    }
    if (whole < count)
        result.status = DiscRead::Short;
    return result;
}

std::optional<QByteArray> readFileBytes(const QString& path, QString* problem)
{
    return readBytes(path, problem);
}

int wholeRecords(QByteArrayView bytes, int most)
{
    const qsizetype wanted = qsizetype(std::max(most, 0)) * FieldCount;
    qsizetype lines = 0;
    codepage::forEachLine(bytes, [&](QByteArrayView) { return ++lines < wanted; });
    return int(std::min(lines, wanted) / FieldCount);
}

std::optional<QString> readWholeText(const QString& path)
{
    const std::optional<QByteArray> bytes = readBytes(path, nullptr);
    if (!bytes)
        return std::nullopt;
    return codepage::decode(*bytes);
}

} // namespace catalogue
