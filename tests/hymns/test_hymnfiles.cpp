#include "hymns/hymnfiles.h"

#include "hymnfixture.h"

#include <gtest/gtest.h>

using namespace lumora::hymns;
using namespace lumora::testing;

namespace {

const QString kBook = QStringLiteral("B");
QString entryFor(const QByteArray& label) { return QString::fromUtf8(hymnEntry(label, "T", "S", "B")); }

// --- music and words

TEST(HymnFiles, music_labelNamesBeforeNumberNames_inExtensionOrder) {
    HymnData d;
    d.touch(kBook, QStringLiteral("MUSIQUE/12.wav"));
    d.touch(kBook, QStringLiteral("MUSIQUE/12 - Amen.MID"));  // found whatever the letter case
    const HymnFiles f = LoadHymnFiles(d.cantiques(), entryFor("12 - Amen"));
    EXPECT_TRUE(f.hasMusic);
    EXPECT_TRUE(f.musicPath.endsWith(QStringLiteral("MUSIQUE/12 - Amen.MID")));

    d.touch(kBook, QStringLiteral("MUSIQUE/12 - Amen.mp3"));
    EXPECT_TRUE(LoadHymnFiles(d.cantiques(), entryFor("12 - Amen")).musicPath.endsWith(QStringLiteral("12 - Amen.mp3")));
    EXPECT_TRUE(LoadHymnFiles(d.cantiques(), entryFor("12 - Other")).musicPath.endsWith(QStringLiteral("MUSIQUE/12.wav")));
}

TEST(HymnFiles, noMusic_lastTriedPathIsTheNumberMid) {
    HymnData d;
    const HymnFiles f = LoadHymnFiles(d.cantiques(), entryFor("7 - Gloria"));
    EXPECT_FALSE(f.hasMusic);
    EXPECT_TRUE(f.musicPath.endsWith(QStringLiteral("/B/musique/7.mid")));
    EXPECT_EQ(f.words, WordsKind::None);
}

TEST(HymnFiles, words_rtfBeforeTxt_numberRtfBeforeLabelTxt) {
    HymnData d;
    d.touch(kBook, QStringLiteral("parole/3 - Joy.txt"));
    d.touch(kBook, QStringLiteral("parole/3.rtf"));
    HymnFiles f = LoadHymnFiles(d.cantiques(), entryFor("3 - Joy"));
    EXPECT_EQ(f.words, WordsKind::Rtf);
    EXPECT_TRUE(f.wordsPath.endsWith(QStringLiteral("parole/3.rtf")));
    f = LoadHymnFiles(d.cantiques(), entryFor("3 - Joy - other"));
    EXPECT_EQ(f.words, WordsKind::Rtf);  // number "3" still
    f = LoadHymnFiles(d.cantiques(), entryFor("4 - Joy"));
    EXPECT_EQ(f.words, WordsKind::None);
}

TEST(HymnFiles, labelWithoutNumber_findsLabelNamedFilesOnly) {
    HymnData d;
    d.touch(kBook, QStringLiteral("parole/.txt"));
    d.touch(kBook, QStringLiteral("musique/.wav"));
    d.touch(kBook, QStringLiteral("parole/Amen.txt"));
    const HymnFiles f = LoadHymnFiles(d.cantiques(), entryFor("Amen"));
    EXPECT_FALSE(f.hasMusic);
    EXPECT_TRUE(f.wordsPath.endsWith(QStringLiteral("parole/Amen.txt")));
}

TEST(HymnFiles, entryWithFewerTabs_bookIsTextAfterLastTab) {
    HymnData d;
    d.touch(QStringLiteral("Tune"), QStringLiteral("parole/1.txt"));
    const HymnFiles f = LoadHymnFiles(d.cantiques(), QStringLiteral("1 - A\tc\ta\tk\tx\tT\tS\tTune"));
    EXPECT_EQ(f.words, WordsKind::Text);
}

TEST(HymnFiles, labelsThatWouldLeaveTheBook_findNothing) {
    HymnData d;
    d.touch(kBook, QStringLiteral("secret.txt"));
    EXPECT_EQ(LoadHymnFiles(d.cantiques(), entryFor("../secret")).words, WordsKind::None);
    EXPECT_EQ(LoadHymnFiles(d.cantiques(), QStringLiteral("1 - A\t..")).words, WordsKind::None);
}

TEST(HymnWords, textFile_startsAtFirstNonEmptyLine_laterBlanksStay) {
    HymnData d;
    const QString path = d.file(QStringLiteral("w.txt"));
    writeBytes(path, "\xEF\xBB\xBF\r\n\r\nVerse \xC3\xA9\r\n\r\nChorus\rEnd\n");
    EXPECT_EQ(readTextWords(path), QStringLiteral("Verse é\n\nChorus\nEnd"));
    writeBytes(path, "\xEF\xBB\xBFOnly");
    EXPECT_EQ(readTextWords(path), QStringLiteral("Only"));
}

TEST(HymnWords, rtfPlainText_visibleTextOnly) {
    HymnData d;
    const QString path = d.file(QStringLiteral("w.rtf"));
    writeBytes(path, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\generator x;}{\\colortbl;\\red0\\green0\\blue0;}\r\n"
                     "\\pard\\qc\\f0\\fs24 No\\'ebl \\{1\\}\\par\r\n\\b Gr\\u226?ce\\b0\\line end\\par\r\n}");
    EXPECT_EQ(rtfPlainText(path).value(), QStringLiteral("No\u00EBl {1}\nGr\u00E2ce\nend"));
    EXPECT_FALSE(rtfPlainText(d.file(QStringLiteral("none.rtf"))));
}

// --- slides and videos

TEST(HymnMedia, slides_labelPptxBeforeNumberPpt) {
    HymnData d;
    d.touch(kBook, QStringLiteral("Diapo/5.ppt"));
    d.touch(kBook, QStringLiteral("Diapo/5 - Gloria.pptx"));
    MediaLookup s = findSlides(d.cantiques(), kBook, QStringLiteral("5 - Gloria"));
    EXPECT_TRUE(s.found);
    EXPECT_TRUE(s.path.endsWith(QStringLiteral("5 - Gloria.pptx")));
    s = findSlides(d.cantiques(), kBook, QStringLiteral("5 -Other"));  // cut at " -"
    EXPECT_TRUE(s.path.endsWith(QStringLiteral("Diapo/5.ppt")));
    s = findSlides(d.cantiques(), kBook, QStringLiteral("6 - None"));
    EXPECT_FALSE(s.found);
    EXPECT_TRUE(s.path.endsWith(QStringLiteral("Diapo/6.ppsx")));
}

TEST(HymnMedia, labelWithoutDash_triesTheFullLabelOnly) {
    HymnData d;
    d.touch(kBook, QStringLiteral("Diapo/5.ppt"));
    d.touch(kBook, QStringLiteral("Video/5.avi"));
    EXPECT_FALSE(findSlides(d.cantiques(), kBook, QStringLiteral("5 Gloria")).found);
    EXPECT_TRUE(findVideo(d.cantiques(), kBook, QStringLiteral("5 Gloria")).extension.isEmpty());
    d.touch(kBook, QStringLiteral("Video/5 Gloria.mpg"));
    EXPECT_EQ(findVideo(d.cantiques(), kBook, QStringLiteral("5 Gloria")).extension, QStringLiteral(".mpg"));
}

TEST(HymnMedia, video_lastExtensionFoundWins_labelBeforeNumber) {
    HymnData d;
    d.touch(kBook, QStringLiteral("Video/5 - Gloria.avi"));
    d.touch(kBook, QStringLiteral("Video/5 - Gloria.wmv"));
    d.touch(kBook, QStringLiteral("Video/5.mpeg"));
    VideoLookup v = findVideo(d.cantiques(), kBook, QStringLiteral("5 - Gloria"));
    EXPECT_EQ(v.extension, QStringLiteral(".wmv"));
    EXPECT_TRUE(v.path.endsWith(QStringLiteral("5 - Gloria.wmv")));
    v = findVideo(d.cantiques(), kBook, QStringLiteral("5 - Other"));
    EXPECT_EQ(v.extension, QStringLiteral(".mpeg"));
    EXPECT_FALSE(v.isShortcut);
}

TEST(HymnMedia, shortcut_besideTheNumberTakesPrecedence) {
    HymnData d;
    d.touch(kBook, QStringLiteral("video/8.LNK"));
    VideoLookup v = findVideo(d.cantiques(), kBook, QStringLiteral("8 - Hosanna"));
    EXPECT_TRUE(v.isShortcut);
    EXPECT_EQ(v.extension, QStringLiteral(".lnk"));
    EXPECT_TRUE(v.path.endsWith(QStringLiteral("video/8.LNK")));
    // A label without " -" finds its own shortcut (not one named after an empty number).
    d.touch(kBook, QStringLiteral("Video/Hosanna.lnk"));
    EXPECT_TRUE(findVideo(d.cantiques(), kBook, QStringLiteral("Hosanna")).isShortcut);
}

} // namespace
