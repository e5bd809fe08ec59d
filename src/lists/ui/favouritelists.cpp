#include "lists/ui/favouritelists.h"

#include "common/paths.h"

#include <QDir>

namespace lumora::lists {

FavouriteLists::FavouriteLists(app::AppState& state, FavouriteHost& bibleHost, FavouriteHost& canticleHost,
                               platform::Prompts& prompts, platform::Shell& shell, QWidget* parent)
    : QObject(parent), m_state(state), m_nameDialog(new FrmNewName(parent ? parent->window() : nullptr)),
      m_bible(new FavouritePanel(PanelConfig::verseList(), state, bibleHost, prompts, shell, parent,
                                 m_nameDialog)),
      m_canticle(new FavouritePanel(PanelConfig::playList(), state, canticleHost, prompts, shell, parent,
                                    m_nameDialog)) {
    if (!parent) m_nameDialog->setParent(nullptr);
}

void FavouriteLists::startUp() {
    for (FavouritePanel* panel : {m_bible, m_canticle}) {
        const PanelConfig& c = panel->config();
        // The data folder may come from Windows with "bible" in another letter case.
        const QString folder = common::findPath(m_state.DataPath, c.folder.split(QLatin1Char('/')));
        m_state.*(c.folderField) = folder;
        QDir().mkpath(folder);
    }
    m_bible->startUp();
    m_canticle->startUp();
}

} // namespace lumora::lists
