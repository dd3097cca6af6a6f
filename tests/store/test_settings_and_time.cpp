#include "store/Settings.h"
#include "store/TimeText.h"

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
    EXPECT_EQ(again.navi(), "1");
    EXPECT_EQ(again.discLength("Rock"), "01:14:00");
    EXPECT_EQ(again.mono("Rock"), "1");
    EXPECT_EQ(again.discLength(QString::fromUtf8("Motörhead – Best Of")), "0:80");
    again.deleteSection("Rock");
    EXPECT_EQ(again.discLength("Rock"), QString());
    EXPECT_EQ(again.mono("Rock"), QString());
    EXPECT_EQ(again.discLength("Jazz"), "1:20");
    EXPECT_EQ(again.navi(), "1");
    // Deleting a section that does not exist is harmless.
    again.deleteSection("Nothing");
    EXPECT_EQ(Settings(file).discLength("Jazz"), "1:20");
    // A disc named like the program's own section takes only its own keys.
    again.setDiscLength("General", "1:20");
    again.setMono("General", "1");
    again.deleteDisc("General");
    again.deleteDisc("Jazz");
    EXPECT_EQ(again.discLength("General"), QString());
    EXPECT_EQ(again.mono("General"), QString());
    EXPECT_EQ(again.discLength("Jazz"), QString());
    EXPECT_EQ(Settings(file).navi(), "1");
}

TEST(TimeTexts, ParseAcceptsTheStoredForms)
{
    EXPECT_EQ(timetext::parse("1:14"), 4440);
    EXPECT_EQ(timetext::parse("1:14:00"), 4440);
    EXPECT_EQ(timetext::parse("01:14:00"), 4440);
    EXPECT_EQ(timetext::parse(" 23:59:59 "), 86399);
    EXPECT_EQ(timetext::parse(timetext::DefaultDiscLength), 4440);
    for (const char* bad : {"", " ", "24:00", "1:60", "1:00:60", "1", "1:2:3:4", "a:bc", "1:14 PM",
                            "123:00", "1.14.00", "-1:00"})
        EXPECT_EQ(timetext::parse(bad), std::nullopt) << bad;
}

TEST(TimeTexts, FormsOfOutput)
{
    EXPECT_EQ(timetext::format(4440), "1:14:00");
    EXPECT_EQ(timetext::format(2 * 4440), "2:28:00");
    EXPECT_EQ(timetext::format(26 * 3600), "2:00:00"); // whole days dropped
    EXPECT_EQ(timetext::minutesForm(245), "04:05");
    EXPECT_EQ(timetext::minutesForm(4440), "74:00");
    EXPECT_EQ(timetext::minutesForm(2 * 3600 + 3 * 60 + 9), "123:09");
    EXPECT_EQ(timetext::minutesForm(25 * (59 * 60 + 59)), "1499:35"); // not wrapped at a day
    EXPECT_EQ(timetext::minutesForm(-3960), "66:00");
}

TEST(TimeTexts, TrackLengthsAreMinutesAndSeconds)
{
    EXPECT_EQ(timetext::trackLength("4:05"), 245);
    EXPECT_EQ(timetext::trackLength("59:59"), 3599);
    EXPECT_EQ(timetext::trackLength("60:00"), std::nullopt);
    EXPECT_EQ(timetext::trackLength("abc"), std::nullopt);
    EXPECT_EQ(timetext::trackLength(""), std::nullopt);
}
