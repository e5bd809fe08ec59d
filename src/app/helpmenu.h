#pragma once
// The main window's HELP menu (mnu_what): the help file of the data folder, else the program's own
// user guide, and the About box.

#include "platform/shell.h"
#include "session/session.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

#include <optional>

class QAction;
class QMainWindow;

namespace lumora::app {

// The program's version, as the build gives it ("0.1.0").
QString programVersion();

// The About box's text (rich text): the program's name and version, what it is, the libraries it
// is built on with their licences, and where its data folder is ("none chosen" when empty).
QString aboutText(const QString& version, const QString& dataPath);

// The help file to open: "Help.chm" in the data folder (found without regard to letter case)
// when it can be opened for reading; none otherwise, and then nothing is opened.
std::optional<QString> readableHelpFile(const QString& dataPath);

class HelpMenu final : public QObject {
    Q_OBJECT
  public:
    // Adds the menu to the window's menu bar.
    HelpMenu(const session::Session& session, platform::Shell& shell, QMainWindow* window);

    // The About box while it is open, else null.
    QDialog* aboutBox() const { return m_about; }
    // The user guide while it is open, else null.
    QDialog* guide() const { return m_guide; }

  public slots:
    // mnu_help (and F1): the help file through the shell, in the data folder, when something
    // opens it; otherwise the program's own user guide.
    void openHelp();
    // The user guide the program carries (one at a time, not modal).
    void showGuide();
    // Mnu_About: shows the About box (one at a time, not modal).
    void showAbout();

  private:
    const session::Session& m_session;
    platform::Shell& m_shell;
    QMainWindow* m_window;
    QAction* mnu_help;
    QAction* Mnu_About;
    QPointer<QDialog> m_about;
    QPointer<QDialog> m_guide;
};

} // namespace lumora::app
