#pragma once
// The main window on a fixture data folder, with fake players and prompts, and the widgets
// the window tests drive.

#include "app/frmlumora.h"
#include "bible/ui/biblenavigation.h"
#include "bible/ui/bibleplayer.h"
#include "bible/ui/biblesearch.h"
#include "bible/ui/passageview.h"
#include "bible/ui/zoom.h"
#include "hymns/ui/hymnselection.h"
#include "lists/ui/favouritepanel.h"
#include "marks/ui/markeditor.h"
#include "support/biblefixture.h"
#include "support/fakes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace lumora::testing {

class MainWindowHarness {
  public:
    TempFolder data, config;
    FakePrompts prompts;
    FakeShell shell;
    FakeCommonDialog dialogs;
    std::vector<FakeMediaPlayer*> players;
    platform::Platform platform{[this](QObject* parent) {
                                    auto* p = new FakeMediaPlayer(parent);
                                    players.push_back(p);
                                    return p;
                                },
                                prompts, shell, dialogs};
    std::unique_ptr<app::FrmLumora> window;

    session::DataPathLocations where() const {
        return {config.path() + "/LMR/Lumora.path", data.path(), config.path() + "/LMR/Lumora.conf"};
    }
    // Writes the path file naming the data folder, creates the window and runs its load.
    bool open() {
        writeBytes(where().pathFile, QFile::encodeName(data.path()) + "\r\n");
        window = std::make_unique<app::FrmLumora>(platform, where());
        return window->load();
    }
    // A widget or controller of the window, by its object name.
    template <class T> T* find(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found) ADD_FAILURE() << "no " << name << " in the main window";
        return found;
    }
    QListWidget* list(const char* name) const { return find<QListWidget>(name); }
    QComboBox* combo(const char* name) const { return find<QComboBox>(name); }
    bible::BibleNavigation& nav() const { return *find<bible::BibleNavigation>("navigation"); }
    bible::PassageView& view() const { return *find<bible::PassageView>("passageView"); }
    bible::BibleSearch& search() const { return *find<bible::BibleSearch>("search"); }
    bible::Zoom& zoom() const { return *find<bible::Zoom>("zoom"); }
    hymns::HymnSelection& hymns() const { return *find<hymns::HymnSelection>("hymnSelection"); }
    lists::FavouritePanel& verseLists() const { return *find<lists::FavouritePanel>("verseLists"); }
    lists::FavouritePanel& playLists() const { return *find<lists::FavouritePanel>("playLists"); }
    QString text() const { return find<QTextEdit>("Text_Passage")->toPlainText(); }
    static QString current(QListWidget* l) { return l->currentItem() ? l->currentItem()->text() : QString(); }
    static void select(QListWidget* l, int row) { bible::selectRow(l, row); }
    static void select(QComboBox* c, int row) { bible::selectRow(c, row); }
};

} // namespace lumora::testing
