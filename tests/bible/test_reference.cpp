// References typed by people, against versions in three languages.

#include "bible/passagebuilder.h"
#include "bible/reference.h"

#include "support/biblefixture.h"

using namespace lumora::bible;
using namespace lumora::testing;
using lumora::session::PassageRef;

namespace {

// 66 books named as the version names them (the Psalms' recordings named "Ps"); John 3 has
// 36 verses, Psalms 150 chapters, Jude one chapter of 25 verses.
std::vector<FixtureBook> namedBooks(const QStringList& names) {
    std::vector<FixtureBook> books;
    for (int b = 1; b <= 66; ++b) {
        const bool one = b == 31 || b == 57 || b == 63 || b == 64 || b == 65;
        books.push_back({b, names.value(b - 1, QStringLiteral("Book%1").arg(b)),
                         one ? 1 : (b == 19 ? 150 : 21), [b](int c) { return b == 43 && c == 3 ? 36 : 25; },
                         b == 19 ? "Ps" : "Bk"});
    }
    return books;
}

QStringList englishNames() {
    QStringList n;
    for (int b = 1; b <= 66; ++b)
        n << englishBookName(b);
    return n;
}

class ReferenceTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_tmp = new TempFolder;
        QStringList french = englishNames(), spanish = englishNames();
        french[42] = QStringLiteral("Jean");
        french[61] = QStringLiteral("1 Jean");
        french[0] = QStringLiteral("Genèse");
        french[31] = QStringLiteral("Jonas");
        spanish[18] = QStringLiteral("Salmos");
        spanish[19] = QStringLiteral("Proverbios");
        spanish[42] = QStringLiteral("Juan");
        writeFixtureVersion(s_tmp->path(), "KJV", namedBooks(englishNames()));
        writeFixtureVersion(s_tmp->path(), "LSG", namedBooks(french));
        writeFixtureVersion(s_tmp->path(), "RV", namedBooks(spanish));
        writeBytes(s_tmp->path() + "/Bible/Version.txt",
                   "KJV - King James\r\nLSG - Louis Segond\r\nRV - Reina\r\n");
    }
    static void TearDownTestSuite() { delete s_tmp; }

    static ParsedReference parse(const QString& text, const QByteArray& code = "KJV") {
        return ParseReference(text, code, LoadBookTables(s_tmp->path(), code));
    }
    static inline TempFolder* s_tmp = nullptr;
};

} // namespace

// names, abbreviations, separators, letter case and accents
TEST_F(ReferenceTest, typedReferencesGiveTheirPassage) {
    const struct {
        const char* text;
        QByteArray version;
        PassageRef ref;
    } cases[] = {
        {"John 3:16-18", "KJV", {"KJV", 43, 3, 16, 18}},
        {"jn 3.16", "KJV", {"KJV", 43, 3, 16, 16}},
        {"  JOHN   3 : 16 ", "KJV", {"KJV", 43, 3, 16, 16}},
        {"John 3:1-3:4", "KJV", {"KJV", 43, 3, 1, 4}},
        {"Ps 23", "KJV", {"KJV", 19, 23, 0, 0}},
        {"Psalm 150:6", "KJV", {"KJV", 19, 150, 6, 6}},
        {"1 Cor 13:4-7", "KJV", {"KJV", 46, 13, 4, 7}},
        {"1co 13:4", "KJV", {"KJV", 46, 13, 4, 4}},
        {"I Cor 13", "KJV", {"KJV", 46, 13, 0, 0}},
        {"1 Jn 1:9", "KJV", {"KJV", 62, 1, 9, 9}},
        {"Mt 5:3\u20135", "KJV", {"KJV", 40, 5, 3, 5}},
        {"Song of Solomon 2:1", "KJV", {"KJV", 22, 2, 1, 1}},
        {"Jude 5", "KJV", {"KJV", 65, 1, 5, 5}},
        {"Jude 1:5", "KJV", {"KJV", 65, 1, 5, 5}},
        {"Genesis", "KJV", {"KJV", 1, 1, 0, 0}},
        {"gene 2", "KJV", {"KJV", 1, 2, 0, 0}},
        {"Salmos 23", "RV", {"RV", 19, 23, 0, 0}},
        {"salmos 23:1", "RV", {"RV", 19, 23, 1, 1}},
        {"Ps 23", "RV", {"RV", 19, 23, 0, 0}},
        {"Jn 3:16", "RV", {"RV", 43, 3, 16, 16}},
        {"Jean 3:16", "LSG", {"LSG", 43, 3, 16, 16}},
        {"jean 3,16", "LSG", {"LSG", 43, 3, 16, 16}},
        {"1 Jean 4:8", "LSG", {"LSG", 62, 4, 8, 8}},
        {"genese 1:1", "LSG", {"LSG", 1, 1, 1, 1}},
        {"GENÈSE 1", "LSG", {"LSG", 1, 1, 0, 0}},
        {"Gen 1", "LSG", {"LSG", 1, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        const ParsedReference p = parse(QString::fromUtf8(c.text), c.version);
        ASSERT_TRUE(p.ref) << c.text << ": " << p.error.toStdString();
        EXPECT_EQ(*p.ref, c.ref) << c.text;
        EXPECT_TRUE(p.candidates.isEmpty()) << c.text;
    }
}

// Unknown books, chapters and verses out of range, and text that is no reference; a beginning that
// fits several books names them all, and no book is picked.
TEST_F(ReferenceTest, unresolvableReferencesSayWhy_ambiguousOnesNameTheCandidates) {
    const struct {
        const char* text;
        QByteArray version;
        const char* error;
    } cases[] = {
        {"Jean 3:16", "KJV", "No book of KJV is called \"Jean\"."},
        {"Hezekiah 1", "KJV", "No book of KJV is called \"Hezekiah\"."},
        {"Ps 151", "KJV", "Psalms has 150 chapters."},
        {"John 0", "KJV", "John has 21 chapters."},
        {"John 3:37", "KJV", "John 3 has 36 verses."},
        {"John 3:0", "KJV", "Verses are counted from 1."},
        {"John 3:16-40", "KJV", "John 3 has 36 verses."},
        {"John 3:18-16", "KJV", "The last verse comes before the first."},
        {"John 3:16-4:2", "KJV", "A passage ends in the chapter it begins in."},
        {"Jude 2:1", "KJV", "Jude has one chapter."},
        {"Jude 26", "KJV", "Jude 1 has 25 verses."},
        {"3:16", "KJV", "\"3:16\" is not a reference like John 3:16-18."},
        {"", "KJV", "Type a reference, for example John 3:16."},
        {"John 3:16:2", "KJV", "\"John 3:16:2\" is not a reference like John 3:16-18."},
        {"John 99999999999", "KJV", "John has 21 chapters."},
        {"Ph 1", "KJV", "\"Ph\" could be 50 Philippians, 57 Philemon."},
        {"Jo 1", "KJV", "\"Jo\" could be 06 Joshua, 18 Job, 29 Joel, 32 Jonah, 43 John."},
        {"J 1", "LSG",
         "\"J\" could be 06 Joshua, 07 Judges, 18 Job, 24 Jeremiah, 29 Joel, 32 Jonas, 43 Jean, 59 James, 65 "
         "Jude."},
    };
    for (const auto& c : cases) {
        const ParsedReference p = parse(QString::fromUtf8(c.text), c.version);
        EXPECT_FALSE(p.ref) << c.text;
        EXPECT_EQ(p.error, QString::fromUtf8(c.error)) << c.text;
        EXPECT_EQ(p.candidates.size() > 1, p.error.contains("could be")) << c.text;
        EXPECT_TRUE(p.error.contains(p.candidates.join(", "))) << c.text;
    }
}

TEST(ReferenceNames, foldingDropsAccentsCaseBlanksDotsAndRomanNumbers) {
    EXPECT_EQ(foldBookName(QStringLiteral("1 Co.")), "1co");
    EXPECT_EQ(foldBookName(QStringLiteral("Génesis")), "genesis");
    EXPECT_EQ(foldBookName(QStringLiteral("II Rois")), "2rois");
    EXPECT_EQ(foldBookName(QStringLiteral("Ïsaïe")), "isaie");
    EXPECT_EQ(foldBookName(QStringLiteral("Iacobus")), "iacobus") << "a name beginning with I keeps it";
    EXPECT_EQ(englishBookName(43), "John");
    EXPECT_EQ(englishBookName(67), "");
}

// The resolver makes a reference what the navigation lists would select.
TEST_F(ReferenceTest, resolverGivesTheListsPassageOrAClearError) {
    const ResolvedPassage whole = ResolvePassage(s_tmp->path(), PassageRef{"kjv", 43, 3, 0, 0});
    ASSERT_TRUE(whole.request) << whole.error.toStdString();
    EXPECT_EQ(whole.request->heading, "43 John 3 : 1 - 36");
    EXPECT_EQ(whole.request->StartKey, "43N\t3\t1");
    EXPECT_EQ(whole.request->EndKey, "43N\t3\t36");
    EXPECT_FALSE(whole.request->endsBeforeChapterEnd);
    EXPECT_EQ(whole.request->versionEntry, "KJV - King James");
    EXPECT_TRUE(whole.request->BookFilePath.endsWith("KJV-N.txt"));

    const ResolvedPassage one = ResolvePassage(s_tmp->path(), PassageRef{"KJV", 1, 2, 4, 4});
    ASSERT_TRUE(one.request);
    EXPECT_EQ(one.request->heading, "01 Genesis 2 : 4");
    EXPECT_EQ(one.request->EndKey, "01O\t2\t5") << "the verse after a passage that stops early";
    EXPECT_TRUE(one.request->endsBeforeChapterEnd);
    EXPECT_TRUE(one.request->BookFilePath.endsWith("KJV-O.txt"));

    const struct {
        PassageRef ref;
        const char* error;
    } bad[] = {
        {{"XYZ", 43, 3, 16, 16}, "unknown version: XYZ"},
        {{"KJV", 70, 1, 1, 1}, "unknown book: 70"},
        {{"KJV", 43, 22, 1, 1}, "unknown chapter: 22 (the book has 21)"},
        {{"KJV", 43, 3, 37, 37}, "unknown verse: the chapter has 36 verses"},
        {{"KJV", 43, 3, 5, 4}, "unknown verse: the chapter has 36 verses"},
    };
    for (const auto& b : bad) {
        const ResolvedPassage r = ResolvePassage(s_tmp->path(), b.ref);
        EXPECT_FALSE(r.request) << b.error;
        EXPECT_EQ(r.error, QString::fromLatin1(b.error));
    }
}
