// Keyboard and screen readers: every control of the main window has a name a screen reader can
// say, and the main actions have shortcuts that their tooltips show.

#include "support/mainwindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTabWidget>
#include <QTextEdit>

#include <algorithm>

#include <gtest/gtest.h>

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

TEST_F(Accessibility, everyInteractiveControlOfTheMainWindowHasAName) {
    QStringList unnamed;
    int walked = 0;
    for (QWidget* w : h.window->findChildren<QWidget*>()) {
        // the parts of Qt's own controls (a drop-down's popup, a table's header, the menu bar's
        // overflow arrow) are named by Qt
        const QString cls = QString::fromLatin1(w->metaObject()->className());
        if (!isInteractive(w) || cls == "QComboBoxListView" || cls == "QHeaderView" ||
            w->objectName().startsWith("qt_"))
            continue;
        ++walked;
        if (spokenName(w).isEmpty())
            unnamed << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) +
                                                        " in " + w->parentWidget()->objectName()
                                                  : w->objectName());
    }
    EXPECT_GT(walked, 60) << "the walk reached the controls of both tabs";
    EXPECT_TRUE(unnamed.isEmpty()) << "unnamed: " << unnamed.join(", ").toStdString();
}

TEST_F(Accessibility, mainActionsHaveShortcutsShownInTheirTooltips) {
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
        EXPECT_TRUE(label->toolTip().contains(QStringLiteral("F5"))) << name;
    }
}

TEST_F(Accessibility, findKeyOfEachTabTakesTheCaretToItsSearchBoxWithTheTextSelected) {
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
            QWidget* w = start;
            while (w != target && steps < 2000) {
                w = w->nextInFocusChain();
                ++steps;
            }
            at << steps;
        }
        return at;
    };
    const QList<int> bible =
        order("List_version", {"Text_achercher", "Cmd_cherche_passage", "List_livre", "List_chapitre",
                               "List_verset_limite", "Text_Passage", "ImagePlayPause"});
    EXPECT_TRUE(std::is_sorted(bible.begin(), bible.end())) << ::testing::PrintToString(bible);
    const QList<int> canticle =
        order("ComboBox_Receuil", {"ComboBox_theme1", "ComboBox_Chant", "Cantique_achercher", "Text_info",
                                   "Text_Cantique", "PlayPause_Cantique", "Clavier_MIDI"});
    EXPECT_TRUE(std::is_sorted(canticle.begin(), canticle.end())) << ::testing::PrintToString(canticle);
}
