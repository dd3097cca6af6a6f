#include "store/Codepage.h"

#include <gtest/gtest.h>

TEST(Codepage, EveryByteReadsAndWritesBackUnchanged)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    const QString text = codepage::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC)); // euro sign
    EXPECT_EQ(text.at(0x81), QChar(0x81));   // undefined byte keeps its value
    EXPECT_EQ(text.at(0x9D), QChar(0x9D));
    EXPECT_EQ(text.at(0xF6), QChar(0xF6)); // ö
    EXPECT_TRUE(codepage::representable(text));
    EXPECT_EQ(codepage::encode(text), all);
    // Each byte alone reads and writes as within all of them, whichever way
    // its text is converted.
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(codepage::decode(all.mid(i, 1)), text.mid(i, 1)) << i;
        EXPECT_EQ(codepage::encode(text.mid(i, 1)), all.mid(i, 1)) << i;
    }
}

TEST(Codepage, TellsWhatCannotBeStored)
{
    EXPECT_TRUE(codepage::representable(QString::fromUtf8("Motörhead – Best Of")));
    EXPECT_FALSE(codepage::representable(QString::fromUtf8("日本")));
    EXPECT_EQ(codepage::firstUnrepresentable(QString::fromUtf8("ab日c")), QString::fromUtf8("日"));
    EXPECT_EQ(codepage::firstUnrepresentable(QString::fromUtf8("x\U0001F3B5y")),
              QString::fromUtf8("\U0001F3B5"));
    EXPECT_EQ(codepage::firstUnrepresentable(QStringLiteral("plain")), QString());
    // A check after a failed one starts clean.
    EXPECT_FALSE(codepage::representable(QString::fromUtf8("Ω")));
    EXPECT_TRUE(codepage::representable(QStringLiteral("a")));
}

TEST(Codepage, LineEndsOfEveryKind)
{
    using L = QStringList;
    EXPECT_EQ(codepage::splitLines(QStringLiteral("a\r\nb\r\n")), (L{"a", "b"}));
    EXPECT_EQ(codepage::splitLines(QStringLiteral("a\nb\n")), (L{"a", "b"}));
    EXPECT_EQ(codepage::splitLines(QStringLiteral("a\rb\r")), (L{"a", "b"}));
    EXPECT_EQ(codepage::splitLines(QStringLiteral("a\r\nb")), (L{"a", "b"}));
    EXPECT_EQ(codepage::splitLines(QStringLiteral("a\r\n\r\n")), (L{"a", ""}));
    EXPECT_EQ(codepage::splitLines(QStringLiteral("\r\n\n\r")), (L{"", "", ""}));
    EXPECT_EQ(codepage::splitLines(QString()), L{});
}
