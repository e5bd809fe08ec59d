// Where a hymn's music, words, slides and video are found, the shortcut that stands for a video,
// and the visible text of rich-text words.

#include "hymns/hymnfiles.h"
#include "hymns/shortcut.h"

#include "hymnfixture.h"
#include "shelllink.h"

#include <gtest/gtest.h>

using namespace lumora::hymns;
using namespace lumora::testing;

namespace {

// Each lookup as one line: the path found (relative to Cantiques), or "tried <last path tried>",
// or "none".
using Lookup = QString (*)(const QString& cantiques, const QString& label);

QString rel(const QString& cantiques, const QString& path) {
    return path.mid(cantiques.size() + 1);
}
// A label alone stands for an entry of book "B".
QString entryOf(const QString& label) {
    return label.contains('\t') ? label : entryText(label.toUtf8(), "T", "S", "B");
}

QString music(const QString& c, const QString& label) {
    const HymnFiles f = LoadHymnFiles(c, entryOf(label));
    return (f.hasMusic ? "" : "tried ") + rel(c, f.musicPath);
}
QString words(const QString& c, const QString& label) {
    const HymnFiles f = LoadHymnFiles(c, entryOf(label));
    const char* kinds[] = {"none", "rtf ", "text "};
    return kinds[int(f.words)] + rel(c, f.wordsPath);
}
QString slides(const QString& c, const QString& label) {
    const MediaLookup s = findSlides(c, "B", label);
    return (s.found ? "" : "tried ") + rel(c, s.path);
}
QString video(const QString& c, const QString& label) {
    const VideoLookup v = findVideo(c, "B", label);
    if (v.extension.isEmpty()) return "none";
    return v.extension + (v.isShortcut ? " shortcut " : " ") + rel(c, v.path);
}

// --- lookup orders

TEST(HymnFiles, lookupOrders) {
    const QStringList amen{"B/MUSIQUE/12.wav", "B/MUSIQUE/12 - Amen.MID"};
    const QStringList joy{"B/parole/3 - Joy.txt", "B/parole/3.rtf"};
    const QStringList noNumber{"B/parole/.txt", "B/musique/.wav", "B/parole/Amen.txt"};
    const QStringList gloria{"B/Diapo/5.ppt", "B/Diapo/5 - Gloria.pptx"};
    const QStringList videos{"B/Video/5 - Gloria.avi", "B/Video/5 - Gloria.wmv", "B/Video/5.mpeg"};
    const struct {
        const char* name;
        QStringList files;
        Lookup lookup;
        QString label, found;
    } cases[] = {
        // music: label names before number names, each in .wav .mp3 .mid order, in any letter case
        {"music by label", amen, music, "12 - Amen", "B/MUSIQUE/12 - Amen.MID"},
        {"music extension order", amen + QStringList{"B/MUSIQUE/12 - Amen.mp3"}, music, "12 - Amen",
         "B/MUSIQUE/12 - Amen.mp3"},
        {"music by number", amen, music, "12 - Other", "B/MUSIQUE/12.wav"},
        {"no number without the blank after \" -\"", amen, music, "12 -Amen", "tried B/MUSIQUE/12 -Amen.mid"},
        {"no music: the number .mid was tried last", {}, music, "7 - Gloria", "tried B/musique/7.mid"},
        {"no words", {}, words, "7 - Gloria", "none"},
        // words: label .rtf, number .rtf, label .txt, number .txt
        {"number rtf before label txt", joy, words, "3 - Joy", "rtf B/parole/3.rtf"},
        {"number cut at the first \" - \"", joy, words, "3 - Joy - other", "rtf B/parole/3.rtf"},
        {"other number", joy, words, "4 - Joy", "none"},
        {"label without number: no music", noNumber, music, "Amen", "tried B/musique/Amen.mid"},
        {"label without number: label words", noNumber, words, "Amen", "text B/parole/Amen.txt"},
        {"fewer than 8 tabs: the book follows the last tab",
         {"Tune/parole/1.txt"},
         words,
         "1 - A\tc\ta\tk\tx\tT\tS\tTune",
         "text Tune/parole/1.txt"},
        {"label leaving the book", {"B/secret.txt"}, words, "../secret", "none"},
        {"book leaving Cantiques", {"B/secret.txt"}, words, "1 - A\t..", "none"},
        // slides: label-named .pptx before number-named .ppt
        {"slides by label", gloria, slides, "5 - Gloria", "B/Diapo/5 - Gloria.pptx"},
        {"slides number cut at \" -\"", gloria, slides, "5 -Other", "B/Diapo/5.ppt"},
        {"no slides", gloria, slides, "6 - None", "tried B/Diapo/6.ppsx"},
        // a label without " -" tries the full label only
        {"slides full label only", {"B/Diapo/5.ppt"}, slides, "5 Gloria", "tried B/Diapo/5 Gloria.ppsx"},
        {"video full label only", {"B/Video/5.avi"}, video, "5 Gloria", "none"},
        {"video by full label",
         {"B/Video/5.avi", "B/Video/5 Gloria.mpg"},
         video,
         "5 Gloria",
         ".mpg B/Video/5 Gloria.mpg"},
        // videos: the last extension found wins (.wmv over .avi), label before number
        {"wmv over avi", videos, video, "5 - Gloria", ".wmv B/Video/5 - Gloria.wmv"},
        {"video by number", videos, video, "5 - Other", ".mpeg B/Video/5.mpeg"},
        // a shortcut beside the number takes precedence
        {"shortcut", {"B/video/8.LNK"}, video, "8 - Hosanna", ".lnk shortcut B/video/8.LNK"},
        {"shortcut named after a label without number",
         {"B/Video/Hosanna.lnk"},
         video,
         "Hosanna",
         ".lnk shortcut B/Video/Hosanna.lnk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HymnData d;
        for (const QString& f : c.files)
            writeBytes(d.cantiques() + '/' + f, "x");
        EXPECT_EQ(c.lookup(d.cantiques(), c.label), c.found);
    }
}

// --- words

TEST(HymnWords, rtfPlainTextIsTheVisibleTextOnly) {
    HymnData d;
    const QString path = d.file("w.rtf");
    writeBytes(
        path,
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\generator x;}{\\colortbl;\\red0\\green0\\blue0;}\r\n"
        "\\pard\\qc\\f0\\fs24 No\\'ebl \\{1\\}\\par\r\n\\b Gr\\u226?ce\\b0\\line end\\par\r\n}");
    EXPECT_EQ(rtfPlainText(path).value(), QString("No\u00EBl {1}\nGr\u00E2ce\nend"));
    EXPECT_FALSE(rtfPlainText(d.file("none.rtf")));
}

TEST(HymnShortcut, relativePathFirst_elseTheLocalPath_componentsFoundWhateverTheirCase) {
    TempFolder t;
    writeBytes(t.file("Clips/Gloria.AVI"), "video");
    writeBytes(t.file("Book/Video/12.lnk"),
               shellLink("C:\\Elsewhere\\Gloria.avi", "..\\..\\clips\\gloria.avi"));
    EXPECT_EQ(ResolveShortcut(t.file("Book/Video"), "12"), t.file("Clips/Gloria.AVI"));
    // a missing relative target falls back to the local path
    writeBytes(t.file("Video/12.LNK"), shellLink("C:\\LMR\\Gloria.avi", ".\\gone.avi"));
    EXPECT_EQ(ResolveShortcut(t.file("Video"), "12"), "C:/LMR/Gloria.avi");
    // an existing local path is found whatever its letter case
    writeBytes(t.file("target.avi"), "video");
    writeBytes(t.file("Video/13.lnk"), shellLink(t.file("TARGET.avi").toUtf8(), ".\\gone.avi"));
    EXPECT_EQ(ResolveShortcut(t.file("Video"), "13"), t.file("target.avi"));
}

// malformed input: a missing or broken shortcut, sizes beyond the file, a shortcut above 1 MiB
TEST(HymnShortcut, missingBrokenOversizedOrOverlongShortcut_givesEmptyText) {
    TempFolder t;
    EXPECT_EQ(ResolveShortcut(t.path(), "12"), QString());
    writeBytes(t.file("12.lnk"), "not a shell link");
    EXPECT_EQ(ResolveShortcut(t.path(), "12"), QString());

    // Regression: a LinkInfo size of 4 GB in a 200-byte shortcut made liblnk allocate 4 GB before
    // it found the file too short.
    writeBytes(t.file("clip.avi"), "video");
    const QByteArray good = shellLink("C:\\LMR\\clip.avi", "..\\clip.avi");
    ASSERT_TRUE(ShellLinkSizesFit(good));
    writeBytes(t.file("Video/1.lnk"), good);
    ASSERT_EQ(ResolveShortcut(t.file("Video"), "1"), t.file("clip.avi"));

    QByteArray hugeInfo = good;
    hugeInfo.replace(0x4C, 4, QByteArray::fromHex("46FFFFFF"));
    QByteArray longText = good; // the relative path's count runs past the end
    longText.chop(4 + 2 * 10);
    QByteArray badHeader = good;
    badHeader[0] = 0x4D;
    for (const QByteArray& bad : {hugeInfo, longText, badHeader, good.left(0x4B), good.left(0x4E)}) {
        EXPECT_FALSE(ShellLinkSizesFit(bad)) << bad.toHex().toStdString();
        writeBytes(t.file("Video/1.lnk"), bad);
        EXPECT_EQ(ResolveShortcut(t.file("Video"), "1"), QString());
    }
    // an extra data block larger than what is left
    EXPECT_FALSE(ShellLinkSizesFit(good.chopped(4) + QByteArray::fromHex("00010000") + "short"));
    EXPECT_TRUE(
        ShellLinkSizesFit(good.chopped(4) + QByteArray::fromHex("08000000") + "abcd" + good.right(4)));

    // sizes that fit, but one block of 1 MiB
    QByteArray big = good.chopped(4) + QByteArray::fromHex("04001000") + QByteArray(0x100000, 'x');
    big.append(QByteArray(4, '\0'));
    ASSERT_TRUE(ShellLinkSizesFit(big));
    writeBytes(t.file("Video/1.lnk"), big);
    EXPECT_EQ(ResolveShortcut(t.file("Video"), "1"), QString());
}

} // namespace
