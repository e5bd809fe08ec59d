// The remote's actions on the real window: two identical windows, one driven by the user's keys
// and clicks, the other by the remote's messages, must end every step in the same state.

#include "app/frmlumora.h"
#include "app/nowshowingfeed.h"
#include "app/remotelinks.h"
#include "app/windowlinks.h"
#include "bible/ui/bibleplayer.h"
#include "bible/ui/quickreference.h"
#include "httpask.h"
#include "hymns/hymnfixture.h"
#include "hymns/ui/hymnplayer.h"
#include "platform/spinarrows.h"
#include "remote/remoteservice.h"
#include "remote/ui/frmremote.h"
#include "support/mainwindow.h"
#include "support/psalm23.h"
#include "windows/ui/clonewindow.h"
#include "windows/ui/versepanel.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QJsonArray>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextStream>
#include <QToolButton>

#include <functional>

namespace lumora::testing {
namespace {

const QByteArray kEntry1 = hymnEntry("1 - Gloire", "Louange", "Noel", "Alpha");
const QByteArray kEntry2 = hymnEntry("2 - Joie du monde", "Louange", "Noel", "Alpha");
const QByteArray kEntry3 = hymnEntry("3 - Paix", "Louange", "Noel", "Alpha");

void writeData(const QString& data) {
    writeFixtureVersion(data, "KJV", psalm23Books(), psalm23Options());
    writeBytes(data + "/Bible/KJV/Sound/Ps23.mp3", "x");
    writeBytes(data + "/Bible/Version.txt", "KJV - King James Version\r\n");
    writeBytes(data + "/Cantiques/Alpha/Hira.txt", crlfLines({kEntry1, kEntry2, kEntry3}));
    for (const char* n : {"1", "2", "3"})
        writeBytes(data + "/Cantiques/Alpha/parole/" + n + ".txt", QByteArray("Words of ") + n + "\r\n");
    writeBytes(data + "/Cantiques/Alpha/musique/2.mp3", "x");
    writeBytes(data + "/Cantiques/Favori/Sunday.txt", kEntry3 + "\r" + kEntry2 + "\r\r\n");
}

// One window, with what a step reads and changes.
struct Window {
    MainWindowHarness h;
    app::WindowLinks* links = nullptr;
    app::RemoteLinks* remote = nullptr;

    void open() {
        writeData(h.data.path());
        ASSERT_TRUE(h.open());
        links = h.find<app::WindowLinks>("windowLinks");
        remote = &h.window->remote();
    }
    windows::CloneWindow& clone() const { return links->clone(); }
    QTabWidget* tabs() const { return h.find<QTabWidget>("SSTab_LMR"); }
    // Everything a step may change, as text: the now-showing value, the lists, the clone's
    // face, the zooms, the players and the tab.
    QString state() const {
        windows::CloneWindow& c = clone();
        const int step = c.window() ? c.window()->versePanel().stepIndex() : -1;
        const auto row = [this](session::NavLevel level) { return h.nav().selectedRow(level); };
        QString s;
        QTextStream(&s) << session::describe(links->nowShowing().now()) << " | rows "
                        << row(session::NavLevel::Chapter) << ' ' << row(session::NavLevel::Verse) << ' '
                        << row(session::NavLevel::Span) << " | clone " << int(c.shows()) << " mode "
                        << int(c.mode()) << " cover " << int(c.cover()) << " step " << step << " | zoom "
                        << h.zoom().BibleZoom() << ' ' << h.zoom().CanticleZoom() << " | players "
                        << h.find<bible::BiblePlayer>("biblePlayer")->state().playPause << ' '
                        << h.find<hymns::HymnPlayer>("hymnPlayer")->state().playPause << ' '
                        << h.players.at(0)->statusText() << ' ' << h.players.at(1)->statusText() << " | tab "
                        << tabs()->currentIndex() << " | hymn " << h.hymns().CurrentHymnEntry();
        return s;
    }
    // A message as the server hands it over.
    void send(const QByteArray& message) {
        const remote::Reply r = remote::handleMessage(message, remote::Role::Control, remote);
        EXPECT_EQ(r.status, 200) << message.constData() << r.json.constData();
    }
    void enterReference(const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QLineEdit* box = links->quickReference().box();
        box->setText(text);
        QKeyEvent e(QEvent::KeyPress, Qt::Key_Return, modifiers);
        QApplication::sendEvent(box, &e);
    }
    QToolButton* spinUp() const { return h.find<platform::SpinArrows>("SpinButton_Size")->upArrow(); }
};

class RemoteWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        user.open();
        byRemote.open();
    }

    // The user's way on one window, the remote's message on the other: the same state after,
    // and a change from before (a step that changed nothing would prove nothing).
    void step(const char* what, const QByteArray& message, const std::function<void(Window&)>& userDoes = {},
              bool changes = true) {
        const QString before = user.state();
        ASSERT_EQ(byRemote.state().toStdString(), before.toStdString())
            << what << ": the windows differ before the step";
        if (userDoes) userDoes(user);
        byRemote.send(message);
        EXPECT_EQ(byRemote.state().toStdString(), user.state().toStdString()) << what;
        if (changes) {
            EXPECT_NE(user.state().toStdString(), before.toStdString()) << what << ": nothing changed";
        }
    }

    Window user, byRemote;
};

} // namespace

TEST_F(RemoteWindow, eachActionChangesTheWindowAsTheUsersKeyOrClick) {
    step("Enter in the Go to box", R"({"action":"goto","reference":"Ps 23:1-3"})",
         [](Window& w) { w.enterReference("Ps 23:1-3"); });
    EXPECT_EQ(user.h.nav().selection().lastVerse, 3);
    step("a click on the next first verse", R"({"action":"nextVerse"})",
         [](Window& w) { w.h.select(w.h.list("List_verset"), 1); });
    step("a click on the previous first verse", R"({"action":"previousVerse"})",
         [](Window& w) { w.h.select(w.h.list("List_verset"), 0); });
    step("the first verse has none before it", R"({"action":"previousVerse"})", {}, false);
    step("Ctrl+PgDown", R"({"action":"nextChapter"})", [](Window& w) { w.h.nav().selectNextChapter(); });
    step("Ctrl+PgUp", R"({"action":"previousChapter"})",
         [](Window& w) { w.h.nav().selectPreviousChapter(); });
    step("the zoom's up arrow", R"({"action":"zoom","step":1})", [](Window& w) { w.spinUp()->click(); });
    step("CLONE", R"({"action":"show"})", [](Window& w) { emit w.clone().bibleCloneClicked(); });
    step("F7", R"({"action":"blank"})", [](Window& w) { w.clone().action("Mnu_CloneBlank")->trigger(); });
    step("F7 again", R"({"action":"blank"})",
         [](Window& w) { w.clone().action("Mnu_CloneBlank")->trigger(); });
    for (Window* w : {&user, &byRemote})
        w->clone().setMode(windows::CloneMode::Verses);
    step("Page Down", R"({"action":"nextVerse"})",
         [](Window& w) { emit w.h.find<QShortcut>("cloneNextKey")->activated(); });
    step("Page Up", R"({"action":"previousVerse"})",
         [](Window& w) { emit w.h.find<QShortcut>("clonePreviousKey")->activated(); });
    step("closing the clone", R"({"action":"hide"})", [](Window& w) { w.clone().closeWindow(); });
    step("the playlist's entry",
         "{\"action\":\"hymn\",\"id\":\"" + byRemote.remote->playlist().at(1).id.toLatin1() + "\"}",
         [](Window& w) {
             w.tabs()->setCurrentIndex(1);
             w.h.playLists().entryList()->setCurrentRow(1);
             w.h.playLists().onEntryClicked(1);
         });
    EXPECT_EQ(user.h.hymns().CurrentHymnEntry(), QString::fromUtf8(kEntry2));
    step("the hymn's play button", R"({"action":"play","player":"hymn"})",
         [](Window& w) { w.h.find<QToolButton>("PlayPause_Cantique")->click(); });
    step("the hymn's pause", R"({"action":"pause","player":"hymn"})",
         [](Window& w) { w.h.find<QToolButton>("PlayPause_Cantique")->click(); });
    step("the hymn's stop", R"({"action":"stop","player":"hymn"})",
         [](Window& w) { w.h.find<QToolButton>("Stop_Cantique")->click(); });
    step("F5 on the Canticle tab", R"({"action":"show"})",
         [](Window& w) { emit w.clone().hymnCloneClicked(); });
    step("the Bible tab, then Shift+Enter in the Go to box: the clone is open",
         R"({"action":"goto","reference":"Ps 23:4"})", [](Window& w) {
             w.tabs()->setCurrentIndex(0);
             w.enterReference("Ps 23:4", Qt::ShiftModifier);
         });
    EXPECT_EQ(byRemote.clone().shows(), session::CloneShows::Passage) << "the projector kept the hymn";
    for (Window* w : {&user, &byRemote})
        w->tabs()->setCurrentIndex(1);
    step("the Canticle zoom's arrow", R"({"action":"zoom","step":-1})",
         [](Window& w) { w.h.find<platform::SpinArrows>("SpinButton_SizeCantique")->downArrow()->click(); });
}

// "play" and "pause" are not one toggle: a second "play" leaves a reading going, as the play key
// of a keyboard does.
TEST_F(RemoteWindow, playAndPauseNeverUndoEachOther) {
    Window& w = byRemote;
    auto* bible = w.h.find<bible::BiblePlayer>("biblePlayer");
    auto status = [&] { return w.h.players.front()->statusText(); };
    w.send(R"({"action":"goto","reference":"Ps 23"})");
    ASSERT_EQ(status(), "Playing");
    struct Case {
        const char* message;
        const char* status;
    } cases[] = {
        {R"({"action":"play"})", "Playing"},  {R"({"action":"pause"})", "Paused"},
        {R"({"action":"pause"})", "Paused"},  {R"({"action":"play"})", "Playing"},
        {R"({"action":"play"})", "Playing"},  {R"({"action":"stop"})", "Stopped"},
        {R"({"action":"pause"})", "Stopped"},
    };
    for (const Case& c : cases) {
        w.send(c.message);
        EXPECT_EQ(status(), QString::fromLatin1(c.status)) << c.message;
    }
    EXPECT_EQ(bible->state().playPause, playback::kPicturePlay);
}

TEST_F(RemoteWindow, theHymnListsGiveIdsThatPickThatHymn_andNothingElse) {
    Window& w = byRemote;
    const QList<remote::HymnItem> list = w.remote->playlist();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list.at(0).label, "3 - Paix");
    EXPECT_EQ(list.at(0).title, "Paix");
    EXPECT_EQ(list.at(0).book, "Alpha");
    EXPECT_EQ(w.remote->playlist(), list) << "the same entries keep their ids";

    const QList<remote::HymnItem> found = w.remote->findHymns(QStringLiteral("joie"));
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found.at(0).label, "2 - Joie du monde");
    EXPECT_NE(found.at(0).id, list.at(1).id) << "a search hit and a playlist entry are told apart";
    EXPECT_EQ(w.remote->findHymns(QString()).size(), 3) << "an empty search lists every hymn";

    const QString before = w.state();
    for (const char* id : {"x", "p", "s", "p0000", "s../../etc"})
        w.send(QByteArray("{\"action\":\"hymn\",\"id\":\"") + id + "\"}");
    EXPECT_EQ(w.state(), before) << "an id the window did not give picks nothing";

    w.send("{\"action\":\"hymn\",\"id\":\"" + found.at(0).id.toLatin1() + "\"}");
    EXPECT_EQ(w.h.hymns().CurrentHymnEntry(), QString::fromUtf8(kEntry2));
    EXPECT_EQ(w.tabs()->currentIndex(), 1);
    EXPECT_EQ(w.links->nowShowing().now().hymn.label, "2 - Joie du monde");
}

// The menu bar's "Remote" opens the dialog, once. The settings and devices are the user's, beside
// the path file: the data folder, which several computers may share, never holds them. The pages
// read the value the window shows, from the moment the server starts and on each change.
TEST_F(RemoteWindow,
       remoteInTheMenuBarOpensTheDialogKeptBesideThePathFile_andTheServerTellsWhatTheWindowShows) {
    Window& w = byRemote;
    QAction* entry = w.h.find<QAction>("mnu_remote");
    ASSERT_TRUE(entry);
    EXPECT_TRUE(w.h.window->menuBar()->actions().contains(entry));
    entry->trigger();
    remote::FrmRemote* dialog = w.remote->dialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    auto* port = dialog->findChild<QSpinBox*>("spin_RemotePort");
    EXPECT_EQ(port->value(), 4320);
    port->setValue(5100);
    emit port->editingFinished();
    remote::RemoteService& service = w.remote->service();
    EXPECT_FALSE(service.isRunning()) << "a port is chosen without switching the server on";
    const QString beside = QFileInfo(w.h.where().pathFile).dir().filePath("Lumora.remote");
    remote::DeviceStore kept(beside);
    ASSERT_TRUE(kept.load());
    EXPECT_EQ(kept.settings().port, 5100);
    for (QDirIterator it(w.h.data.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        EXPECT_FALSE(it.next().endsWith("Lumora.remote"));
    entry->trigger();
    EXPECT_EQ(w.remote->dialog(), dialog) << "one dialog, raised again";

    w.send(R"({"action":"goto","reference":"Ps 23:2"})");
    // this machine only
    ASSERT_TRUE(service.store().setSettings({4320, QStringLiteral("127.0.0.1"), false}));
    const std::optional<QString> error = service.start(quint16(0)); // any free pair of ports
    ASSERT_FALSE(error) << error->toStdString();
    const QByteArray token = service.store().add(QStringLiteral("Phone"), remote::Role::View);
    QNetworkAccessManager nam;
    const QString nowUrl = QStringLiteral("http://127.0.0.1:%1/api/now").arg(service.server().httpPort());
    auto now = [&] { return askServer(nam, "GET", nowUrl, {}, token, 5000); };
    EXPECT_EQ(now().value("passage").toObject().value("heading").toString(),
              w.links->nowShowing().now().passage.heading);
    w.send(R"({"action":"nextVerse"})");
    const QJsonArray verses = now().value("passage").toObject().value("verses").toArray();
    ASSERT_FALSE(verses.isEmpty());
    EXPECT_EQ(verses.at(0).toObject().value("label").toString(), "23.3");
    service.stop();
    EXPECT_FALSE(service.isRunning());
    EXPECT_EQ(service.baseAddresses(), QStringList());
}

} // namespace lumora::testing
