#include "app/frmdatapath.h"
#include "app/frmlumora.h"
#include "platform/qt/qtcommondialog.h"
#include "platform/qt/qtmediaplayer.h"
#include "platform/qt/qtprompts.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

using namespace lumora;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumora"));

    // A plain splash while the window loads.
    auto* splash = new QLabel(QStringLiteral("Lumora"));
    splash->setObjectName(QStringLiteral("frmSplash"));
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->setWindowFlags(Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    splash->setAlignment(Qt::AlignCenter);
    splash->setStyleSheet(
        QStringLiteral("font-size: 32pt; padding: 40px; background: #1e3a5f; color: white;"));
    splash->show();
    QApplication::processEvents();

    platform::QtPrompts prompts;
    platform::QtShell shell;
    platform::QtCommonDialog dialogs;
    platform::Platform platform{[](QObject* parent) { return new platform::QtMediaPlayer(parent); }, prompts,
                                shell, dialogs};
    const session::DataPathLocations where = session::defaultLocations();

    auto* window = new app::FrmLumora(platform, where);
    window->setAttribute(Qt::WA_DeleteOnClose);
    prompts.setOwner(window);
    dialogs.setOwner(window);
    if (!window->load()) {
        splash->close();
        auto* chooser = new app::FrmDataPath(where);
        chooser->show();
        return QApplication::exec();
    }
    window->show();
    QApplication::processEvents();
    QTimer::singleShot(1500, splash, &QWidget::close);
    return QApplication::exec();
}
