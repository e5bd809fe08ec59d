// The one "now showing" state of the main window, as a scripted service drives it.

#include "app/nowshowingfeed.h"
#include "app/windowlinks.h"
#include "bible/ui/versefollower.h"
#include "hymns/hymnfixture.h"
#include "support/clicks.h"
#include "support/mainwindow.h"
#include "support/psalm23.h"
#include "windows/ui/clonewindow.h"

namespace lumora::testing {
namespace {

class NowShowingSequence : public ::testing::Test {
  protected:
    void SetUp() override {
        std::vector<FixtureBook> books = psalm23Books();
        books[42].name = QStringLiteral("John");
        writeFixtureVersion(h.data.path(), "KJV", books, psalm23Options());
        writeBytes(h.data.path() + "/Bible/KJV/Sound/Ps23.mp3", "x");
        writeBytes(h.data.path() + "/Bible/Version.txt", "KJV - King James Version\r\n");
        writeBytes(h.data.path() + "/Cantiques/Alpha/Hira.txt",
                   crlfLines({hymnEntry("1 - Gloire", "Louange", "Noël", "Alpha"),
                              hymnEntry("2 - Joie", "Louange", "Noël", "Alpha")}));
        writeBytes(h.data.path() + "/Cantiques/Alpha/parole/1.txt", "Gloire au Père\r\nEt au Fils\r\n");
        writeBytes(h.data.path() + "/Cantiques/Alpha/parole/2.txt", "Joie du monde\r\n");
        ASSERT_TRUE(h.open());
        feed = &h.find<app::WindowLinks>("windowLinks")->nowShowing();
        QObject::connect(feed, &app::NowShowingFeed::changed,
                         [this](const session::NowShowing& now) { seen << session::describe(now); });
    }
    QStringList take() { return std::exchange(seen, {}); }

    MainWindowHarness h;
    app::NowShowingFeed* feed = nullptr;
    QStringList seen;
};

} // namespace

TEST_F(NowShowingSequence, aPickASearchHitTheFollowingAHymnAndTheClone) {
    const QString hymn1 = " | hymn 1 - Gloire | ", hymn2 = " | hymn 2 - Joie | ";
    // A pick through the lists: the book shows its first chapter, then Psalm 23, whose recording
    // starts at its first mark.
    h.select(h.list("List_livre"), 18);
    h.select(h.list("List_chapitre"), 22);
    EXPECT_EQ(take(), QStringList({
                          "bible KJV 19 1:1-10 heard -" + hymn1 + "bible - 0s | hymn - 0s | clone -",
                          "bible KJV 19 23:1-6 heard -" + hymn1 + "bible - 0s | hymn - 0s | clone -",
                          "bible KJV 19 23:1-6 heard -" + hymn1 + "bible Playing 0s | hymn - 0s | clone -",
                      }));
    const session::ShownPassage& psalm = feed->now().passage;
    EXPECT_EQ(psalm.versionEntry, "KJV - King James Version");
    EXPECT_EQ(psalm.heading, h.find<QLabel>("Labe16")->text());
    ASSERT_EQ(psalm.verses.size(), 6);
    EXPECT_EQ(psalm.verses[3], (session::ShownVerse{23, 4, "23.4", kPsalm23[3], "17,20000"}));

    // A search hit: "valley" is in verse 4 only. The chapter's recording is let go first.
    h.find<QLineEdit>("Text_achercher")->setText("valley");
    h.find<QPushButton>("Cmd_cherche_passage")->click();
    EXPECT_EQ(take(), QStringList({
                          "bible KJV 19 23:1-6 heard -" + hymn1 + "bible Closed 0s | hymn - 0s | clone -",
                          "bible KJV 19 23:4 heard -" + hymn1 + "bible Closed 0s | hymn - 0s | clone -",
                          "bible KJV 19 23:4 heard -" + hymn1 + "bible Playing 0s | hymn - 0s | clone -",
                      }));
    ASSERT_EQ(feed->now().passage.verses.size(), 1);

    // The whole chapter again, and the recording followed through three verses: each step names
    // the verse heard, and the position read after it.
    h.select(h.list("List_verset"), 0);
    h.select(h.list("List_verset_limite"), 5);
    FakeMediaPlayer* player = h.players.front();
    auto* follower = h.find<bible::VerseFollower>("follower");
    for (const double at : {1.0, 5.0, 11.0}) {
        player->clock = at;
        follower->step();
        feed->samplePositions();
    }
    const QString chapter = "bible KJV 19 23:1-6 heard ";
    EXPECT_EQ(take(), QStringList({
                          "bible KJV 19 23:4 heard -" + hymn1 + "bible Closed 0s | hymn - 0s | clone -",
                          chapter + "-" + hymn1 + "bible Closed 0s | hymn - 0s | clone -",
                          chapter + "-" + hymn1 + "bible Playing 0s | hymn - 0s | clone -",
                          chapter + "23.1" + hymn1 + "bible Playing 0s | hymn - 0s | clone -",
                          chapter + "23.1" + hymn1 + "bible Playing 1s | hymn - 0s | clone -",
                          chapter + "23.2" + hymn1 + "bible Playing 1s | hymn - 0s | clone -",
                          chapter + "23.2" + hymn1 + "bible Playing 5s | hymn - 0s | clone -",
                          chapter + "23.3" + hymn1 + "bible Playing 5s | hymn - 0s | clone -",
                          chapter + "23.3" + hymn1 + "bible Playing 11s | hymn - 0s | clone -",
                      }));
    EXPECT_EQ(h.view().passageBox().selectedText(), "23.3") << "the box lights the verse the value names";

    // A hymn on the Canticle tab (it has no recording), then the clone of it.
    h.find<QTabWidget>("SSTab_LMR")->setCurrentIndex(1);
    h.select(h.combo("ComboBox_Chant"), 1);
    leftClick(h.find<QLabel>("Label13"));
    const QString heard = "hymns KJV 19 23:1-6 heard 23.3";
    EXPECT_EQ(take(), QStringList({
                          heard + hymn1 + "bible Playing 11s | hymn - 0s | clone -",
                          heard + hymn2 + "bible Playing 11s | hymn - 0s | clone -",
                          heard + hymn2 + "bible Playing 11s | hymn - 0s | clone hymn",
                      }));
    const session::ShownHymn& joie = feed->now().hymn;
    EXPECT_EQ(joie.book, "Alpha");
    EXPECT_EQ(joie.title, "Joie");
    EXPECT_EQ(joie.wordsPlain, "Joie du monde");
    EXPECT_EQ(h.find<windows::CloneWindow>("cloneWindow")->window()->textPassage()->toPlainText(),
              joie.wordsPlain);

    // Closing the clone is the last change.
    h.find<windows::CloneWindow>("cloneWindow")->closeWindow();
    EXPECT_EQ(take(), QStringList({heard + hymn2 + "bible Playing 11s | hymn - 0s | clone -"}));
}

// The verses of a passage are found in the box in order, so that a label written inside a
// verse's text or a title never stands for the verse.
TEST(NowShowing, verseLabelStartsAreFoundInOrderAtLineStarts) {
    const QString text =
        QString(QChar(0xFEFF)) + "3.1   In 3.2   words\n\nTITLE 3.2\n3.2   Then\n3.10   Last";
    const QHash<QString, int> starts = session::verseLabelStarts(text, {"3.1", "3.2", "3.10", "3.11"});
    EXPECT_EQ(starts.value("3.1"), 1);
    EXPECT_EQ(starts.value("3.2"), text.indexOf("3.2   Then"));
    EXPECT_EQ(starts.value("3.10"), text.indexOf("3.10"));
    EXPECT_FALSE(starts.contains("3.11")) << "a verse the text lacks";
    EXPECT_EQ(session::verseLabelStarts(text, {"3.10", "3.1"}).value("3.1", -1), -1)
        << "found after the verse before it, never earlier";
}

} // namespace lumora::testing
