// The hymn's slides and video handed to the shell, and the companion programs of the data folder.

#include "hymns/ui/hymnmedia.h"
#include "hymns/ui/hymnselection.h"

#include "hymnfixture.h"
#include "shelllink.h"
#include "support/fakes.h"
#include "support/mainwindow.h"

#include <QFile>

using namespace lumora;
using namespace lumora::testing;

namespace {

void release(QWidget* w, Qt::MouseButton button = Qt::LeftButton, QPointF at = QPointF(2, 2)) {
    QMouseEvent e(QEvent::MouseButtonRelease, at, at, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void makeExecutable(const QString& path) {
    writeBytes(path, "#!/bin/sh\n");
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

constexpr auto Ok = platform::PromptButtons::Ok;
constexpr auto None = platform::PromptIcon::None;

struct Media {
    HymnData d;
    session::Session session;
    FakeShell shell;
    FakePrompts prompts;
    QWidget page;
    hymns::HymnMedia media{session, shell, prompts, &page};
    Media() { session.DataPath = d.path(); }
};

} // namespace

// slides and video
TEST(HymnMedia, foundSlidesAndVideoOpenInTheirFolderWithoutAMessage_missingOnesSayNotingAndNothing) {
    Media m;
    m.d.touch("Alpha", "Diapo/12.pptx");
    m.d.touch("Alpha", "Video/12.avi");
    m.media.openSlides(m.d.bookFile("Alpha", "Diapo/12.pptx"));
    m.media.openVideo(m.d.bookFile("Alpha", "Video/12.avi"));
    EXPECT_EQ(m.shell.openedIn, QStringList({m.d.bookFile("Alpha", "Diapo/") + "|12.pptx",
                                             m.d.bookFile("Alpha", "Video/") + "|12.avi"}));
    EXPECT_TRUE(m.prompts.asked.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone afterwards";
    // missing ones: OK only, no icon
    m.media.openSlides(m.d.bookFile("Alpha", "Diapo/gone.pptx"));
    m.media.openVideo(m.d.bookFile("Alpha", "Video/gone.avi"));
    EXPECT_EQ(m.prompts.asked, (std::vector<FakePrompts::Asked>{{"NOTING", platform::kAppTitle, Ok, None},
                                                                {"NOTHING", platform::kAppTitle, Ok, None}}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    m.media.openSlides("12.pptx"); // a bare name opens in the current folder
    EXPECT_EQ(m.shell.openedIn.last(), "|12.pptx");
}

TEST(HymnMedia, otherShellFailuresAreNotReported) {
    struct FailingShell final : platform::Shell {
        platform::ShellResult open(const QString&) override { return platform::ShellResult::Failed; }
        bool startProgram(const QString&, const QStringList&) override { return false; }
    } shell;
    FakePrompts prompts;
    session::Session session;
    QWidget page;
    hymns::HymnMedia media(session, shell, prompts, &page);
    TempFolder dir;
    writeBytes(dir.file("for.pptx"), "slides"); // there, but no program opens it
    media.openSlides(dir.file("for.pptx"));
    EXPECT_TRUE(prompts.asked.empty());
}

// the window: the icons of the hymn on display. Any button, or a release after dragging off the
// icon, opened them too. A shortcut whose target cannot be read names no file: the user is told the
// video is missing, and nothing is opened in its stead (the real shell once opened the working
// folder).
TEST(HymnMediaWindow, iconsOpenTheHymnsSlidesAndTheShortcutsTarget_aDamagedShortcutOpensNothing) {
    MainWindowHarness h;
    writeBytes(h.data.file("Bible/Version.txt"), "KJV - King James\r\n");
    writeBytes(h.data.file("Cantiques/Alpha/Hira.txt"),
               crlfLines({hymnEntry("12 - Gloire", "Louange", "Noel", "Alpha"),
                          hymnEntry("13 - Joie", "Louange", "Noel", "Alpha")}));
    writeBytes(h.data.file("Cantiques/Alpha/Diapo/12 - Gloire.pptx"), "slides");
    writeBytes(h.data.file("Clips/Gloria.avi"), "video");
    writeBytes(h.data.file("Cantiques/Alpha/Video/12.lnk"),
               shellLink("C:\\Gone\\Gloria.avi", "..\\..\\..\\Clips\\Gloria.avi"));
    writeBytes(h.data.file("Cantiques/Alpha/Video/13.lnk"), QByteArray("L\0\0\0garbage", 11));
    ASSERT_TRUE(h.open());
    auto* slides = h.find<QLabel>("Image_Diapo");
    auto* video = h.find<QLabel>("Image_Video");
    ASSERT_FALSE(slides->isHidden());
    ASSERT_FALSE(video->isHidden());
    release(slides, Qt::RightButton);
    release(video, Qt::MiddleButton);
    release(slides, Qt::LeftButton, QPointF(slides->width() + 30, 2));
    EXPECT_TRUE(h.shell.openedIn.isEmpty()) << h.shell.openedIn.join(',').toStdString();
    release(slides);
    release(video);
    const QStringList opened{h.data.file("Cantiques/Alpha/Diapo/") + "|12 - Gloire.pptx",
                             h.data.file("Clips/") + "|Gloria.avi"};
    EXPECT_EQ(h.shell.openedIn, opened);
    EXPECT_TRUE(h.prompts.asked.empty());

    hymns::HymnSelection::select(h.combo("ComboBox_Chant"), 1);
    ASSERT_FALSE(video->isHidden());
    const QStringList openedBefore = h.shell.opened;
    release(video);
    ASSERT_EQ(h.prompts.asked.size(), 1u);
    EXPECT_EQ(h.prompts.asked[0].text, "NOTHING");
    EXPECT_EQ(h.shell.opened, openedBefore) << h.shell.opened.join(',').toStdString();

    // the companion buttons, with no such program in the data folder, start nothing and say nothing
    h.find<QToolButton>("Clavier_MIDI")->click();
    h.find<QToolButton>("Img_Calendar")->click();
    EXPECT_TRUE(h.shell.started.isEmpty());
    EXPECT_EQ(h.prompts.asked.size(), 1u);
}

// companion programs
TEST(HymnCompanions, programsStartFromTheDataFolderWhateverTheLetterCase_elseTriedWithoutExe) {
    Media m;
    makeExecutable(m.d.file("cantiques/lumora_clavier_midi.EXE"));
    makeExecutable(m.d.file("Calendar/Calendar.exe"));
    m.media.startMidiKeyboard();
    m.media.startCalendar();
    EXPECT_EQ(m.shell.started, QStringList({m.d.file("cantiques/lumora_clavier_midi.EXE"),
                                            m.d.file("Calendar/Calendar.exe")}));

    // a program that does not start is tried without ".exe"
    Media windows;
    makeExecutable(windows.d.file("Calendar/Calendar.exe"));
    makeExecutable(windows.d.file("Calendar/Calendar"));
    windows.shell.refused << windows.d.file("Calendar/Calendar.exe"); // a Windows program here
    windows.media.startCalendar();
    EXPECT_EQ(windows.shell.started,
              QStringList({windows.d.file("Calendar/Calendar.exe"), windows.d.file("Calendar/Calendar")}));

    Media only;
    makeExecutable(only.d.file("Cantiques/Lumora_Clavier_Midi"));
    only.media.startMidiKeyboard();
    EXPECT_EQ(only.shell.started, QStringList{only.d.file("Cantiques/Lumora_Clavier_Midi")});
}
