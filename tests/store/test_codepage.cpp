#include "store/Codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

TEST(Codepage, EveryByteAndCharacterAsQtConvertsThem)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    const QString text = codepage::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC)); // euro sign
    EXPECT_EQ(codepage::encode(text), all);
    const QString odd = QString::fromUcs4(U"\u00e9\U0001F600\u2192"); // é, a face, an arrow
    EXPECT_EQ(codepage::encode(odd), "\xe9\x1a\x1a");
    EXPECT_EQ(codepage::firstUnrepresentable(odd), odd.mid(1, 2));
    // Where Qt has a converter (with ICU, on Linux) the table is the same.
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        GTEST_SKIP() << "no Windows-1252 converter in Qt here";
    EXPECT_EQ(decoder(all), text);
    QList<int> differ;
    for (char16_t c = 0; c < 0xD800; ++c) { // the basic plane up to the surrogates
        QStringEncoder encoder("windows-1252");
        const QString one(1, QChar(c));
        const QByteArray bytes = encoder(one);
        const bool held = !encoder.hasError();
        if (codepage::representable(one) != held || (held && codepage::encode(one) != bytes))
            differ.append(c);
    }
    EXPECT_EQ(differ, QList<int>());
}
