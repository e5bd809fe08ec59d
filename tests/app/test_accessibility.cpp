// Keyboard and screen readers: every control of the main window has a name a screen reader can
// say, and the main actions have shortcuts that their tooltips show.

#include "support/mainwindow.h"
#include "windows/ui/clonewindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QShortcut>

#include <algorithm>

using namespace lumora;
using namespace lumora::testing;

namespace {

// A control the user acts on: buttons, lists, boxes, and labels that take the focus or a click.
bool isInteractive(const QWidget* w) {
    if (qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
        qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QTextEdit*>(w) ||
        qobject_cast<const QAbstractSpinBox*>(w))
        return true;
    if (auto* edit = qobject_cast<const QLineEdit*>(w))
        return !qobject_cast<const QComboBox*>(edit->parentWidget());
    if (qobject_cast<const QLabel*>(w))
        return w->focusPolicy() != Qt::NoFocus || w->cursor().shape() == Qt::PointingHandCursor;
    return false;
}

QString spokenName(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name).trimmed() : QString();
}

class Accessibility : public ::testing::Test {
  protected:
    void SetUp() override {
        writeBytes(h.data.file("Bible/Version.txt"), "KJV - King James\r\n");
        ASSERT_TRUE(h.open());
    }
    MainWindowHarness h;
};

} // namespace

// The Bible tab's switches and buttons had no tip, or only the designer's spaced-out capitals,
// where the hymn tab's said what a click does.
TEST_F(Accessibility, everyInteractiveControlHasAName_andEveryButtonOfTheBibleTabATipInWords) {
    QStringList unnamed, bare;
    int walked = 0, tipped = 0;
    QWidget* biblePage = h.find<QWidget>("biblePage");
    for (QWidget* w : h.window->findChildren<QWidget*>()) {
        // the parts of Qt's own controls (a drop-down's popup, a table's header, the menu bar's
        // overflow arrow) are named by Qt
        const QString cls = QString::fromLatin1(w->metaObject()->className());
        if (cls == "QComboBoxListView" || cls == "QHeaderView" || w->objectName().startsWith("qt_")) continue;
        if (isInteractive(w)) {
            ++walked;
            if (spokenName(w).isEmpty())
                unnamed << (w->objectName().isEmpty() ? cls + " in " + w->parentWidget()->objectName()
                                                      : w->objectName());
        }
        const bool clickable = qobject_cast<QAbstractButton*>(w) ||
                               (qobject_cast<QLabel*>(w) && isInteractive(w)) ||
                               w->objectName() == "Label1" || w->objectName() == "Label11";
        if (!clickable || !biblePage->isAncestorOf(w) || w->objectName().isEmpty()) continue;
        ++tipped;
        // a tip in words has small letters; the designer's tips are capitals only
        if (w->toolTip().toUpper() == w->toolTip()) bare << w->objectName() + " (" + w->toolTip() + ")";
    }
    EXPECT_GT(walked, 60) << "the walk reached the controls of both tabs";
    EXPECT_TRUE(unnamed.isEmpty()) << "unnamed: " << unnamed.join(", ").toStdString();
    EXPECT_GT(tipped, 25);
    EXPECT_TRUE(bare.isEmpty()) << bare.join(", ").toStdString();
}

TEST_F(Accessibility, mainActionsHaveShortcutsShownInTheirTooltips_andFindTakesTheCaretToTheSearchBox) {
    for (const char* name :
         {"Cmd_cherche_passage", "Cmd_cherche_cantique", "ImagePlayPause", "PlayPause_Cantique"}) {
        auto* button = h.find<QWidget>(name);
        ASSERT_TRUE(button) << name;
        EXPECT_TRUE(button->toolTip().contains(QStringLiteral("Ctrl+")))
            << name << ": " << button->toolTip().toStdString();
    }
    for (const char* name : {"Label12", "Label13"}) {
        auto* label = h.find<QWidget>(name);
        ASSERT_TRUE(label) << name;
        for (const char* key : {"F5", "F7", "F8"}) // clone, black, logo
            EXPECT_TRUE(label->toolTip().contains(QLatin1String(key))) << name << ": " << key;
    }
    EXPECT_TRUE(h.find<QWidget>("Txt_Reference")->toolTip().contains("Ctrl+L"));
    // the find key of each tab takes the caret to its search box with the text selected
    for (const auto& [page, box] :
         {std::pair{"biblePage", "Text_achercher"}, {"canticlePage", "Cantique_achercher"}}) {
        auto* edit = h.find<QLineEdit>(box);
        ASSERT_TRUE(edit) << box;
        edit->setText("grace");
        QShortcut* find = nullptr;
        for (QShortcut* s : h.find<QWidget>(page)->findChildren<QShortcut*>())
            if (s->key() == QKeySequence(QKeySequence::Find)) find = s;
        ASSERT_TRUE(find) << page;
        emit find->activated();
        EXPECT_EQ(edit->window()->focusWidget(), edit) << box;
        EXPECT_EQ(edit->selectedText(), "grace") << box;
    }
}

TEST_F(Accessibility, tabFollowsTheReadingOrderOfEachTab) {
    // The position of each control in the focus chain, from the first one of the tab.
    const auto order = [&](const char* first, std::initializer_list<const char*> names) {
        QWidget* start = h.find<QWidget>(first);
        QList<int> at;
        for (const char* name : names) {
            QWidget* target = h.find<QWidget>(name);
            int steps = 0;
            for (QWidget* w = start; w != target && steps < 2000; w = w->nextInFocusChain())
                ++steps;
            at << steps;
        }
        return at;
    };
    const QList<int> bible =
        order("List_version", {"Text_achercher", "Cmd_cherche_passage", "List_livre", "List_chapitre",
                               "List_verset_limite", "Label12", "Label7", "Label15", "Image_Print",
                               "Image_SaveAs", "Text_Passage", "ImagePlayPause"});
    EXPECT_TRUE(std::is_sorted(bible.begin(), bible.end())) << ::testing::PrintToString(bible);
    const QList<int> canticle =
        order("ComboBox_Receuil", {"ComboBox_theme1", "ComboBox_Chant", "Cantique_achercher", "Text_info",
                                   "Label13", "Label14", "Label17", "Text_Cantique", "PlayPause_Cantique",
                                   "Clavier_MIDI", "Print_Cantique", "SaveAs_Cantique"});
    EXPECT_TRUE(std::is_sorted(canticle.begin(), canticle.end())) << ::testing::PrintToString(canticle);
}

// Tab never reached CLONE, "<---->", POLICE, Print or Save as (labels and pictures outside the
// chain or joined after it was made), so there was no keyboard way to project; and some stops
// showed no focus at all.
TEST_F(Accessibility, tabWalksEveryControlOfEachTabWithARingAroundEachStop_andEnterOnCloneClicksIt) {
    h.window->resize(1280, 900);
    h.window->show();
    h.window->activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), h.window.get());
    auto* tabs = h.find<QTabWidget>("SSTab_LMR");
    QWidget* ring = h.find<QWidget>("focusRing");
    const auto press = [](QWidget* w, int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
        QApplication::processEvents();
    };
    struct TabCase {
        int tab;
        const char* first;
        QStringList mustReach;
    };
    for (const TabCase& c :
         {TabCase{
              0, "List_version", {"Label12", "Label7", "Label15", "Image_Print", "Image_SaveAs", "Label24"}},
          TabCase{1,
                  "ComboBox_Receuil",
                  {"Label13", "Label14", "Label17", "Label19", "Print_Cantique", "SaveAs_Cantique"}}}) {
        tabs->setCurrentIndex(c.tab);
        QApplication::processEvents();
        QWidget* start = h.find<QWidget>(c.first);
        start->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QStringList stops{start->objectName()}, unseen;
        QWidget* at = start;
        for (int i = 0; i < 300; ++i) {
            press(at, Qt::Key_Tab);
            at = QApplication::focusWidget();
            ASSERT_TRUE(at) << "tab " << c.tab << ": the focus left the window after "
                            << stops.join(", ").toStdString();
            if (at == start) break;
            stops << at->objectName();
            const QRect rect(at->mapTo(h.window.get(), QPoint(0, 0)), at->size());
            if (!at->isVisible() || !at->isEnabled() || at->visibleRegion().isEmpty() || !ring->isVisible() ||
                !ring->geometry().contains(rect))
                unseen << at->objectName() + "/" + QString::fromLatin1(at->metaObject()->className());
        }
        EXPECT_EQ(QApplication::focusWidget(), start) << "tab " << c.tab << ": Tab comes round again";
        EXPECT_TRUE(unseen.isEmpty())
            << "tab " << c.tab << ", out of sight or without a ring: " << unseen.join(", ").toStdString();
        for (const QString& name : c.mustReach)
            EXPECT_TRUE(stops.contains(name))
                << "tab " << c.tab << ": Tab never reaches " << name.toStdString();
        // every control the user sees on the tab is a stop
        for (QWidget* w : tabs->currentWidget()->findChildren<QWidget*>()) {
            if (isInteractive(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
                !w->focusProxy() && !w->objectName().isEmpty()) {
                EXPECT_TRUE(stops.contains(w->objectName()))
                    << "tab " << c.tab << ": " << w->objectName().toStdString();
            }
        }
    }
    // Enter on CLONE clicks it, as Space does
    tabs->setCurrentIndex(0);
    QWidget* clone = h.find<QWidget>("Label12");
    clone->setFocus(Qt::TabFocusReason);
    press(clone, Qt::Key_Return);
    auto& cloneWindow = *h.find<windows::CloneWindow>("cloneWindow");
    ASSERT_TRUE(cloneWindow.window());
    EXPECT_TRUE(cloneWindow.window()->isVisible());
    EXPECT_TRUE(cloneWindow.CloneShowsBible());
    cloneWindow.closeWindow();
}
