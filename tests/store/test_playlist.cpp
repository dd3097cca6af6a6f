// Where a playlist's entry lies: as written, relative to the list, a file:
// URL, or a Windows path by its part below the drive, then by its name.
#include "store/Playlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

TEST(Playlist, EntriesAreFoundWhereverTheListWasMade)
{
    QTemporaryDir dir;
    const QString lists = dir.filePath("lists");
    for (const QString& file :
         {"lists/Music/Sub/x.flac", "lists/y.mp3", "above.ogg", "lists/é è.mp3"}) {
        QDir().mkpath(QFileInfo(dir.filePath(file)).path());
        QFile(dir.filePath(file)).open(QIODevice::WriteOnly);
    }
    const QList<std::pair<QString, QString>> cases = {
        {"Music/Sub/x.flac", "lists/Music/Sub/x.flac"},
        {dir.filePath("above.ogg"), "above.ogg"},
        {"D:\\Music\\Sub\\x.flac", "lists/Music/Sub/x.flac"},
        {"file:///D:/Music/Sub/x.flac", "lists/Music/Sub/x.flac"},
        {"..\\above.ogg", "above.ogg"},
        {"C:\\Users\\ana\\y.mp3", "lists/y.mp3"},
        {QUrl::fromLocalFile(dir.filePath("lists/é è.mp3")).toString(QUrl::FullyEncoded),
         "lists/é è.mp3"},
        {"C:\\Users\\ana\\gone.mp3", ""},
        {"", ""},
    };
    for (const auto& [written, found] : cases)
        EXPECT_EQ(playlist::findIn(lists, written), found.isEmpty() ? "" : dir.filePath(found))
            << written.toStdString();
}
