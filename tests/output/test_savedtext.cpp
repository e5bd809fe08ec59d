// Save as: the names the dialog proposes, the choice of format and the passage as a document.

#include "common/rtf/rtfreader.h"
#include "output/savedtext.h"
#include "platform/commondialog.h"
#include "support/testdata.h"

#include <gtest/gtest.h>

namespace lumora::output {
namespace {

using testing::TempFolder;
using testing::writeBytes;
namespace rtf = common::rtf;

TEST(SaveNames, unsafeCharactersOrLoneSeparators_giveFile_name_aPassagesNameIsMadeSafe) {
    // accepted as they stand, a full path with a drive too
    for (const char* name : {"Jean 3 _ 16 (LSG )", "C:\\Docs\\Jean 3", "12 - Amen", "", ":\\"})
        EXPECT_EQ(dialogFileName(QString::fromUtf8(name)), QString::fromUtf8(name)) << name;
    // a separator alone, or a refused character even beside a drive
    for (const char* name :
         {"Jean 3 : 16", "a\\b", "\\:", "12 - Qui?", "AC/DC", "a*b", "say \"amen\"", "<x>", "a|b", "C:\\x?y"})
        EXPECT_EQ(dialogFileName(QString::fromUtf8(name)), "File_name") << name;
    // A passage's name has its colons replaced and the version's code added: it then passes unchanged.
    EXPECT_EQ(passageFileName("Jean 3 : 16 - 18", "LSG"), "Jean 3 _ 16 - 18 (LSG )");
    EXPECT_EQ(dialogFileName(passageFileName("Psaumes 23 : 1", "KJV")), "Psaumes 23 _ 1 (KJV )");
}

TEST(SaveNames, formatChosenByTheLastThreeCharactersInAnyCase) {
    for (const char* name : {"/t/x.txt", "/t/x.TXT", "/t/notes-tXt"}) // no dot needed
        EXPECT_TRUE(isPlainTextName(name)) << name;
    for (const char* name : {"/t/x.rtf", "/t/x", "/t/x.txt.bak", "xt"})
        EXPECT_FALSE(isPlainTextName(name)) << name;
}

// A name typed without an extension was saved as it stood: "Psaume" became an RTF file the
// desktop could not open.
TEST(SaveNames, aNameWithoutExtensionTakesTheChosenFiltersExtension) {
    struct Case {
        QString path, filter, saved;
    };
    const Case cases[] = {
        {"/d/Psaume", "Word (*.rtf)", "/d/Psaume.rtf"},
        {"/d/Psaume", "Bloc Note (*.txt)", "/d/Psaume.txt"},
        {"/d/Psaume.txt", "Word (*.rtf)", "/d/Psaume.txt"},
        {"/d/Psaume", "All (*.*)", "/d/Psaume"},
        {"/d/Psaume", "", "/d/Psaume"},
        {"", "Word (*.rtf)", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lumora::platform::withFilterExtension(c.path, c.filter), c.saved) << c.path.toStdString();
}

TEST(SaveNames, aHymnsWordsFileIsOneInTheWordsFolderOfABook_startingFoldersInAnyCase) {
    TempFolder d;
    writeBytes(d.file("Cantiques/Alpha/Parole/1.rtf"), "x");
    writeBytes(d.file("Cantiques/Alpha/1.rtf"), "x");
    writeBytes(d.file("Elsewhere/Alpha/Parole/1.rtf"), "x");
    EXPECT_TRUE(output::isHymnWordsFile(d.path(), d.file("Cantiques/Alpha/Parole/1.rtf")));
    EXPECT_FALSE(output::isHymnWordsFile(d.path(), d.file("Cantiques/Alpha/Parole/2.rtf"))) << "not there";
    EXPECT_FALSE(output::isHymnWordsFile(d.path(), d.file("Cantiques/Alpha/1.rtf")));
    EXPECT_FALSE(output::isHymnWordsFile(d.path(), d.file("Elsewhere/Alpha/Parole/1.rtf")));
    // The starting folders are found without regard to letter case; missing ones are named, not made.
    QDir(d.path()).mkpath("mydocs");
    QDir(d.path()).mkpath("Cantiques/Beta/parole");
    EXPECT_EQ(passageSaveFolder(d.path()), d.path() + "/mydocs");
    EXPECT_EQ(hymnSaveFolder(d.path(), "Beta"), d.path() + "/Cantiques/Beta/parole");
    EXPECT_EQ(hymnSaveFolder(d.path(), "Gamma"), d.path() + "/Cantiques/Gamma/Parole");
    EXPECT_FALSE(QFileInfo::exists(d.path() + "/Cantiques/Gamma"));
}

TEST(PassageText, eachLineIsOneParagraphInTheLook) {
    PassageLook look = defaultPassageLook();
    look.bold = true;
    look.alignment = rtf::Alignment::Right;
    look.colour = rtf::Colour{0, 0, 255};
    const ShownText t = passageShownText("\xEF\xBB\xBF"
                                         "TITLE\r\n1 In the beginning\r\n\r\n2 And\r\n",
                                         look);
    EXPECT_EQ(t.plain, "TITLE\n1 In the beginning\n\n2 And\n");
    ASSERT_EQ(t.rich.paragraphs.size(), 5u);
    EXPECT_TRUE(t.rich.paragraphs[2].runs.empty());
    EXPECT_TRUE(t.rich.paragraphs[4].runs.empty()); // the text's last line end leaves an empty line
    const rtf::Run& run = t.rich.paragraphs[1].runs.at(0);
    EXPECT_EQ(run.text, "1 In the beginning");
    EXPECT_EQ(run.format.fontFamily, "Arial");
    EXPECT_EQ(run.format.sizePt, 14.0);
    EXPECT_TRUE(run.format.bold);
    EXPECT_EQ(run.format.colour, (rtf::Colour{0, 0, 255}));
    for (const rtf::Paragraph& p : t.rich.paragraphs)
        EXPECT_EQ(p.alignment, rtf::Alignment::Right);
    EXPECT_EQ(rtf::plainText(t.rich), t.plain);
    // without a BOM, or with lone CRs, lines are still split
    const ShownText bare = passageShownText("a\rb\nc", defaultPassageLook());
    EXPECT_EQ(bare.plain, "a\nb\nc");
    EXPECT_EQ(bare.rich.paragraphs.size(), 3u);
    EXPECT_TRUE(passageShownText("\xEF\xBB\xBF", defaultPassageLook()).rich.paragraphs.empty());
}

} // namespace
} // namespace lumora::output
