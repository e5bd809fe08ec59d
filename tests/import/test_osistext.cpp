#include "import/osistext.h"
#include "import/versionwriter.h"

#include <gtest/gtest.h>

using lumora::import::cleanOsis;
using lumora::import::verseField;
using lumora::import::withVersionLine;

TEST(OsisText, markupAndNotesDroppedBlanksCollapsedEntitiesDecoded) {
    const struct {
        const char* name;
        QByteArray osis, text;
    } cases[] = {
        {"word tags dropped, notes dropped with their content",
         R"(In the <w lemma="strong:H7225">beginning</w><note placement="foot"><reference>1:1</reference>note <hi>text</hi></note>.)",
         "In the beginning."},
        {"a note between two words leaves one blank", "God<note>x</note><w>created</w> all",
         "God created all"},
        {"no blank before punctuation", "God<note>x</note>, all", "God, all"},
        {"white space collapsed and trimmed",
         "  <l sID=\"a\"/>one\t\n two<l eID=\"a\"/><l sID=\"b\"/>three  ", "one two three"},
        {"entities decoded", "a &amp; b &lt;c&gt; &#233;&#x41;",
         "a & b <c> \xC3\xA9"
         "A"},
        {"pilcrow dropped", "\xC2\xB6 For God", "For God"},
        {"a cut tag ends the text", "word <w lemma=", "word"},
        {"a lone ampersand is kept", "a & b", "a & b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto v = cleanOsis(c.osis);
        EXPECT_EQ(v.text, c.text);
        EXPECT_TRUE(v.titles.isEmpty());
    }
}

// titles
TEST(OsisText, psalmTitleLiftedOut_withMarkupInside) {
    const auto v = cleanOsis(
        R"(<div type="x-milestone" sID="p"/><title canonical="true" type="psalm">A <w>Psalm</w> of David<note>n</note>.</title> <l/>LORD, how)");
    ASSERT_EQ(v.titles.size(), 1);
    EXPECT_EQ(v.titles[0], "A Psalm of David.");
    EXPECT_EQ(v.text, "LORD, how");
}

TEST(OsisText, bookAndChapterHeadingsAreNotVerseTitles) {
    const auto v = cleanOsis(
        R"(<title type="main">Genesis</title><title type="chapter">Chapter 1</title><title>Creation</title>Text)");
    ASSERT_EQ(v.titles.size(), 1);
    EXPECT_EQ(v.titles[0], "Creation");
}

TEST(OsisText, twoTitles_backToBack) {
    const auto v = cleanOsis("<title>A</title><title>B [x]</title> Text");
    EXPECT_EQ(verseField(v.titles, v.text), "[A][B (x)]Text");
    EXPECT_EQ(verseField({}, "Text"), "Text");
}

TEST(VersionList, newCodeAppended_existingLinesKeptInOrder_sameCodeReplacedInPlace_bomKept) {
    EXPECT_EQ(withVersionLine("B - b\r\nA - a", "KJV", "King James"),
              "B - b\r\nA - a\r\nKJV - King James\r\n");
    EXPECT_EQ(withVersionLine("", "KJV", "K"), "KJV - K\r\n");
    // the same code is replaced in place, the BOM kept
    EXPECT_EQ(withVersionLine("\xEF\xBB\xBFkjv - old\r\nWEB - w\r\n", "KJV", "new"),
              "\xEF\xBB\xBFKJV - new\r\nWEB - w\r\n");
    EXPECT_EQ(withVersionLine("KJV2 - other\r\n", "KJV", "K"), "KJV2 - other\r\nKJV - K\r\n");
}
