#include "hymns/hymnfiles.h"

#include "hymnfixture.h"

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

TEST(HymnWords, textFileStartsAtFirstNonEmptyLineAndLaterBlanksStay) {
    HymnData d;
    const QString path = d.file("w.txt");
    writeBytes(path, "\xEF\xBB\xBF\r\n\r\nVerse \xC3\xA9\r\n\r\nChorus\rEnd\n");
    EXPECT_EQ(readTextWords(path), "Verse é\n\nChorus\nEnd");
    writeBytes(path, "\xEF\xBB\xBFOnly");
    EXPECT_EQ(readTextWords(path), "Only");
}

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

} // namespace
