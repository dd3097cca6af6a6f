#include "store/Playlist.h"

#include "store/Codepage.h"
#include "store/TimeText.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QUrl>
#include <QXmlStreamReader>

namespace playlist {

namespace {

QString fieldText(QStringView text)
{
    return codepage::oneLine(text.toString()).trimmed();
}

// "Artist - Title" as M3U and PLS lists write it; no " - " is a title alone.
void describe(Entry& entry, QStringView text)
{
    const qsizetype dash = text.indexOf(QLatin1String(" - "));
    entry.track[1] = dash < 0 ? QString() : fieldText(text.first(dash));
    entry.track[2] = fieldText(dash < 0 ? text : text.sliced(dash + 3));
}

// A length in seconds as m:ss, cut to whole seconds; a negative or missing
// length is none.
QString lengthText(double seconds)
{
    return seconds >= 0 && seconds < 1e9 ? timetext::trackLengthText(qint64(seconds)) : QString();
}

double number(QStringView text, double none = -1)
{
    const catalogue::LeadingNumber n = catalogue::leadingNumber(text.toString());
    return n.found ? n.value : none;
}

Entry entryFor(const QString& written, const Finder& find)
{
    Entry entry;
    entry.written = written.trimmed();
    entry.file = find(entry.written);
    return entry;
}

List m3u(const QString& text, const Finder& find)
{
    List list;
    std::optional<QString> info; // the #EXTINF line before the entry
    for (const QString& line : codepage::splitLines(text)) {
        const QStringView trimmed = QStringView(line).trimmed();
        if (trimmed.startsWith(QLatin1String("#EXTINF:"), Qt::CaseInsensitive))
            info = trimmed.sliced(8).toString();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        Entry entry = entryFor(trimmed.toString(), find);
        if (info) {
            const qsizetype comma = info->indexOf(u',');
            entry.track[4] = lengthText(number(QStringView(*info).first(comma < 0 ? 0 : comma)));
            if (comma >= 0)
                describe(entry, QStringView(*info).sliced(comma + 1));
        }
        info.reset();
        list.entries.append(entry);
    }
    return list;
}

List pls(const QString& text, const Finder& find)
{
    // FileN, TitleN and LengthN, in the order of N.
    QMap<qint64, QMap<QString, QString>> numbered;
    for (const QString& line : codepage::splitLines(text)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = line.first(equals).trimmed().toLower();
        qsizetype digits = key.size();
        while (digits > 0 && key.at(digits - 1).isDigit())
            --digits;
        bool ok = false;
        const qint64 n = key.sliced(digits).toLongLong(&ok);
        if (ok && digits > 0)
            numbered[n].insert(key.first(digits), line.sliced(equals + 1));
    }
    List list;
    for (const auto& fields : numbered) {
        if (!fields.contains(QStringLiteral("file")))
            continue;
        Entry entry = entryFor(fields.value(QStringLiteral("file")), find);
        describe(entry, fields.value(QStringLiteral("title")));
        entry.track[4] = lengthText(number(fields.value(QStringLiteral("length"))));
        list.entries.append(entry);
    }
    return list;
}

List xspf(const QByteArray& bytes, const QString& name, const Finder& find)
{
    List list;
    QXmlStreamReader xml(bytes);
    std::optional<Entry> entry;
    bool located = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView tag = xml.name();
        if (xml.isStartElement() && tag == QLatin1String("track")) {
            entry = Entry();
            located = false;
        } else if (xml.isEndElement() && tag == QLatin1String("track") && entry) {
            list.entries.append(*entry);
            entry.reset();
        } else if (xml.isStartElement() && entry) {
            if (tag == QLatin1String("location") && !located) {
                const QString location = xml.readElementText(QXmlStreamReader::SkipChildElements);
                const QUrl url(location.trimmed());
                const QString path = url.isLocalFile() ? url.toLocalFile()
                                     : url.scheme().isEmpty()
                                         ? QUrl::fromPercentEncoding(location.trimmed().toUtf8())
                                         : location.trimmed();
                const Entry found = entryFor(path, find);
                entry->written = found.written;
                entry->file = found.file;
                located = true;
            } else if (tag == QLatin1String("creator")) {
                entry->track[1] =
                    fieldText(xml.readElementText(QXmlStreamReader::SkipChildElements));
            } else if (tag == QLatin1String("title")) {
                entry->track[2] =
                    fieldText(xml.readElementText(QXmlStreamReader::SkipChildElements));
            } else if (tag == QLatin1String("duration")) {
                entry->track[4] = lengthText(
                    number(xml.readElementText(QXmlStreamReader::SkipChildElements)) / 1000);
            }
        }
    }
    if (xml.hasError())
        list.problem = QStringLiteral("'%1' is not a playlist Platterbook can read (line %2: %3).")
                           .arg(name)
                           .arg(xml.lineNumber())
                           .arg(xml.errorString());
    return list;
}

// The text after a cue sheet's keyword: within its quotes, or as it stands.
QString cueText(QStringView rest)
{
    rest = rest.trimmed();
    if (rest.startsWith(u'"')) {
        const qsizetype end = rest.lastIndexOf(u'"');
        return fieldText(end > 0 ? rest.sliced(1, end - 1) : rest.sliced(1));
    }
    return fieldText(rest);
}

// An INDEX time, mm:ss:ff with 75 frames a second, in frames; -1 when it is none.
qint64 cueFrames(QStringView time)
{
    const QList<QStringView> parts = time.trimmed().split(u':');
    if (parts.size() != 3)
        return -1;
    qint64 frames = 0;
    for (qsizetype i = 0; i < 3; ++i) {
        bool ok = false;
        const qint64 value = parts[i].toLongLong(&ok);
        if (!ok || value < 0 || value > 1000000)
            return -1;
        frames = frames * (i == 0 ? 1 : i == 1 ? 60 : 75) + value;
    }
    return frames;
}

List cue(const QString& text, const Finder& find, const Length& lengthOf)
{
    List list;
    QString year;         // REM DATE before the first track: every track's
    QList<qint64> starts; // each entry's INDEX 01, in frames; -1 when none
    QList<QString> files; // each entry's FILE as written
    QString file;
    QString fileFound;
    for (const QString& line : codepage::splitLines(text)) {
        const QStringView trimmed = QStringView(line).trimmed();
        const qsizetype space = trimmed.indexOf(u' ');
        const QString keyword = (space < 0 ? trimmed : trimmed.first(space)).toString().toUpper();
        const QStringView rest = space < 0 ? QStringView() : trimmed.sliced(space + 1);
        Entry* entry = list.entries.isEmpty() ? nullptr : &list.entries.last();
        if (keyword == QLatin1String("FILE")) {
            // FILE "name" TYPE: the name within its quotes, or up to the type.
            const QStringView named = rest.trimmed();
            const qsizetype end = named.startsWith(u'"') ? named.lastIndexOf(u'"') : -1;
            const qsizetype type = named.lastIndexOf(u' ');
            file = (end > 0    ? named.sliced(1, end - 1)
                    : type > 0 ? named.first(type)
                               : named)
                       .trimmed()
                       .toString();
            fileFound = find(file);
        } else if (keyword == QLatin1String("TRACK")) {
            Entry next;
            next.written = file;
            next.file = fileFound;
            next.fromSheet = true;
            next.track[3] = year;
            list.entries.append(next);
            starts.append(-1);
            files.append(file);
        } else if (keyword == QLatin1String("TITLE") && entry) {
            entry->track[2] = cueText(rest);
        } else if (keyword == QLatin1String("PERFORMER") && entry) {
            entry->track[1] = cueText(rest);
        } else if (keyword == QLatin1String("REM")) {
            const QStringView remark = rest.trimmed();
            if (remark.startsWith(QLatin1String("DATE "), Qt::CaseInsensitive))
                (entry ? entry->track[3] : year) = cueText(remark.sliced(5));
        } else if (keyword == QLatin1String("INDEX") && entry) {
            const QStringView index = rest.trimmed();
            const qsizetype gap = index.indexOf(u' ');
            if (gap > 0 && index.first(gap).toInt() == 1)
                starts.last() = cueFrames(index.sliced(gap + 1));
        }
    }
    // A track runs to the next one's INDEX 01 in the same file; the last one
    // of a file to the file's end.
    for (qsizetype k = 0; k < list.entries.size(); ++k) {
        Entry& entry = list.entries[k];
        qint64 frames = -1;
        if (starts[k] < 0) {
        } else if (k + 1 < list.entries.size() && files[k + 1] == files[k]) {
            if (starts[k + 1] >= starts[k])
                frames = starts[k + 1] - starts[k];
        } else if (!entry.file.isEmpty() && lengthOf) {
            const qint64 ms = lengthOf(entry.file);
            if (ms >= 0 && ms * 75 >= starts[k] * 1000)
                frames = (ms * 75 - starts[k] * 1000) / 1000;
        }
        entry.track[4] = frames < 0 ? QString() : timetext::trackLengthText(frames / 75);
    }
    return list;
}

} // namespace

Kind kindOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("m3u"))
        return Kind::M3u;
    if (suffix == QLatin1String("m3u8"))
        return Kind::M3u8;
    if (suffix == QLatin1String("pls"))
        return Kind::Pls;
    if (suffix == QLatin1String("xspf"))
        return Kind::Xspf;
    if (suffix == QLatin1String("cue"))
        return Kind::Cue;
    return Kind::None;
}

QString findIn(const QString& folder, const QString& written)
{
    if (written.isEmpty())
        return {};
    const QDir dir(folder);
    QString path = written;
    if (const QUrl url(written); url.isLocalFile())
        path = url.toLocalFile();
    const auto there = [&dir](const QString& candidate) {
        const QString full = QDir::cleanPath(dir.absoluteFilePath(candidate));
        return QFileInfo(full).isFile() ? full : QString();
    };
    if (const QString found = there(path); !found.isEmpty())
        return found;
    // A list made on Windows: C:\Music\x.flac or ..\x.mp3.
    QString windows = path;
    windows.replace(u'\\', u'/');
    if (windows.size() >= 2 && windows.at(1) == u':' && windows.at(0).isLetter())
        windows = windows.sliced(2);
    else if (windows.size() >= 3 && windows.at(0) == u'/' && windows.at(2) == u':')
        windows = windows.sliced(3); // /C:/Music/x.flac, from a file:///C:/ URL
    while (windows.startsWith(u'/'))
        windows.remove(0, 1);
    if (const QString found = there(windows); !found.isEmpty())
        return found;
    return there(windows.sliced(windows.lastIndexOf(u'/') + 1));
}

List parse(const QByteArray& bytes, Kind kind, const QString& name, const Finder& find,
           const Length& lengthOf)
{
    switch (kind) {
    case Kind::M3u:
    case Kind::M3u8:
        return m3u(codepage::decodeText(bytes, kind == Kind::M3u8), find);
    case Kind::Pls:
        return pls(codepage::decodeText(bytes, false), find);
    case Kind::Xspf:
        return xspf(bytes, name, find);
    case Kind::Cue:
        return cue(codepage::decodeText(bytes, false), find, lengthOf);
    case Kind::None:
        break;
    }
    return {{}, QStringLiteral("'%1' is no playlist.").arg(name)};
}

List read(const QString& path, const Length& lengthOf)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const std::optional<QByteArray> bytes =
        info.isFile() ? catalogue::readFileBytes(path) : std::nullopt;
    if (!bytes)
        return {{}, QStringLiteral("The playlist '%1' cannot be read.").arg(name)};
    const QString folder = info.absolutePath();
    List list = parse(
        *bytes, kindOf(path), name,
        [&folder](const QString& written) { return findIn(folder, written); }, lengthOf);
    if (list.problem.isEmpty() && list.entries.isEmpty())
        list.problem = QStringLiteral("The playlist '%1' holds no tracks.").arg(name);
    return list;
}

} // namespace playlist
