// The Bible file readers: what each format's markup becomes in the verse lines, how books are
// numbered, and the one message a malformed file gives; and the OSIS text of a SWORD verse.

#include "import/bibleimport.h"
#include "import/osistext.h"

#include <gtest/gtest.h>

using namespace lumora::import;

namespace {

BibleSource inMemory(const QByteArray& bytes, const QString& name = QStringLiteral("bible.txt")) {
    BibleSource s;
    s.path = name;
    s.files.push_back({name, bytes});
    return s;
}

BibleReadResult readGuessed(const QByteArray& bytes) {
    const BibleSource s = inMemory(bytes);
    const auto format = guessBibleFormat(s);
    EXPECT_TRUE(format.has_value());
    return readBible(s, format.value_or(BibleFormat::Osis));
}

QByteArray verse(const BibleReadResult& r, int book, int chapter, int verse) {
    if (!r.bible) return "<no bible: " + (r.error ? r.error->text().toUtf8() : QByteArray("cancelled")) + ">";
    const ImportedBook* b = r.bible->findBook(book);
    if (!b || chapter > static_cast<int>(b->chapters.size())) return "<no chapter>";
    const auto& c = b->chapters[static_cast<std::size_t>(chapter - 1)];
    if (verse > static_cast<int>(c.size())) return "<no verse>";
    return c[static_cast<std::size_t>(verse - 1)].text;
}

constexpr char kOsisContainer[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<osis xmlns="http://www.bibletechnologies.net/2003/OSIS/namespace">
<osisText osisIDWork="T" xml:lang="fr"><header><work osisWork="T"><title>Tiny OSIS</title></work></header>
<div type="book" osisID="Gen"><title type="main">THE FIRST BOOK</title>
<chapter osisID="Gen.1"><title type="chapter">CHAPTER 1</title>
<title type="x-section">The Creation</title>
<verse osisID="Gen.1.1">In the <w lemma="strong:H7225" morph="x">beginning</w><note type="study">a note</note> God <transChange type="added">did</transChange>   create.</verse>
<verse osisID="Gen.1.2 Gen.1.3">Joined <divineName>Lord</divineName> <q who="Jesus">said</q>.</verse>
</chapter></div>
<div type="book" osisID="Ps"><chapter osisID="Ps.3">
<verse osisID="Ps.3.1"><title type="psalm" canonical="true">A Psalm of David.</title>LORD, how many<note type="crossReference"><reference>x</reference></note>.</verse>
</chapter></div>
<div type="book" osisID="Tob"><chapter osisID="Tob.1"><verse osisID="Tob.1.1">Tobit.</verse></chapter></div>
<div type="book" osisID="Xyz"><chapter osisID="Xyz.1"><verse osisID="Xyz.1.1">Unknown book.</verse></chapter></div>
</osisText></osis>
)";

constexpr char kOsisMilestone[] = R"(<osis><osisText>
<div type="book" osisID="Matt"><chapter sID="Matt.5" osisID="Matt.5"/>
<p><verse sID="Matt.5.1" osisID="Matt.5.1"/>And seeing the multitudes,<verse eID="Matt.5.1"/></p>
<lg><l><verse sID="Matt.5.2" osisID="Matt.5.2"/>he opened</l><l>his mouth</l></lg><verse eID="Matt.5.2"/>
<verse sID="Matt.5.4" osisID="Matt.5.4"/>Blessed<milestone type="x-p"/>are they.<verse eID="Matt.5.4"/>
<chapter eID="Matt.5"/></div></osisText></osis>
)";

constexpr char kZefania[] = R"(<?xml version="1.0" encoding="utf-8"?>
<XMLBIBLE biblename="Tiny Zefania"><INFORMATION><title>Tiny</title><language>ENG</language></INFORMATION>
<BIBLEBOOK bnumber="1" bname="Genesis" bsname="Gen">
<PROLOG>An introduction.</PROLOG>
<CHAPTER cnumber="1"><CAPTION vref="1">The Creation</CAPTION>
<VERS vnumber="1">In the <GRAM str="7225">beginning</GRAM><NOTE>a note</NOTE> God <STYLE css="x">created</STYLE>.<XREF mscope="1;1;1">x</XREF></VERS>
<VERS vnumber="2">Line one<BR/>line two<REMARK>r</REMARK>.</VERS>
<VERS vnumber="3-4">Bridged.</VERS>
</CHAPTER></BIBLEBOOK>
<BIBLEBOOK bnumber="70" bname="Judith" bsname="Jdt"><CHAPTER cnumber="1"><VERS vnumber="1">Judith text.</VERS></CHAPTER></BIBLEBOOK>
</XMLBIBLE>
)";

constexpr char kUsfm[] =
    "Text before the id line is not the book's.\n"
    "\\id GEN Tiny USFM\n\\h Genesis\n\\toc1 The First Book of Moses\n\\toc2 Gen\xC3\xA8se\n"
    "\\mt1 Genesis\n\\ip An introduction paragraph.\n\\c 1\n\\s1 The Creation\n\\p\n"
    "\\v 1 In the beginning\\f + \\fr 1:1 \\ft a footnote\\f* God created\\x - \\xo 1:1 \\xt John "
    "1:1\\x* the heavens.\n"
    "\\v 2 \\wj Jesus\\wj* \\add said\\add* \\nd Lord\\nd* \\w gracious|strong=\"H2587\"\\w*.\n"
    "\\q1 poetry one\n\\q2 poetry two\n\\v 3-4 Bridged text.\n"
    "\\v 5 Before \\fig A picture|src=\"a.jpg\"\\fig* after \\zunknown odd\\zunknown* end.\n"
    "\\c 2\n\\d A title of the chapter\n\\v 1 Second chapter.\n";

constexpr char kUsx[] = R"(<?xml version="1.0" encoding="utf-8"?>
<usx version="3.0"><book code="PSA" style="id">Tiny USX</book>
<para style="h">Psalms</para><para style="mt1">The Psalms</para>
<chapter number="3" style="c" sid="PSA 3"/>
<para style="d">A Psalm of David.</para>
<para style="q1"><verse number="1" style="v" sid="PSA 3:1"/>Yahweh, <char style="nd">how</char><note caller="+" style="f"><char style="ft">note</char></note> many<verse eid="PSA 3:1"/></para>
<para style="q2"><verse number="2-3" style="v" sid="PSA 3:2-3"/>are <char style="w" strong="H1">they</char>.<verse eid="PSA 3:2-3"/></para>
<chapter eid="PSA 3"/></usx>
)";

constexpr char kOpenSong[] = R"(<?xml version="1.0"?>
<bible><b n="Genesis"><c n="1"><v n="1">In the beginning.</v><v n="2">Second.</v></c></b>
<b n="Exodus"><c n="1"><v n="1">Exodus one.</v></c></b>
<b n="Livre inconnu"><c n="1"><v n="1">Third place.</v></c></b></bible>
)";

// 27 books with names the table does not know: Matthieu, Marc, ...
const QByteArray kOpenSongNt = [] {
    QByteArray x = "<bible>";
    for (int i = 1; i <= 27; ++i)
        x += "<b n=\"Livre " + QByteArray::number(i) + "\"><c n=\"1\"><v n=\"1\">" +
             (i == 2 ? QByteArray("Marc un.") : QByteArray("x")) + "</v></c></b>";
    return x + "</bible>";
}();

constexpr char kUnbound[] =
    "#name\tTiny Unbound\n#filetype\tUnmapped-BCVS\n#language\tfre\n"
    "#columns\torig_book_index\torig_chapter\torig_verse\torig_subverse\torder_by\ttext\n"
    "40N\t1\t1\t\t10\t\xC2\xB6 The book of the genealogy.\n"
    "40N\t1\t2\t\t20\tAbraham begat Isaac;\n"
    "40N\t1\t2\ta\t21\tand Isaac begat Jacob.\n"
    "67A\t1\t1\t\t30\tApocrypha.\n";

// Ten entities each ten times the one before: 10^9 "lol"s from a file of a kilobyte.
const QByteArray kBillionLaughs = [] {
    QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE osis [\n<!ENTITY lol0 \"lol\">\n";
    for (int i = 1; i <= 9; ++i)
        xml += "<!ENTITY lol" + QByteArray::number(i) + " \"" +
               QByteArray("&lol" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
    return xml + "]>\n<osis><osisText><div type=\"book\" osisID=\"Gen\"><chapter osisID=\"Gen.1\">\n"
                 "<verse osisID=\"Gen.1.1\">&lol9;</verse></chapter></div></osisText></osis>\n";
}();

} // namespace

TEST(BibleFormats, eachReaderGivesThePlainVerseTextWithItsTitles) {
    const struct {
        const char* name;
        QByteArray file;
        BibleFormat format;
        int book, chapter, verse;
        QByteArray text;
    } cases[] = {
        {"osis: section title, Strong's, note, transChange", kOsisContainer, BibleFormat::Osis, 1, 1, 1,
         "[The Creation]In the beginning God did create."},
        {"osis: a verse of two ids keeps the text on the first", kOsisContainer, BibleFormat::Osis, 1, 1, 2,
         "Joined LORD said."}, // the divine name in capitals, as printed
        {"osis: the second id of a bridge stays empty", kOsisContainer, BibleFormat::Osis, 1, 1, 3, ""},
        {"osis: canonical psalm title inside the verse", kOsisContainer, BibleFormat::Osis, 19, 3, 1,
         "[A Psalm of David.]LORD, how many."},
        {"osis: Tobit is book 67", kOsisContainer, BibleFormat::Osis, 67, 1, 1, "Tobit."},
        {"osis: an unknown book follows the listed ones", kOsisContainer, BibleFormat::Osis,
         kFirstUnlistedBook, 1, 1, "Unknown book."},
        {"osis milestones across p", kOsisMilestone, BibleFormat::Osis, 40, 5, 1,
         "And seeing the multitudes,"},
        {"osis milestones across lg and l", kOsisMilestone, BibleFormat::Osis, 40, 5, 2,
         "he opened his mouth"},
        {"osis: a missing verse is empty", kOsisMilestone, BibleFormat::Osis, 40, 5, 3, ""},
        {"osis: milestone breaks a word run with a blank", kOsisMilestone, BibleFormat::Osis, 40, 5, 4,
         "Blessed are they."},
        {"zefania: caption, gram, style, note and xref", kZefania, BibleFormat::Zefania, 1, 1, 1,
         "[The Creation]In the beginning God created."},
        {"zefania: BR is a blank, REMARK dropped", kZefania, BibleFormat::Zefania, 1, 1, 2,
         "Line one line two."},
        {"zefania: a bridge", kZefania, BibleFormat::Zefania, 1, 1, 3, "Bridged."},
        {"zefania: a book above 66 found by its name", kZefania, BibleFormat::Zefania, 68, 1, 1,
         "Judith text."},
        {"usfm: section title, footnote and cross reference dropped", kUsfm, BibleFormat::Usfm, 1, 1, 1,
         "[The Creation]In the beginning God created the heavens."},
        {"usfm: character markers keep their text, attributes dropped", kUsfm, BibleFormat::Usfm, 1, 1, 2,
         "Jesus said Lord gracious. poetry one poetry two"},
        {"usfm: bridge text on the first verse", kUsfm, BibleFormat::Usfm, 1, 1, 3, "Bridged text."},
        {"usfm: the rest of the bridge is empty", kUsfm, BibleFormat::Usfm, 1, 1, 4, ""},
        {"usfm: figure dropped, unknown marker keeps its text", kUsfm, BibleFormat::Usfm, 1, 1, 5,
         "Before after odd end."},
        {"usfm: \\d gives a title", kUsfm, BibleFormat::Usfm, 1, 2, 1,
         "[A title of the chapter]Second chapter."},
        {"usx: d title, char kept, note dropped", kUsx, BibleFormat::Usx, 19, 3, 1,
         "[A Psalm of David.]Yahweh, how many"},
        {"usx: bridge", kUsx, BibleFormat::Usx, 19, 3, 2, "are they."},
        {"usx: missing chapters before the first are empty", kUsx, BibleFormat::Usx, 19, 3, 3, ""},
        {"opensong: by name", kOpenSong, BibleFormat::OpenSong, 2, 1, 1, "Exodus one."},
        {"opensong: an unknown name in a short file follows the listed books", kOpenSong,
         BibleFormat::OpenSong, kFirstUnlistedBook, 1, 1, "Third place."},
        {"opensong: unknown names of a 27-book file are the New Testament", kOpenSongNt,
         BibleFormat::OpenSong, 41, 1, 1, "Marc un."},
        {"unbound: pilcrow dropped", kUnbound, BibleFormat::Unbound, 40, 1, 1, "The book of the genealogy."},
        {"unbound: a subverse continues the verse", kUnbound, BibleFormat::Unbound, 40, 1, 2,
         "Abraham begat Isaac; and Isaac begat Jacob."},
        {"unbound: apocrypha after the 66", kUnbound, BibleFormat::Unbound, kFirstUnlistedBook, 1, 1,
         "Apocrypha."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes(c.file);
        EXPECT_EQ(guessBibleFormat(bytes), c.format);
        EXPECT_EQ(verse(readGuessed(bytes), c.book, c.chapter, c.verse), c.text);
    }
}

// book names, language, title and counts (the summary printed from them is BibleImportCli's to check)
TEST(BibleFormats, namesComeFromTheFileElseTheLanguageElseEnglish_andTheCounts) {
    const auto osis = readGuessed(kOsisContainer);
    ASSERT_TRUE(osis.bible);
    EXPECT_EQ(osis.language, "fr");
    EXPECT_EQ(osis.title, "Tiny OSIS");
    EXPECT_EQ(osis.bible->findBook(1)->name, "Genèse"); // no name in the file: the French table
    EXPECT_EQ(osis.bible->findBook(67)->name, "Tobit"); // outside the French table: English
    EXPECT_EQ(osis.bible->findBook(kFirstUnlistedBook)->name, "Xyz");
    EXPECT_EQ(osis.bible->findBook(1)->soundPrefix, "Gen");

    const auto usfm = readGuessed(kUsfm);
    ASSERT_TRUE(usfm.bible);
    EXPECT_EQ(usfm.bible->findBook(1)->name, "Genèse"); // \toc2 before \h and \toc1
    EXPECT_EQ(usfm.counts.books, 1);
    EXPECT_EQ(usfm.counts.chapters, 2);
    EXPECT_EQ(usfm.counts.verses, 6);
    EXPECT_EQ(usfm.counts.titles, 2);
    EXPECT_EQ(usfm.counts.emptyVerses, 1);
    for (const char* marker : {"\\f", "\\x", "\\zunknown", "\\ip"})
        EXPECT_EQ(usfm.counts.skipped.at(marker), 1) << marker;

    const auto zef = readGuessed(kZefania);
    ASSERT_TRUE(zef.bible);
    EXPECT_EQ(zef.title, "Tiny Zefania");
    EXPECT_EQ(zef.bible->findBook(1)->name, "Genesis");
    EXPECT_EQ(zef.counts.skipped.at("<PROLOG>"), 1);

    const auto unbound = readGuessed(kUnbound);
    ASSERT_TRUE(unbound.bible);
    EXPECT_EQ(unbound.bible->findBook(40)->name, "Matthieu");
}

TEST(BibleFormats, malformedInputGivesFileLineAndColumn) {
    const struct {
        const char* name;
        QByteArray content;
        BibleFormat format;
        QString where; // "file:line:column"
        QString says;
    } cases[] = {
        {"xml cut short",
         "<osis><osisText>\n<div type=\"book\" osisID=\"Gen\">\n<chapter osisID=\"Gen.1\">\n",
         BibleFormat::Osis, "bible.txt:4:1", "Premature end of document"},
        {"xml tags crossed", "<XMLBIBLE>\n<BIBLEBOOK bnumber=\"1\"><CHAPTER cnumber=\"1\"></BIBLEBOOK>",
         BibleFormat::Zefania, "bible.txt:2:", "Opening and ending tag mismatch"},
        {"zefania verse without a number",
         "<XMLBIBLE><BIBLEBOOK bnumber=\"1\"><CHAPTER cnumber=\"1\">\n"
         "<VERS vnumber=\"x\">a</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>",
         BibleFormat::Zefania, "bible.txt:2:", "not a usable verse: x"},
        {"osis verse id without a verse", "<osis><verse osisID=\"Gen.1\">a</verse></osis>", BibleFormat::Osis,
         "bible.txt:1:", "not a usable verse: Gen.1"},
        {"usfm chapter not a number", "\\id GEN\n\\p\n  \\c one\n", BibleFormat::Usfm, "bible.txt:3:3",
         "not a chapter number: \\c one"},
        {"usfm verse before a chapter", "\\id GEN\n\\v 1 text\n", BibleFormat::Usfm, "bible.txt:2:1",
         "\\v before any \\c"},
        {"usfm verse number far too high", "\\id GEN\n\\c 1\n\xC3\xA9 \\v 99999 text\n", BibleFormat::Usfm,
         "bible.txt:3:3", "not a verse number: \\v 99999"},
        {"usfm without an id line", "\\c 1\n\\v 1 text\n", BibleFormat::Usfm, "bible.txt:1:1",
         "\\c before the \\id line"},
        {"unbound row too short", "#columns\tbook\tchapter\tverse\ttext\n01O\t1\t1\ttext\n01O\t1\n",
         BibleFormat::Unbound, "bible.txt:3:1", "expected 4 tab-separated columns, found 2"},
        {"unbound chapter not a number", "01O\tx\t1\ttext\n", BibleFormat::Unbound, "bible.txt:1:1",
         "not a chapter number: x"},
        {"a format named that the file is not", "\\id GEN\n\\c 1\n\\v 1 a\n", BibleFormat::OpenSong,
         "bible.txt:1:", "not an OpenSong Bible"},
        {"no verse at all", "<bible><b n=\"Genesis\"></b></bible>", BibleFormat::OpenSong, "bible.txt",
         "no verse text found"},
        {"billion laughs, refused at the cap", kBillionLaughs, BibleFormat::Osis,
         "bible.txt:15:", "expansion limit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BibleReadResult r = readBible(inMemory(c.content), c.format);
        EXPECT_FALSE(r.bible.has_value());
        ASSERT_TRUE(r.error.has_value());
        const QString text = r.error->text();
        EXPECT_TRUE(text.startsWith(c.where)) << text.toStdString();
        EXPECT_TRUE(text.contains(c.says)) << text.toStdString();
    }
}

TEST(BibleFormats, contentNoReaderKnowsIsNotGuessed) {
    for (const char* content : {"", "plain words\n", "<html><body/></html>", "PK\x03\x04", "\\p no id\n"})
        EXPECT_FALSE(guessBibleFormat(QByteArray(content)).has_value()) << content;
}

TEST(BibleFormats, cancelStopsTheReadWithNothingKept) {
    QByteArray usfm = "\\id GEN\n\\c 1\n";
    for (int v = 1; v <= 1000; ++v)
        usfm += "\\v " + QByteArray::number(v) + " " + QByteArray(2000, 'a') + "\n";
    ReadOptions options;
    int calls = 0;
    options.progress = [&](qint64, qint64) { return ++calls < 2; };
    const BibleReadResult r = readBible(inMemory(usfm), BibleFormat::Usfm, options);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.bible.has_value());
    EXPECT_FALSE(r.error.has_value());
}

// One SWORD verse entry: markup and notes dropped, titles lifted out of the text.
TEST(OsisText, markupAndNotesDroppedBlanksCollapsedEntitiesDecodedTitlesLiftedOut) {
    const struct {
        const char* name;
        QByteArray osis, text, titles; // titles joined by "|"
    } cases[] = {
        {"word tags dropped, notes dropped with their content",
         R"(In the <w lemma="strong:H7225">beginning</w><note placement="foot"><reference>1:1</reference>note <hi>text</hi></note>.)",
         "In the beginning.",
         {}},
        {"a note between two words leaves one blank",
         "God<note>x</note><w>created</w> all",
         "God created all",
         {}},
        {"no blank before punctuation", "God<note>x</note>, all", "God, all", {}},
        {"white space collapsed and trimmed",
         "  <l sID=\"a\"/>one\t\n two<l eID=\"a\"/><l sID=\"b\"/>three  ",
         "one two three",
         {}},
        {"entities decoded",
         "a &amp; b &lt;c&gt; &#233;&#x41;",
         "a & b <c> \xC3\xA9"
         "A",
         {}},
        {"pilcrow dropped", "\xC2\xB6 For God", "For God", {}},
        {"a cut tag ends the text", "word <w lemma=", "word", {}},
        {"a lone ampersand is kept", "a & b", "a & b", {}},
        {"psalm title lifted out, with markup inside",
         R"(<div type="x-milestone" sID="p"/><title canonical="true" type="psalm">A <w>Psalm</w> of David<note>n</note>.</title> <l/>LORD, how)",
         "LORD, how", "A Psalm of David."},
        {"book and chapter headings are no verse titles",
         R"(<title type="main">Genesis</title><title type="chapter">Chapter 1</title><title>Creation</title>Text)",
         "Text", "Creation"},
        {"two titles back to back", "<title>A</title><title>B [x]</title> Text", "Text", "A|B [x]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto v = cleanOsis(c.osis);
        EXPECT_EQ(v.text, c.text);
        EXPECT_EQ(QByteArrayList(v.titles).join('|'), c.titles);
    }
    EXPECT_EQ(verseField({"A", "B [x]"}, "Text"), "[A][B (x)]Text"); // brackets of a title as parentheses
}
