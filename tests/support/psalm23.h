#pragma once
// Psalm 23 in the King James Version with the marks of a reading of it: verse v starts at the
// mark given beside it. For tests that follow a real chapter.

#include "support/biblefixture.h"

namespace lumora::testing {

inline const char* const kPsalm23[] = {
    "The LORD is my shepherd; I shall not want.",
    "He maketh me to lie down in green pastures: he leadeth me beside the still waters.",
    "He restoreth my soul: he leadeth me in the paths of righteousness for his name's sake.",
    "Yea, though I walk through the valley of the shadow of death, I will fear no evil: for thou art "
    "with me; thy rod and thy staff they comfort me.",
    "Thou preparest a table before me in the presence of mine enemies: thou anointest my head with oil; "
    "my cup runneth over.",
    "Surely goodness and mercy shall follow me all the days of my life: and I will dwell in the house of "
    "the LORD for ever.",
};
inline const char* const kPsalm23Marks[] = {"0,00000",  "4,10000",  "10,55000",
                                            "17,20000", "27,90000", "36,40000"};

// 66 books of 3 chapters of 10 verses, book 19 "Psalms" (prefix "Ps") of 150 chapters whose
// chapter 23 is the psalm of 6 verses with its marks.
inline std::vector<FixtureBook> psalm23Books() {
    std::vector<FixtureBook> books = fixtureBooks(3, 10);
    books[18] = {19, QStringLiteral("Psalms"), 150, [](int c) { return c == 23 ? 6 : 10; }, "Ps"};
    return books;
}
inline FixtureOptions psalm23Options() {
    FixtureOptions opt;
    opt.text = [](int b, int c, int v) {
        return b == 19 && c == 23 ? QByteArray(kPsalm23[v - 1]) : fixtureVerseText(b, c, v);
    };
    opt.mark = [](int b, int c, int v) {
        return b == 19 && c == 23 ? QByteArray(kPsalm23Marks[v - 1]) : QByteArray("0");
    };
    return opt;
}

} // namespace lumora::testing
