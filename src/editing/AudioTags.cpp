#include "editing/AudioTags.h"

#include "store/Codepage.h"
#include "store/Playlist.h"
#include "store/TimeText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/oggfile.h>
#include <taglib/tag.h>
#include <taglib/tpropertymap.h>

namespace {

// A tag's text as one line of a field: line breaks, tabs and other control
// characters (a NUL too, with what follows it kept) become blanks.
QString text(const TagLib::String& value)
{
    return codepage::oneLine(QString::fromStdWString(value.toWString())).trimmed();
}

// The Vorbis comments of a FLAC or Ogg file as their bytes hold them, key
// upper case. TagLib ends a comment's text at a NUL; these keep what follows.
QHash<QString, QString> rawComments(TagLib::File* file)
{
    TagLib::ByteVector data;
    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        // The metadata blocks after "fLaC"; the comments are the block of type 4.
        const long start = flac->find("fLaC");
        flac->seek(start < 0 ? 0 : start + 4);
        for (int blocks = 0; start >= 0 && blocks < 128; ++blocks) {
            const TagLib::ByteVector header = flac->readBlock(4);
            if (header.size() < 4)
                break;
            const unsigned int length = header.toUInt(1, 3, true);
            if ((header[0] & 0x7F) == 4) {
                data = flac->readBlock(length);
                break;
            }
            if (header[0] & 0x80)
                break;
            flac->seek(long(length), TagLib::File::Current);
        }
    } else if (auto* ogg = dynamic_cast<TagLib::Ogg::File*>(file)) {
        const TagLib::ByteVector packet = ogg->packet(1);
        if (packet.startsWith("\x03vorbis"))
            data = packet.mid(7);
        else if (packet.startsWith("OpusTags"))
            data = packet.mid(8);
    }
    QHash<QString, QString> comments;
    const auto word = [&data](unsigned int at) {
        return at + 4 <= data.size() ? data.toUInt(at, false) : 0xFFFFFFFFu;
    };
    unsigned int at = 0;
    const unsigned int vendor = word(at);
    at = vendor > data.size() ? data.size() : at + 4 + vendor;
    const unsigned int count = word(at);
    at += 4;
    for (unsigned int n = 0; n < count && at + 4 <= data.size(); ++n) {
        const unsigned int length = word(at);
        at += 4;
        if (length > data.size() - at)
            break;
        const QByteArray entry(data.data() + at, qsizetype(length));
        at += length;
        const qsizetype equals = entry.indexOf('=');
        if (equals > 0 && !comments.contains(QString::fromLatin1(entry.left(equals)).toUpper()))
            comments.insert(QString::fromLatin1(entry.left(equals)).toUpper(),
                            codepage::oneLine(QString::fromUtf8(entry.mid(equals + 1))).trimmed());
    }
    return comments;
}

} // namespace

AudioTrack readAudioFile(const QString& path)
{
    AudioTrack audio;
    audio.file = path;
    const QFileInfo info(path);
    if (!info.isFile()) {
        audio.problem = QStringLiteral("'%1' is not a file.").arg(info.fileName());
        return audio;
    }
    const TagLib::FileRef ref(QFile::encodeName(path).constData());
    // A file with no sound in it (a text file named .mp3) is no audio file.
    if (ref.isNull() || !ref.tag() || !ref.audioProperties() ||
        ref.audioProperties()->sampleRate() <= 0) {
        audio.problem =
            QStringLiteral("'%1' is not an audio file Platterbook can read.").arg(info.fileName());
        return audio;
    }
    const TagLib::Tag* tag = ref.tag();
    catalogue::Track& track = audio.track;
    const TagLib::PropertyMap properties = ref.file()->properties();
    const QHash<QString, QString> raw = rawComments(ref.file());
    for (const char* key : {"LABEL", "ORGANIZATION", "PUBLISHER"}) {
        const auto found = properties.find(key);
        if (found != properties.end() && !found->second.isEmpty() &&
            !text(found->second.front()).isEmpty()) {
            track[0] = raw.value(QLatin1String(key), text(found->second.front()));
            break;
        }
    }
    track[1] = raw.value(QStringLiteral("ARTIST"), text(tag->artist()));
    track[2] = raw.value(QStringLiteral("TITLE"), text(tag->title()));
    if (track[2].isEmpty())
        track[2] = codepage::oneLine(info.completeBaseName()).trimmed();
    track[3] = tag->year() ? QString::number(tag->year()) : QString();
    if (const TagLib::AudioProperties* sound = ref.audioProperties()) {
        track[4] = timetext::trackLengthText(sound->lengthInSeconds());
    }
    return audio;
}

QString unstorableText(const AudioTrack& audio)
{
    for (const QString& field : audio.track) {
        const QString problem = codepage::unstorableText(
            field, QStringLiteral(" in the tags of '%1'").arg(QFileInfo(audio.file).fileName()));
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

QList<AudioTrack> audioTracksFrom(const QStringList& files)
{
    const auto lengthOf = [](const QString& file) -> qint64 {
        const TagLib::FileRef ref(QFile::encodeName(file).constData());
        return ref.isNull() || !ref.audioProperties()
                   ? -1
                   : ref.audioProperties()->lengthInMilliseconds();
    };
    QList<AudioTrack> tracks;
    for (const QString& file : files) {
        if (playlist::kindOf(file) == playlist::Kind::None) {
            tracks.append(readAudioFile(file));
            continue;
        }
        const playlist::List list = playlist::read(file, lengthOf);
        const QString name = QFileInfo(file).fileName();
        if (!list.problem.isEmpty())
            tracks.append({file, {}, list.problem});
        for (qsizetype k = 0; k < list.entries.size(); ++k) {
            const playlist::Entry& entry = list.entries.at(k);
            const QString where = QStringLiteral("entry %1 of '%2'").arg(k + 1).arg(name);
            const QString Where = u'E' + where.sliced(1);
            AudioTrack audio{entry.file.isEmpty() ? entry.written : entry.file, entry.track, {}};
            if (playlist::kindOf(entry.written) != playlist::Kind::None)
                audio.problem = QStringLiteral("%1 is a playlist itself ('%2'): Platterbook takes "
                                               "the tracks of a list, not the lists in it.")
                                    .arg(Where, entry.written);
            else if (!entry.file.isEmpty() && !entry.fromSheet)
                audio = readAudioFile(entry.file); // its tags, as for the file itself
            else if (entry.track[2].isEmpty() && !entry.file.isEmpty())
                audio.problem = QStringLiteral("%1 gives no title.").arg(Where);
            else if (entry.track[2].isEmpty())
                audio.problem = QStringLiteral("%1, '%2', is not there, and the list gives no "
                                               "title for it.")
                                    .arg(Where, QDir::toNativeSeparators(entry.written));
            else
                for (const QString& field : entry.track)
                    if (audio.problem.isEmpty())
                        audio.problem =
                            codepage::unstorableText(field, QStringLiteral(" in ") + where);
            tracks.append(audio);
            if (!audio.problem.isEmpty())
                break;
        }
    }
    return tracks;
}

QStringList audioFileFilters()
{
    return {QStringLiteral("Audio files and playlists (*.mp3 *.flac *.ogg *.oga *.opus *.m4a "
                           "*.mp4 *.aac *.wav *.aif *.aiff *.wma *.ape *.wv *.mpc *.m3u *.m3u8 "
                           "*.pls *.xspf *.cue)"),
            QStringLiteral("All files (*)")};
}
