#include "lists/ui/favouritelists.h"
#include "lists/ui/favouritepanel.h"
#include "lists/ui/frmnewname.h"
#include "lists/ui/verselisthost.h"

#include "common/text.h"
#include "lists/listfile.h"
#include "support/fakes.h"
#include "support/testdata.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using namespace lumora;
using namespace lumora::lists;
using namespace lumora::testing;
using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

// Navigation lists that record every pick and whether a jump was raised at that moment.
class FakeNavigation final : public NavigationLists {
  public:
    explicit FakeNavigation(app::AppState& state) : m_state(state) {
        rows[0] = {"KJV - King James", "WEB - World English"};
        for (int b = 1; b <= 66; ++b)
            rows[1] << QStringLiteral("%1 Book").arg(b, 2, 10, QLatin1Char('0'));
        for (int c = 1; c <= 50; ++c)
            rows[2] << QStringLiteral(" %1").arg(c);
        for (int v = 1; v <= 40; ++v)
            rows[3] << QString::number(v);
        for (int v = 1; v <= 40; ++v)
            rows[4] << QString::number(v);
    }
    struct Pick {
        NavLevel level;
        int row;
        bool pending;
    };
    int selectedRow(NavLevel l) const override { return sel[idx(l)]; }
    int rowCount(NavLevel l) const override { return static_cast<int>(rows[idx(l)].size()); }
    QString rowText(NavLevel l, int row) const override { return rows[idx(l)].value(row); }
    void selectRow(NavLevel l, int row) override {
        sel[idx(l)] = row;
        picks.push_back({l, row, m_state.PendingJump});
    }
    // Shows a passage: version, book, chapter, first verse and the row of the end verse.
    void show(int version, int book, int chapter, int verse, int span) {
        sel = {version, book, chapter, verse, span};
        rows[4] = rows[3].mid(verse);
    }

    std::array<QStringList, 5> rows;
    std::array<int, 5> sel{-1, -1, -1, -1, -1};
    std::vector<Pick> picks;

  private:
    static std::size_t idx(NavLevel l) { return static_cast<std::size_t>(l); }
    app::AppState& m_state;
};

class PanelTest : public ::testing::Test {
  protected:
    PanelTest() : nav(state), verseHost(nav, state) {
        state.DataPath = tmp.path();
        state.FavBibleFolder = tmp.file("Bible/Favori");
        state.FavCanticleFolder = tmp.file("Cantiques/Favori");
        QDir().mkpath(state.FavBibleFolder);
        QDir().mkpath(state.FavCanticleFolder);
    }
    QString bibleFile(const QString& name) const { return state.FavBibleFolder + "/" + name; }
    QString hymnFile(const QString& name) const { return state.FavCanticleFolder + "/" + name; }
    void writeList(const QString& path, const QStringList& rows) {
        QByteArray content = kBom;
        for (const QString& r : rows)
            content += common::Utf8Encode(r) + "\r";
        writeBytes(path, content + "\r\n");
    }
    FavouritePanel& versePanel() {
        if (!m_verse)
            m_verse = std::make_unique<FavouritePanel>(PanelConfig::verseList(), state, verseHost, prompts,
                                                       shell, &window);
        return *m_verse;
    }
    FavouritePanel& playPanel() {
        if (!m_play)
            m_play = std::make_unique<FavouritePanel>(PanelConfig::playList(), state, hymnHost, prompts,
                                                      shell, &window);
        return *m_play;
    }
    static QStringList comboRows(const FavouritePanel& p) {
        QStringList r;
        for (int i = 0; i < p.combo()->count(); ++i)
            r << p.combo()->itemText(i);
        return r;
    }
    static QStringList rowsOf(const QListWidget* l) {
        QStringList r;
        for (int i = 0; i < l->count(); ++i)
            r << l->item(i)->text();
        return r;
    }
    QToolButton* button(FavouritePanel& p, EditButton b) { return p.editButton(b); }

    TempFolder tmp;
    app::AppState state;
    FakePrompts prompts;
    FakeShell shell;
    QWidget window;
    FakeNavigation nav;
    VerseListHost verseHost;
    CallbackHost hymnHost;
    std::unique_ptr<FavouritePanel> m_verse, m_play;
};

const QString kE1 = "40 Book.  5 : 18 - 20\tKJV";
const QString kE2 = "43 Book.  3 : 16 - 16\tWEB";

} // namespace

// choosing a list
TEST_F(PanelTest, startUpChoosesFirstListAndOpensItsFirstEntry) {
    writeList(bibleFile("B list.txt"), {kE2});
    writeList(bibleFile("A list.txt"), {kE1, kE2});
    nav.show(0, 0, 0, 0, 0);
    FavouritePanel& p = versePanel();
    p.startUp();
    EXPECT_TRUE(state.FavBibleComboReady);
    EXPECT_EQ(comboRows(p), (QStringList{"A list", "B list"}));
    EXPECT_EQ(p.currentList(), "A list");
    EXPECT_EQ(rowsOf(p.entryList()), (QStringList{kE1, kE2}));
    EXPECT_EQ(p.entryList()->currentRow(), 0);
    ASSERT_EQ(nav.picks.size(), 1u);
    EXPECT_EQ(nav.picks[0].level, NavLevel::Book);
    EXPECT_EQ(nav.picks[0].row, 39);
    EXPECT_EQ(state.TargetChapter, 4);
    EXPECT_EQ(state.TargetVerse, 17);
    EXPECT_EQ(state.TargetSpan, 2);
}

TEST_F(PanelTest, choosingAnEmptyListOpensNothingAndGuardStopsRefills) {
    writeList(bibleFile("A.txt"), {kE1});
    writeList(bibleFile("Empty.txt"), {});
    FavouritePanel& p = versePanel();
    p.startUp();
    nav.picks.clear();
    p.combo()->setCurrentIndex(1);
    EXPECT_EQ(p.entryList()->count(), 0);
    EXPECT_TRUE(nav.picks.empty());
    state.FavBibleComboReady = false;
    p.combo()->setCurrentIndex(0);
    EXPECT_EQ(p.entryList()->count(), 0) << "with the guard down a value change loads nothing";
}

TEST_F(PanelTest, listRemovedFromOutsideLoadsEmpty) {
    writeList(bibleFile("A.txt"), {kE1});
    writeList(bibleFile("B.txt"), {kE1, kE2});
    FavouritePanel& p = versePanel();
    p.startUp();
    QFile::remove(bibleFile("B.txt"));
    p.combo()->setCurrentIndex(1);
    EXPECT_EQ(p.entryList()->count(), 0);
}

// adding
TEST_F(PanelTest, addAppendsPassageOnDisplayByteExactWithoutOpeningIt) {
    writeList(bibleFile("A.txt"), {kE1});
    FavouritePanel& p = versePanel();
    p.startUp();
    nav.show(1, 42, 2, 15, 2); // WEB, book 43, chapter 3, verses 16 to 18
    nav.picks.clear();
    p.addButton()->click();
    const QString added = "43 Book.  3 : 16 - 18\tWEB";
    EXPECT_EQ(rowsOf(p.entryList()), (QStringList{kE1, added}));
    EXPECT_EQ(p.entryList()->currentRow(), 1);
    EXPECT_EQ(readBytes(bibleFile("A.txt")), kBom + kE1.toUtf8() + "\r" + added.toUtf8() + "\r\r\n");
    EXPECT_TRUE(nav.picks.empty());
}

TEST_F(PanelTest, addWithoutListsOrPassageChangesNothing) {
    FavouritePanel& p = versePanel();
    p.startUp();
    nav.show(0, 0, 0, 0, 0);
    p.addButton()->click();
    EXPECT_EQ(p.entryList()->count(), 0);
    writeList(bibleFile("A.txt"), {});
    p.refreshCombo(listPattern(state.FavBibleFolder));
    p.combo()->setCurrentIndex(0);
    nav.sel[2] = -1; // no chapter selected: nothing on display
    p.addButton()->click();
    EXPECT_EQ(readBytes(bibleFile("A.txt")), kBom + "\r\n");
}

// opening a verse-list entry
TEST_F(PanelTest, entryInAnotherVersionSwitchesTheVersion) {
    writeList(bibleFile("A.txt"), {kE1, kE2});
    nav.show(0, 39, 4, 17, 2);
    FavouritePanel& p = versePanel();
    p.startUp();
    nav.picks.clear();
    p.entryList()->setCurrentRow(1);
    p.onEntryClicked(1);
    ASSERT_EQ(nav.picks.size(), 1u);
    EXPECT_EQ(nav.picks[0].level, NavLevel::Version);
    EXPECT_EQ(nav.picks[0].row, 1);
    EXPECT_FALSE(nav.picks[0].pending) << "the version handler raises the jump itself";
    EXPECT_EQ(state.TargetVersion, 1);
    EXPECT_EQ(state.TargetBook, 42);
    EXPECT_EQ(state.TargetChapter, 2);
    EXPECT_EQ(state.TargetVerse, 15);
    EXPECT_EQ(state.TargetSpan, 0);
}

TEST_F(PanelTest, entryOfPassageOnDisplayChangesOnlyTheSpan) {
    writeList(bibleFile("A.txt"), {kE1});
    nav.show(0, 39, 4, 17, 0);
    FavouritePanel& p = versePanel();
    p.startUp();
    ASSERT_EQ(nav.picks.size(), 1u);
    EXPECT_EQ(nav.picks[0].level, NavLevel::Span);
    EXPECT_EQ(nav.picks[0].row, 2);
}

TEST_F(PanelTest, unreadableOrOutOfRangeEntryChangesNoList) {
    nav.show(0, 0, 0, 0, 0);
    EXPECT_FALSE(verseHost.OpenVerseListEntry("garbage"));
    EXPECT_FALSE(verseHost.OpenVerseListEntry("99 Book.  1 : 1 - 1\tKJV"));
    EXPECT_TRUE(nav.picks.empty());
    EXPECT_FALSE(state.PendingJump);
}

TEST_F(PanelTest, realListWidgetsCascadeWithJumpRaised) {
    // The widget adapter drives lists found by name; their handlers see the jump raised.
    QWidget root;
    std::array<QListWidget*, 5> lists{};
    const char* names[] = {"List_version", "List_livre", "List_chapitre", "List_verset",
                           "List_verset_limite"};
    for (int i = 0; i < 5; ++i) {
        lists[i] = new QListWidget(&root);
        lists[i]->setObjectName(names[i]);
    }
    lists[0]->addItems({"KJV - King James", "WEB - World"});
    for (int b = 1; b <= 66; ++b)
        lists[1]->addItem(QString::number(b));
    lists[2]->addItems({" 1", " 2", " 3"});
    lists[3]->addItems({"1", "2", "3"});
    lists[4]->addItems({"1", "2", "3"});
    for (auto* l : lists)
        l->setCurrentRow(0);
    bool pendingSeen = false;
    QObject::connect(lists[1], &QListWidget::currentRowChanged, [&] { pendingSeen = state.PendingJump; });
    WidgetNavigationLists adapter(&root);
    VerseListHost host(adapter, state);
    ASSERT_TRUE(host.OpenVerseListEntry("43 Jean.  3 : 2 - 3\tkjv"));
    EXPECT_EQ(lists[1]->currentRow(), 42);
    EXPECT_TRUE(pendingSeen);
    EXPECT_FALSE(state.PendingJump);
    EXPECT_EQ(host.entryOnDisplay(), QString("43. "
                                             " 1 : 1 - 1\tKJV"));
}

// playlists
TEST_F(PanelTest, playlistEntryOfUninstalledBookShowsQuestionMarks) {
    const QString installed = "1 - Amazing grace\tNewton\tNewton\tG\t\tGrace\t\tNew Britain\tHymnal";
    const QString missing = "7 - Lost hymn\tX\tY\tC\t\tPraise\t\tTune\tGone Book";
    writeList(hymnFile("P.txt"), {installed, missing});
    const QStringList books{"Hymnal"};
    QString textCantique;
    hymnHost.openEntryFn = [&](const QString& entry) {
        const auto fields = common::cutFields<9>(common::Utf8Encode(entry));
        textCantique = fields && books.contains(common::Utf8Decode((*fields)[8])) ? entry.section('\t', 0, 0)
                                                                                  : QStringLiteral("??????");
    };
    FavouritePanel& p = playPanel();
    p.startUp();
    EXPECT_EQ(textCantique, "1 - Amazing grace");
    EXPECT_EQ(rowsOf(p.entryList()), (QStringList{"1 - Amazing grace", "7 - Lost hymn"}));
    EXPECT_EQ(rowsOf(p.infoList()), (QStringList{installed, missing}));
    p.entryList()->setCurrentRow(1);
    EXPECT_EQ(p.infoList()->currentRow(), 1);
    emit p.entryList()->itemClicked(p.entryList()->item(1));
    EXPECT_EQ(textCantique, "??????");
}

TEST_F(PanelTest, playlistAddKeepsBothListsAlignedAndStopsAtLineWithoutTab) {
    writeList(hymnFile("P.txt"), {"1 - A\tx", "no tab here", "2 - B\ty"});
    FavouritePanel& p = playPanel();
    p.startUp();
    EXPECT_EQ(rowsOf(p.infoList()), QStringList{"1 - A\tx"});
    hymnHost.entryOnDisplayFn = [] { return std::optional<QString>("3 - C\tz"); };
    p.addButton()->click();
    EXPECT_EQ(rowsOf(p.entryList()), (QStringList{"1 - A", "3 - C"}));
    EXPECT_EQ(p.infoList()->count(), p.entryList()->count());
    EXPECT_EQ(p.infoList()->currentRow(), 1);
    EXPECT_EQ(readBytes(hymnFile("P.txt")), kBom + "1 - A\tx\r3 - C\tz\r\r\n");
    hymnHost.entryOnDisplayFn = [] { return std::optional<QString>("no tab"); };
    p.addButton()->click();
    EXPECT_EQ(p.infoList()->count(), 2);
}

// new
TEST_F(PanelTest, newCreatesNextFreeNameWithEmptyListAndNote) {
    writeList(bibleFile("New List.txt"), {kE1});
    writeList(bibleFile("New List 1.txt"), {});
    FavouritePanel& p = versePanel();
    p.startUp();
    button(p, NewButton)->click();
    // Listing order sorts the names as files, so "New List 1.txt" comes before "New List.txt".
    EXPECT_EQ(comboRows(p), (QStringList{"New List 1", "New List", "New List 2"}));
    EXPECT_EQ(p.currentList(), "New List 2");
    EXPECT_EQ(p.entryList()->count(), 0);
    EXPECT_EQ(readBytes(bibleFile("New List 2.txt")), kBom + "\r\n");
    EXPECT_EQ(readBytes(bibleFile("New List 2.rtf")), " Save me as (*.rtf)\r\n");
    EXPECT_EQ(readBytes(bibleFile("New List.txt")), kBom + kE1.toUtf8() + "\r\r\n");
}

TEST_F(PanelTest, newNeverOverwritesListInOtherLetterCase) {
    // Regression: "new list.txt" is not the row "New List", so New wrote over it.
    writeList(bibleFile("new list.txt"), {kE1});
    writeBytes(bibleFile("NEW LIST 1.rtf"), "someone's note");
    FavouritePanel& p = versePanel();
    p.startUp();
    button(p, NewButton)->click();
    EXPECT_EQ(p.currentList(), "New List 2");
    EXPECT_EQ(readBytes(bibleFile("new list.txt")), kBom + kE1.toUtf8() + "\r\r\n");
    EXPECT_EQ(readBytes(bibleFile("NEW LIST 1.rtf")), "someone's note");
}

TEST_F(PanelTest, newOnEmptyFolderCreatesNewList) {
    FavouritePanel& p = versePanel();
    p.startUp();
    button(p, NewButton)->click();
    EXPECT_EQ(comboRows(p), QStringList{"New List"});
    EXPECT_EQ(p.currentList(), "New List");
}

// delete
TEST_F(PanelTest, deleteAnsweredNoChangesNothing) {
    writeList(bibleFile("A.txt"), {kE1});
    writeBytes(bibleFile("A.rtf"), "note");
    FavouritePanel& p = versePanel();
    p.startUp();
    prompts.answers.push_back(PromptAnswer::No);
    button(p, EraseButton)->click();
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, "Do you really want to delete the current list ?");
    EXPECT_EQ(prompts.asked[0].title, "Lumora's Bible Interface");
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::None);
    EXPECT_EQ(readBytes(bibleFile("A.txt")), kBom + kE1.toUtf8() + "\r\r\n");
    EXPECT_EQ(readBytes(bibleFile("A.rtf")), "note");
    EXPECT_EQ(comboRows(p), QStringList{"A"});
    EXPECT_EQ(p.entryList()->count(), 1);
}

TEST_F(PanelTest, deleteYesRemovesBothAndChoosesFirstList) {
    writeList(hymnFile("A.txt"), {"1 - A\tx"});
    writeBytes(hymnFile("A.rtf"), "n");
    writeList(hymnFile("B.txt"), {"2 - B\ty"});
    writeBytes(hymnFile("B.rtf"), "n");
    FavouritePanel& p = playPanel();
    p.startUp();
    button(p, EraseButton)->click();
    EXPECT_EQ(prompts.asked[0].text, "Do you really want to delete the current Playlist ?");
    EXPECT_EQ(QDir(state.FavCanticleFolder).entryList(QDir::Files), (QStringList{"B.rtf", "B.txt"}));
    EXPECT_EQ(p.currentList(), "B");
    EXPECT_EQ(rowsOf(p.infoList()), QStringList{"2 - B\ty"});
}

TEST_F(PanelTest, deleteWithoutNoteNamesTheNoteAndKeepsList) {
    writeList(bibleFile("A.txt"), {kE1});
    FavouritePanel& p = versePanel();
    p.startUp();
    button(p, EraseButton)->click();
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[1].text, "Close \"  A.rtf\"");
    EXPECT_EQ(prompts.asked[1].title, "Lumora");
    EXPECT_TRUE(QFile::exists(bibleFile("A.txt")));
}

// rename
TEST_F(PanelTest, renameThroughTheDialog) {
    writeList(hymnFile("Old.txt"), {"1 - A\tx"});
    writeBytes(hymnFile("Old.rtf"), "n");
    FavouritePanel& p = playPanel();
    p.startUp();
    button(p, RenameButton)->click();
    FrmNewName* dlg = p.nameDialog();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), " Rename PlayList");
    EXPECT_EQ(dlg->nameEdit()->text(), "Old");
    EXPECT_FALSE(dlg->isModal()) << "the playlist rename leaves the main window usable";
    dlg->nameEdit()->setText("Sunday");
    dlg->okButton()->click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(QDir(state.FavCanticleFolder).entryList(QDir::Files),
              (QStringList{"Sunday.rtf", "Sunday.txt"}));
    EXPECT_EQ(comboRows(p), QStringList{"Sunday"});
    EXPECT_EQ(p.currentList(), "Sunday");
    EXPECT_EQ(p.entryList()->count(), 1);
}

TEST_F(PanelTest, renameCancelAndVerseListCaption) {
    writeList(bibleFile("A.txt"), {});
    writeBytes(bibleFile("A.rtf"), "n");
    FavouritePanel& p = versePanel();
    p.startUp();
    button(p, RenameButton)->click();
    EXPECT_EQ(p.nameDialog()->windowTitle(), " Rename Verse List");
    EXPECT_TRUE(p.nameDialog()->isModal());
    p.nameDialog()->nameEdit()->setText("B");
    p.nameDialog()->cancelButton()->click();
    EXPECT_FALSE(p.nameDialog()->isVisible());
    EXPECT_TRUE(QFile::exists(bibleFile("A.txt")));
}

TEST_F(PanelTest, renameOntoOtherListOrOutsideFolderRefused) {
    writeList(bibleFile("A.txt"), {kE1});
    writeBytes(bibleFile("A.rtf"), "note A");
    writeList(bibleFile("B.txt"), {kE2});
    writeBytes(bibleFile("B.rtf"), "note B");
    FavouritePanel& p = versePanel();
    p.startUp();
    for (const QString& bad : QStringList{"B", "b", "../../escaped", "", "a/b", "x?"}) {
        prompts.asked.clear();
        p.onRenameConfirmed(bad);
        ASSERT_EQ(prompts.asked.size(), 1u) << bad.toStdString();
        EXPECT_EQ(prompts.asked[0].text,
                  "Close the \"Note\" file if it is open.\r\rIf not, creat it with \"Note\" button");
        EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::Ok);
    }
    EXPECT_EQ(QDir(state.FavBibleFolder).entryList(QDir::Files),
              (QStringList{"A.rtf", "A.txt", "B.rtf", "B.txt"}));
    EXPECT_EQ(readBytes(bibleFile("B.txt")), kBom + kE2.toUtf8() + "\r\r\n");
    EXPECT_EQ(readBytes(bibleFile("B.rtf")), "note B");
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList{});
}

// entry edits
TEST_F(PanelTest, moveUpOnFirstShowsErrorAndDownOnLastIsSilent) {
    writeList(bibleFile("A.txt"), {"e1", "e2", "e3"});
    const QByteArray before = readBytes(bibleFile("A.txt"));
    FavouritePanel& p = versePanel();
    p.startUp();
    p.entryList()->setCurrentRow(0);
    button(p, UpButton)->click();
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, "E R R O R  UP");
    EXPECT_EQ(readBytes(bibleFile("A.txt")), before);
    p.entryList()->setCurrentRow(2);
    button(p, DownButton)->click();
    EXPECT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(rowsOf(p.entryList()), (QStringList{"e1", "e2", "e3"}));
    EXPECT_EQ(p.entryList()->currentRow(), 2);
}

TEST_F(PanelTest, moveDownWithoutSelectionShowsKindsOwnError) {
    writeList(bibleFile("A.txt"), {"e1"});
    writeList(hymnFile("P.txt"), {"1 - A\tx"});
    FavouritePanel& v = versePanel();
    FavouritePanel& h = playPanel();
    v.startUp();
    h.startUp();
    v.entryList()->setCurrentRow(-1);
    h.entryList()->setCurrentRow(-1);
    button(v, DownButton)->click();
    button(h, DownButton)->click();
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0].text, "E R R O R DOWN");
    EXPECT_EQ(prompts.asked[1].text, "E R R O R  DOWN");
}

TEST_F(PanelTest, moveSecondOfFourDownInListAndFile) {
    writeList(hymnFile("P.txt"), {"1 - A\ta", "2 - B\tb", "3 - C\tc", "4 - D\td"});
    FavouritePanel& p = playPanel();
    p.startUp();
    p.entryList()->setCurrentRow(1);
    button(p, DownButton)->click();
    EXPECT_EQ(rowsOf(p.entryList()), (QStringList{"1 - A", "3 - C", "2 - B", "4 - D"}));
    EXPECT_EQ(p.entryList()->currentRow(), 2);
    EXPECT_EQ(p.infoList()->currentRow(), 2);
    EXPECT_EQ(readBytes(hymnFile("P.txt")), kBom + "1 - A\ta\r3 - C\tc\r2 - B\tb\r4 - D\td\r\n");
}

TEST_F(PanelTest, removeLastAndOnlyEntries) {
    writeList(bibleFile("A.txt"), {"e1", "e2", "e3"});
    FavouritePanel& p = versePanel();
    p.startUp();
    p.entryList()->setCurrentRow(2);
    button(p, RemoveButton)->click();
    EXPECT_EQ(rowsOf(p.entryList()), (QStringList{"e1", "e2"}));
    EXPECT_EQ(p.entryList()->currentRow(), 1);
    EXPECT_EQ(readBytes(bibleFile("A.txt")), kBom + "e1\re2\r\n");
    p.entryList()->setCurrentRow(0);
    button(p, RemoveButton)->click();
    button(p, RemoveButton)->click();
    EXPECT_EQ(p.entryList()->count(), 0);
    EXPECT_EQ(p.entryList()->currentRow(), -1);
    EXPECT_EQ(readBytes(bibleFile("A.txt")), kBom + "\r\n");
    button(p, RemoveButton)->click(); // empty list: nothing happens
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(PanelTest, emptyAsksFirstAndCancelKeepsEntries) {
    writeList(bibleFile("A.txt"), {"e1", "e2"});
    FavouritePanel& p = versePanel();
    p.startUp();
    prompts.answers.push_back(PromptAnswer::Cancel);
    button(p, EmptyButton)->click();
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, "Warning: This will remove ALL entries from the current list");
    EXPECT_EQ(prompts.asked[0].title, "Empty Verse List");
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::OkCancel);
    EXPECT_EQ(p.entryList()->count(), 2);
    button(p, EmptyButton)->click();
    EXPECT_EQ(p.entryList()->count(), 0);
    EXPECT_EQ(readBytes(bibleFile("A.txt")), kBom + "\r\n");
}

TEST_F(PanelTest, fiveHundredEntriesMoveAndRemove) {
    QStringList rows;
    for (int i = 0; i < 500; ++i)
        rows << QStringLiteral("%1 - H\tx").arg(i);
    writeList(hymnFile("Big.txt"), rows);
    FavouritePanel& p = playPanel();
    p.startUp();
    ASSERT_EQ(p.infoList()->count(), 500);
    p.entryList()->setCurrentRow(450);
    button(p, UpButton)->click();
    EXPECT_EQ(p.entryList()->currentRow(), 449);
    EXPECT_EQ(p.entryList()->item(449)->text(), "450 - H");
    p.entryList()->setCurrentRow(300);
    button(p, DownButton)->click();
    EXPECT_EQ(p.infoList()->item(301)->text(), "300 - H\tx");
    p.entryList()->setCurrentRow(499);
    button(p, RemoveButton)->click();
    EXPECT_EQ(p.entryList()->count(), 499);
    EXPECT_EQ(p.entryList()->currentRow(), 498);
    EXPECT_TRUE(prompts.asked.empty());
    QStringList expected = rows;
    expected.swapItemsAt(449, 450);
    expected.swapItemsAt(300, 301);
    expected.removeLast();
    EXPECT_EQ(readListFile(hymnFile("Big.txt")), expected);
}

// note and show box
TEST_F(PanelTest, notePictureCreatesMissingNoteAndOpensIt) {
    writeList(bibleFile("A.txt"), {});
    FavouritePanel& p = versePanel();
    p.noteButton()->click();
    EXPECT_TRUE(shell.opened.isEmpty()) << "no list chosen";
    p.startUp();
    p.noteButton()->click();
    EXPECT_EQ(shell.opened, (QStringList{bibleFile("A.rtf"), bibleFile("A.rtf")}));
    EXPECT_EQ(readBytes(bibleFile("A.rtf")), "\r\n");
    EXPECT_EQ(p.noteButton()->toolTip(), " Comment ");
}

TEST_F(PanelTest, showBoxSwapsPanelAndSearchRow) {
    FavouritePanel& p = versePanel();
    QWidget search(&window);
    p.setSearchControls({&search});
    window.show();
    EXPECT_TRUE(search.isVisible());
    EXPECT_FALSE(p.entryList()->isVisible());
    p.showBox()->click();
    EXPECT_FALSE(search.isVisible());
    EXPECT_TRUE(p.entryList()->isVisible());
    EXPECT_TRUE(p.combo()->isVisible());
    EXPECT_TRUE(p.frame()->isVisible());
    EXPECT_TRUE(p.addButton()->isVisible());
    p.showBox()->click();
    EXPECT_TRUE(search.isVisible());
    EXPECT_FALSE(p.frame()->isVisible());
}

TEST_F(PanelTest, widgetsCarryTheirNamesAndTooltips) {
    versePanel();
    playPanel();
    auto* up = window.findChild<QToolButton*>("Img_UP_ListFavoriBible");
    ASSERT_TRUE(up);
    EXPECT_EQ(up->toolTip(), " Move One Position Up ");
    auto* empty = window.findChild<QToolButton*>("Img_EMPTY_ListFavoriCanticle");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->toolTip(), "  Remove All Verse From List ");
    auto* down = window.findChild<QLabel*>("Label36");
    ASSERT_TRUE(down);
    EXPECT_EQ(down->text(), "Down");
    EXPECT_EQ(window.findChild<QLabel*>("Label27")->text(), "Rename");
    EXPECT_TRUE(window.findChild<QListWidget*>("List_InfoFavori_Canticle"));
    EXPECT_FALSE(window.findChild<QListWidget*>("List_InfoFavori_Bible"));
    EXPECT_EQ(window.findChild<QCheckBox*>("Check_Favori_Canticle")->text(), "Show");
}

// the pair of panels
TEST_F(PanelTest, favouriteListsStartUpCreatesFoldersAndSharesTheNameDialog) {
    TempFolder data;
    app::AppState s;
    s.DataPath = data.path();
    QDir().mkpath(data.file("bible"));
    CallbackHost bibleHost, canticleHost;
    QWidget w;
    FavouriteLists lists(s, bibleHost, canticleHost, prompts, shell, &w);
    lists.startUp();
    EXPECT_EQ(s.FavBibleFolder, data.file("bible/Favori"));
    EXPECT_EQ(s.FavCanticleFolder, data.file("Cantiques/Favori"));
    EXPECT_TRUE(QFileInfo(s.FavBibleFolder).isDir());
    EXPECT_TRUE(QFileInfo(s.FavCanticleFolder).isDir());
    EXPECT_TRUE(s.FavBibleComboReady);
    EXPECT_TRUE(s.FavCanticleComboReady);
    EXPECT_EQ(lists.bible().nameDialog(), &lists.nameDialog());
    EXPECT_EQ(lists.canticle().nameDialog(), &lists.nameDialog());
}
