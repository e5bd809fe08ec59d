// Print and Save as from the main window, and the passage export of lumora-cli beside them.

#include "bible/ui/zoom.h"
#include "common/rtf/rtfreader.h"
#include "common/rtf/rtfwriter.h"
#include "hymns/hymnfixture.h"
#include "output/savedtext.h"
#include "support/clirun.h"
#include "support/filesizelimit.h"
#include "support/mainwindow.h"

#include <QColor>
#include <QFile>

#include <algorithm>

namespace lumora::testing {
namespace {

namespace rtf = common::rtf;

// The words of hymn 1 of book Alpha: a centred bold title and a right-aligned red line.
rtf::Document hymnWords() {
    const rtf::CharFormat title{
        .fontFamily = "Arial", .sizePt = 20, .bold = true, .colour = {}, .backColour = {}};
    const rtf::Colour red{200, 0, 0};
    const rtf::CharFormat line{
        .fontFamily = "Arial", .sizePt = 12, .italic = true, .colour = red, .backColour = {}};
    return {{{rtf::Alignment::Centre, {{"Gloire à Dieu", title}}},
             {rtf::Alignment::Right, {{"Alléluia à jamais", line}}}}};
}

QString pdfText(const QString& pdf) {
    const CliResult r = runProgram("pdftotext", {pdf, "-"}, QProcessEnvironment::systemEnvironment(), 30000);
    return r.exitCode < 0 ? QString("<pdftotext did not finish>") : QString::fromUtf8(r.out);
}

class OutputWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        FixtureOptions opt;
        opt.text = [](int b, int c, int v) -> QByteArray {
            if (b == 42 && c == 2 && v == 4) return "[Gloire]Jésus répondit";
            return fixtureVerseText(b, c, v);
        };
        writeFixtureVersion(h.data.path(), "AAA", fixtureBooks(3, 6), opt);
        writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
        writeBytes(h.data.path() + "/Cantiques/Alpha/Hira.txt",
                   crlfLines({hymnEntry("1 - Gloire", "Louange", "Noël", "Alpha"),
                              hymnEntry("2 - Qui? Lui/Elle", "Louange", "Noël", "Alpha")}));
        writeBytes(h.data.path() + "/Cantiques/Alpha/parole/1.rtf", rtf::writeRtf(hymnWords()));
        ASSERT_TRUE(h.open());
    }
    void click(const char* name) { h.find<QToolButton>(name)->click(); }
    void showCanticleTab() { h.find<QTabWidget>("SSTab_LMR")->setCurrentIndex(1); }
    platform::RichTextBox& passageBox() { return h.view().passageBox(); }
    // Book 42, chapter 2, verses 3 to 5 (verse 4 carries a section title).
    void pickPassage() { h.nav().jumpTo({0, 41, 1, 2, 2}); }
    QString out(const QString& name) const { return outDir.file(name); }
    // Save as with the button named `button`, the dialog answering `file` (nullopt: cancelled).
    void saveAs(const char* button, const std::optional<QString>& file) {
        h.dialogs.answers.push_back(file);
        click(button);
    }
    // Prints with the button named `button` into the PDF `file` and gives the printout's text.
    QString printed(const char* button, const QString& file) {
        h.dialogs.printPath = out(file);
        click(button);
        return pdfText(out(file));
    }

    MainWindowHarness h;
    TempFolder outDir;
};

// Save as from the Bible tab: the heading with the version's code is proposed in MyDocs; a cancel
// saves nothing, a text file is the box's text and is opened, a failure is told and opens nothing.
TEST_F(OutputWindow, passageSaveProposesTheHeadingInMyDocs_writesTheBoxText_andTellsAFailure) {
    pickPassage();
    ASSERT_EQ(h.find<QLabel>("Labe16")->text(), "42 Book42 2 : 3 - 5");
    saveAs("Image_SaveAs", std::nullopt);
    ASSERT_EQ(h.dialogs.requests.size(), 1u);
    const platform::FileDialogRequest& r = h.dialogs.requests[0];
    EXPECT_EQ(r.fileName, "42 Book42 2 _ 3 - 5 (AAA )");
    EXPECT_EQ(r.title, "Save as");
    EXPECT_EQ(r.filter, "Word (*.rtf)|*.rtf |Bloc Note (*.txt)|*.txt |All (*.*)|*.*");
    EXPECT_EQ(r.folder, h.data.path() + "/MyDocs");
    EXPECT_TRUE(h.shell.opened.isEmpty());
    EXPECT_TRUE(h.prompts.asked.empty());

    // The label of the verse after the passage ("2.6" with no text) was saved at its end.
    saveAs("Image_SaveAs", out("p.Txt"));
    QString expected = h.text();
    expected.replace("\n", "\r\n");
    EXPECT_EQ(readBytes(out("p.Txt")), "\xEF\xBB\xBF" + expected.toUtf8() + "\r\n");
    EXPECT_EQ(h.shell.opened, QStringList{out("p.Txt")});
    EXPECT_TRUE(h.prompts.asked.empty());

    // A full disk: the old file stays and the shell is not sent to open it as if it were new.
    h.shell.opened.clear();
    writeBytes(out("p.txt"), "old");
    {
        FileSizeLimit full(16);
        ASSERT_TRUE(full.ok());
        saveAs("Image_SaveAs", out("p.txt"));
    }
    EXPECT_EQ(readBytes(out("p.txt")), "old");
    EXPECT_TRUE(h.shell.opened.isEmpty());
    EXPECT_EQ(h.prompts.asked,
              (std::vector<FakePrompts::Asked>{
                  {"The text could not be saved to\r\n" + out("p.txt") + "\r\n(File too large)",
                   platform::kAppTitle, platform::PromptButtons::Ok, platform::PromptIcon::Exclamation}}));

    // A saved file the shell cannot find is told as "OK".
    h.prompts.asked.clear();
    h.shell.missing << out("q.txt");
    saveAs("Image_SaveAs", out("q.txt"));
    EXPECT_EQ(h.shell.opened, QStringList{out("q.txt")});
    EXPECT_EQ(h.prompts.asked, (std::vector<FakePrompts::Asked>{{"OK", platform::kAppTitle}}));
}

// Save as from the Canticle tab proposes the hymn's label in its words folder and writes the words
// as they are shown. With the display cleared it proposed the previous hymn's name in its words
// folder, and picking that hymn's words file replaced them without a word.
TEST_F(OutputWindow, hymnSaveProposesTheHymnOnDisplay_writesItsWords_asksBeforeReplacingAHymnsWords) {
    showCanticleTab();
    saveAs("SaveAs_Cantique", out("h.txt"));
    ASSERT_EQ(h.dialogs.requests.size(), 1u);
    EXPECT_EQ(h.dialogs.requests[0].fileName, "1 - Gloire");
    EXPECT_EQ(h.dialogs.requests[0].folder, h.data.path() + "/Cantiques/Alpha/parole");
    EXPECT_EQ(readBytes(out("h.txt")),
              QByteArray("\xEF\xBB\xBFGloire \xC3\xA0 Dieu\r\nAll\xC3\xA9luia \xC3\xA0 jamais\r\n"));
    saveAs("SaveAs_Cantique", out("h.rtf"));
    const auto doc = rtf::readRtf(readBytes(out("h.rtf")));
    ASSERT_TRUE(doc);
    EXPECT_EQ(*doc, rtf::normalized(hymnWords()));

    emit h.hymns().hymnShown(QString()); // what a cleared display says
    saveAs("SaveAs_Cantique", std::nullopt);
    ASSERT_EQ(h.dialogs.requests.size(), 3u);
    EXPECT_EQ(h.dialogs.requests[2].fileName, QString());
    EXPECT_NE(h.dialogs.requests[2].folder, h.data.path() + "/Cantiques/Alpha/parole");

    const QString words = h.data.path() + "/Cantiques/Alpha/parole/1.rtf";
    const QByteArray before = readBytes(words);
    h.prompts.answers.push_back(platform::PromptAnswer::No);
    h.shell.opened.clear();
    saveAs("SaveAs_Cantique", words);
    ASSERT_EQ(h.prompts.asked.size(), 1u);
    EXPECT_TRUE(h.prompts.asked[0].text.contains("holds the words of a hymn"))
        << h.prompts.asked[0].text.toStdString();
    EXPECT_EQ(readBytes(words), before) << "refused: the words stay";
    EXPECT_TRUE(h.shell.opened.isEmpty());

    // Another file of the same name elsewhere is saved without a question.
    saveAs("SaveAs_Cantique", out("1.rtf"));
    EXPECT_EQ(h.prompts.asked.size(), 1u);
    EXPECT_TRUE(QFile::exists(out("1.rtf")));

    // Back on the Bible tab the passage is saved, not the hymn.
    h.find<QTabWidget>("SSTab_LMR")->setCurrentIndex(0);
    saveAs("Image_SaveAs", out("p.txt"));
    EXPECT_FALSE(readBytes(out("p.txt")).contains("Gloire"));
    EXPECT_TRUE(readBytes(out("p.txt")).contains("Text 40"));
}

// Save as rebuilt the passage from its text and the start-up style: a word lit by a search (bold,
// blue, as the search lights it) was saved plain. Zoomed, the sizes saved are the real ones.
TEST_F(OutputWindow, passageRtfKeepsAWordLitByASearch_andRealSizesWhenZoomedAndTheAlignment) {
    pickPassage();
    h.zoom().SetZoom(300);
    const int at = static_cast<int>(h.text().indexOf(QString::fromUtf8("Jésus")));
    ASSERT_GE(at, 0);
    passageBox().select(at, 5);
    passageBox().setSelectionBold(true);
    passageBox().setSelectionColor(QColor(0, 0, 255));
    saveAs("Image_SaveAs", out("lit.rtf"));
    const auto doc = rtf::readRtf(readBytes(out("lit.rtf")));
    ASSERT_TRUE(doc);
    EXPECT_EQ(rtf::plainText(*doc), h.text());
    bool found = false;
    for (const rtf::Paragraph& p : doc->paragraphs)
        for (const rtf::Run& r : p.runs)
            if (r.text == QString::fromUtf8("Jésus")) {
                found = true;
                EXPECT_TRUE(r.format.bold);
                EXPECT_EQ(r.format.colour, (rtf::Colour{0, 0, 255}));
            }
    EXPECT_TRUE(found) << rtf::plainText(*doc).toStdString();
    const rtf::Run& first = doc->paragraphs.front().runs.at(0);
    EXPECT_EQ(first.format.sizePt, 14.0);
    EXPECT_EQ(first.format.fontFamily, "Arial");
    EXPECT_EQ(doc->paragraphs.front().alignment, rtf::Alignment::Left);
}

// lumora-cli export beside Save as
TEST_F(OutputWindow, cliExportIsByteIdenticalToSaveAsAfterTheSamePicks_andFailsWritingNothing) {
    h.find<QCheckBox>("Check_Version")->click();
    h.find<QCheckBox>("Check_Uppercase")->click(); // titles are on from the start
    pickPassage();
    ASSERT_TRUE(h.text().contains("GLOIRE"));
    for (const QString& name : {QStringLiteral("w.rtf"), QStringLiteral("w.txt")}) {
        saveAs("Image_SaveAs", out(name));
        const QString cliOut = out("cli-" + name);
        const CliResult r = runCli({"--data", h.data.path(), "export", "--version", "aaa", "--titles",
                                    "--uppercase", "--header", "42", "2", "3", "5", cliOut});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(readBytes(cliOut), readBytes(out(name))) << name.toStdString();
    }
    // a whole chapter, titles off
    h.nav().jumpTo({0, 0, 0, 0, 5}); // book 1, chapter 1, verses 1 to 6
    h.find<QCheckBox>("Check_With_Title")->click();
    h.find<QCheckBox>("Check_Version")->click();
    saveAs("Image_SaveAs", out("w.txt"));
    const CliResult ok = runCli({"--data", h.data.path(), "export", "1", "1", out("c.txt")});
    ASSERT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    EXPECT_EQ(readBytes(out("c.txt")), readBytes(out("w.txt")));
    // bad usage and unknown passages write nothing
    EXPECT_EQ(runCli({"--data", h.data.path(), "export", "1", out("x.txt")}).exitCode, 2);
    EXPECT_EQ(runCli({"--data", h.data.path(), "export", "1", "9", out("x.txt")}).exitCode, 1);
    EXPECT_EQ(runCli({"--data", h.data.path(), "export", "1", "1", "7", out("x.txt")}).exitCode, 1);
    EXPECT_EQ(
        runCli({"--data", h.data.path(), "export", "--version", "ZZZ", "1", "1", out("x.txt")}).exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(out("x.txt")));
    EXPECT_EQ(runCli({"--data", h.data.path(), "export", "1", "1", out("missing/x.txt")}).exitCode, 1);
}

// printing
TEST_F(OutputWindow, printWithSelectionOffersItAndPrintsOnlyIt) {
    pickPassage();
    h.zoom().SetZoom(400);
    const int at = static_cast<int>(h.text().indexOf("Text 42 2:5"));
    ASSERT_GE(at, 0);
    // selected by hand: Shift+Right eleven times from the start of the words
    passageBox().setCaret(at);
    for (int i = 0; i < 11; ++i) {
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
        QApplication::sendEvent(passageBox().edit(), &right);
    }
    ASSERT_EQ(passageBox().selectedText(), "Text 42 2:5");
    QApplication::processEvents();
    h.dialogs.printSettings.selectionOnly = true;
    const QString text = printed("Image_Print", "sel.pdf");
    ASSERT_EQ(h.dialogs.printRequests.size(), 1u);
    EXPECT_TRUE(h.dialogs.printRequests[0].selectionOffered);
    EXPECT_EQ(text.trimmed(), "Text 42 2:5");
    // The selection in the window is left as it was.
    EXPECT_EQ(passageBox().selectedText(), "Text 42 2:5");
}

// The following lit "2.4" and the print dialog preselected it: the printout held "2.4" alone. A
// selection the program made is no range to print; the whole passage prints, under its version
// and reference, once a copy.
TEST_F(OutputWindow, printAfterTheFollowingLitAVersePrintsTheWholePassageUnderItsHeadingOnceACopy) {
    pickPassage();
    const int at = static_cast<int>(h.text().indexOf("2.4"));
    ASSERT_GE(at, 0);
    QApplication::processEvents();
    passageBox().select(at, 3); // as the following does, from its timer
    h.dialogs.printSettings.copies = 2;
    const QString text = printed("Image_Print", "lit.pdf");
    ASSERT_EQ(h.dialogs.printRequests.size(), 1u);
    EXPECT_FALSE(h.dialogs.printRequests[0].selectionOffered);
    const QString heading = h.find<QLabel>("Labe16")->text();
    ASSERT_FALSE(heading.isEmpty());
    EXPECT_EQ(text.count(heading), 2) << heading.toStdString() << " in " << text.toStdString();
    EXPECT_EQ(text.count("AAA - First"), 2) << "the heading once a copy";
    EXPECT_EQ(text.count("Text 42 2:3"), 2);
    EXPECT_EQ(text.count("Text 42 2:5"), 2);
    EXPECT_EQ(text.count("Jésus répondit"), 2);
    EXPECT_TRUE(h.prompts.asked.empty());
}

TEST_F(OutputWindow, printHymnKeepsItsWords_aCancelledOrFailedPrintSaysErrorPrinter) {
    showCanticleTab();
    const QString text = printed("Print_Cantique", "hymn.pdf");
    EXPECT_TRUE(text.contains("Gloire à Dieu")) << text.toStdString();
    EXPECT_TRUE(text.contains("Alléluia à jamais")) << text.toStdString();

    h.find<QTabWidget>("SSTab_LMR")->setCurrentIndex(0);
    h.dialogs.cancelPrint = true;
    click("Image_Print");
    h.dialogs.cancelPrint = false;
    h.dialogs.printPath = out("no such folder/x.pdf"); // the device cannot be opened
    showCanticleTab();
    click("Print_Cantique");
    ASSERT_EQ(h.prompts.asked.size(), 2u);
    for (const auto& a : h.prompts.asked) {
        EXPECT_EQ(a.text, "ERROR PRINTER");
        EXPECT_EQ(a.title, platform::kAppTitle);
        EXPECT_EQ(a.buttons, platform::PromptButtons::Ok);
        EXPECT_EQ(a.icon, platform::PromptIcon::None);
    }
}

// A version and a hymn written right to left were saved left to right, on both tabs; lumora-cli
// export writes what Save as writes for the passage.
TEST(OutputDirection, rightToLeftPassageAndHymnAreSavedRightToLeft_exportMatchesSaveAs) {
    MainWindowHarness h;
    std::vector<FixtureBook> books = fixtureBooks(3, 6);
    for (FixtureBook& b : books)
        b.name = QString::fromUtf8("\xD7\xA1\xD7\xA4\xD7\xA8 ") + QString::number(b.number);
    FixtureOptions hebrew;
    hebrew.text = [](int, int, int v) -> QByteArray {
        return "\xD7\x90\xD7\xA9\xD7\xA8\xD7\x99 " + QByteArray::number(v);
    };
    writeFixtureVersion(h.data.path(), "HEB", books, hebrew);
    writeBytes(h.data.path() + "/Bible/Version.txt", "HEB - Hebrew\r\n");
    writeBytes(h.data.path() + "/Cantiques/Alpha/Hira.txt",
               crlfLines({hymnEntry("1 - Shir", "T", "S", "Alpha")}));
    const rtf::Document words{
        {{rtf::Alignment::Centre, {{QString::fromUtf8("\xD7\xA9\xD7\x99\xD7\xA8"), {}}}}}};
    writeBytes(h.data.path() + "/Cantiques/Alpha/parole/1.rtf", rtf::writeRtf(words));
    ASSERT_TRUE(h.open());
    TempFolder outDir;
    auto allRightToLeft = [](const QString& path) {
        const auto doc = rtf::readRtf(readBytes(path));
        if (!doc || doc->paragraphs.empty()) return false;
        return std::all_of(doc->paragraphs.begin(), doc->paragraphs.end(),
                           [](const rtf::Paragraph& p) { return p.rightToLeft; });
    };

    h.nav().jumpTo({0, 41, 1, 2, 2});
    h.dialogs.answers.push_back(outDir.file("p.rtf"));
    h.find<QToolButton>("Image_SaveAs")->click();
    EXPECT_TRUE(allRightToLeft(outDir.file("p.rtf")));
    const CliResult r =
        runCli({"--data", h.data.path(), "export", "42", "2", "3", "5", outDir.file("e.rtf")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(readBytes(outDir.file("e.rtf")), readBytes(outDir.file("p.rtf")));

    h.find<QTabWidget>("SSTab_LMR")->setCurrentIndex(1);
    h.dialogs.answers.push_back(outDir.file("h.rtf"));
    h.find<QToolButton>("SaveAs_Cantique")->click();
    EXPECT_TRUE(allRightToLeft(outDir.file("h.rtf")));
}

} // namespace
} // namespace lumora::testing
