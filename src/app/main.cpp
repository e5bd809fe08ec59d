#include "app/frmdatapath.h"
#include "app/frmlumora.h"
#include "app/frmsplash.h"
#include "app/helpmenu.h"
#include "app/remotelinks.h"
#include "platform/qt/qtcommondialog.h"
#include "platform/qt/qtmediaplayer.h"
#include "platform/qt/qtprompts.h"
#include "remote/remoteservice.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPointer>

#include <cstdio>
#include <optional>

using namespace lumora;

namespace {

// `lumora --remote`: the server on, its pages' addresses and the PIN on standard output (again
// whenever the PIN changes), for a projector computer started unattended.
void startRemote(remote::RemoteService& service, std::optional<quint16> port) {
    if (const std::optional<QString> error = service.start(port)) {
        std::fprintf(stderr, "lumora: the remote could not start: %s\n", qPrintable(*error));
        return;
    }
    QStringList lines;
    for (const QString& base : service.baseAddresses()) {
        const QStringList pages = remote::RemoteService::pageAddresses(base);
        lines << QStringLiteral("Remote: ") + pages.at(0) << QStringLiteral("Stage:  ") + pages.at(1)
              << QStringLiteral("Live:   ") + pages.at(2);
    }
    lines << QStringLiteral("PIN:    ") + service.pairing().pin();
    std::printf("%s\n", qPrintable(lines.join(QLatin1Char('\n'))));
    std::fflush(stdout);
    QObject::connect(&service.server(), &remote::RemoteServer::pinChanged, &service, [&service] {
        std::printf("PIN:    %s\n", qPrintable(service.pairing().pin()));
        std::fflush(stdout);
    });
}

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
    const QCommandLineOption remoteOn(
        QStringLiteral("remote"),
        QStringLiteral("Start with the remote server on (phones, stage screens, streaming programs); the "
                       "pages' addresses and the pairing PIN are printed on standard output."));
    options.addOption(remoteOn);
    const QCommandLineOption remotePort(
        QStringLiteral("remote-port"),
        QStringLiteral("The remote's port for this start (implies --remote; default: the one chosen in "
                       "\"Remote…\", first 4320). The live feed uses the next port."),
        QStringLiteral("N"));
    options.addOption(remotePort);
    options.process(app);
    std::optional<quint16> port;
    if (options.isSet(remotePort)) {
        bool ok = false;
        const uint n = options.value(remotePort).toUInt(&ok);
        if (!ok || n < 1 || n > 65534) {
            std::fprintf(stderr, "lumora: --remote-port takes a port from 1 to 65534\n");
            return 2;
        }
        port = static_cast<quint16>(n);
    }

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
    if (options.isSet(remoteOn) || port) startRemote(window->remote().service(), port);
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
