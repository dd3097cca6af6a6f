#include "store/Settings.h"
#include "store/TimeText.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SettingsStore, ReadWriteAndDeleteSections)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("settings.ini");
    {
        Settings settings(file);
        EXPECT_EQ(settings.navi(), QString());
        EXPECT_EQ(settings.discLength("Rock"), QString());
        settings.setNavi("1");
        settings.setDiscLength("Rock", "01:14:00");
        settings.setMono("Rock", "1");
        settings.setDiscLength("Jazz", "1:20");
        settings.setDiscLength(QString::fromUtf8("Motörhead – Best Of"), "0:80");
    }
    Settings again(file); // what was written is on disk
    const auto read = [&again] {
        return QStringList{again.navi(), again.discLength("Rock"), again.mono("Rock"),
                           again.discLength("Jazz"),
                           again.discLength(QString::fromUtf8("Motörhead – Best Of"))};
    };
    EXPECT_EQ(read(), (QStringList{"1", "01:14:00", "1", "1:20", "0:80"}));
    again.deleteSection("Rock");
    EXPECT_EQ(read(), (QStringList{"1", "", "", "1:20", "0:80"}));
    // A lock file a crash left empty goes, so the next save does not wait.
    QFile(file + ".lock").open(QIODevice::WriteOnly);
    Settings(file).mono("Rock");
    EXPECT_FALSE(QFileInfo::exists(file + ".lock"));
    again.deleteDisc("Jazz");
    EXPECT_EQ(Settings(file).discLength("Jazz"), QString());
    EXPECT_EQ(Settings(file).navi(), "1");
}

TEST(TimeTexts, ParseAcceptsTheStoredForms)
{
    EXPECT_EQ(timetext::parse(timetext::DefaultDiscLength), 4440);
    for (const char* good : {"1:14", "1:14:00", "01:14:00"})
        EXPECT_EQ(timetext::parse(good), 4440) << good;
    EXPECT_EQ(timetext::parse(" 23:59:59 "), 86399);
    for (const char* bad : {"", " ", "24:00", "1:60", "1:00:60", "1", "1:2:3:4", "a:bc", "1:14 PM",
                            "123:00", "1.14.00", "-1:00"})
        EXPECT_EQ(timetext::parse(bad), std::nullopt) << bad;
    for (const auto& [seconds, text] :
         {std::pair{0, "0:00"}, {59, "0:59"}, {245, "4:05"}, {3661, "61:01"}})
        EXPECT_EQ(timetext::trackLengthText(seconds), text);
    for (const auto& [seconds, text] :
         {std::pair{0, "0:00:00"}, {4440, "1:14:00"}, {86399, "23:59:59"}, {86400 + 61, "0:01:01"}})
        EXPECT_EQ(timetext::format(seconds), text);
}
