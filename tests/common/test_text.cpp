#include "common/text.h"

#include <gtest/gtest.h>

using namespace lumora::common;

TEST(Text, utf8EncodeGivesOneCharPerByteAndDecodeRestores) {
    const QString s = QStringLiteral("Évangile selon Jean — ἀρχῇ");
    const QByteArray b = Utf8Encode(s);
    EXPECT_GT(b.size(), s.size());
    EXPECT_EQ(Utf8Decode(b), s);
    EXPECT_TRUE(Utf8Encode(QString()).isEmpty());
    EXPECT_TRUE(Utf8Decode(QByteArray()).isEmpty());
}

TEST(Text, cutFieldsKeepsTabsOfTheLastField_andFailsWithTooFewTabs) {
    EXPECT_EQ(cutFields<3>("a\tb\tc\td"), (std::array<QByteArray, 3>{"a", "b", "c\td"}));
    EXPECT_EQ(cutFields<5>("40N\t5\t18\t0\t"), (std::array<QByteArray, 5>{"40N", "5", "18", "0", ""}));
    EXPECT_FALSE(cutFields<5>("40N\t5\t18\t0"));
    EXPECT_FALSE(cutFields<3>(""));
}

TEST(Text, asciiCaseInsensitiveFindFoldsOnlyAtoZ) {
    EXPECT_EQ(indexOfAsciiCi("In the Beginning", "beginning"), 7);
    EXPECT_EQ(indexOfAsciiCi("THE", "the"), 0);
    // é (C3 A9) does not find É (C3 89)
    EXPECT_EQ(indexOfAsciiCi(QByteArray("\xC3\x89glise"), QByteArray("\xC3\xA9glise")), -1);
    EXPECT_EQ(indexOfAsciiCi(QByteArray("\xC3\xA9glise"), QByteArray("\xC3\xA9GLISE")), 0);
    EXPECT_EQ(indexOfAsciiCi("abc", ""), 0);
    EXPECT_EQ(indexOfAsciiCi("ab", "abc"), -1);
    EXPECT_EQ(indexOfAsciiCi("xxaXa", "xa", 2), 3);
    EXPECT_EQ(indexOfAsciiCi("a  b", "  "), 1);
}

TEST(Text, leadingNumberReadsDigitsAfterBlanks_andBeyondSixtyFourBitsIsNoNumber) {
    EXPECT_EQ(leadingNumber(QByteArrayView("43N")), 43);
    EXPECT_EQ(leadingNumber(QByteArrayView(" 5")), 5);
    EXPECT_FALSE(leadingNumber(QByteArrayView("x1")));
    EXPECT_FALSE(leadingNumber(QByteArrayView("")));
    // Regression: the guard let value * 10 overflow on 19 and 20 digit numbers (a wrapped,
    // negative book key; undefined behaviour).
    EXPECT_EQ(leadingNumber(QByteArrayView("9223372036854775807")), 9223372036854775807LL);
    EXPECT_EQ(leadingNumber(QByteArrayView("-9223372036854775807")), -9223372036854775807LL);
    for (const char* big : {"9223372036854775808", "9999999999999999999", "99999999999999999999N",
                            "18446744073709551616", "123456789012345678901234567890"})
        EXPECT_FALSE(leadingNumber(QByteArrayView(big))) << big;
}

TEST(Text, utf8Validation) {
    for (const char* good : {"", "plain", "No\xC3\xABl", "\xE2\x82\xAC", "\xF0\x9F\x8E\xB5",
                             "\xEF\xBB\xBF"
                             "bom"})
        EXPECT_TRUE(isValidUtf8(QByteArrayView(good))) << good;
    for (const char* bad : {"\xE9t\xE9",        // Latin-1
                            "\x80",             // stray continuation
                            "\xC3",             // truncated
                            "\xE2\x82",         // truncated
                            "\xC0\xAF",         // overlong
                            "\xE0\x80\xAF",     // overlong
                            "\xED\xA0\x80",     // surrogate
                            "\xF4\x90\x80\x80", // above U+10FFFF
                            "\xFF"})
        EXPECT_FALSE(isValidUtf8(QByteArrayView(bad))) << bad;
}

TEST(Text, versionCodeIsTextBeforeFirstBlankHyphen) {
    EXPECT_EQ(VersionCode(QByteArray("KJV - King James - 1611")), QByteArray("KJV"));
    EXPECT_EQ(VersionCode(QByteArray("LSG -Louis Segond")), QByteArray("LSG"));
    EXPECT_FALSE(VersionCode(QByteArray("KJV-King")));
    EXPECT_EQ(VersionCode(QStringLiteral("FR - Français")), QStringLiteral("FR"));
}

TEST(Text, dominantDirectionFollowsMostStrongLettersNotTheFirst) {
    const struct {
        const char* text;
        Qt::LayoutDirection want;
    } cases[] = {
        {"01 Genesis", Qt::LeftToRight},
        {"\u05D0 ALEPH. Blessed are the undefiled", Qt::LeftToRight},    // Hebrew letter first
        {"\u05D1\u05E8\u05D0\u05E9\u05D9\u05EA 1", Qt::RightToLeft},     // Hebrew book name
        {"\u0627\u0644\u0641\u0627\u062A\u062D\u0629", Qt::RightToLeft}, // Arabic
        {"", Qt::LeftToRight},
        {"1.1   42", Qt::LeftToRight}, // digits only: no strong letter
    };
    for (const auto& c : cases)
        EXPECT_EQ(dominantDirection(QString::fromUtf8(c.text)), c.want) << c.text;
}
