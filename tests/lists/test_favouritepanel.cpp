// The favourite-list panels on a verse-list host fed with places and a callback host: what reaches the
// lists, the files and the prompts; and a list's note opened through the shell.

#include "lists/ui/favouritepanel.h"
#include "lists/ui/frmnewname.h"
#include "lists/ui/notes.h"
#include "lists/ui/verselisthost.h"

#include "common/lines.h"
#include "lists/listfile.h"
#include "lists/listfolder.h"
#include "support/fakes.h"
#include "support/filesizelimit.h"
#include "support/testdata.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using namespace lumora;
using namespace lumora::lists;
using namespace lumora::testing;
using platform::PromptAnswer;
using platform::PromptButtons;

namespace {

const QByteArray kBom("\xEF\xBB\xBF");
const QString kE1 = "40 Book.  5 : 18 - 20\tKJV";
const QString kE2 = "43 Book.  3 : 16 - 16\tWEB";

// A list file as the program writes it after an add: a CR after every entry, then CR LF.
QByteArray listBytes(const QStringList& rows) {
    QByteArray content = kBom;
    for (const QString& r : rows)
        content += r.toUtf8() + "\r";
    return content + "\r\n";
}

// The rows a list or a drop-down shows, in order.
template <class W> QStringList rowsOf(const W* w) {
    QStringList r;
    for (int i = 0; i < w->count(); ++i)
        r << w->model()->index(i, 0).data().toString();
    return r;
}

// The passage a navigation chose, as it reaches the verse lists.
void show(VerseListHost& host, const session::PassageRef& ref) {
    host.onPassageChosen(ref, QStringLiteral("%1 Book").arg(ref.book, 2, 10, QLatin1Char('0')));
}

class PanelTest : public ::testing::Test {
  protected:
    PanelTest() {
        QDir().mkpath(bibleFolder);
        QDir().mkpath(hymnFolder);
        verse.setFolder(bibleFolder);
        play.setFolder(hymnFolder);
        QObject::connect(&verseHost, &VerseListHost::passageRequested,
                         [this](const session::PassageRef& r) { jumps.push_back(r); });
    }
    QString bibleFile(const QString& name) const { return bibleFolder + "/" + name; }
    QString hymnFile(const QString& name) const { return hymnFolder + "/" + name; }
    static QStringList filesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files); }
    // The verse panel started on a folder holding list "A" with `rows`.
    void startVerseListA(const QStringList& rows) {
        writeBytes(bibleFile("A.txt"), listBytes(rows));
        verse.startUp(tmp.path());
    }
    QStringList askedTexts() const {
        QStringList r;
        for (const auto& a : prompts.asked)
            r << a.text;
        return r;
    }
    static void click(FavouritePanel& p, EditButton b) { p.editButton(b)->click(); }

    TempFolder tmp;
    const QString bibleFolder = tmp.file("Bible/Favori");
    const QString hymnFolder = tmp.file("Cantiques/Favori");
    FakePrompts prompts;
    FakeShell shell;
    QWidget window;
    VerseListHost verseHost;
    std::vector<session::PassageRef> jumps;
    CallbackHost hymnHost;
    FavouritePanel verse{PanelConfig::verseList(), verseHost, prompts, shell, &window};
    FavouritePanel play{PanelConfig::playList(), hymnHost, prompts, shell, &window};
};

} // namespace

// choosing a list
TEST_F(PanelTest, startUpChoosesFirstListAndOpensItsFirstEntryButEmptyOrVanishedListsOpenNothing) {
    writeBytes(bibleFile("B list.txt"), listBytes({kE2}));
    writeBytes(bibleFile("A list.txt"), listBytes({kE1, kE2}));
    writeBytes(bibleFile("Empty.txt"), listBytes({}));
    show(verseHost, {"KJV", 1, 1, 1, 1});
    verse.startUp(tmp.path());
    EXPECT_TRUE(verse.isComboReady());
    EXPECT_EQ(rowsOf(verse.combo()), (QStringList{"A list", "B list", "Empty"}));
    EXPECT_EQ(verse.currentList(), "A list");
    EXPECT_EQ(rowsOf(verse.entryList()), (QStringList{kE1, kE2}));
    EXPECT_EQ(verse.entryList()->currentRow(), 0);
    ASSERT_EQ(jumps.size(), 1u);
    EXPECT_EQ(jumps[0].book, 40) << "the book of the first entry";

    jumps.clear();
    verse.combo()->setCurrentIndex(2);
    EXPECT_EQ(verse.entryList()->count(), 0);
    EXPECT_TRUE(jumps.empty());
    QFile::remove(bibleFile("B list.txt"));
    verse.combo()->setCurrentIndex(1);
    EXPECT_EQ(verse.entryList()->count(), 0) << "a list removed from outside loads empty";
}

// adding
TEST_F(PanelTest, addAppendsPassageOnDisplayByteExactWithoutOpeningIt_butNotWithoutAListOrAPassage) {
    verse.startUp(tmp.path());
    show(verseHost, {"KJV", 1, 1, 1, 1});
    verse.addButton()->click(); // no list
    EXPECT_EQ(verse.entryList()->count(), 0);
    startVerseListA({kE1});
    verseHost.onChoiceCleared(); // a list emptied: nothing on display
    verse.addButton()->click();
    EXPECT_EQ(readBytes(bibleFile("A.txt")), listBytes({kE1}));

    show(verseHost, {"WEB", 43, 3, 16, 18});
    jumps.clear();
    verse.addButton()->click();
    const QString added = "43 Book. 3 : 16 - 18\tWEB";
    EXPECT_EQ(rowsOf(verse.entryList()), (QStringList{kE1, added}));
    EXPECT_EQ(verse.entryList()->currentRow(), 1);
    EXPECT_EQ(readBytes(bibleFile("A.txt")), listBytes({kE1, added}));
    EXPECT_TRUE(jumps.empty());
}

// Enter on an entry, as a click, requests the whole place it names (the entry's reading is the
// core's, ListFile.verseListEntries); an entry that cannot be read requests nothing.
TEST_F(PanelTest, enterOnAnEntryOpensItAsAClickDoes) {
    startVerseListA({kE1, kE2});
    verse.entryList()->setCurrentRow(1);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        jumps.clear();
        QKeyEvent enter(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(verse.entryList(), &enter);
        ASSERT_EQ(jumps.size(), 1u) << key;
        EXPECT_EQ(jumps[0], (session::PassageRef{"WEB", 43, 3, 16, 16}));
    }
    // Other keys still move through the list without opening anything.
    jumps.clear();
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(verse.entryList(), &up);
    EXPECT_EQ(verse.entryList()->currentRow(), 0);
    EXPECT_FALSE(verseHost.OpenVerseListEntry("garbage"));
    EXPECT_TRUE(jumps.empty());
}

// Playlists show the labels; the whole entries stay in the hidden info list, in step with the shown
// one through opening, adding and editing, on a list of any length.
TEST_F(PanelTest, playlistShowsLabelsAndKeepsWholeEntriesInStep) {
    QStringList rows, labels;
    for (int i = 0; i < 500; ++i) {
        rows << QStringLiteral("%1 - H\tx%1").arg(i);
        labels << QStringLiteral("%1 - H").arg(i);
    }
    writeBytes(hymnFile("P.txt"), listBytes(rows));
    QStringList opened;
    hymnHost.openEntryFn = [&](const QString& entry) { opened << entry; };
    play.startUp(tmp.path());
    EXPECT_EQ(rowsOf(play.entryList()), labels);
    EXPECT_EQ(rowsOf(play.infoList()), rows);
    EXPECT_EQ(opened, QStringList{rows[0]}) << "the first entry opens whole";
    play.entryList()->setCurrentRow(1);
    EXPECT_EQ(play.infoList()->currentRow(), 1);
    emit play.entryList()->itemClicked(play.entryList()->item(1));
    EXPECT_EQ(opened.last(), rows[1]);

    hymnHost.entryOnDisplayFn = [] { return std::optional<QString>("4 - Dé\tw"); };
    play.addButton()->click();
    rows << "4 - Dé\tw";
    EXPECT_EQ(play.entryList()->item(500)->text(), "4 - Dé");
    EXPECT_EQ(play.infoList()->currentRow(), 500);
    EXPECT_EQ(readBytes(hymnFile("P.txt")), listBytes(rows));
    hymnHost.entryOnDisplayFn = [] { return std::optional<QString>("no tab"); };
    play.addButton()->click();
    EXPECT_EQ(play.infoList()->count(), 501);
    EXPECT_TRUE(prompts.asked.empty());

    const auto press = [&](int row, EditButton b) {
        play.entryList()->setCurrentRow(row);
        click(play, b);
    };
    press(500, UpButton);
    EXPECT_EQ(play.entryList()->currentRow(), 499);
    press(250, DownButton);
    EXPECT_EQ(play.infoList()->currentRow(), 251);
    press(300, RemoveButton);
    EXPECT_EQ(play.entryList()->currentRow(), 300);
    rows.swapItemsAt(499, 500);
    rows.swapItemsAt(250, 251);
    rows.removeAt(300);
    EXPECT_EQ(readListFile(hymnFile("P.txt")), rows);
    EXPECT_EQ(rowsOf(play.infoList()), rows);
    press(-1, DownButton);
    EXPECT_EQ(askedTexts(), QStringList{"E R R O R  DOWN"}) << "the playlists' own text";
}

TEST_F(PanelTest, playlistWithLineWithoutTabLoadsPastItAndIsNeverRewritten) {
    // Regression: loading stopped at the line without a TAB and the next edit rewrote the file
    // from what was loaded, silently deleting every entry after it.
    const QByteArray bytes = listBytes({"1 - A\tx", "2 - B\ty", "no tab here", "3 - C\tz"});
    writeBytes(hymnFile("P.txt"), bytes);
    play.startUp(tmp.path());
    EXPECT_EQ(rowsOf(play.entryList()), (QStringList{"1 - A", "2 - B", "3 - C"}));
    EXPECT_EQ(rowsOf(play.infoList()), (QStringList{"1 - A\tx", "2 - B\ty", "3 - C\tz"}));

    hymnHost.entryOnDisplayFn = [] { return std::optional<QString>("4 - D\tw"); };
    play.addButton()->click();
    play.entryList()->setCurrentRow(1);
    click(play, UpButton);
    click(play, DownButton);
    click(play, RemoveButton);
    click(play, EmptyButton);
    EXPECT_EQ(readBytes(hymnFile("P.txt")), bytes) << "the file keeps every line";
    EXPECT_EQ(play.infoList()->count(), 3) << "the panel shows what the file holds";
    const QStringList told = askedTexts();
    ASSERT_FALSE(told.isEmpty());
    EXPECT_TRUE(told.first().startsWith("This list was not read whole: 1 line(s) without a TAB"))
        << told.first().toStdString();
    EXPECT_TRUE(told.first().contains("P.txt"));

    // once the file is mended by hand, the list is edited as usual
    writeBytes(hymnFile("P.txt"), listBytes({"1 - A\tx"}));
    play.combo()->setCurrentIndex(-1);
    play.combo()->setCurrentIndex(0);
    prompts.asked.clear();
    play.addButton()->click();
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_EQ(readBytes(hymnFile("P.txt")), listBytes({"1 - A\tx", "4 - D\tw"}));
}

// A list that cannot be written (a disk full) or read (too large) is never replaced: the file keeps
// its bytes, the panel shows what the file holds, and the user is told why.
TEST_F(PanelTest, aListThatCannotBeWrittenOrReadIsKeptAndTheUserIsTold) {
    const QString big(5000, QChar('e'));
    startVerseListA({big});
    const QByteArray before = readBytes(bibleFile("A.txt"));
    show(verseHost, {"KJV", 40, 5, 18, 20});
    {
        FileSizeLimit full(4096); // the rewrite of the 5 KiB list fails
        ASSERT_TRUE(full.ok());
        verse.addButton()->click();
    }
    EXPECT_EQ(readBytes(bibleFile("A.txt")), before);
    EXPECT_EQ(rowsOf(verse.entryList()), QStringList{big});
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_TRUE(prompts.asked[0].text.startsWith("The list could not be written (File too large)"))
        << prompts.asked[0].text.toStdString();
    EXPECT_TRUE(prompts.asked[0].text.contains("A.txt"));

    {
        QFile large(bibleFile("A.txt"));
        ASSERT_TRUE(large.open(QIODevice::WriteOnly));
        ASSERT_TRUE(large.resize(lumora::common::kMaxFileBytes + 1)); // sparse: no disk used
    }
    verse.startUp(tmp.path());
    EXPECT_EQ(verse.entryList()->count(), 0);
    verse.addButton()->click(); // must not make it a one-entry list
    EXPECT_EQ(QFileInfo(bibleFile("A.txt")).size(), lumora::common::kMaxFileBytes + 1);
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_TRUE(prompts.asked[1].text.contains("the file cannot be read"));
}

// New proposes the first name that no list or note takes in any letter case (the rule is the
// folder's, ListFolder.newListNameTakesFirstFreeNumber), makes the name the dialog gives and refuses
// a taken or unusable one; Cancel makes nothing.
TEST_F(PanelTest, newProposesTheFirstFreeName_makesTheGivenOne_andRefusesATakenOne) {
    writeBytes(bibleFile("new list.txt"), listBytes({kE1}));
    writeBytes(bibleFile("NEW LIST 1.rtf"), "someone's note");
    verse.startUp(tmp.path());
    FrmNewName* dlg = verse.nameDialog();
    const auto newList = [&](const QString& typed, bool ok) {
        prompts.asked.clear();
        click(verse, NewButton);
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(dlg->windowTitle(), " Create New List ");
        if (!typed.isEmpty()) dlg->nameEdit()->setText(typed);
        (ok ? dlg->okButton() : dlg->cancelButton())->click();
        EXPECT_FALSE(dlg->isVisible());
    };
    newList("Easter", false);
    EXPECT_EQ(filesIn(bibleFolder).size(), 2) << "cancelled";
    click(verse, NewButton);
    EXPECT_EQ(dlg->nameEdit()->text(), "New List 2") << "proposed";
    newList({}, true);
    EXPECT_EQ(rowsOf(verse.combo()), (QStringList{"new list", "New List 2"}));
    EXPECT_EQ(verse.currentList(), "New List 2");
    EXPECT_EQ(verse.entryList()->count(), 0);
    EXPECT_EQ(filesIn(bibleFolder),
              (QStringList{"NEW LIST 1.rtf", "New List 2.rtf", "New List 2.txt", "new list.txt"}));
    newList("Easter", true);
    EXPECT_EQ(verse.currentList(), "Easter");
    for (const char* taken : {"Easter", "NEW LIST 2", "a/b"}) {
        newList(QString::fromLatin1(taken), true);
        EXPECT_EQ(prompts.asked.size(), 1u) << taken;
        EXPECT_EQ(filesIn(bibleFolder).size(), 6) << taken;
    }
    EXPECT_EQ(readBytes(bibleFile("new list.txt")), listBytes({kE1}));
    EXPECT_EQ(readBytes(bibleFile("NEW LIST 1.rtf")), "someone's note");
    EXPECT_EQ(verse.currentList(), "Easter");
}

// delete
TEST_F(PanelTest, deleteAsksThenRemovesNoteAndListButKeepsListWithoutNote) {
    writeBytes(bibleFile("A.rtf"), "note");
    writeBytes(bibleFile("B.txt"), listBytes({kE2}));
    startVerseListA({kE1});
    prompts.answers.push_back(PromptAnswer::No);
    click(verse, EraseButton); // answered No: nothing changes
    EXPECT_EQ(prompts.asked[0].title, "Lumora's Bible Interface");
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(readBytes(bibleFile("A.txt")), listBytes({kE1}));
    EXPECT_EQ(readBytes(bibleFile("A.rtf")), "note");
    EXPECT_EQ(rowsOf(verse.combo()), (QStringList{"A", "B"}));
    EXPECT_EQ(verse.entryList()->count(), 1);
    click(verse, EraseButton);
    EXPECT_EQ(filesIn(bibleFolder), QStringList{"B.txt"});
    EXPECT_EQ(verse.currentList(), "B");
    EXPECT_EQ(rowsOf(verse.entryList()), QStringList{kE2});
    click(verse, EraseButton);
    const QString question = "Do you really want to delete the current list ?";
    EXPECT_EQ(askedTexts(), (QStringList{question, question, question, "Close \"  B.rtf\""}));
    EXPECT_EQ(prompts.asked[3].title, "Lumora");
    EXPECT_TRUE(QFile::exists(bibleFile("B.txt")));
}

// Rename through the dialog, modal for verse lists only. A refusal (the folder's rules,
// ListFolder.renameRefusalsTouchNothing) keeps every list and note and says why.
TEST_F(PanelTest, renameThroughTheDialog_andRefusalsSayWhy) {
    writeBytes(bibleFile("A.rtf"), "note A");
    writeBytes(bibleFile("B.txt"), listBytes({kE2}));
    startVerseListA({kE1});
    click(verse, RenameButton);
    FrmNewName* dlg = verse.nameDialog();
    EXPECT_EQ(dlg->windowTitle(), " Rename Verse List");
    EXPECT_TRUE(dlg->isModal());
    dlg->nameEdit()->setText("C");
    dlg->cancelButton()->click();
    EXPECT_FALSE(dlg->isVisible());
    // Regression: a POSIX rename replaced the other list silently; a name with path parts left the folder.
    verse.onRenameConfirmed("b");
    verse.onRenameConfirmed("../../escaped");
    EXPECT_EQ(askedTexts(),
              (QStringList{"Close the \"Note\" file if it is open.\r\rIf not, creat it with \"Note\" button",
                           listNameProblem("../../escaped").value_or("<usable>")}));
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(filesIn(bibleFolder), (QStringList{"A.rtf", "A.txt", "B.txt"}));
    EXPECT_EQ(readBytes(bibleFile("B.txt")), listBytes({kE2}));

    writeBytes(hymnFile("Old.txt"), listBytes({"1 - A\tx"}));
    writeBytes(hymnFile("Old.rtf"), "n");
    play.startUp(tmp.path());
    click(play, RenameButton);
    dlg = play.nameDialog();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), " Rename PlayList");
    EXPECT_EQ(dlg->nameEdit()->text(), "Old");
    EXPECT_FALSE(dlg->isModal()) << "the playlist rename leaves the main window usable";
    dlg->nameEdit()->setText("Sunday");
    dlg->okButton()->click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(filesIn(hymnFolder), (QStringList{"Sunday.rtf", "Sunday.txt"}));
    EXPECT_EQ(rowsOf(play.combo()), QStringList{"Sunday"});
    EXPECT_EQ(play.currentList(), "Sunday");
    EXPECT_EQ(play.entryList()->count(), 1);
}

// two windows on one data folder
TEST_F(PanelTest, twoWindowsAddingToOneListKeepBothEntries_andAnEditOnAChangedListIsRefused) {
    // Fault: each add rewrote the whole file from its own window's copy, so the other window's
    // entries vanished and the two windows showed different lists.
    writeBytes(bibleFile("A.txt"), listBytes({kE1}));
    QWidget window2;
    FakePrompts prompts2;
    VerseListHost host2;
    FavouritePanel verse2{PanelConfig::verseList(), host2, prompts2, shell, &window2};
    verse2.setFolder(bibleFolder);
    verse.startUp(tmp.path());
    verse2.startUp(tmp.path());

    show(verseHost, {"WEB", 43, 3, 16, 18}); // window 1 adds John 3:16-18
    verse.addButton()->click();
    const QString first = "43 Book. 3 : 16 - 18\tWEB";
    EXPECT_TRUE(prompts.asked.empty()) << "its own list had not changed";
    show(host2, {"KJV", 1, 1, 1, 1}); // window 2, which still shows only kE1, adds Genesis 1:1
    verse2.addButton()->click();
    const QString second = "01 Book. 1 : 1 - 1\tKJV";
    EXPECT_EQ(readBytes(bibleFile("A.txt")), listBytes({kE1, first, second}));
    EXPECT_EQ(rowsOf(verse2.entryList()), (QStringList{kE1, first, second}));
    EXPECT_EQ(verse2.entryList()->currentRow(), 2);
    ASSERT_EQ(prompts2.asked.size(), 1u);
    EXPECT_TRUE(prompts2.asked[0].text.startsWith("This list was changed by another window or program"));

    // window 1 still shows two entries: a move or a removal there is refused, the list read again
    const QByteArray now = readBytes(bibleFile("A.txt"));
    for (const EditButton b : {UpButton, DownButton, RemoveButton, EmptyButton}) {
        verse.refreshList(bibleFile("A.txt"));
        writeBytes(bibleFile("A.txt"), listBytes({kE2, kE1, first, second})); // changed elsewhere
        const QByteArray changed = readBytes(bibleFile("A.txt"));
        verse.entryList()->setCurrentRow(1);
        prompts.asked.clear();
        click(verse, b);
        EXPECT_EQ(readBytes(bibleFile("A.txt")), changed) << int(b);
        EXPECT_EQ(rowsOf(verse.entryList()), (QStringList{kE2, kE1, first, second})) << int(b);
        ASSERT_EQ(prompts.asked.size(), 1u) << int(b);
        EXPECT_TRUE(prompts.asked[0].text.contains("nothing was changed")) << int(b);
        writeBytes(bibleFile("A.txt"), now);
    }
}

// The entry buttons apply the list edits (ListEdit.editsAtEveryPosition), write the list with one CR
// between entries and CR LF at the end, and show the new selection; a refused move tells the verse
// lists' own message and writes nothing.
TEST_F(PanelTest, editButtonsWriteAndShowTheEdit_orSayWhyNot) {
    startVerseListA({"e1", "e2", "e3"});
    verse.entryList()->setCurrentRow(0);
    click(verse, DownButton);
    EXPECT_EQ(rowsOf(verse.entryList()), (QStringList{"e2", "e1", "e3"}));
    EXPECT_EQ(verse.entryList()->currentRow(), 1);
    EXPECT_EQ(readBytes(bibleFile("A.txt")), kBom + "e2\re1\re3\r\n");
    click(verse, RemoveButton);
    EXPECT_EQ(rowsOf(verse.entryList()), (QStringList{"e2", "e3"}));
    EXPECT_EQ(verse.entryList()->currentRow(), 1);
    EXPECT_EQ(readBytes(bibleFile("A.txt")), kBom + "e2\re3\r\n");
    verse.entryList()->setCurrentRow(0);
    click(verse, UpButton);
    verse.entryList()->setCurrentRow(-1);
    click(verse, DownButton);
    EXPECT_EQ(askedTexts(), (QStringList{"E R R O R  UP", "E R R O R DOWN"}));
    EXPECT_EQ(readBytes(bibleFile("A.txt")), kBom + "e2\re3\r\n");
    EXPECT_EQ(rowsOf(verse.entryList()), (QStringList{"e2", "e3"}));
}

TEST_F(PanelTest, emptyAsksFirstAndCancelKeepsEntries) {
    startVerseListA({"e1", "e2"});
    prompts.answers.push_back(PromptAnswer::Cancel);
    click(verse, EmptyButton);
    EXPECT_EQ(askedTexts(), QStringList{"Warning: This will remove ALL entries from the current list"});
    EXPECT_EQ(prompts.asked[0].title, "Empty Verse List");
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::OkCancel);
    EXPECT_EQ(verse.entryList()->count(), 2);
    click(verse, EmptyButton);
    EXPECT_EQ(verse.entryList()->count(), 0);
    EXPECT_EQ(readBytes(bibleFile("A.txt")), kBom + "\r\n");
}

// note, show box and widgets
TEST_F(PanelTest, notePictureOpensTheCurrentListsNote) {
    writeBytes(bibleFile("A.txt"), listBytes({}));
    verse.noteButton()->click();
    EXPECT_TRUE(shell.opened.isEmpty()) << "no list chosen";
    verse.startUp(tmp.path());
    verse.noteButton()->click();
    EXPECT_EQ(shell.opened.value(0), bibleFile("A.rtf"));
}

TEST_F(PanelTest, showBoxSwapsPanelAndSearchRow) {
    QWidget search(&window);
    verse.setSearchControls({&search});
    window.show();
    const QList<QWidget*> panel{verse.entryList(), verse.combo(), verse.frame(), verse.addButton()};
    for (const bool shown : {false, true, false}) {
        SCOPED_TRACE(shown);
        EXPECT_EQ(search.isVisible(), !shown);
        for (QWidget* w : panel)
            EXPECT_EQ(w->isVisible(), shown);
        verse.showBox()->click();
    }
}

// A note opened outside a panel: an existing one as it is; a missing one made (CR LF) and opened
// again; nothing without a list, nor where it cannot be made, nor when the shell fails otherwise.
TEST(Notes, existingNoteOpenedUnchanged_missingOneMadeAndOpened_failuresMakeNothing) {
    TempFolder tmp;
    writeBytes(tmp.file("L.rtf"), " Save me as (*.rtf)\r\n");
    FakeShell shell;
    openNote(shell, tmp.path(), "L");
    EXPECT_EQ(shell.opened, QStringList{tmp.file("L.rtf")});
    EXPECT_EQ(readBytes(tmp.file("L.rtf")), " Save me as (*.rtf)\r\n");
    shell.opened.clear();
    openNote(shell, tmp.path(), "M");
    EXPECT_EQ(shell.opened, (QStringList{tmp.file("M.rtf"), tmp.file("M.rtf")}));
    EXPECT_EQ(readBytes(tmp.file("M.rtf")), "\r\n");

    shell.opened.clear();
    openNote(shell, tmp.path(), "");
    EXPECT_TRUE(shell.opened.isEmpty());
    openNote(shell, tmp.file("gone"), "L");
    EXPECT_EQ(shell.opened.size(), 1) << "not opened again when it could not be created";
    struct RefusingShell final : lumora::platform::Shell {
        lumora::platform::ShellResult open(const QString&) override {
            return lumora::platform::ShellResult::Failed;
        }
        bool startProgram(const QString&, const QStringList&) override { return false; }
    } refusing;
    openNote(refusing, tmp.path(), "N");
    EXPECT_EQ(readBytes(tmp.file("N.rtf")), "<missing>");
}
