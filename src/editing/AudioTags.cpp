#include "editing/AudioTags.h"

#include "store/Codepage.h"

#include <QFile>
#include <QFileInfo>

#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tpropertymap.h>

namespace {

QString text(const TagLib::String& value)
{
    return QString::fromUtf8(value.toCString(true)).trimmed();
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
    for (const char* key : {"LABEL", "ORGANIZATION", "PUBLISHER"}) {
        const auto found = properties.find(key);
        if (found != properties.end() && !found->second.isEmpty() &&
            !text(found->second.front()).isEmpty()) {
            track[0] = text(found->second.front());
            break;
        }
    }
    track[1] = text(tag->artist());
    track[2] = text(tag->title());
    if (track[2].isEmpty())
        track[2] = info.completeBaseName();
    track[3] = tag->year() ? QString::number(tag->year()) : QString();
    if (const TagLib::AudioProperties* sound = ref.audioProperties()) {
        const int seconds = sound->lengthInSeconds();
        track[4] = QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
    }
    return audio;
}

QString unstorableText(const AudioTrack& audio)
{
    for (const QString& field : audio.track) {
        const QString bad = codepage::firstUnrepresentable(field);
        if (!bad.isEmpty())
            return QStringLiteral("The character '%1' in the tags of '%2' cannot be stored in the "
                                  "catalogue.")
                .arg(bad, QFileInfo(audio.file).fileName());
    }
    return {};
}

QStringList audioFileFilters()
{
    return {QStringLiteral("Audio files (*.mp3 *.flac *.ogg *.oga *.opus *.m4a *.mp4 *.aac *.wav "
                           "*.aif *.aiff *.wma *.ape *.wv *.mpc)"),
            QStringLiteral("All files (*)")};
}
