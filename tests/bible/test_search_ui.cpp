#include "bible/ui/biblesearch.h"
#include "support/mainwindow.h"

#include <QListView>

using namespace lumora;
using namespace lumora::testing;

namespace {

// Version AAA: "Manna" in twelve verses of book 2 and in 40 5:18; version BBB: "Zorobabel" in 43 3:16.
class SearchUi : public ::testing::Test {
  protected:
    MainWindowHarness h;
    void SetUp() override {
        FixtureOptions a;
        a.text = [](int b, int c, int v) -> QByteArray {
            if (b == 2 && c == 1 && v <= 12) return "the manna fell " + QByteArray::number(v);
            if (b == 40 && c == 5 && v == 18) return "one jot, MANNA";
            if (b == 3 && c == 2 && v == 4) return "the firstborn of the flock";
            return fixtureVerseText(b, c, v);
        };
        writeFixtureVersion(h.data.path(), "AAA", fixtureBooks(6, 25), a);
        FixtureOptions b;
        b.text = [](int bk, int c, int v) -> QByteArray {
            if (bk == 43 && c == 3 && v == 16) return "son of Zorobabel";
            return fixtureVerseText(bk, c, v);
        };
        writeFixtureVersion(h.data.path(), "BBB", fixtureBooks(6, 25), b);
        writeBytes(h.data.path() + "/Bible/Version.txt", "AAA - First\r\nBBB - Second\r\n");
        ASSERT_TRUE(h.open());
    }
    bible::BibleSearch& s() { return h.search(); }
    void searchFor(const QString& text) {
        h.find<QLineEdit>("Text_achercher")->setText(text);
        h.find<QPushButton>("Cmd_cherche_passage")->click();
    }
    void pick(int index) {
        h.combo("ComboBox_passage_trouve")->setCurrentIndex(index);
        emit h.combo("ComboBox_passage_trouve")->activated(index);
    }
    QStringList entries() {
        QStringList out;
        for (int i = 0; i < h.combo("ComboBox_passage_trouve")->count(); ++i)
            out << h.combo("ComboBox_passage_trouve")->itemText(i);
        return out;
    }
    QString counter() { return h.find<QLabel>("Lbl_Nbr_passage_trouve")->text(); }
    QTextCharFormat formatAt(int pos) {
        QTextCursor c(h.find<QTextEdit>("Text_Passage")->document());
        c.setPosition(pos + 1);
        return c.charFormat();
    }
};

} // namespace

TEST_F(SearchUi, hitInAnotherVersion_switchesListVersionAndHighlightsTheWord) {
    h.combo("List_version")->setCurrentIndex(1);
    searchFor("zorobabel");
    ASSERT_EQ(entries(), (QStringList{"43 Book43 3.16-16", "????"}));

    h.combo("List_version")->setCurrentIndex(0); // the user goes back to the first version
    pick(0);
    EXPECT_EQ(h.combo("List_version")->currentIndex(), 1);
    EXPECT_EQ(h.list("List_livre")->currentRow(), 42);
    EXPECT_EQ(h.current(h.list("List_chapitre")), "3");
    EXPECT_EQ(h.current(h.list("List_verset")), "16");
    const int at = static_cast<int>(h.text().toUpper().indexOf("ZOROBABEL"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(h.view().passageBox().selectionStart(), at);
    EXPECT_EQ(h.view().passageBox().selectedText(), "Zorobabel");
    EXPECT_EQ(formatAt(at).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(at).foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(counter(), "1 / 1");
}

TEST_F(SearchUi, searchShowsFirstHitAtOnce_andCountsPicks_theTrailingEntryAndABlankSearchChangeNothing) {
    searchFor("Manna");
    EXPECT_EQ(entries().size(), 14); // twelve in book 2, one in book 40, "????"
    EXPECT_TRUE(s().SearchReady());
    EXPECT_EQ(counter(), "1 / 13");
    EXPECT_EQ(h.find<QLabel>("Labe16")->text(), "02 Book2 1 : 1"); // the hit verse alone
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    pick(2);
    EXPECT_EQ(h.current(h.list("List_verset")), "3");
    EXPECT_EQ(counter(), "3 / 13");

    // picking the trailing entry changes nothing
    pick(4);
    const QString passage = h.text();
    const QStringList before = entries();
    pick(13);
    EXPECT_EQ(h.text(), passage);
    EXPECT_EQ(counter(), "5 / 13");
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(h.current(h.list("List_verset")), "5");

    // a blank search lists only the trailing entry, keeps the hits, and picks are ignored
    const QList<bible::SearchHit> hits = s().hits();
    searchFor(" ");
    EXPECT_EQ(entries(), QStringList{"????"});
    EXPECT_FALSE(s().SearchReady());
    ASSERT_EQ(s().hits().size(), hits.size());
    EXPECT_EQ(s().hits().first().ref, hits.first().ref);
    EXPECT_EQ(counter(), "");
    pick(0);
    EXPECT_EQ(h.text(), passage);
    EXPECT_TRUE(h.prompts.asked.empty());
}

TEST_F(SearchUi, noHitListsOnlyTheTrailingEntry_typedTextIsRefused_anUnreadableTestamentIsTold) {
    searchFor("nowhere to be found");
    EXPECT_EQ(entries(), QStringList{"????"});
    EXPECT_TRUE(s().SearchReady());
    EXPECT_EQ(counter(), "");

    // typed text is refused with a warning and cleared
    searchFor("manna");
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(h.combo("ComboBox_passage_trouve")->lineEdit(), &press);
    ASSERT_EQ(h.prompts.asked.size(), 1u);
    EXPECT_EQ(h.prompts.asked[0].icon, platform::PromptIcon::Exclamation);
    EXPECT_EQ(h.combo("ComboBox_passage_trouve")->currentText(), "");

    // the path of an unreadable testament is told
    h.prompts.asked.clear();
    const QString ot = h.data.path() + "/Bible/AAA/AAA-O.txt";
    ASSERT_TRUE(QFile::remove(ot));
    searchFor("jot");
    EXPECT_EQ(h.prompts.asked, (std::vector<FakePrompts::Asked>{{ot, "Lumora"}}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SearchUi, withTheVersionHeaderShown_theHighlightLandsOnTheHitVerse) {
    // Regression: "first" was marked in the header line "AAA - First", not in the verse.
    h.find<QCheckBox>("Check_Version")->click();
    searchFor("first");
    ASSERT_EQ(entries(), (QStringList{"03 Book3 2.4-4", "????"}));
    ASSERT_TRUE(h.text().startsWith("AAA - First\n"));
    const int at = static_cast<int>(h.text().indexOf("firstborn"));
    ASSERT_GT(at, 0);
    EXPECT_EQ(h.view().passageBox().selectionStart(), at);
    EXPECT_EQ(h.view().passageBox().selectedText(), "first");
    EXPECT_NE(formatAt(0).fontWeight(), QFont::Bold);
}

// A hit in the verse shown selects that verse alone; the next search replaces every row, the
// drop-down lists the new hits, and the search row keeps its layout as the counter grows.
TEST_F(SearchUi, hitInTheVerseShownSelectsItAlone_nextSearchReplacesEveryRow_theRowKeepsItsLayout) {
    h.window->resize(1600, 1000);
    h.window->show();
    QApplication::processEvents();
    auto* box = h.find<QLineEdit>("Text_achercher");
    auto* hits = h.combo("ComboBox_passage_trouve");
    const QRect boxBefore = box->geometry(), hitsBefore = hits->geometry();
    ASSERT_EQ(h.current(h.list("List_verset_limite")), "20"); // start-up shows 40 5:18-20
    searchFor("jot");
    EXPECT_EQ(h.current(h.list("List_verset")), "18");
    EXPECT_EQ(h.list("List_verset_limite")->currentRow(), 0);
    EXPECT_EQ(h.find<QLabel>("Labe16")->text(), "40 Book40 5 : 18");
    EXPECT_EQ(h.view().passageBox().selectedText(), "jot");

    searchFor("manna");
    ASSERT_EQ(entries().size(), 14);
    searchFor("jot");
    EXPECT_EQ(entries(), (QStringList{"40 Book40 5.18-18", "????"}));
    EXPECT_EQ(hits->currentIndex(), 0);
    EXPECT_EQ(hits->currentText(), "40 Book40 5.18-18");
    EXPECT_EQ(counter(), "1 / 1");
    // the drop-down shows the same rows, and a pick from it jumps as a pick of the combo does
    searchFor("manna");
    hits->showPopup();
    QApplication::processEvents();
    ASSERT_EQ(hits->view()->model()->rowCount(), 14);
    EXPECT_EQ(hits->view()->model()->index(12, 0).data().toString(), "40 Book40 5.18-18");
    hits->hidePopup();
    pick(12);
    EXPECT_EQ(h.list("List_livre")->currentRow(), 39);
    EXPECT_EQ(h.current(h.list("List_verset")), "18");
    EXPECT_EQ(counter(), "13 / 13");
    QApplication::processEvents();
    EXPECT_EQ(box->geometry(), boxBefore);
    EXPECT_EQ(hits->geometry(), hitsBefore);
}

TEST_F(SearchUi, listPanelsHideTheSearchRowsWithTheirCounters_andTheirShowBoxesStayPut) {
    h.window->resize(1600, 1000);
    h.window->show();
    searchFor("manna");
    auto* tabs = h.find<QTabWidget>("SSTab_LMR");
    const struct {
        int tab;
        lists::FavouritePanel& panel;
        const char* counter;
    } sides[] = {{0, h.verseLists(), "Lbl_Nbr_passage_trouve"},
                 {1, h.playLists(), "Lbl_Nbr_cantique_trouve"}};
    for (const auto& side : sides) {
        SCOPED_TRACE(side.counter);
        tabs->setCurrentIndex(side.tab);
        QApplication::processEvents();
        QCheckBox* show = side.panel.showBox();
        const QPoint before = show->mapTo(h.window.get(), QPoint(0, 0));
        ASSERT_TRUE(h.find<QLabel>(side.counter)->isVisible());
        show->click();
        QApplication::processEvents();
        EXPECT_FALSE(h.find<QLabel>(side.counter)->isVisible());
        EXPECT_TRUE(side.panel.entryList()->isVisible());
        EXPECT_EQ(show->mapTo(h.window.get(), QPoint(0, 0)), before)
            << "a second click lands on the box again";
        show->click();
        QApplication::processEvents();
        EXPECT_TRUE(h.find<QLabel>(side.counter)->isVisible());
    }
}

// A place keeps its book by number, wherever a version lists it: a version of the New Testament
// alone lists Matthew first and John fourth. Switching versions kept the book's row (from Matthew
// 5 in a full Bible it showed the fortieth book of the other), and a hit went to the row its
// number names in a full list, which such a version has not, so the pick stayed where it was.
TEST(VersionSwitch, theBookShownAndASearchHitKeepTheBookByItsNumber) {
    MainWindowHarness h;
    std::vector<FixtureBook> newTestament;
    for (const FixtureBook& b : fixtureBooks(6, 25))
        if (b.number >= 40) newTestament.push_back(b);
    FixtureOptions o;
    o.text = [](int b, int c, int v) -> QByteArray {
        return b == 43 && c == 3 && v == 16 ? "so loved Zorobabel" : fixtureVerseText(b, c, v);
    };
    writeFixtureVersion(h.data.path(), "ALL", fixtureBooks(6, 25));
    writeFixtureVersion(h.data.path(), "NTO", newTestament, o);
    writeBytes(h.data.path() + "/Bible/Version.txt", "ALL - Whole\r\nNTO - New Testament\r\n");
    ASSERT_TRUE(h.open());
    h.nav().jumpTo({0, 39, 4, 17, 2}); // Matthew 5:18-20
    ASSERT_EQ(h.current(h.list("List_livre")), "40 Book40");
    auto* versions = h.find<QComboBox>("List_version");
    versions->setCurrentIndex(1);
    EXPECT_EQ(h.current(h.list("List_livre")), "40 Book40");
    EXPECT_EQ(h.current(h.list("List_chapitre")), "5");
    versions->setCurrentIndex(0);
    EXPECT_EQ(h.current(h.list("List_livre")), "40 Book40");
    // A book the other version has not keeps the row, as before.
    h.nav().jumpTo({0, 0, 0, 0, 0});
    versions->setCurrentIndex(1);
    EXPECT_EQ(h.current(h.list("List_livre")), "40 Book40") << "row 0 there";

    h.find<QLineEdit>("Text_achercher")->setText("zorobabel");
    h.find<QPushButton>("Cmd_cherche_passage")->click();
    EXPECT_EQ(h.current(h.list("List_livre")), "43 Book43");
    EXPECT_EQ(h.current(h.list("List_chapitre")), "3");
    EXPECT_EQ(h.current(h.list("List_verset")), "16");
    EXPECT_EQ(h.view().passageBox().selectedText(), "Zorobabel");
    // The hit is named by its own book, not by the one at the row its number names in a full list.
    EXPECT_EQ(h.find<QComboBox>("ComboBox_passage_trouve")->itemText(0), "43 Book43 3.16-16");
}
