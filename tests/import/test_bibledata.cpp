// Real Bibles from Debian's bibledit-data, set against the same translations read from SWORD:
// the KJV as milestone OSIS (kjv.xml) and the World English Bible as 85 USFM files.

#include "support/testdata.h"

#include "import/bibleimport.h"
#include "import/swordreader.h"
#include "import/versionwriter.h"

#include <QFileInfo>

#include <cstdio>

#include <gtest/gtest.h>

using namespace lumora::import;
using lumora::testing::readBytes;
using lumora::testing::TempFolder;

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

ImportedBible readSword(const QString& module) {
    SwordReadResult r = readSwordModule(module);
    EXPECT_TRUE(r.bible) << r.error.toStdString();
    return r.bible.value_or(ImportedBible{});
}

struct Agreement {
    int chaptersCompared = 0;
    int chaptersDiffering = 0; // in verse count
    int verses = 0;
    int sameText = 0;
    QStringList examples;
};

// Books 1-66 of both, chapter by chapter.
Agreement compare(const ImportedBible& file, const ImportedBible& sword) {
    Agreement a;
    for (int number = 1; number <= 66; ++number) {
        const ImportedBook* f = file.findBook(number);
        const ImportedBook* s = sword.findBook(number);
        if (!f || !s) continue;
        const std::size_t chapters = std::max(f->chapters.size(), s->chapters.size());
        for (std::size_t c = 0; c < chapters; ++c) {
            ++a.chaptersCompared;
            if (c >= f->chapters.size() || c >= s->chapters.size() ||
                f->chapters[c].size() != s->chapters[c].size()) {
                ++a.chaptersDiffering;
                a.examples << QStringLiteral("%1 %2: verse count").arg(number).arg(c + 1);
                continue;
            }
            for (std::size_t v = 0; v < f->chapters[c].size(); ++v) {
                ++a.verses;
                if (f->chapters[c][v].text == s->chapters[c][v].text)
                    ++a.sameText;
                else if (a.examples.size() < 8)
                    a.examples << QStringLiteral("%1 %2:%3\n  file:  %4\n  SWORD: %5")
                                      .arg(number)
                                      .arg(c + 1)
                                      .arg(v + 1)
                                      .arg(QString::fromUtf8(f->chapters[c][v].text),
                                           QString::fromUtf8(s->chapters[c][v].text));
            }
        }
    }
    return a;
}

void report(const char* what, const Agreement& a) {
    std::printf(
        "[ %s ] %d chapters, %d with another verse count; %d of %d verses (%.2f%%) with the same text\n",
        what, a.chaptersCompared, a.chaptersDiffering, a.sameText, a.verses,
        a.verses ? 100.0 * a.sameText / a.verses : 0.0);
    for (const QString& e : a.examples)
        std::printf("    %s\n", e.toUtf8().constData());
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
    std::size_t chapters = 0;
    for (const auto& b : sword.books)
        chapters += b.chapters.size();
    EXPECT_EQ(chapters, 1189u);
    ASSERT_NE(sword.findBook(40), nullptr);
    EXPECT_EQ(sword.findBook(40)->name, "Matthew");
    EXPECT_EQ(sword.findBook(40)->chapters.at(4).size(), 48u);
    const QByteArray ps3v1 = verseText(sword, 19, 3, 1);
    EXPECT_TRUE(ps3v1.startsWith("[A Psalm of David")) << ps3v1.toStdString();
    EXPECT_TRUE(ps3v1.contains("]LORD, how are they increased"));
    std::size_t verses = 0;
    for (const auto& b : sword.books)
        for (const auto& c : b.chapters)
            for (const auto& v : c) {
                ++verses;
                ASSERT_FALSE(v.text.contains('<') || v.text.contains('\t')) << v.text.toStdString();
            }
    EXPECT_EQ(verses, 31102u);

    if (!QFileInfo::exists(kKjvOsis)) GTEST_SKIP() << "bibledit-data is not installed";
    const ImportedBible osis = readFile(kKjvOsis, BibleFormat::Osis);
    ASSERT_EQ(osis.books.size(), 66u);

    // The chapter table of both imports, byte for byte: every verse count of every chapter.
    TempFolder data;
    ASSERT_EQ(writeVersion(data.path(), "KJVO", "KJV from OSIS", osis), QString());
    ASSERT_EQ(writeVersion(data.path(), "KJVS", "KJV from SWORD", sword), QString());
    EXPECT_EQ(readBytes(data.file("Bible/KJVO/Chap_verset.txt")),
              readBytes(data.file("Bible/KJVS/Chap_verset.txt")));

    const Agreement a = compare(osis, sword);
    report("KJV OSIS vs SWORD", a);
    EXPECT_EQ(a.chaptersDiffering, 0);
    EXPECT_EQ(a.verses, 31102);
    EXPECT_EQ(verseText(osis, 43, 3, 16), verseText(sword, 43, 3, 16));
    EXPECT_EQ(verseText(osis, 1, 1, 1), "In the beginning God created the heaven and the earth.");
    EXPECT_EQ(verseText(osis, 19, 3, 1).left(40), "[A Psalm of David, when he fled from Abs");
}

TEST(BibleData, webFromUsfmAgreesWithTheWebFromSword) {
    if (!QFileInfo::exists(kWebUsfm + "/73-JHNeng-web.usfm"))
        GTEST_SKIP() << "bibledit-data is not installed";
    const ImportedBible usfm = readFile(kWebUsfm, BibleFormat::Usfm);
    const ImportedBible sword = readSword(QStringLiteral("engWEB2015eb"));
    const Agreement a = compare(usfm, sword);
    report("WEB USFM vs SWORD", a);
    for (int number = 1; number <= 66; ++number)
        EXPECT_TRUE(usfm.findBook(number)) << number;
    // The two editions number four chapters apart: the doxology of Romans at 14:24-26 (not
    // 16:25-27), 3 John 1:14-15 as one verse, and Revelation 12:18 joined to 13:1.
    EXPECT_EQ(a.chaptersDiffering, 4);
    // The SWORD module is a later revision of the translation: many verses read differently
    // (John 3:16 among them), the first does not.
    EXPECT_EQ(verseText(usfm, 1, 1, 1), verseText(sword, 1, 1, 1));
    EXPECT_EQ(verseText(usfm, 43, 3, 16),
              "For God so loved the world, that he gave his one and only Son, that whoever believes in him "
              "should not perish, but have eternal life.");
}
