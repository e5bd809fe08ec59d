#include "import/osistext.h"
#include "import/versionwriter.h"

#include <gtest/gtest.h>

using lumora::import::cleanOsis;
using lumora::import::verseField;
using lumora::import::withVersionLine;

// markup and notes
TEST(OsisText, wordTagsDroppedNotesDroppedWithContent) {
    const auto v = cleanOsis(
        R"(In the <w lemma="strong:H7225">beginning</w><note placement="foot"><reference>1:1</reference>note <hi>text</hi></note>.)");
    EXPECT_EQ(v.text, "In the beginning.");
    EXPECT_TRUE(v.titles.isEmpty());
}

TEST(OsisText, noteBetweenTwoWords_leavesOneBlank) {
    EXPECT_EQ(cleanOsis("God<note>x</note><w>created</w> all").text, "God created all");
    EXPECT_EQ(cleanOsis("God<note>x</note>, all").text, "God, all");
}

TEST(OsisText, whiteSpaceCollapsedAndTrimmed) {
    EXPECT_EQ(cleanOsis("  <l sID=\"a\"/>one\t\n two<l eID=\"a\"/><l sID=\"b\"/>three  ").text,
              "one two three");
}

TEST(OsisText, entitiesDecoded) {
    EXPECT_EQ(cleanOsis("a &amp; b &lt;c&gt; &#233;&#x41;").text, "a & b <c> \xC3\xA9"
                                                                  "A");
}

TEST(OsisText, pilcrowDropped) {
    EXPECT_EQ(cleanOsis("\xC2\xB6 For God").text, "For God");
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

// malformed input
TEST(OsisText, cutTag_endsTheText) {
    EXPECT_EQ(cleanOsis("word <w lemma=").text, "word");
}
TEST(OsisText, loneAmpersandKept) {
    EXPECT_EQ(cleanOsis("a & b").text, "a & b");
}

// Version.txt
TEST(VersionList, newCodeAppended_existingLinesKeptInOrder) {
    EXPECT_EQ(withVersionLine("B - b\r\nA - a", "KJV", "King James"),
              "B - b\r\nA - a\r\nKJV - King James\r\n");
    EXPECT_EQ(withVersionLine("", "KJV", "K"), "KJV - K\r\n");
}

TEST(VersionList, sameCode_replacedInPlace_bomKept) {
    EXPECT_EQ(withVersionLine("\xEF\xBB\xBFkjv - old\r\nWEB - w\r\n", "KJV", "new"),
              "\xEF\xBB\xBFKJV - new\r\nWEB - w\r\n");
    EXPECT_EQ(withVersionLine("KJV2 - other\r\n", "KJV", "K"), "KJV2 - other\r\nKJV - K\r\n");
}
