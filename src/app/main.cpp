#include "app/frmdatapath.h"
#include "app/frmlumora.h"
#include "app/frmsplash.h"
#include "app/helpmenu.h"
#include "platform/qt/qtcommondialog.h"
#include "platform/qt/qtmediaplayer.h"
#include "platform/qt/qtprompts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPointer>

using namespace lumora;

namespace {

int run(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumora"));
    QApplication::setApplicationVersion(app::programVersion());

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("A Bible and hymn-book reader. The data folder is the last usable line of "
                       "~/.config/LMR/Lumora.path; lumora-cli works on the same data."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption noSplash(QStringLiteral("no-splash"),
                                      QStringLiteral("Start without the splash window (for a projector "
                                                     "computer that starts the program unattended)."));
    options.addOption(noSplash);
    const QCommandLineOption muted(QStringLiteral("muted"),
                                   QStringLiteral("Start with the Bible audio off (the chapter is not read "
                                                  "aloud at the start); the mute button turns it on."));
    options.addOption(muted);
    options.process(app);

    // The splash first, so that it is on screen while the window loads.
    QPointer<app::FrmSplash> splash;
    if (!options.isSet(noSplash)) {
        splash = new app::FrmSplash;
        splash->setAttribute(Qt::WA_DeleteOnClose);
        splash->show();
        QApplication::processEvents();
    }

    platform::QtPrompts prompts;
    platform::QtShell shell;
    platform::QtCommonDialog dialogs;
    platform::Platform platform{[](QObject* parent) { return new platform::QtMediaPlayer(parent); }, prompts,
                                shell, dialogs};
    const session::DataPathLocations where = session::defaultLocations();

    auto* window = new app::FrmLumora(platform, where);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setStartsMuted(options.isSet(muted));
    prompts.setOwner(window);
    dialogs.setOwner(window);
    if (!window->load()) {
        if (splash) splash->close();
        auto* chooser = new app::FrmDataPath(where);
        chooser->show();
        return QApplication::exec();
    }
    window->show();
    QApplication::processEvents();
    if (splash) {
        splash->CloseAfter(60);
        splash->showSkipLabel();
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    platform::exitWithoutLibraryTeardown(run(argc, argv));
}
