#pragma once
// The Canticle tab's doors to other programs: the hymn's slide show and video handed to the
// desktop, and the two companion programs kept in the data folder (the MIDI keyboard and the
// calendar).

#include "platform/prompts.h"
#include "platform/shell.h"
#include "session/session.h"

#include <QObject>
#include <QStringList>

class QToolButton;
class QWidget;

namespace lumora::hymns {

inline const QString kSlidesMissing = QStringLiteral("NOTING");
inline const QString kVideoMissing = QStringLiteral("NOTHING");

// Where the shell opens a path: the folder up to and including its last separator, and the name
// after it. "/d/Diapo/12.pptx" -> {"/d/Diapo/", "12.pptx"}; "12.pptx" -> {"", "12.pptx"} (the
// current folder).
struct ShellTarget {
    QString directory;
    QString file;
};
ShellTarget splitShellPath(const QString& path);

// The files tried for a companion program, in order: the name as given, found without regard to
// letter case, then the same name without ".exe" (so a data folder prepared for both systems
// starts on both). Only files that exist are listed.
QStringList companionCandidates(const QString& dataPath, const QString& folder, const QString& program);

class HymnMedia final : public QObject {
    Q_OBJECT
  public:
    // The two companion buttons are made under `page`, in companions().
    HymnMedia(const session::Session& session, platform::Shell& shell, platform::Prompts& prompts,
              QWidget* page, QObject* parent = nullptr);

    // Clavier_MIDI and Img_Calendar, in a row, for the page to place.
    QWidget* companions() const { return m_companions; }

  public slots:
    // Image_Diapo: the slide file, in its folder; "NOTING" when the shell does not find it.
    void openSlides(const QString& slidePath);
    // Image_Video: the video (a shortcut's target), in its folder; "NOTHING" when not found.
    void openVideo(const QString& videoPath);
    // Clavier_MIDI and Img_Calendar: silent when the program is missing or does not start.
    void startMidiKeyboard();
    void startCalendar();

  private:
    void openFile(const QString& path, const QString& notFound);
    void startCompanion(const QString& folder, const QString& program);

    const session::Session& m_session;
    platform::Shell& m_shell;
    platform::Prompts& m_prompts;
    QWidget* m_companions;
    QToolButton* Clavier_MIDI;
    QToolButton* Img_Calendar;
};

} // namespace lumora::hymns
