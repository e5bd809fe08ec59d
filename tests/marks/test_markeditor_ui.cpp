// The reading marks in the main window: mark mode, the mark table, taking a mark from the
// recording, the Markage menu, Cmd_Maj, and the mute button and Label24 around them.

#include "bible/ui/biblewindowlabel.h"
#include "bible/ui/versefollower.h"
#include "import/audio.h"
#include "marks/markstore.h"
#include "platform/playerpictures.h"
#include "support/mainwindow.h"
#include "support/spokenchapter.h"

#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QTreeView>

using namespace lumora;
using namespace lumora::testing;
using platform::PromptAnswer;
using Asked = std::vector<FakePrompts::Asked>;
constexpr auto OkCancel = platform::PromptButtons::OkCancel;
constexpr auto Exclamation = platform::PromptIcon::Exclamation;

namespace {

// Book 40 has 6 chapters of 30 verses; in chapters 1 to 5 verse v starts at 10 v seconds, chapter
// 6 has no marks ("0"). Every chapter of book 40 has a recording.
class MarkEditorUi : public ::testing::Test {
  protected:
    // Chapter 4's verses but `skipped` read by another voice than the alignment's, 0.6 s apart, as
    // its recording; then mark mode, chapter 4, and "Suggest". Empty when the reading could not be made.
    std::optional<SpokenChapter> suggestFromChapter4ReadAs(TempFolder& tmp, int skipped = 0) {
        QStringList verses;
        for (int v = 1; v <= 30; ++v)
            if (v != skipped) verses << QString::fromUtf8(fixtureVerseText(40, 4, v));
        auto spoken = speakChapter(tmp, "espeak:en-us+m3", verses, {0.6});
        const QString sound = h.data.path() + "/Bible/AAA/Sound/";
        if (!spoken || !QFile::remove(sound + "Bk04.mp3") || !QFile::copy(spoken->wav, sound + "Bk04.wav"))
            return std::nullopt;
        box("Check_mode")->click();
        h.select(h.list("List_chapitre"), 3);
        action("Mnu_SuggestMrk")->trigger();
        return spoken;
    }
    void SetUp() override {
        writeRecordedVersion(h.data.path(), 5);
        writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\n");
        before = readBytes(bookFile());
        ASSERT_TRUE(h.open());
        player = h.players.front(); // WindowsMediaPlayer1
    }

    QString bookFile() const { return h.data.path() + "/Bible/AAA/AAA-N.txt"; }
    marks::MarkEditor& editor() { return *h.find<marks::MarkEditor>("markEditor"); }
    QTreeView* table() { return h.find<QTreeView>("ListView1"); }
    QModelIndex at(int row, int column = 0) { return table()->model()->index(row - 1, column); }
    QString cell(int row, int column) { return at(row, column).data().toString(); }
    QString toolTip(int row) { return at(row, 1).data(Qt::ToolTipRole).toString(); }
    void setCurrentRow(int row) { table()->setCurrentIndex(at(row)); }
    int currentRow() { return table()->currentIndex().row() + 1; }
    QCheckBox* box(const char* name) { return h.find<QCheckBox>(name); }
    QLabel* label(const char* name) { return h.find<QLabel>(name); }
    QToolButton* button(const char* name) { return h.find<QToolButton>(name); }
    QPushButton* Label24() { return h.find<QPushButton>("Label24"); }
    QAction* action(const char* name) { return h.find<QAction>(name); }
    QTextEdit* passage() { return h.find<QTextEdit>("Text_Passage"); }
    bool muted() { return h.find<bible::BiblePlayer>("biblePlayer")->isBibleAudioMuted(); }
    QString lastSeek() const {
        for (auto it = player->calls.crbegin(); it != player->calls.crend(); ++it)
            if (it->startsWith("seek:")) return it->mid(5);
        return {};
    }
    // The mark widgets as they stand: the table and the position row, Cmd_Maj, Lbl_classe.
    bool markWidgetsShown() {
        const bool table = !this->table()->isHidden();
        EXPECT_EQ(!label("Label4")->isHidden(), table);
        EXPECT_EQ(!label("Lbl_Position")->isHidden(), table);
        EXPECT_EQ(!h.find<QWidget>("SpPosition")->isHidden(), table);
        EXPECT_EQ(h.find<QPushButton>("Cmd_Maj")->isEnabled(), table);
        EXPECT_EQ(label("Lbl_classe")->isHidden(), table);
        return table;
    }
    static void release(QWidget* viewport, QPointF at, Qt::MouseButton button) {
        QMouseEvent e(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), button, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(viewport, &e);
    }
    // A right click released over the passage at character `pos` of its plain text.
    void rightClickAt(int pos) {
        QTextCursor c(passage()->document());
        c.setPosition(pos);
        release(passage()->viewport(), passage()->cursorRect(c).center(), Qt::RightButton);
    }
    void clickRow(int row, Qt::MouseButton button) {
        release(table()->viewport(), table()->visualRect(at(row)).center(), button);
    }
    void showWindow() {
        h.window->resize(1400, 900);
        h.window->show();
        QApplication::processEvents();
    }
    // The book file's line of a verse of book 40.
    QByteArray line(int chapter, int verse) {
        const QByteArray key =
            "40N\t" + QByteArray::number(chapter) + '\t' + QByteArray::number(verse) + '\t';
        const QByteArray bytes = readBytes(bookFile());
        const qsizetype at = bytes.indexOf("\n" + key);
        return at < 0 ? QByteArray() : bytes.mid(at + 1, bytes.indexOf('\r', at) - at - 1);
    }

    // Mark mode on, and the mark of `verse` of chapter 5 taken at `seconds` by a right click.
    void takeMark(int verse, double seconds) {
        if (!h.window->isVisible()) showWindow();
        if (!editor().isMarkMode()) box("Check_mode")->click();
        const QString label = "5." + QString::number(verse) + "   ";
        if (!h.text().contains(label)) h.select(h.list("List_verset"), 0); // the whole chapter
        const int at = int(h.text().indexOf(label));
        ASSERT_GE(at, 0);
        player->clock = seconds;
        rightClickAt(at + 1);
    }

    MainWindowHarness h;
    FakeMediaPlayer* player = nullptr;
    QByteArray before;
};

} // namespace

// mark mode
TEST_F(MarkEditorUi, markModeShowsTheTable_andClearingPutsItAllBack) {
    EXPECT_FALSE(markWidgetsShown());
    box("Check_repere")->setChecked(true);
    box("Check_mode")->click();
    EXPECT_TRUE(editor().isMarkMode());
    EXPECT_TRUE(markWidgetsShown());
    EXPECT_FALSE(box("Check_repere")->isChecked());
    EXPECT_FALSE(box("Check_repere")->isEnabled());
    EXPECT_FALSE(label("Label1")->isEnabled());
    EXPECT_FALSE(label("Label11")->isEnabled());
    // in mark mode the highlight stays where the user puts it
    h.view().passageBox().select(0, 0);
    player->clock = 195;
    h.find<bible::VerseFollower>("follower")->step();
    EXPECT_EQ(h.view().passageBox().selectedText(), "");

    box("Check_mode")->click();
    EXPECT_FALSE(editor().isMarkMode());
    EXPECT_FALSE(markWidgetsShown());
    EXPECT_TRUE(box("Check_repere")->isEnabled());
    EXPECT_TRUE(label("Label1")->isEnabled());
    EXPECT_TRUE(label("Label11")->isEnabled());
}

TEST_F(MarkEditorUi, markModeWaitsForTheSound_andAPassageWithoutMarksKeepsTheTableAway) {
    button("ImageMute")->click();
    box("Check_mode")->click();
    EXPECT_FALSE(editor().isMarkMode());
    EXPECT_FALSE(markWidgetsShown());
    box("Check_mode")->click(); // cleared again, still muted: nothing was entered, nothing to leave
    EXPECT_EQ(Label24()->text(), "L O C A L");
    box("Check_mode")->click(); // ticked while muted: entered with the sound
    button("ImageMute")->click();
    EXPECT_TRUE(editor().isMarkMode());
    EXPECT_TRUE(markWidgetsShown());
    EXPECT_FALSE(box("Check_repere")->isEnabled());

    // chapter 6 has no marked verse: mark mode without its widgets, ticked or unmuted into
    box("Check_mode")->click();
    h.nav().jumpTo({0, 39, 5, 0, 29});
    box("Check_mode")->click();
    EXPECT_TRUE(editor().isMarkMode());
    EXPECT_FALSE(box("Check_repere")->isEnabled());
    EXPECT_FALSE(markWidgetsShown());
    box("Check_mode")->click();
    button("ImageMute")->click();
    box("Check_mode")->click();
    button("ImageMute")->click();
    EXPECT_TRUE(editor().isMarkMode());
    EXPECT_FALSE(markWidgetsShown());
}

// Markage's New and Old (the columns' rules: MarksTable), and the chapter shown
TEST_F(MarkEditorUi, newAndOldFillTheNewColumn_keptWithinTheChapter_andAnotherChapterReloadsBoth) {
    box("Check_mode")->click();
    action("Mnu_NewMark")->trigger();
    EXPECT_EQ(cell(30, 1), "0,00000");
    action("Mnu_OldMark")->trigger();
    EXPECT_EQ(cell(30, 1), "300,00000");
    EXPECT_EQ(h.current(h.list("List_verset")), "30");
    action("Mnu_NewMark")->trigger();
    h.select(h.list("List_verset"), 3); // the same chapter from another verse
    EXPECT_EQ(cell(19, 1), "0,00000") << "New is kept within the chapter";
    EXPECT_EQ(cell(19, 2), "190,00000");
    EXPECT_EQ(label("Label4")->text(), "Bk5.4");
    h.select(h.list("List_chapitre"), 3);
    EXPECT_EQ(cell(2, 0), "Bk4.2");
    EXPECT_EQ(cell(19, 1), "190,00000");
    h.select(h.list("List_chapitre"), 5);
    EXPECT_EQ(cell(19, 1), "0");
    EXPECT_EQ(cell(19, 2), "0") << "a verse stored as 0 has its row";
}

TEST_F(MarkEditorUi, columnsAreAsWideAsTheirWidestTextAsTheViewMeasuresIt_andNeverBelow1020Twips) {
    box("Check_mode")->click();
    for (const int points : {9, 30}) {
        SCOPED_TRACE(points);
        QFont font = table()->font();
        font.setPointSize(points);
        table()->setFont(font);
        h.select(h.list("List_chapitre"), points == 9 ? 3 : 4);
        for (int c = 0; c < 3; ++c) {
            const int measured = std::max(static_cast<QAbstractItemView*>(table())->sizeHintForColumn(c),
                                          table()->header()->sectionSizeHint(c));
            EXPECT_EQ(table()->columnWidth(c), std::max(measured, 1020 / 15)) << "column " << c;
            if (points == 30) {
                EXPECT_GT(table()->columnWidth(c), 1020 / 15) << "column " << c;
            }
        }
    }
}

// taking a mark
TEST_F(MarkEditorUi, rightClickSelectsTheVerseAndTakesThePlayingPositionIntoNew) {
    showWindow();
    box("Check_mode")->click();
    const QString text = h.text();
    const int verse19 = int(text.indexOf("5.19   "));
    ASSERT_GE(verse19, 0);
    player->clock = 193.456789;
    rightClickAt(verse19 + 12); // inside the verse text
    EXPECT_EQ(h.view().passageBox().selectedText(), "5.19");
    EXPECT_EQ(cell(19, 1), "193,45678") << "cut after the fifth decimal, never rounded";
    EXPECT_EQ(cell(19, 2), "190,00000");
    EXPECT_EQ(currentRow(), 19);
    EXPECT_EQ(label("Label4")->text(), "Bk5.19");
    EXPECT_EQ(readBytes(bookFile()), before) << "nothing is written before Update";
}

TEST_F(MarkEditorUi, withTheSoundOffARightClickOnlySelectsTheVerse_forTheSecondWindow) {
    showWindow();
    QStringList mirrored;
    QObject::connect(&editor(), &marks::MarkEditor::verseLabelSelected,
                     [&](const QString& label) { mirrored << label; });
    button("ImageMute")->click();
    const int verse20 = int(h.text().indexOf("5.20   "));
    rightClickAt(verse20 + 3);
    EXPECT_EQ(h.view().passageBox().selectedText(), "5.20");
    EXPECT_EQ(cell(20, 1), "200,00000");
    EXPECT_EQ(mirrored, QStringList{"5.20"});
}

TEST_F(MarkEditorUi, leftClickOnARowReplaysThatVerseAlone_rightClickOpensMarkage) {
    showWindow();
    box("Check_mode")->click();
    clickRow(25, Qt::LeftButton);
    EXPECT_EQ(h.current(h.list("List_verset")), "25");
    EXPECT_EQ(h.current(h.list("List_verset_limite")), "25");
    EXPECT_EQ(h.text().count("   "), 1) << "a passage of one verse";
    EXPECT_EQ(lastSeek(), "250");
    EXPECT_EQ(player->statusText(), "Playing");
    player->calls.clear();
    clickRow(25, Qt::LeftButton); // the same row again still starts it again
    EXPECT_EQ(lastSeek(), "250");
    clickRow(40, Qt::LeftButton); // beyond the chapter: nothing
    EXPECT_EQ(h.current(h.list("List_verset")), "25");

    auto* menu = h.find<QMenu>("Mnu_Mark");
    EXPECT_EQ(menu->title(), "Markage");
    clickRow(3, Qt::RightButton);
    EXPECT_TRUE(menu->isVisible());
    menu->close();
    bool inMenuBar = false;
    for (QAction* a : h.window->menuBar()->actions())
        inMenuBar = inMenuBar || a->menu() == menu;
    EXPECT_TRUE(inMenuBar);
}

// backup and restore (which files a restore takes: MarksRestore)
TEST_F(MarkEditorUi, backupThenRestoreThroughTheDialogs) {
    // Faults: a backup replaced an existing file without a word; a restore took another chapter's
    // backup once its file name matched.
    box("Check_mode")->click();
    TempFolder out;
    const QString file = out.file("Bk05 Backup.txt");
    h.dialogs.answers = {file};
    action("Mnu_BackupMrk")->trigger();
    ASSERT_EQ(h.dialogs.requests.size(), 1u);
    EXPECT_EQ(h.dialogs.requests[0].title, "Backup to ...");
    EXPECT_EQ(h.dialogs.requests[0].fileName, "Bk05 Backup.txt");
    EXPECT_EQ(h.dialogs.requests[0].filter, "Fichier Texte (*.txt)|*.txt");
    EXPECT_TRUE(readBytes(file).startsWith("40N\t5\t1\t10,00000\r\n40N\t5\t2\t20,00000\r\n"));
    EXPECT_TRUE(h.prompts.asked.empty()) << "a new file: no question";

    // an existing file: asked first, No keeps it, Yes replaces it
    writeBytes(file, "keep me");
    h.dialogs.answers = {file};
    h.prompts.answers = {PromptAnswer::No};
    action("Mnu_BackupMrk")->trigger();
    ASSERT_EQ(h.prompts.asked.size(), 1u);
    EXPECT_EQ(h.prompts.asked[0].buttons, platform::PromptButtons::YesNo);
    EXPECT_EQ(readBytes(file), "keep me");
    h.dialogs.answers = {file};
    action("Mnu_BackupMrk")->trigger(); // Yes
    EXPECT_TRUE(readBytes(file).startsWith("40N\t5\t1\t10,00000\r\n"));

    h.prompts.asked.clear();
    action("Mnu_NewMark")->trigger();
    action("Mnu_RestoreMrk")->trigger(); // cancelled: nothing at all
    EXPECT_TRUE(h.prompts.asked.empty());
    EXPECT_EQ(cell(4, 1), "0,00000");
    h.dialogs.answers = {file};
    action("Mnu_RestoreMrk")->trigger();
    EXPECT_EQ(h.dialogs.requests.back().title, "Restore from ...");
    EXPECT_EQ(cell(4, 1), "40,00000"); // which lines give which marks: MarksRestore

    // the backup of chapter 5 while chapter 4 is shown
    h.select(h.list("List_chapitre"), 3);
    action("Mnu_NewMark")->trigger();
    h.dialogs.answers = {file};
    action("Mnu_RestoreMrk")->trigger();
    EXPECT_EQ(h.prompts.asked, (Asked{{"FILE NOT FOND or AVAILABLE : \r\nRESTORE Bk04 Backup.txt", "Lumora",
                                       platform::PromptButtons::Ok, Exclamation}}));
    EXPECT_EQ(cell(4, 1), "0,00000");
    EXPECT_EQ(readBytes(bookFile()), before);

    // chapter 4's backup under chapter 5's name
    h.select(h.list("List_chapitre"), 4);
    writeBytes(file, "40N\t4\t1\t1,00000\r\n40N\t4\t2\t2,00000\r\n\r\n");
    h.dialogs.answers = {file};
    h.prompts.asked.clear();
    action("Mnu_RestoreMrk")->trigger();
    ASSERT_EQ(h.prompts.asked.size(), 1u);
    EXPECT_TRUE(h.prompts.asked[0].text.contains("not verse 1 of book 40N, chapter 5"))
        << h.prompts.asked[0].text.toStdString();
    EXPECT_EQ(cell(1, 1), "10,00000");
}

// marks suggested from the recording
TEST_F(MarkEditorUi, suggestFillsNewFromTheChaptersRecording_andWritesNothing) {
    if (!haveSpeechTools()) GTEST_SKIP() << "espeak-ng and sox read the chapter";
    TempFolder tmp;
    const auto spoken = suggestFromChapter4ReadAs(tmp);
    ASSERT_TRUE(spoken);
    EXPECT_TRUE(h.prompts.asked.empty());
    for (int v = 1; v <= 30; ++v) {
        const double got = cell(v, 1).replace(',', '.').toDouble();
        EXPECT_NEAR(got, spoken->truth[std::size_t(v - 1)], 0.25) << "verse " << v;
        EXPECT_EQ(cell(v, 1).size(), cell(v, 1).indexOf(',') + 6) << "a mark text";
        EXPECT_EQ(cell(v, 2), QString::number(10 * v) + ",00000");
        EXPECT_TRUE(toolTip(v).isEmpty()) << "verse " << v;
    }
    EXPECT_EQ(readBytes(bookFile()), before);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    h.prompts.answers = {PromptAnswer::No}; // the suggestions are not written
    h.select(h.list("List_chapitre"), 4);   // chapter 5's recording is no sound at all
    ASSERT_EQ(h.prompts.asked.size(), 1u);
    EXPECT_EQ(readBytes(bookFile()), before);
    h.prompts.asked.clear();
    action("Mnu_SuggestMrk")->trigger();
    ASSERT_EQ(h.prompts.asked.size(), 1u);
    EXPECT_EQ(h.prompts.asked[0].icon, platform::PromptIcon::Exclamation);
    EXPECT_EQ(cell(4, 1), "40,00000");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Which starts are in doubt is the alignment's (AlignConfidence), how a doubt shows and when it
// goes the table's (MarkTableModel): here a doubt reaches the table with its reason.
TEST_F(MarkEditorUi, suggestedMarksInDoubtAreColouredWithTheReason) {
    if (!haveSpeechTools()) GTEST_SKIP() << "espeak-ng and sox read the chapter";
    TempFolder tmp;
    const int skipped = 10; // the reader skips it
    ASSERT_TRUE(suggestFromChapter4ReadAs(tmp, skipped));
    ASSERT_TRUE(h.prompts.asked.empty());
    EXPECT_TRUE(toolTip(skipped).startsWith("Check by ear: ")) << toolTip(skipped).toStdString();
    EXPECT_TRUE(at(skipped, 1).data(Qt::BackgroundRole).isValid());
}

// the mute button and Label24
TEST_F(MarkEditorUi, muteInMarkModeTargetsWindow2_andUnmuteGivesItUp) {
    box("Check_mode")->click();
    ASSERT_TRUE(markWidgetsShown());
    button("ImageMute")->click();
    EXPECT_FALSE(markWidgetsShown());
    EXPECT_EQ(Label24()->text(), "Window 2");
    EXPECT_FALSE(box("Check_repere")->isEnabled());
    EXPECT_TRUE(label("Label1")->isEnabled());
    EXPECT_FALSE(label("Label11")->isEnabled());
    EXPECT_EQ(h.list("List_livre")->parentWidget()->maximumWidth(), QWIDGETSIZE_MAX);

    button("ImageMute")->click(); // the sound back here: Label24 toggles once, mark mode is left
    EXPECT_FALSE(muted());
    EXPECT_EQ(Label24()->text(), "L O C A L");
    EXPECT_FALSE(box("Check_mode")->isChecked());
    EXPECT_FALSE(editor().isMarkMode());
    EXPECT_FALSE(markWidgetsShown());
    EXPECT_TRUE(box("Check_repere")->isEnabled());
    EXPECT_EQ(platform::shownPlayerPicture(button("ImageMute")), playback::kPictureSoundOn);
}

TEST_F(MarkEditorUi, twoClicksOnLabel24GiveBackTheFirstCaption) {
    EXPECT_EQ(Label24()->text(), "L O C A L");
    Label24()->click();
    EXPECT_EQ(Label24()->text(), "Window 2");
    EXPECT_TRUE(box("Check_mode")->isChecked());
    EXPECT_TRUE(muted()) << "the second window is served by hand, without the sound";
    EXPECT_EQ(player->statusText(), "Stopped");
    EXPECT_FALSE(markWidgetsShown());
    Label24()->click();
    EXPECT_EQ(Label24()->text(), "L O C A L");
    EXPECT_FALSE(box("Check_mode")->isChecked());
    EXPECT_FALSE(muted());
    EXPECT_TRUE(box("Check_repere")->isEnabled());

    // clearing Mark while the second window is served gives the target up too
    Label24()->click();
    box("Check_mode")->click();
    EXPECT_EQ(Label24()->text(), "L O C A L");
    EXPECT_FALSE(muted());
}

// regressions: marks that must never be wiped

TEST_F(MarkEditorUi, markageOutsideMarkModeDoesNothing) {
    // Fault: with "Mark" unticked, Markage -> New, then Update and OK wrote every mark of the
    // chapter as 0,00000.
    for (const char* name : {"Mnu_NewMark", "Mnu_OldMark", "Mnu_UpdateMrk", "Mnu_SuggestMrk", "Mnu_BackupMrk",
                             "Mnu_RestoreMrk", "Mnu_UndoMrk"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    EXPECT_FALSE(h.find<QMenu>("Mnu_Mark")->menuAction()->isEnabled());
    editor().newMarks();
    editor().updateMarks();
    editor().suggestMarks();
    EXPECT_EQ(cell(7, 1), "70,00000");
    EXPECT_TRUE(h.prompts.asked.empty());
    EXPECT_TRUE(h.dialogs.requests.empty());
    EXPECT_EQ(readBytes(bookFile()), before);
    box("Check_mode")->click();
    EXPECT_TRUE(action("Mnu_UpdateMrk")->isEnabled());
}

TEST_F(MarkEditorUi,
       updateConfirmedWritesTheGivenMarksOnly_keepingThePreviousOnes_andUndoWritesThemBackAndForth) {
    // Fault: Markage -> New filled New with 0,00000, and Update wrote those zeros over every
    // stored mark of the chapter.
    box("Check_mode")->click();
    action("Mnu_NewMark")->trigger();
    takeMark(4, 41.5);
    h.prompts.answers = {PromptAnswer::Cancel};
    action("Mnu_UpdateMrk")->trigger();
    EXPECT_EQ(h.prompts.asked,
              (Asked{{"C O N F I R M A T I O N  ?\r\n1 verse will change.", "Update", OkCancel}}));
    EXPECT_EQ(readBytes(bookFile()), before);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    takeMark(9, 0); // a zero the user gave on purpose
    h.prompts.asked.clear();
    action("Mnu_UpdateMrk")->trigger();
    EXPECT_EQ(h.prompts.asked,
              (Asked{{"C O N F I R M A T I O N  ?\r\n2 verses will change.", "Update", OkCancel}}))
        << "no message after a good write";
    // the two verses' marks only, every other byte kept: the reset zeros (verse 7's among them)
    // are not written
    QByteArray updated = before;
    updated.replace("\n40N\t5\t4\t40,00000\t", "\n40N\t5\t4\t41,50000\t");
    updated.replace("\n40N\t5\t9\t90,00000\t", "\n40N\t5\t9\t0,00000\t");
    EXPECT_EQ(readBytes(bookFile()), updated);
    EXPECT_EQ(cell(4, 2), "41,50000") << "Old reloaded from the file";
    EXPECT_EQ(cell(7, 1), "0,00000") << "the reset New stays on screen";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(readBytes(h.data.path() + "/Bible/AAA/Mark backups/Bk05 Backup.txt")
                    .startsWith("40N\t5\t1\t10,00000\r\n40N\t5\t2\t20,00000\r\n40N\t5\t3\t30,00000\r\n"));

    h.prompts.asked.clear();
    h.prompts.answers = {PromptAnswer::Cancel};
    action("Mnu_UndoMrk")->trigger();
    EXPECT_EQ(h.prompts.asked,
              (Asked{{"C O N F I R M A T I O N  ?\r\n2 verses will change.", "Undo last update", OkCancel}}));
    EXPECT_EQ(readBytes(bookFile()), updated);
    action("Mnu_UndoMrk")->trigger();
    EXPECT_EQ(readBytes(bookFile()), before);
    EXPECT_EQ(cell(4, 2), "40,00000");
    action("Mnu_UndoMrk")->trigger(); // the undone marks were kept in their turn
    EXPECT_EQ(readBytes(bookFile()), updated);

    h.select(h.list("List_chapitre"), 3); // chapter 4 was never updated
    h.prompts.asked.clear();
    action("Mnu_UndoMrk")->trigger();
    EXPECT_EQ(h.prompts.asked, (Asked{{"There is no update of Bk4 to undo.", "Undo last update",
                                       platform::PromptButtons::Ok, Exclamation}}));
}

TEST_F(MarkEditorUi, updateChecksAgainstTheOldMarksShown_andReportsAnotherWritersChanges) {
    // Fault: Update re-read the file into Old just before writing, so it reverted verse 4 (changed by
    // both) and verse 10 (changed by the other program only) without a word.
    takeMark(3, 31);
    takeMark(4, 41);
    takeMark(5, 51);
    // another program writes verses 4 and 10 meanwhile
    ASSERT_EQ(marks::UpdateOneMark(bookFile(), "40N", "5", "4", "44").status, marks::WriteStatus::Written);
    ASSERT_EQ(marks::UpdateOneMark(bookFile(), "40N", "5", "10", "104").status, marks::WriteStatus::Written);
    action("Mnu_UpdateMrk")->trigger();
    EXPECT_EQ(line(5, 3), "40N\t5\t3\t31,00000\tText 40 5:3");
    EXPECT_EQ(line(5, 4), "40N\t5\t4\t44,00000\tText 40 5:4") << "a conflict is left as the file has it";
    EXPECT_EQ(line(5, 5), "40N\t5\t5\t51,00000\tText 40 5:5");
    EXPECT_EQ(line(5, 10), "40N\t5\t10\t104,00000\tText 40 5:10") << "a row the user never changed";
    ASSERT_EQ(h.prompts.asked.size(), 2u);
    EXPECT_TRUE(h.prompts.asked[1].text.startsWith("The marks of verse(s) 4 were changed in the book file"))
        << h.prompts.asked[1].text.toStdString();
    EXPECT_EQ(cell(10, 1), "104,00000") << "New follows the file where the user changed nothing";
    EXPECT_EQ(cell(4, 1), "41,00000");
    EXPECT_EQ(cell(4, 2), "44,00000");
}

TEST_F(MarkEditorUi, cmdMajRefusesAPoint_writesTheVerseLabel4Names_afterKeysMovedTheRow_andTheLivePosition) {
    // Fault: arrow keys moved ListView1's current row silently; Label4 still named verse 5 while
    // " Update" overwrote verse 8.
    box("Check_mode")->click();
    h.select(h.list("List_verset"), 4); // verse 5 to the end, row 5 selected
    player->pause();                    // while it plays, the box shows the playing position
    ASSERT_EQ(label("Label4")->text(), "Bk5.5");
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    for (int i = 0; i < 3; ++i)
        QApplication::sendEvent(table(), &down);
    EXPECT_EQ(label("Label4")->text(), "Bk5.8");
    EXPECT_EQ(label("Lbl_Position")->text(), "80,00000");
    label("Lbl_Position")->setText("81.5");
    h.find<QPushButton>("Cmd_Maj")->click();
    EXPECT_EQ(h.prompts.asked,
              (Asked{{"Erreur de saisie", "Attention", platform::PromptButtons::Ok, Exclamation}}));
    EXPECT_EQ(readBytes(bookFile()), before);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    label("Lbl_Position")->setText("81,5");
    player->calls.clear();
    h.find<QPushButton>("Cmd_Maj")->click();
    EXPECT_EQ(line(5, 8), "40N\t5\t8\t81,50000\tText 40 5:8");
    EXPECT_EQ(line(5, 7), "40N\t5\t7\t70,00000\tText 40 5:7");
    EXPECT_EQ(line(5, 5), "40N\t5\t5\t50,00000\tText 40 5:5");
    EXPECT_EQ(label("Label4")->text(), "Bk5.8");
    EXPECT_TRUE(player->calls.contains("stop"));
    EXPECT_EQ(h.current(h.list("List_verset_limite")), "8") << "a passage of the one verse";
    EXPECT_EQ(h.list("List_verset_limite")->currentRow(), 0);
    EXPECT_EQ(lastSeek(), "81.5") << "replayed from the new mark";
    EXPECT_EQ(cell(8, 1), "81,50000");
    EXPECT_EQ(cell(8, 2), "81,50000");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(h.prompts.asked.size(), 1u);

    // playing: the box shows the position " Update" writes, not the row's stored mark
    player->play();
    player->clock = 123.456789;
    editor().showLivePosition();
    EXPECT_EQ(label("Lbl_Position")->text(), "123,45678");
    player->clock = 125.5;
    h.find<QPushButton>("Cmd_Maj")->click();
    EXPECT_EQ(line(5, 8), "40N\t5\t8\t125,50000\tText 40 5:8");

    // a row past the chapter's end: told, nothing written
    const QByteArray now = readBytes(bookFile());
    setCurrentRow(41);
    EXPECT_EQ(label("Label4")->text(), "");
    label("Lbl_Position")->setText("5");
    h.prompts.asked.clear();
    h.find<QPushButton>("Cmd_Maj")->click();
    ASSERT_EQ(h.prompts.asked.size(), 1u);
    EXPECT_EQ(h.prompts.asked[0].icon, platform::PromptIcon::Exclamation);
    EXPECT_EQ(readBytes(bookFile()), now);
}

TEST_F(MarkEditorUi, cmdOkSelectsTheVersesRowAlsoWithoutARecording) {
    // Fault: Cmd_OK reselected ListView1's row (and Label4) only when the chapter had a recording.
    box("Check_mode")->click();
    ASSERT_TRUE(QFile::remove(h.data.path() + "/Bible/AAA/Sound/Bk05.mp3"));
    h.select(h.list("List_verset"), 6);
    setCurrentRow(20);
    ASSERT_EQ(label("Label4")->text(), "Bk5.20");
    h.find<bible::BiblePlayer>("biblePlayer")->cmdOk();
    EXPECT_EQ(currentRow(), 7);
    EXPECT_EQ(label("Label4")->text(), "Bk5.7");
}

TEST_F(MarkEditorUi, newMarksNotYetWrittenAreNeverDroppedWithoutAsking) {
    // Fault: another chapter, Markage's New, Old, Suggest and Restore, and closing the window all
    // discarded the New column without a word.
    takeMark(2, 22);
    h.prompts.answers = {PromptAnswer::Cancel};
    action("Mnu_NewMark")->trigger();
    ASSERT_EQ(h.prompts.asked.size(), 1u);
    EXPECT_EQ(h.prompts.asked[0].text, "The New marks not yet written (1 verse) will be replaced.");
    EXPECT_EQ(cell(2, 1), "22,00000");
    h.prompts.answers = {PromptAnswer::Cancel};
    action("Mnu_OldMark")->trigger();
    EXPECT_EQ(cell(2, 1), "22,00000");

    // closing: Cancel keeps the window, No closes without writing
    h.prompts.answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(h.window->close());
    EXPECT_EQ(h.prompts.asked.back().buttons, platform::PromptButtons::YesNoCancel);
    EXPECT_EQ(h.prompts.asked.back().text,
              "The New marks of Bk5 (1 verse) are not written yet.\r\nWrite them into the book file before "
              "closing?");

    // another chapter: No drops them, Yes writes them into the chapter they belong to
    h.prompts.answers = {PromptAnswer::No};
    h.select(h.list("List_chapitre"), 3);
    EXPECT_EQ(h.prompts.asked.back().text,
              "The New marks of Bk5 (1 verse) are not written yet.\r\nWrite them into the book file now?");
    EXPECT_EQ(readBytes(bookFile()), before);
    h.select(h.list("List_chapitre"), 4);
    takeMark(2, 23);
    h.prompts.answers = {PromptAnswer::Yes};
    h.select(h.list("List_chapitre"), 3);
    EXPECT_EQ(line(5, 2), "40N\t5\t2\t23,00000\tText 40 5:2");
    EXPECT_EQ(cell(2, 0), "Bk4.2");
    const std::size_t asked = h.prompts.asked.size();
    EXPECT_TRUE(h.window->close()) << "nothing pending: no question";
    EXPECT_EQ(h.prompts.asked.size(), asked);
}
