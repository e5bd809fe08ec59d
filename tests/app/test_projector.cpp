// The projector as the operator drives it in a service: a typed reference, the clone verse by
// verse with the reading, the cover keys, and the choices kept for the next start.

#include "app/nowshowingfeed.h"
#include "app/windowlinks.h"
#include "bible/ui/bibleplayer.h"
#include "bible/ui/quickreference.h"
#include "bible/ui/versefollower.h"
#include "platform/richtextbox.h"
#include "session/usersettings.h"
#include "support/mainwindow.h"
#include "support/psalm23.h"
#include "windows/ui/clonewindow.h"
#include "windows/ui/versepanel.h"

#include "bible/ui/secondversion.h"

#include <QImage>
#include <QShortcut>
#include <algorithm>

namespace lumora::testing {
namespace {

void press(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent e(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(w, &e);
}

class Projector : public ::testing::Test {
  protected:
    void SetUp() override {
        std::vector<FixtureBook> books = psalm23Books();
        books[42] = {43, QStringLiteral("John"), 21, [](int c) { return c == 3 ? 36 : 20; }, "Jn"};
        books[31].name = QStringLiteral("Jonah");
        books[28].name = QStringLiteral("Joel");
        writeFixtureVersion(h.data.path(), "KJV", books, psalm23Options());
        writeBytes(h.data.path() + "/Bible/KJV/Sound/Ps23.mp3", "x");
        // A second version in another order of books, whose Psalm 23 lacks its last verse.
        std::vector<FixtureBook> other = fixtureBooks(3, 10);
        other[18] = {19, QStringLiteral("Salmos"), 150, [](int c) { return c == 23 ? 5 : 10; }, "Sal"};
        std::rotate(other.begin(), other.begin() + 39, other.end());
        FixtureOptions otherText;
        otherText.text = [](int b, int c, int v) { return "Verso " + fixtureVerseText(b, c, v); };
        writeFixtureVersion(h.data.path(), "RV", other, otherText);
        writeBytes(h.data.path() + "/Bible/Version.txt", "KJV - King James Version\r\nRV - Reina Valera\r\n");
        ASSERT_TRUE(h.open());
        links = h.find<app::WindowLinks>("windowLinks");
        quick = &links->quickReference();
        clone = &links->clone();
    }
    const session::ShownPassage& shown() const { return links->nowShowing().now().passage; }
    windows::VersePanel& panel() const { return clone->window()->versePanel(); }
    void type(const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        quick->box()->setText(text);
        press(quick->box(), Qt::Key_Return, modifiers);
    }
    // The following's timer ticks a few times at this position of the recording.
    void hear(double seconds) {
        h.players.front()->clock = seconds;
        for (int tick = 0; tick < 8; ++tick)
            h.find<bible::VerseFollower>("follower")->step();
    }

    MainWindowHarness h;
    app::WindowLinks* links = nullptr;
    bible::QuickReference* quick = nullptr;
    windows::CloneWindow* clone = nullptr;
};

} // namespace

// the quick reference (its parsing is tested in tests/bible/test_reference.cpp)
TEST_F(Projector, aTypedReference_selectsWhatTheListsSelect_orSaysWhyAndMovesNothing) {
    struct Case {
        const char* typed;
        session::PassageRef ref;
    };
    const Case cases[] = {
        {"jn 3:16-18", {"KJV", 43, 3, 16, 18}},
        {"Ps 23", {"KJV", 19, 23, 1, 6}}, // a whole chapter is its first verse to its last
        {"john 3.16", {"KJV", 43, 3, 16, 16}},
    };
    for (const Case& c : cases) {
        h.nav().openPassage({"KJV", 1, 1, 1, 1});
        ASSERT_TRUE(h.nav().openPassage(c.ref)) << c.typed;
        const session::ShownPassage byLists = shown();
        const QString listsText = h.text();
        h.nav().openPassage({"KJV", 1, 1, 1, 1});
        type(QString::fromLatin1(c.typed));
        EXPECT_EQ(quick->answer(), "") << c.typed;
        EXPECT_EQ(shown(), byLists) << c.typed << ": same passage, heading, verses and marks";
        EXPECT_EQ(h.text(), listsText) << c.typed;
        EXPECT_EQ(h.current(h.list("List_livre")), h.nav().rowText(session::NavLevel::Book, c.ref.book - 1));
    }
    EXPECT_EQ(clone->shows(), session::CloneShows::Nothing) << "Enter alone leaves the clone closed";

    const session::ShownPassage before = shown();
    for (const auto& [typed, said] : {std::pair{"Jo 3", "could be"}, {"jn 22", "21 chapters"}}) {
        type(QString::fromLatin1(typed));
        EXPECT_TRUE(quick->answer().contains(QString::fromLatin1(said)))
            << typed << ": " << quick->answer().toStdString();
        EXPECT_TRUE(h.find<QLabel>("Lbl_Reference")->isVisibleTo(quick->widget())) << typed;
        EXPECT_EQ(shown(), before) << typed;
    }
    quick->box()->setText("jn 3:16");
    emit quick->box()->textEdited("jn 3:16");
    EXPECT_EQ(quick->answer(), "") << "typing again takes the answer away";
}

TEST_F(Projector, history_keepsTheLastTwentyOnce_completionOffersTheBookNames_shiftEnterSendsToTheClone) {
    for (int v = 1; v <= 25; ++v)
        type(QStringLiteral("jn 3:%1").arg(v));
    type("jn 3:24");
    type("nothing 1");
    ASSERT_EQ(quick->history().size(), bible::QuickReference::kHistorySize);
    EXPECT_EQ(quick->history().front(), "jn 3:24");
    EXPECT_EQ(quick->history().at(1), "jn 3:25");
    EXPECT_EQ(quick->history().back(), "jn 3:6");
    EXPECT_EQ(quick->history().count("jn 3:24"), 1);
    press(quick->box(), Qt::Key_Up);
    press(quick->box(), Qt::Key_Up);
    EXPECT_EQ(quick->box()->text(), "jn 3:25");
    press(quick->box(), Qt::Key_Down);
    EXPECT_EQ(quick->box()->text(), "jn 3:24");

    const QStringList names = quick->completions();
    EXPECT_TRUE(names.contains("Psalms"));
    EXPECT_TRUE(names.contains("John"));
    EXPECT_FALSE(names.contains("43 John"));
    type("jn 3:16", Qt::ShiftModifier);
    ASSERT_EQ(clone->shows(), session::CloneShows::Passage);
    EXPECT_TRUE(clone->window()->textPassage()->toPlainText().contains("Text 43 3:16"));
    EXPECT_EQ(clone->window()->windowTitle(), shown().heading);
}

// Verse by verse: the reading and the keys step it (the groups and the ends are tested in
// tests/windows/test_versepanel.cpp). Passage mode is the default and leaves Page Down to the
// passage. A presenter clicker sends Page Down / Page Up to the window that has the focus, the
// operator's: they stepped only a clone window that had the focus itself.
TEST_F(Projector, versesMode_stepsWithTheReading_andWithTheKeysOfBothWindows) {
    auto* next = h.find<QShortcut>("cloneNextKey");
    auto* previous = h.find<QShortcut>("clonePreviousKey");
    type("Ps 23", Qt::ShiftModifier);
    EXPECT_EQ(clone->mode(), windows::CloneMode::Passage);
    EXPECT_FALSE(clone->window()->isPanelShown());
    EXPECT_FALSE(clone->action("Mnu_CloneNext")->isEnabled()) << "Page Down scrolls the passage";
    EXPECT_FALSE(next->isEnabled()) << "in passage mode Page Down scrolls the passage";

    clone->setMode(windows::CloneMode::Verses);
    ASSERT_TRUE(clone->window()->isPanelShown());
    EXPECT_FALSE(clone->window()->textPassage()->isVisible());
    EXPECT_EQ(panel().shownLabels().front(), "23.1");
    EXPECT_TRUE(panel().referenceLine().startsWith("Psalms 23:1")) << panel().referenceLine().toStdString();
    // The reading: each verse heard is on the screen.
    for (const auto& [at, label] : {std::pair{5.0, "23.2"}, {11.0, "23.3"}, {30.0, "23.5"}}) {
        hear(at);
        EXPECT_TRUE(panel().shownLabels().contains(QString::fromLatin1(label))) << at;
    }
    for (int i = 0; i < 10; ++i)
        clone->action("Mnu_CloneNext")->trigger();
    EXPECT_EQ(panel().stepIndex(), panel().stepCount() - 1);
    EXPECT_TRUE(panel().shownLabels().contains("23.6"));
    for (int i = 0; i < 10; ++i)
        clone->action("Mnu_ClonePrevious")->trigger();
    EXPECT_EQ(panel().stepIndex(), 0);
    const QList<QKeySequence> nextKeys = clone->action("Mnu_CloneNext")->shortcuts();
    for (const Qt::Key key : {Qt::Key_PageDown, Qt::Key_Down, Qt::Key_Right})
        EXPECT_TRUE(nextKeys.contains(QKeySequence(key))) << key;
    EXPECT_TRUE(clone->action("Mnu_ClonePrevious")->shortcuts().contains(QKeySequence(Qt::Key_PageUp)));

    ASSERT_TRUE(next->isEnabled());
    emit next->activated();
    emit next->activated();
    EXPECT_EQ(panel().stepIndex(), 2);
    emit previous->activated();
    EXPECT_EQ(panel().stepIndex(), 1);
    clone->closeWindow();
    EXPECT_FALSE(next->isEnabled()) << "a closed clone takes no key";
}

// A second version, on both faces (its layouts are tested in tests/windows/test_secondpassage.cpp).
TEST_F(Projector, aSecondVersion_matchesEachVerseByItsNumbers_onBothFaces_andIsKeptWithTheClonesChoices) {
    QComboBox* also = h.combo("ComboBox_AlsoShow");
    EXPECT_EQ(also->currentText(), "none") << "none by default";
    type("Ps 23:4-6", Qt::ShiftModifier);
    EXPECT_FALSE(clone->window()->box().plainText().contains("Verso")) << "none chosen: the passage alone";
    for (const windows::VerseCell& c : panel().verses())
        EXPECT_EQ(c.second, "") << c.label.toStdString();
    also->setCurrentIndex(also->findText("RV - Reina Valera"));
    emit also->activated(also->currentIndex());
    const QList<windows::VerseCell> cells = panel().verses();
    ASSERT_EQ(cells.size(), 3);
    EXPECT_EQ(cells[0].text, kPsalm23[3]);
    EXPECT_EQ(cells[0].second, "Verso Text 19 23:4") << "the book by its number, not its row";
    EXPECT_EQ(cells[1].second, "Verso Text 19 23:5");
    EXPECT_EQ(cells[2].second, "") << "verse 6 is missing there: an empty cell, never another verse";
    const QString stacked = clone->window()->box().plainText();
    const qsizetype verse4 = stacked.indexOf(kPsalm23[3]);
    ASSERT_GE(verse4, 0);
    EXPECT_EQ(stacked.indexOf("Verso Text 19 23:4"), verse4 + qstrlen(kPsalm23[3]) + 1) << "under its verse";
    EXPECT_FALSE(stacked.contains("23:6")) << "verse 6 is missing there: nothing stands for it";

    // The following still lights the verse heard, also once laid out again.
    clone->onVerseSelected("23.5");
    platform::RichTextBox& box = clone->window()->box();
    EXPECT_EQ(box.selectedText(), "23.5");
    clone->action("Mnu_CloneSideBySide")->trigger();
    EXPECT_EQ(clone->secondLayout(), windows::SecondLayout::SideBySide);
    EXPECT_EQ(box.selectedText(), "23.5") << "laid out again on the verse it was lighting";
    EXPECT_TRUE(box.plainText().contains("Verso Text 19 23:5"));

    // Kept for the next start: the version by its code, and the clone's choices. The mute switch
    // once wrote its own field alone, and the clone's choices were lost with it.
    const QString file = h.where().settingsFile;
    clone->action("Mnu_CloneVerses")->trigger();
    EXPECT_TRUE(session::LoadUserSettings(file).cloneVerses);
    h.find<bible::BiblePlayer>("biblePlayer")->toggleMute();
    const session::UserSettings kept = session::LoadUserSettings(file);
    EXPECT_EQ(kept.cloneAlsoShow, "RV");
    EXPECT_TRUE(kept.bibleAudioMuted);
    EXPECT_TRUE(kept.cloneVerses);
    EXPECT_TRUE(kept.cloneSideBySide);
    also->setCurrentIndex(0);
    clone->setMode(windows::CloneMode::Passage);
    clone->setSecondLayout(windows::SecondLayout::Stacked);
    links->onLoaded();
    EXPECT_EQ(also->currentText(), "RV - Reina Valera");
    EXPECT_EQ(clone->mode(), windows::CloneMode::Verses);
    EXPECT_EQ(clone->secondLayout(), windows::SecondLayout::SideBySide);
}

TEST(SecondVersionMatch, byChapterAndVerse_emptyWhereMissing) {
    using V = session::ShownVerse;
    const QList<V> shown{{3, 16, "3.16", "a", "0"}, {3, 17, "3.17", "b", "0"}, {3, 18, "3.18", "c", "0"}};
    const QList<V> other{{3, 18, "3.18", "C", "0"}, {3, 16, "3.16", "A", "0"}, {4, 17, "4.17", "x", "0"}};
    EXPECT_EQ(bible::matchVerses(shown, other), QStringList({"A", "", "C"}));
    EXPECT_EQ(bible::matchVerses(shown, {}), QStringList({"", "", ""}));
}

// blank and logo
TEST_F(Projector, blankAndLogo_keepFollowingUnderneath_theSameKeyBringsTheVerseHeard_theLogoPictureIsKept) {
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString picture = h.data.path() + "/logo.png";
    ASSERT_TRUE(red.save(picture));
    writeBytes(h.data.path() + "/notes.png", "not a picture");
    h.dialogs.answers = {picture, h.data.path() + "/notes.png", std::nullopt};
    clone->action("Mnu_CloneLogoPicture")->trigger();
    EXPECT_EQ(session::LoadUserSettings(h.where().settingsFile).cloneLogo, picture);

    clone->setMode(windows::CloneMode::Verses);
    type("Ps 23", Qt::ShiftModifier);
    hear(5.0);
    clone->action("Mnu_CloneBlank")->trigger();
    hear(11.0);
    EXPECT_EQ(clone->cover(), windows::Cover::Black);
    EXPECT_EQ(panel().cover(), windows::Cover::Black);
    hear(17.5);
    clone->action("Mnu_CloneBlank")->trigger();
    EXPECT_EQ(panel().cover(), windows::Cover::None);
    EXPECT_TRUE(panel().shownLabels().contains("23.4")) << "back on the verse being read";

    // Over the whole passage too, and the logo key from the main window's page (F8).
    clone->setMode(windows::CloneMode::Passage);
    EXPECT_FALSE(clone->window()->isPanelShown());
    clone->toggleCover(windows::Cover::Logo);
    EXPECT_TRUE(clone->window()->isPanelShown());
    EXPECT_EQ(panel().logo().size(), QSize(40, 20));
    for (int i = 0; i < 2; ++i)
        clone->action("Mnu_CloneLogoPicture")->trigger(); // no picture, then a cancel
    EXPECT_EQ(panel().logo().size(), QSize(40, 20));
    EXPECT_EQ(session::LoadUserSettings(h.where().settingsFile).cloneLogo, picture);
    clone->toggleCover(windows::Cover::Black);
    EXPECT_EQ(clone->cover(), windows::Cover::Black) << "the other key switches the cover";
    clone->toggleCover(windows::Cover::Black);
    EXPECT_FALSE(clone->window()->isPanelShown());
    EXPECT_TRUE(clone->window()->textPassage()->isVisible());
}

TEST_F(Projector, everyNewAction_hasAKeyInItsTooltipAndAName) {
    for (QAction* a : clone->actions()) {
        const std::string name = a->objectName().toStdString();
        EXPECT_FALSE(a->text().isEmpty()) << name;
        EXPECT_TRUE(name == "Mnu_CloneLogoPicture" || !a->shortcuts().isEmpty()) << name << " has no key";
        for (const QKeySequence& k : a->shortcuts())
            EXPECT_TRUE(a->toolTip().contains(k.toString(QKeySequence::NativeText))) << name;
    }
}

} // namespace lumora::testing
