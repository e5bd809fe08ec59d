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
TEST_F(PanelTest, addAppendsPassageOnDisplayByteExactWithoutOpeningIt) {
    startVerseListA({kE1});
    show(verseHost, {"WEB", 43, 3, 16, 18});
    jumps.clear();
    verse.addButton()->click();
    const QString added = "43 Book. 3 : 16 - 18\tWEB";
    EXPECT_EQ(rowsOf(verse.entryList()), (QStringList{kE1, added}));
    EXPECT_EQ(verse.entryList()->currentRow(), 1);
    EXPECT_EQ(readBytes(bibleFile("A.txt")), listBytes({kE1, added}));
    EXPECT_TRUE(jumps.empty());
}

TEST_F(PanelTest, addWithoutListsOrPassageChangesNothing) {
    verse.startUp(tmp.path());
    show(verseHost, {"KJV", 1, 1, 1, 1});
    verse.addButton()->click();
    EXPECT_EQ(verse.entryList()->count(), 0);
    writeBytes(bibleFile("A.txt"), listBytes({}));
    verse.refreshCombo(listPattern(bibleFolder));
    verse.combo()->setCurrentIndex(0);
    verseHost.onChoiceCleared(); // a list emptied: nothing on display
    verse.addButton()->click();
    EXPECT_EQ(readBytes(bibleFile("A.txt")), kBom + "\r\n");
}

// opening a verse-list entry: the place it names, numbers as they stand (the navigation refuses a
// place without a row)
TEST_F(PanelTest, openingAnEntryRequestsItsPlace_orNothingWhenItCannotBeRead) {
    using session::PassageRef;
    const struct {
        const char* name;
        QString entry;
        std::optional<PassageRef> place;
    } cases[] = {
        {"an entry", kE1, PassageRef{"KJV", 40, 5, 18, 20}},
        {"book without a row", "99 Book.  1 : 1 - 1\tKJV", PassageRef{"KJV", 99, 1, 1, 1}},
        {"unknown version", "40 Book.  5 : 18 - 18\tNONE", PassageRef{"NONE", 40, 5, 18, 18}},
        {"version in small letters", "43 Jean.  3 : 16 - 18\tlsg", PassageRef{"lsg", 43, 3, 16, 18}},
        // the ". " at position 3 lies inside the book text: separators are searched from the sixth character
        {"point inside the book", "02. Exode. 12 : 1 - 3\tX", PassageRef{"X", 2, 12, 1, 3}},
        {"verses reversed", "40 Book. 5 : 20 - 18\tKJV", PassageRef{"KJV", 40, 5, 20, 18}},
        {"no version", "99 Book. 1 : 1 - 1\t", PassageRef{"", 99, 1, 1, 1}},
        {"unreadable", "garbage", std::nullopt},
        {"empty", "", std::nullopt},
        {"no TAB", "43 Jean. 3 : 16 - 18 LSG", std::nullopt},
        {"no colon", "43 Jean. 3 16 - 18\tLSG", std::nullopt},
        {"separators out of order", "43 Jean\t3 : 16 - 18. x", std::nullopt},
        {"book without number", "xx Jean. 3 : 16 - 18\tLSG", std::nullopt},
        {"a verse beyond any row", "43 Jean. 3 : 16 - 99999999999\tLSG", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        jumps.clear();
        EXPECT_EQ(verseHost.OpenVerseListEntry(c.entry), c.place.has_value());
        EXPECT_EQ(jumps.empty() ? std::nullopt : std::optional(jumps.front()), c.place);
    }
}

TEST_F(PanelTest, enterOnAVerseListEntryOpensItAsAClickDoes) {
    startVerseListA({kE1, kE2});
    jumps.clear();
    verse.entryList()->setCurrentRow(1);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(verse.entryList(), &enter);
    ASSERT_EQ(jumps.size(), 1u);
    EXPECT_EQ(jumps[0].book, 43);
    // Other keys still move through the list without opening anything.
    jumps.clear();
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(verse.entryList(), &up);
    EXPECT_EQ(verse.entryList()->currentRow(), 0);
    EXPECT_TRUE(jumps.empty());
}

// playlists
TEST_F(PanelTest, playlistShowsLabelsAndKeepsEntriesAligned) {
    writeBytes(hymnFile("P.txt"), listBytes({"1 - A\tx", "2 - B\ty"}));
    QStringList opened;
    hymnHost.openEntryFn = [&](const QString& entry) { opened << entry; };
    play.startUp(tmp.path());
    EXPECT_EQ(rowsOf(play.entryList()), (QStringList{"1 - A", "2 - B"}));
    EXPECT_EQ(rowsOf(play.infoList()), (QStringList{"1 - A\tx", "2 - B\ty"}));
    EXPECT_EQ(opened, QStringList{"1 - A\tx"}) << "the first entry opens whole";
    play.entryList()->setCurrentRow(1);
    EXPECT_EQ(play.infoList()->currentRow(), 1);
    emit play.entryList()->itemClicked(play.entryList()->item(1));
    EXPECT_EQ(opened.last(), "2 - B\ty");

    hymnHost.entryOnDisplayFn = [] { return std::optional<QString>("4 - Dé\tw"); };
    play.addButton()->click();
    EXPECT_EQ(rowsOf(play.entryList()), (QStringList{"1 - A", "2 - B", "4 - Dé"}));
    EXPECT_EQ(play.infoList()->count(), 3);
    EXPECT_EQ(play.infoList()->currentRow(), 2);
    EXPECT_EQ(readBytes(hymnFile("P.txt")), listBytes({"1 - A\tx", "2 - B\ty", "4 - Dé\tw"}));
    hymnHost.entryOnDisplayFn = [] { return std::optional<QString>("no tab"); };
    play.addButton()->click();
    EXPECT_EQ(play.infoList()->count(), 3);
    EXPECT_TRUE(prompts.asked.empty());
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

TEST_F(PanelTest, listThatCannotBeReadIsNotReplacedByTheNewEntry) {
    // A list file too large to read shows no entries; an add must not replace it with a
    // one-entry list.
    {
        QFile big(bibleFile("A.txt"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(lumora::common::kMaxFileBytes + 1)); // sparse: no disk used
    }
    verse.startUp(tmp.path());
    EXPECT_EQ(verse.currentList(), "A");
    EXPECT_EQ(verse.entryList()->count(), 0);
    show(verseHost, {"KJV", 40, 5, 18, 20});
    verse.addButton()->click();
    EXPECT_EQ(QFileInfo(bibleFile("A.txt")).size(), lumora::common::kMaxFileBytes + 1);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_TRUE(prompts.asked[0].text.contains("the file cannot be read"));
}

TEST_F(PanelTest, writeThatFailsKeepsTheOldFileAndTellsTheUser) {
    // a disk that takes no more than 4 KiB per file: the rewrite of a 5 KiB list fails
    const QString big(5000, QChar('e'));
    startVerseListA({big});
    const QByteArray before = readBytes(bibleFile("A.txt"));
    show(verseHost, {"KJV", 40, 5, 18, 20});
    {
        FileSizeLimit full(4096);
        ASSERT_TRUE(full.ok());
        verse.addButton()->click();
    }
    EXPECT_EQ(readBytes(bibleFile("A.txt")), before);
    EXPECT_EQ(rowsOf(verse.entryList()), QStringList{big}) << "the panel shows what the file holds";
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_TRUE(prompts.asked[0].text.startsWith("The list could not be written (File too large)"))
        << prompts.asked[0].text.toStdString();
    EXPECT_TRUE(prompts.asked[0].text.contains("A.txt"));
}

// new: the first free name, never one taken by a list or note in another letter case
TEST_F(PanelTest, newCreatesFirstFreeNameWithEmptyListAndNote) {
    const struct {
        const char* name;
        std::vector<std::pair<QString, QByteArray>> files; // must stay untouched
        QStringList combo;
        QString created;
    } cases[] = {
        // the listing sorts the names as files, so "New List 1.txt" comes before "New List.txt"
        {"beside New List and New List 1",
         {{"New List.txt", listBytes({kE1})}, {"New List 1.txt", listBytes({})}},
         {"New List 1", "New List", "New List 2"},
         "New List 2"},
        {"other letter case",
         {{"new list.txt", listBytes({kE1})}, {"NEW LIST 1.rtf", "someone's note"}},
         {"new list", "New List 2"},
         "New List 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(bibleFolder).removeRecursively();
        QDir().mkpath(bibleFolder);
        for (const auto& [name, bytes] : c.files)
            writeBytes(bibleFile(name), bytes);
        verse.startUp(tmp.path());
        click(verse, NewButton);
        EXPECT_EQ(verse.nameDialog()->nameEdit()->text(), c.created) << "proposed";
        verse.nameDialog()->okButton()->click();
        EXPECT_EQ(rowsOf(verse.combo()), c.combo);
        EXPECT_EQ(verse.currentList(), c.created);
        EXPECT_EQ(verse.entryList()->count(), 0);
        EXPECT_EQ(readBytes(bibleFile(c.created + ".txt")), kBom + "\r\n");
        EXPECT_EQ(readBytes(bibleFile(c.created + ".rtf")), " Save me as (*.rtf)\r\n");
        for (const auto& [name, bytes] : c.files)
            EXPECT_EQ(readBytes(bibleFile(name)), bytes) << name.toStdString();
    }
}

// New made "New List" without asking: the name is asked for, and Cancel makes nothing.
TEST_F(PanelTest, newAsksForTheNameMakesTheTypedOneAndRefusesATakenOne) {
    writeBytes(hymnFile("Sunday.txt"), listBytes({"1 - A\tx"}));
    play.startUp(tmp.path());
    const auto newList = [&](const QString& typed, bool ok) {
        prompts.asked.clear();
        click(play, NewButton);
        FrmNewName* dlg = play.nameDialog();
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(dlg->windowTitle(), " Create New List ");
        dlg->nameEdit()->setText(typed);
        (ok ? dlg->okButton() : dlg->cancelButton())->click();
        EXPECT_FALSE(dlg->isVisible());
    };
    newList("Easter", false);
    EXPECT_EQ(QDir(hymnFolder).entryList(QDir::Files), QStringList{"Sunday.txt"}) << "cancelled";
    newList("Easter", true);
    EXPECT_EQ(QDir(hymnFolder).entryList(QDir::Files),
              (QStringList{"Easter.rtf", "Easter.txt", "Sunday.txt"}));
    EXPECT_EQ(play.currentList(), "Easter");
    EXPECT_EQ(play.entryList()->count(), 0);
    for (const char* taken : {"Sunday", "SUNDAY", "a/b"}) {
        newList(QString::fromLatin1(taken), true);
        EXPECT_EQ(prompts.asked.size(), 1u) << taken;
        EXPECT_EQ(QDir(hymnFolder).entryList(QDir::Files).size(), 3) << taken;
        EXPECT_EQ(readBytes(hymnFile("Sunday.txt")), listBytes({"1 - A\tx"}));
    }
    EXPECT_EQ(play.currentList(), "Easter");
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
    EXPECT_EQ(QDir(bibleFolder).entryList(QDir::Files), QStringList{"B.txt"});
    EXPECT_EQ(verse.currentList(), "B");
    EXPECT_EQ(rowsOf(verse.entryList()), QStringList{kE2});
    click(verse, EraseButton);
    const QString question = "Do you really want to delete the current list ?";
    EXPECT_EQ(askedTexts(), (QStringList{question, question, question, "Close \"  B.rtf\""}));
    EXPECT_EQ(prompts.asked[3].title, "Lumora");
    EXPECT_TRUE(QFile::exists(bibleFile("B.txt")));
}

// rename
TEST_F(PanelTest, renameThroughTheDialog) {
    writeBytes(bibleFile("A.rtf"), "n");
    startVerseListA({});
    click(verse, RenameButton);
    FrmNewName* dlg = verse.nameDialog();
    EXPECT_EQ(dlg->windowTitle(), " Rename Verse List");
    EXPECT_TRUE(dlg->isModal());
    dlg->nameEdit()->setText("B");
    dlg->cancelButton()->click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(QFile::exists(bibleFile("A.txt")));

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
    EXPECT_EQ(QDir(hymnFolder).entryList(QDir::Files), (QStringList{"Sunday.rtf", "Sunday.txt"}));
    EXPECT_EQ(rowsOf(play.combo()), QStringList{"Sunday"});
    EXPECT_EQ(play.currentList(), "Sunday");
    EXPECT_EQ(play.entryList()->count(), 1);
}

TEST_F(PanelTest, renameRefusalsKeepEveryListAndNoteAndSayWhy) {
    // Regression: a POSIX rename replaces its target silently, so the other list and its note
    // were lost; names with path parts left the folder.
    writeBytes(bibleFile("A.rtf"), "note A");
    writeBytes(bibleFile("B.txt"), listBytes({kE2}));
    writeBytes(bibleFile("B.rtf"), "note B");
    startVerseListA({kE1});
    // taken names, the list's own name among them (regression: it reported success)
    const QStringList taken{"B", "b", "A"}, unusable{"", "..\\up", "../../escaped", "CONIN$"};
    for (const QString& name : taken + unusable)
        verse.onRenameConfirmed(name);
    QFile::remove(bibleFile("A.rtf"));
    verse.onRenameConfirmed("C"); // a list without its note stays
    const QString failure = "Close the \"Note\" file if it is open.\r\rIf not, creat it with \"Note\" button";
    const QStringList told = askedTexts();
    ASSERT_EQ(told.size(), taken.size() + unusable.size() + 1);
    for (int i = 0; i < taken.size(); ++i)
        EXPECT_EQ(told[i], failure) << taken[i].toStdString();
    for (int i = 0; i < unusable.size(); ++i)
        EXPECT_EQ(told[taken.size() + i], listNameProblem(unusable[i]).value_or("<usable>"))
            << unusable[i].toStdString();
    EXPECT_EQ(told.last(), failure);
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(QDir(bibleFolder).entryList(QDir::Files), (QStringList{"A.txt", "B.rtf", "B.txt"}));
    EXPECT_EQ(readBytes(bibleFile("A.txt")), listBytes({kE1}));
    EXPECT_EQ(readBytes(bibleFile("B.txt")), listBytes({kE2}));
    EXPECT_EQ(readBytes(bibleFile("B.rtf")), "note B");
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"Bible", "Cantiques"}));

    // regression: "Vol..2" was refused with the note message
    writeBytes(bibleFile("A.rtf"), "note A");
    prompts.asked.clear();
    verse.onRenameConfirmed("Vol..2");
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_TRUE(QFile::exists(bibleFile("Vol..2.txt")));
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

// entry edits: what the panel shows, writes and says
TEST_F(PanelTest, editButtonsAtFirstAndLastPositionsAndOnEmptyList) {
    const QStringList three{"e1", "e2", "e3"};
    const struct {
        const char* name;
        EditButton button;
        QStringList rows;
        int row;
        QStringList after;
        int selectedAfter;
        QString error;
    } cases[] = {
        {"up on first", UpButton, three, 0, three, 0, "E R R O R  UP"},
        {"up on last", UpButton, three, 2, {"e1", "e3", "e2"}, 1, ""},
        {"down on first", DownButton, three, 0, {"e2", "e1", "e3"}, 1, ""},
        {"down in the middle", DownButton, three, 1, {"e1", "e3", "e2"}, 2, ""},
        {"down on last is silent", DownButton, three, 2, three, 2, ""},
        {"down without selection", DownButton, three, -1, three, -1, "E R R O R DOWN"},
        {"remove first", RemoveButton, three, 0, {"e2", "e3"}, 0, ""},
        {"remove in the middle", RemoveButton, three, 1, {"e1", "e3"}, 1, ""},
        {"remove last", RemoveButton, three, 2, {"e1", "e2"}, 1, ""},
        {"remove without selection", RemoveButton, three, -1, three, -1, ""},
        {"remove only", RemoveButton, {"e1"}, 0, {}, -1, ""},
        {"remove on empty", RemoveButton, {}, -1, {}, -1, ""},
        {"up on empty", UpButton, {}, -1, {}, -1, "E R R O R  UP"},
        {"down on empty", DownButton, {}, -1, {}, -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.asked.clear();
        startVerseListA(c.rows);
        const QByteArray before = readBytes(bibleFile("A.txt"));
        verse.entryList()->setCurrentRow(c.row);
        click(verse, c.button);
        EXPECT_EQ(rowsOf(verse.entryList()), c.after);
        EXPECT_EQ(verse.entryList()->currentRow(), c.selectedAfter);
        EXPECT_EQ(askedTexts(), c.error.isEmpty() ? QStringList{} : QStringList{c.error});
        if (!c.error.isEmpty()) {
            EXPECT_EQ(readBytes(bibleFile("A.txt")), before);
        } else if (c.after != c.rows) { // entries separated by one CR, CR LF at the end
            EXPECT_EQ(readBytes(bibleFile("A.txt")), kBom + c.after.join('\r').toUtf8() + "\r\n");
        }
        EXPECT_EQ(readListFile(bibleFile("A.txt")), c.after);
    }
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

TEST_F(PanelTest, fiveHundredEntryPlaylistMovesAndRemoves) {
    QStringList rows;
    for (int i = 0; i < 500; ++i)
        rows << QStringLiteral("%1 - H\tx").arg(i);
    writeBytes(hymnFile("Big.txt"), listBytes(rows));
    play.startUp(tmp.path());
    ASSERT_EQ(play.infoList()->count(), 500);
    const auto press = [&](int row, EditButton b) {
        play.entryList()->setCurrentRow(row);
        click(play, b);
    };
    press(499, UpButton);
    EXPECT_EQ(play.entryList()->currentRow(), 498);
    press(250, DownButton);
    EXPECT_EQ(play.infoList()->currentRow(), 251);
    press(300, RemoveButton);
    EXPECT_EQ(play.entryList()->currentRow(), 300);
    press(498, RemoveButton);
    EXPECT_EQ(play.entryList()->currentRow(), 497);
    QStringList expected = rows;
    expected.swapItemsAt(498, 499);
    expected.swapItemsAt(250, 251);
    expected.removeAt(300);
    expected.removeAt(498);
    EXPECT_EQ(readListFile(hymnFile("Big.txt")), expected);
    EXPECT_EQ(rowsOf(play.infoList()), expected);
    press(-1, DownButton);
    EXPECT_EQ(askedTexts(), QStringList{"E R R O R  DOWN"}) << "the playlists' own text";
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

// opening a note outside a panel
TEST(Notes, existingNoteOpenedUnchangedMissingOneCreatedWithCrLfAndOpenedAgain) {
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
}

// failures
TEST(Notes, noListUncreatableNoteOrOtherShellFailureCreatesNothing) {
    TempFolder tmp;
    FakeShell shell;
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
    openNote(refusing, tmp.path(), "L");
    EXPECT_EQ(readBytes(tmp.file("L.rtf")), "<missing>");
}
