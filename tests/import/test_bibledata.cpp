// Real Bibles from Debian's bibledit-data, set against the same translations read from SWORD:
// the KJV as milestone OSIS (kjv.xml) and the World English Bible as 85 USFM files.

#include "import/bibleimport.h"
#include "import/swordreader.h"

#include <QFileInfo>

#include <numeric>

#include <gtest/gtest.h>

using namespace lumora::import;

namespace {

const QString kKjvOsis = QStringLiteral("/usr/share/bibledit/sources/kjv.xml");
const QString kWebUsfm = QStringLiteral("/usr/share/bibledit/demo");

ImportedBible readFile(const QString& path, BibleFormat expected) {
    const BibleSource source = openBibleSource(path);
    EXPECT_FALSE(source.error);
    EXPECT_EQ(guessBibleFormat(source), expected);
    BibleReadResult r = readBible(source, expected);
    EXPECT_TRUE(r.bible) << (r.error ? r.error->text().toStdString() : "cancelled");
    return r.bible.value_or(ImportedBible{});
}

// The verse count of every chapter of books 1-66, book by book.
std::vector<std::size_t> verseCounts(const ImportedBible& b) {
    std::vector<std::size_t> out;
    for (int number = 1; number <= 66; ++number)
        if (const ImportedBook* book = b.findBook(number))
            for (const auto& chapter : book->chapters)
                out.push_back(chapter.size());
    return out;
}

QByteArray verseText(const ImportedBible& b, int book, int chapter, int verse) {
    const ImportedBook* bk = b.findBook(book);
    if (!bk || chapter > static_cast<int>(bk->chapters.size())) return {};
    const auto& c = bk->chapters[static_cast<std::size_t>(chapter - 1)];
    return verse > static_cast<int>(c.size()) ? QByteArray() : c[static_cast<std::size_t>(verse - 1)].text;
}

} // namespace

// The SWORD module Debian ships (sword-text-kjv) is checked on its own first, so that it is checked
// also where bibledit-data is missing.
TEST(BibleData, kjvFromSwordHasTheFullCanonWithTitles_andTheKjvFromOsisItsChaptersAndVerses) {
    const SwordReadResult read = readSwordModule(QStringLiteral("engKJV2006eb"));
    if (!read.bible && !QFileInfo::exists(kKjvOsis)) GTEST_SKIP() << "sword-text-kjv is not installed";
    ASSERT_TRUE(read.bible) << read.error.toStdString();
    const ImportedBible& sword = *read.bible;
    ASSERT_EQ(sword.books.size(), 66u);
    const auto counts = verseCounts(sword);
    EXPECT_EQ(counts.size(), 1189u);
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), std::size_t{0}), 31102u);
    ASSERT_NE(sword.findBook(40), nullptr);
    EXPECT_EQ(sword.findBook(40)->name, "Matthew");
    EXPECT_EQ(sword.findBook(40)->chapters.at(4).size(), 48u);
    const QByteArray ps3v1 = verseText(sword, 19, 3, 1);
    EXPECT_TRUE(ps3v1.startsWith("[A Psalm of David")) << ps3v1.toStdString();
    EXPECT_TRUE(ps3v1.contains("]LORD, how are they increased"));
    for (const auto& b : sword.books)
        for (const auto& c : b.chapters)
            for (const auto& v : c)
                ASSERT_FALSE(v.text.contains('<') || v.text.contains('\t')) << v.text.toStdString();

    if (!QFileInfo::exists(kKjvOsis)) GTEST_SKIP() << "bibledit-data is not installed";
    const ImportedBible osis = readFile(kKjvOsis, BibleFormat::Osis);
    ASSERT_EQ(osis.books.size(), 66u);

    EXPECT_EQ(verseCounts(osis), counts);
    EXPECT_EQ(verseText(osis, 43, 3, 16), verseText(sword, 43, 3, 16));
    EXPECT_EQ(verseText(osis, 1, 1, 1), "In the beginning God created the heaven and the earth.");
    EXPECT_EQ(verseText(osis, 19, 3, 1).left(40), "[A Psalm of David, when he fled from Abs");
}

TEST(BibleData, webFromUsfmAgreesWithTheWebFromSword) {
    if (!QFileInfo::exists(kWebUsfm + "/73-JHNeng-web.usfm"))
        GTEST_SKIP() << "bibledit-data is not installed";
    const ImportedBible usfm = readFile(kWebUsfm, BibleFormat::Usfm);
    const SwordReadResult read = readSwordModule(QStringLiteral("engWEB2015eb"));
    ASSERT_TRUE(read.bible) << read.error.toStdString();
    const ImportedBible& sword = *read.bible;
    for (int number = 1; number <= 66; ++number)
        EXPECT_TRUE(usfm.findBook(number)) << number;
    // The two editions number four chapters apart: the doxology of Romans at 14:24-26 (not
    // 16:25-27), 3 John 1:14-15 as one verse, and Revelation 12:18 joined to 13:1.
    const auto counts = verseCounts(usfm), swordCounts = verseCounts(sword);
    ASSERT_EQ(counts.size(), swordCounts.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < counts.size(); ++i)
        differing += counts[i] != swordCounts[i] ? 1 : 0;
    EXPECT_EQ(differing, 4u);
    // The SWORD module is a later revision of the translation: many verses read differently
    // (John 3:16 among them), the first does not.
    EXPECT_EQ(verseText(usfm, 1, 1, 1), verseText(sword, 1, 1, 1));
    EXPECT_EQ(verseText(usfm, 43, 3, 16),
              "For God so loved the world, that he gave his one and only Son, that whoever believes in him "
              "should not perish, but have eternal life.");
}
