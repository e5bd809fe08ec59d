#include "hymns/ui/hymnmedia.h"

#include "common/paths.h"
#include "platform/waitcursor.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QToolButton>

namespace lumora::hymns {

namespace {

QToolButton* companionButton(QWidget* parent, const char* name, const QString& icon, const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    return button;
}

} // namespace

ShellTarget splitShellPath(const QString& path) {
    qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    cut = std::max(cut, path.lastIndexOf(QLatin1Char('\\')));
#endif
    if (cut < 0) return {QString(), path};
    return {path.left(cut + 1), path.mid(cut + 1)};
}

QStringList companionCandidates(const QString& dataPath, const QString& folder, const QString& program) {
    QStringList names{program};
    if (program.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) names << program.chopped(4);
    QStringList found;
    for (const QString& name : names) {
        const QString path = common::findPath(dataPath, {folder, name});
        if (common::fileExists(path)) found << path;
    }
    return found;
}

HymnMedia::HymnMedia(const session::Session& session, platform::Shell& shell, platform::Prompts& prompts,
                     QWidget* page, QObject* parent)
    : QObject(parent), m_session(session), m_shell(shell), m_prompts(prompts),
      m_companions(new QWidget(page)) {
    Clavier_MIDI =
        companionButton(m_companions, "Clavier_MIDI", QStringLiteral(":/lumora/companions/keyboard.svg"),
                        QStringLiteral("MIDI keyboard"));
    Img_Calendar =
        companionButton(m_companions, "Img_Calendar", QStringLiteral(":/lumora/companions/calendar.svg"),
                        QStringLiteral("Calendar"));
    auto* row = new QHBoxLayout(m_companions);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(Clavier_MIDI);
    row->addWidget(Img_Calendar);
    connect(Clavier_MIDI, &QToolButton::clicked, this, &HymnMedia::startMidiKeyboard);
    connect(Img_Calendar, &QToolButton::clicked, this, &HymnMedia::startCalendar);
}

void HymnMedia::openFile(const QString& path, const QString& notFound) {
    const ShellTarget target = splitShellPath(path);
    platform::ShellResult result;
    {
        const platform::WaitCursor wait;
        result = m_shell.openIn(target.directory, target.file);
    }
    // Only a missing file is reported; the desktop shows its own errors.
    if (result == platform::ShellResult::NotFound) m_prompts.tell(notFound);
}

void HymnMedia::openSlides(const QString& slidePath) {
    openFile(slidePath, kSlidesMissing);
}

void HymnMedia::openVideo(const QString& videoPath) {
    openFile(videoPath, kVideoMissing);
}

void HymnMedia::startCompanion(const QString& folder, const QString& program) {
    if (m_session.DataPath.isEmpty()) return;
    for (const QString& path : companionCandidates(m_session.DataPath, folder, program))
        if (m_shell.startProgram(path)) return;
}

void HymnMedia::startMidiKeyboard() {
    startCompanion(QStringLiteral("Cantiques"), QStringLiteral("Lumora_Clavier_Midi.exe"));
}

void HymnMedia::startCalendar() {
    startCompanion(QStringLiteral("Calendar"), QStringLiteral("Calendar.exe"));
}

} // namespace lumora::hymns
