#include "app/remotelinks.h"

#include "app/nowshowingfeed.h"
#include "app/windowlinks.h"
#include "bible/ui/biblenavigation.h"
#include "bible/ui/bibleplayer.h"
#include "bible/ui/quickreference.h"
#include "bible/ui/zoom.h"
#include "common/playback.h"
#include "common/text.h"
#include "hymns/hymnentry.h"
#include "hymns/hymnstore.h"
#include "hymns/ui/hymnplayer.h"
#include "hymns/ui/hymnselection.h"
#include "lists/ui/favouritepanel.h"
#include "remote/devicestore.h"
#include "remote/remoteservice.h"
#include "remote/ui/frmremote.h"
#include "windows/ui/clonewindow.h"

#include <QAction>
#include <QCryptographicHash>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolButton>

namespace lumora::app {

namespace {

constexpr int kBibleTab = 0;
constexpr int kCanticleTab = 1;
constexpr qsizetype kFoundKept = 2000; // hymn ids of searches kept for a pick

QString idOf(const QString& entry, QChar kind) {
    return kind + QString::fromLatin1(
                      QCryptographicHash::hash(entry.toUtf8(), QCryptographicHash::Sha256).toHex().left(20));
}

} // namespace

RemoteLinks::RemoteLinks(const RemoteParts& parts, QObject* parent)
    : QObject(parent), m_parts(parts),
      m_service(new remote::RemoteService(remote::DeviceStore::fileBeside(parts.pathFile), this)) {
    setObjectName(QStringLiteral("remoteLinks"));
    m_service->server().setActions(this);
    connect(&parts.windows.nowShowing(), &NowShowingFeed::changed, &m_service->server(),
            &remote::RemoteServer::showNow);
    // A page that connects first is told what shows now, not an empty value.
    m_service->server().showNow(parts.windows.nowShowing().now());
}

void RemoteLinks::showDialog(QWidget* parent) {
    if (!m_dialog) {
        m_dialog = new remote::FrmRemote(*m_service, parent);
        m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_dialog->refresh();
    m_dialog->show();
    m_dialog->raise();
}

void RemoteLinks::addMenuEntry(QMainWindow& window) {
    QAction* entry = window.menuBar()->addAction(QStringLiteral("Remote…"), this,
                                                 [this, &window] { showDialog(&window); });
    entry->setObjectName(QStringLiteral("mnu_remote"));
    entry->setToolTip(QStringLiteral("Phones, a stage screen and a streaming program over the network"));
}

remote::FrmRemote* RemoteLinks::dialog() const {
    return m_dialog;
}

RemoteLinks::~RemoteLinks() {
    delete m_dialog.data();
    // The server calls back into this object while it runs.
    m_service->stop();
    m_service->server().setActions(nullptr);
}

void RemoteLinks::perform(const remote::RemoteAction& action) {
    using A = remote::RemoteAction;
    switch (action.kind) {
    case A::GoTo: {
        // Typed in the "Go to" box, on the Bible tab, where the box is. While the clone is open
        // the passage goes to it as well (Shift+Enter): the remote shows and drives what the
        // projector shows. With the clone closed, Enter: nothing is put on a screen unasked.
        m_parts.tabs->setCurrentIndex(kBibleTab);
        QLineEdit* box = m_parts.windows.quickReference().box();
        box->setText(action.text);
        const windows::CloneWindow& clone = m_parts.windows.clone();
        const bool live = clone.window() && clone.window()->isVisible();
        if (m_parts.windows.quickReference().open(action.text, live)) box->selectAll();
        break;
    }
    case A::NextVerse:
        stepVerse(1);
        break;
    case A::PreviousVerse:
        stepVerse(-1);
        break;
    case A::NextChapter:
        m_parts.navigation.selectNextChapter();
        break;
    case A::PreviousChapter:
        m_parts.navigation.selectPreviousChapter();
        break;
    case A::ShowClone:
        // F5: the tab in view goes to the clone.
        if (m_parts.tabs->currentIndex() == kCanticleTab)
            emit m_parts.windows.clone().hymnCloneClicked();
        else
            emit m_parts.windows.clone().bibleCloneClicked();
        break;
    case A::HideClone:
        m_parts.windows.clone().closeWindow();
        break;
    case A::BlankClone:
        m_parts.windows.clone().toggleCover(windows::Cover::Black);
        break;
    case A::Play:
    case A::Pause:
    case A::Stop:
        press(action);
        break;
    case A::PickHymn:
        pickHymn(action.text);
        break;
    case A::ZoomClone:
        m_parts.zoom.stepZoom(action.step > 0);
        break;
    }
}

// Page Down / Page Up while the clone shows the passage verse by verse; otherwise a click on the
// next or previous row of the first-verse list (nothing past the chapter's ends).
void RemoteLinks::stepVerse(int direction) {
    windows::CloneWindow& clone = m_parts.windows.clone();
    if (clone.mode() == windows::CloneMode::Verses && clone.shows() == session::CloneShows::Passage) {
        clone.stepVerse(direction);
        return;
    }
    bible::BibleNavigation& nav = m_parts.navigation;
    const int row = nav.selectedRow(session::NavLevel::Verse);
    const int next = row + direction;
    if (row < 0 || next < 0 || next >= nav.rowCount(session::NavLevel::Verse)) return;
    nav.reselectVerse(next, false);
}

// The player's own buttons, clicked: a button that cannot be pressed does nothing, and play
// (pause) is only pressed while the button would play (pause).
void RemoteLinks::press(const remote::RemoteAction& action) {
    const bool bible = action.text != QLatin1String("hymn");
    QToolButton* playPause =
        bible ? m_parts.biblePlayer.playPauseButton() : m_parts.hymnPlayer.PlayPause_Cantique;
    QToolButton* stop = bible ? m_parts.biblePlayer.stopButton() : m_parts.hymnPlayer.Stop_Cantique;
    const playback::State& state = bible ? m_parts.biblePlayer.state() : m_parts.hymnPlayer.state();
    const bool showsPause = state.playPause == playback::kPicturePause;
    if (action.kind == remote::RemoteAction::Stop)
        stop->click();
    else if ((action.kind == remote::RemoteAction::Play) != showsPause)
        playPause->click();
}

// A click in the playlist, or a search hit brought through the hymn lists; the Canticle tab comes
// into view first, as the user would bring it to click there.
void RemoteLinks::pickHymn(const QString& id) {
    lists::FavouritePanel& playLists = m_parts.playLists;
    if (id.startsWith(QLatin1Char('p'))) {
        const QStringList entries = playLists.entries();
        for (int row = 0; row < entries.size(); ++row) {
            if (idOf(entries.at(row), QLatin1Char('p')) != id) continue;
            m_parts.tabs->setCurrentIndex(kCanticleTab);
            playLists.entryList()->setCurrentRow(row);
            playLists.onEntryClicked(row);
            return;
        }
        return;
    }
    const auto found = m_found.constFind(id);
    if (found == m_found.constEnd()) return;
    m_parts.tabs->setCurrentIndex(kCanticleTab);
    m_parts.hymns.ShowPlaylistHymn(found.value());
}

remote::HymnItem RemoteLinks::itemOf(const QString& entry, QChar kind) {
    remote::HymnItem item;
    item.id = idOf(entry, kind);
    if (const std::optional<hymns::HymnFields> f = hymns::SplitHymnEntry(entry)) {
        item.label = common::Utf8Decode(f->label);
        item.book = common::Utf8Decode(f->book);
    } else {
        item.label = entry.section(QLatin1Char('\t'), 0, 0);
    }
    const qsizetype dash = item.label.indexOf(QLatin1String(" - "));
    item.title = dash < 0 ? item.label : item.label.mid(dash + 3).trimmed();
    return item;
}

QList<remote::HymnItem> RemoteLinks::playlist() {
    QList<remote::HymnItem> out;
    for (const QString& entry : m_parts.playLists.entries()) {
        if (out.size() == remote::kMaxHymnItems) break;
        out << itemOf(entry, QLatin1Char('p'));
    }
    return out;
}

QList<remote::HymnItem> RemoteLinks::findHymns(const QString& text) {
    const hymns::HymnList hits =
        hymns::searchHymns(hymns::cantiquesFolder(m_parts.session.DataPath), m_parts.hymns.bookNames(), text);
    if (m_found.size() > kFoundKept) m_found.clear();
    QList<remote::HymnItem> out;
    for (const QString& entry : hits.entries) {
        if (out.size() == remote::kMaxHymnItems) break;
        out << itemOf(entry, QLatin1Char('s'));
        m_found.insert(out.constLast().id, entry);
    }
    return out;
}

} // namespace lumora::app
