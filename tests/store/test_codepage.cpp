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
