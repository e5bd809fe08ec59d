#pragma once
// The main window on a fixture data folder, with fake players and prompts.

#include "app/frmlumora.h"
#include "bible/ui/biblenavigation.h"
#include "bible/ui/passageview.h"
#include "support/biblefixture.h"
#include "support/fakes.h"

#include <QComboBox>
#include <QListWidget>
#include <QTextEdit>

#include <memory>

namespace lumora::testing {

class MainWindowHarness {
public:
    TempFolder data, config;
    FakePrompts prompts;
    FakeShell shell;
    std::vector<FakeMediaPlayer*> players;
    platform::Platform platform{[this](QObject* parent) {
                                    auto* p = new FakeMediaPlayer(parent);
                                    players.push_back(p);
                                    return p;
                                },
                                prompts, shell};
    std::unique_ptr<app::FrmLumora> window;

    session::DataPathLocations where() const {
        return {config.path() + "/LMR/Lumora.path", data.path()};
    }
    // Writes the path file naming the data folder, creates the window and runs its load.
    bool open() {
        writeBytes(where().pathFile, QFile::encodeName(data.path()) + "\r\n");
        window = std::make_unique<app::FrmLumora>(platform, where());
        return window->load();
    }
    bible::BibleNavigation& nav() { return *window->navigation; }
    bible::PassageView& view() { return *window->passageView; }
    QString text() { return window->passageView->Text_Passage->toPlainText(); }
    static QString current(QListWidget* l) { return l->currentItem() ? l->currentItem()->text() : QString(); }
};

} // namespace lumora::testing
