#include "app/helpmenu.h"

#include "common/paths.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QVBoxLayout>

// The guide lives in the program's resources, linked from a static library: its registration is
// asked for by name, outside any namespace.
static void registerGuide() {
    Q_INIT_RESOURCE(guide);
}

namespace lumora::app {

QString programVersion() {
    return QStringLiteral(LUMORA_VERSION);
}

QString aboutText(const QString& version, const QString& dataPath) {
    const QString folder = dataPath.isEmpty() ? QStringLiteral("none chosen")
                                              : QDir::toNativeSeparators(dataPath).toHtmlEscaped();
    return QStringLiteral("<h2>Lumora %1</h2>"
                          "<p>A Bible and hymn-book reader for churches: passages and hymns, their "
                          "recordings followed verse by verse, slides, videos and a copy for the "
                          "projector.</p>"
                          "<p>Built on:</p><ul>"
                          "<li>Qt %2 (LGPL-3.0)</li>"
                          "<li>GStreamer, through Qt Multimedia (LGPL-2.1)</li>"
                          "<li>liblnk, for Windows shortcuts (LGPL-3.0)</li>"
                          "<li>libsndfile, for reading recordings (LGPL-2.1)</li>"
                          "<li>eSpeak NG, reading verses to align recordings with (GPL-3.0)</li>"
                          "<li>FFTW, for the spectra of recordings (GPL-2.0)</li>"
                          "<li>SWORD, for lumora-cli's Bible importer (GPL-2.0)</li>"
                          "</ul>"
                          "<p>Data folder: %3</p>")
        .arg(version.toHtmlEscaped(), QString::fromLatin1(qVersion()), folder);
}

std::optional<QString> readableHelpFile(const QString& dataPath) {
    if (dataPath.isEmpty()) return std::nullopt;
    const QString path = common::findPath(dataPath, {QStringLiteral("Help.chm")});
    if (!common::fileExists(path)) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    file.close();
    return path;
}

HelpMenu::HelpMenu(const session::Session& session, platform::Shell& shell, QMainWindow* window)
    : QObject(window), m_session(session), m_shell(shell), m_window(window) {
    QMenu* mnu_what = window->menuBar()->addMenu(QStringLiteral("HELP"));
    mnu_what->setObjectName(QStringLiteral("mnu_what"));
    mnu_help = mnu_what->addAction(QStringLiteral("HELP"), this, &HelpMenu::openHelp);
    mnu_help->setObjectName(QStringLiteral("mnu_help"));
    mnu_help->setShortcut(QKeySequence::HelpContents);
    Mnu_About = mnu_what->addAction(QStringLiteral("About ..."), this, &HelpMenu::showAbout);
    Mnu_About->setObjectName(QStringLiteral("Mnu_About"));
}

void HelpMenu::openHelp() {
    // "Help.chm" comes first where something opens it; nothing on a Linux desktop does by default,
    // and a help menu that does nothing helps nobody.
    if (const std::optional<QString> help = readableHelpFile(m_session.DataPath);
        help && m_shell.canOpen(*help)) {
        const QFileInfo info(*help);
        if (m_shell.openIn(info.absolutePath() + QLatin1Char('/'), info.fileName()) ==
            platform::ShellResult::Opened)
            return;
    }
    showGuide();
}

void HelpMenu::showGuide() {
    if (!m_guide) {
        registerGuide();
        m_guide = new QDialog(m_window);
        m_guide->setObjectName(QStringLiteral("FrmGuide"));
        m_guide->setAttribute(Qt::WA_DeleteOnClose);
        m_guide->setWindowTitle(QStringLiteral("Lumora user guide"));
        auto* text = new QTextBrowser(m_guide);
        text->setObjectName(QStringLiteral("Txt_Guide"));
        text->setOpenExternalLinks(true);
        QFile guide(QStringLiteral(":/lumora/guide.md"));
        if (guide.open(QIODevice::ReadOnly)) text->setMarkdown(QString::fromUtf8(guide.readAll()));
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, m_guide);
        connect(buttons, &QDialogButtonBox::rejected, m_guide, &QDialog::reject);
        auto* column = new QVBoxLayout(m_guide);
        column->addWidget(text);
        column->addWidget(buttons);
        m_guide->resize(720, 560);
    }
    m_guide->show();
    m_guide->raise();
    m_guide->activateWindow();
}

void HelpMenu::showAbout() {
    if (!m_about) {
        m_about = new QDialog(m_window);
        m_about->setObjectName(QStringLiteral("FrmAbout"));
        m_about->setAttribute(Qt::WA_DeleteOnClose);
        m_about->setWindowTitle(QStringLiteral("About Lumora"));
        auto* text = new QLabel(aboutText(programVersion(), m_session.DataPath), m_about);
        text->setObjectName(QStringLiteral("Lbl_About"));
        text->setTextFormat(Qt::RichText);
        text->setWordWrap(true);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, m_about);
        connect(buttons, &QDialogButtonBox::accepted, m_about, &QDialog::accept);
        auto* column = new QVBoxLayout(m_about);
        column->addWidget(text);
        column->addWidget(buttons);
        m_about->setMinimumWidth(420);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

} // namespace lumora::app
