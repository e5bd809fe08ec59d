// The passage box's paragraph direction, from the version's language.

#include "support/mainwindow.h"

#include <QTextBlock>
#include <QTextDocument>

using namespace lumora;
using namespace lumora::testing;

namespace {

std::vector<Qt::LayoutDirection> directions(const QTextEdit* edit) {
    std::vector<Qt::LayoutDirection> out;
    for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next())
        if (!b.text().isEmpty()) out.push_back(b.textDirection());
    return out;
}

TEST(PassageDirection, headingWithAHebrewLetterKeepsAnEnglishVersionLeftToRight_aHebrewVersionIsRightToLeft) {
    MainWindowHarness h;
    FixtureOptions english;
    // Psalm 119 as an English Bible writes it: a Hebrew letter heads each section's title.
    english.text = [](int b, int c, int v) -> QByteArray {
        if (b == 19 && c == 119 && v == 1) return "[\xD7\x90 ALEPH.]Blessed are the undefiled";
        return fixtureVerseText(b, c, v);
    };
    writeFixtureVersion(h.data.path(), "ENG", fixtureBooks(6, 25), english);
    std::vector<FixtureBook> hebrewBooks = fixtureBooks(6, 25);
    for (FixtureBook& b : hebrewBooks)
        b.name = QString::fromUtf8("\xD7\xA1\xD7\xA4\xD7\xA8 ") + QString::number(b.number);
    FixtureOptions hebrew;
    hebrew.text = [](int, int, int) -> QByteArray { return "\xD7\x90\xD7\xA9\xD7\xA8\xD7\x99 1 Amen"; };
    writeFixtureVersion(h.data.path(), "HEB", hebrewBooks, hebrew);
    writeBytes(h.data.path() + "/Bible/Version.txt", "ENG - English\r\nHEB - Hebrew\r\n");
    ASSERT_TRUE(h.open());
    h.window->resize(1200, 800);
    auto* passage = h.find<QTextEdit>("Text_Passage");

    h.nav().jumpTo({0, 18, 118, 0, 0});
    ASSERT_TRUE(h.text().startsWith(QString::fromUtf8("\xD7\x90 ALEPH.")));
    for (Qt::LayoutDirection d : directions(passage))
        EXPECT_EQ(d, Qt::LeftToRight);

    h.nav().jumpTo({1, 0, 0, 0, 0});
    ASSERT_FALSE(directions(passage).empty());
    for (Qt::LayoutDirection d : directions(passage))
        EXPECT_EQ(d, Qt::RightToLeft);
}

} // namespace
