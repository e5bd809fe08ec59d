// "Add a Bible…" and "Remove a version…" offscreen: the preview, the checked fields, Import, a
// Cancel that leaves the data folder as it was, and the version list asked for anew.

#include "support/fakes.h"
#include "support/testdata.h"
#include "support/wait.h"
#include "support/zipfile.h"

#include "import/ui/addbibledialog.h"
#include "import/ui/biblesmenu.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::testing;
using import::AddBibleDialog;
using import::BiblesMenu;

namespace {

class BiblesMenuUi : public ::testing::Test {
  protected:
    void SetUp() override {
        m_session.DataPath = m_data.path();
        writeBytes(m_data.file("Bible/Version.txt"), "OLD - Old Bible\r\n");
        writeBytes(m_data.file("Bible/OLD/OLD-O.txt"), "old");
        m_menu = std::make_unique<BiblesMenu>(m_session, m_dialogs, m_prompts, nullptr);
    }
    // Picks `path` in the file dialog; the dialog opened on it, still reading unless `waitForRead`.
    AddBibleDialog* open(const QString& path, bool waitForRead = true) {
        m_dialogs.answers.push_back(path);
        AddBibleDialog* dialog = nullptr;
        QObject::connect(m_menu.get(), &BiblesMenu::dialogOpened, [&](AddBibleDialog* d) { dialog = d; });
        m_menu->onAddBible();
        EXPECT_NE(dialog, nullptr);
        if (dialog && waitForRead) {
            EXPECT_TRUE(waitUntil([&] { return !dialog->isReading(); }));
        }
        return dialog;
    }
    template <class T> T* child(AddBibleDialog* d, const char* name) {
        return d->findChild<T*>(QString::fromLatin1(name));
    }

    TempFolder m_data;
    TempFolder m_files;
    session::Session m_session;
    FakeCommonDialog m_dialogs;
    FakePrompts m_prompts;
    std::unique_ptr<BiblesMenu> m_menu;
};

} // namespace

TEST_F(BiblesMenuUi, zippedZefaniaShowsItsPreviewAndImports) {
    writeZip(m_files.file("john.zip"),
             {{"john.xml", R"(<XMLBIBLE biblename="Zipped John"><INFORMATION><language>en</language>
</INFORMATION><BIBLEBOOK bnumber="43" bname="John"><CHAPTER cnumber="3"><VERS vnumber="16">For God so loved the world.</VERS>
</CHAPTER></BIBLEBOOK></XMLBIBLE>)"}});
    int changed = 0;
    QObject::connect(m_menu.get(), &BiblesMenu::versionsChanged, [&] { ++changed; });
    AddBibleDialog* d = open(m_files.file("john.zip"));
    ASSERT_TRUE(d && d->hasBible());
    EXPECT_EQ(child<QLabel>(d, "Lbl_Found")->text().toStdString(),
              "Zefania XML, language en: 1 books, 3 chapters, 16 verses (15 empty)");
    EXPECT_EQ(child<QLabel>(d, "Lbl_Sample")->text().toStdString(), "John 3:16 For God so loved the world.");
    EXPECT_EQ(child<QLineEdit>(d, "Text_Name")->text(), "Zipped John");
    auto* import = child<QPushButton>(d, "Cmd_Import");
    EXPECT_FALSE(import->isEnabled()); // no code yet

    // the fields are checked as the command line checks them
    const struct {
        const char* code;
        const char* says;
    } cases[] = {{"old", "Version old already exists."},
                 {"A B", "The code must be 1 to 16 letters, digits or _."},
                 {"JOHN", ""}};
    for (const auto& c : cases) {
        child<QLineEdit>(d, "Text_Code")->setText(c.code);
        EXPECT_EQ(child<QLabel>(d, "Lbl_Message")->text(), c.says) << c.code;
        EXPECT_EQ(import->isEnabled(), QByteArray(c.says).isEmpty()) << c.code;
    }
    import->click();
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(readBytes(m_data.file("Bible/Version.txt")), "OLD - Old Bible\r\nJOHN - Zipped John\r\n");
    EXPECT_TRUE(readBytes(m_data.file("Bible/JOHN/JOHN-N.txt")).contains("43N\t3\t16\t0\tFor God so loved"));
}

TEST_F(BiblesMenuUi, cancelWhileReadingLeavesTheDataFolderAsItWas) {
    QByteArray usfm = "\\id GEN\n\\c 1\n";
    for (int v = 1; v <= 2000; ++v)
        usfm += "\\v " + QByteArray::number(v) + " " + QByteArray(10000, 'a') + "\n";
    writeBytes(m_files.file("big.usfm"), usfm);
    const auto before = folderSnapshot(m_data.path());
    AddBibleDialog* dialog = open(m_files.file("big.usfm"), false);
    ASSERT_NE(dialog, nullptr);
    int rejected = 0;
    QObject::connect(dialog, &QDialog::rejected, [&] { ++rejected; });
    dialog->findChild<QPushButton*>("Cmd_Cancel")->click();
    ASSERT_TRUE(waitUntil([&] { return rejected > 0; }));
    EXPECT_EQ(rejected, 1);
    EXPECT_EQ(folderSnapshot(m_data.path()), before);
}

TEST_F(BiblesMenuUi, aFileNoReaderKnowsSaysSoAndOffersNoImport) {
    writeBytes(m_files.file("notes.txt"), "just some words\n");
    AddBibleDialog* d = open(m_files.file("notes.txt"));
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->hasBible());
    EXPECT_TRUE(child<QLabel>(d, "Lbl_Message")->text().contains("not a Bible file Lumora can read"));
    EXPECT_FALSE(child<QPushButton>(d, "Cmd_Import")->isEnabled());
}

TEST_F(BiblesMenuUi, oneBookOfAUsfmFolderStandsForTheFolder) {
    writeBytes(m_files.file("web/01GEN.usfm"), "\\id GEN\n\\c 1\n\\v 1 a\n");
    writeBytes(m_files.file("web/02EXO.usfm"), "\\id EXO\n\\c 1\n\\v 1 b\n");
    writeBytes(m_files.file("one/01GEN.usfm"), "\\id GEN\n\\c 1\n\\v 1 a\n");
    writeBytes(m_files.file("one/readme.txt"), "about");
    EXPECT_EQ(BiblesMenu::sourceFor(m_files.file("web/02EXO.usfm")), m_files.file("web"));
    EXPECT_EQ(BiblesMenu::sourceFor(m_files.file("one/01GEN.usfm")), m_files.file("one/01GEN.usfm"));
    EXPECT_EQ(BiblesMenu::sourceFor(m_files.file("one/readme.txt")), m_files.file("one/readme.txt"));
}

TEST_F(BiblesMenuUi, removeAsksFirstThenTakesTheLineOut) {
    int changed = 0;
    QObject::connect(m_menu.get(), &BiblesMenu::versionsChanged, [&] { ++changed; });
    m_menu->setShownVersion("OLD");
    m_prompts.answers.push_back(platform::PromptAnswer::No);
    m_menu->onRemoveVersion();
    ASSERT_EQ(m_prompts.asked.size(), 1u);
    EXPECT_TRUE(m_prompts.asked[0].text.startsWith("Remove \"OLD - Old Bible\" from the version list?"));
    EXPECT_EQ(readBytes(m_data.file("Bible/Version.txt")), "OLD - Old Bible\r\n");
    EXPECT_EQ(changed, 0);

    m_menu->onRemoveVersion(); // answered Yes: the folder kept aside as BibleImport's removal test checks
    EXPECT_EQ(readBytes(m_data.file("Bible/Version.txt")), "");
    EXPECT_EQ(changed, 1);
}
