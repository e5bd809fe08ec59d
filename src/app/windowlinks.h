#pragma once
// The clone window, the window labels and the font dialog, connected to the areas they show and
// change. Kept apart from FrmLumora so that the main window stays a list of connections.

#include <QObject>
#include <QPointer>

class QMainWindow;
class QTabWidget;

namespace lumora::bible {
class BibleNavigation;
class BiblePlayer;
class PassageView;
class QuickReference;
class SecondVersion;
class VerseFollower;
class Zoom;
} // namespace lumora::bible
namespace lumora::hymns {
class HymnPlayer;
class HymnSelection;
} // namespace lumora::hymns
namespace lumora::marks {
class MarkEditor;
}
namespace lumora::output {
class OutputActions;
}
namespace lumora::platform {
class CommonDialog;
}
namespace lumora::session {
struct Session;
}
namespace lumora::windows {
class CloneWindow;
struct CloneContent;
class FrmPolice;
class LayoutLabels;
class TextStyler;
} // namespace lumora::windows

namespace lumora::app {

class BiblePage;
class CanticlePage;
class NowShowingFeed;

struct WindowParts {
    QMainWindow* mainWindow;
    QTabWidget* tabs;
    BiblePage* biblePage;
    CanticlePage* canticlePage;
    bible::BibleNavigation& navigation;
    bible::PassageView& passage;
    bible::VerseFollower& follower;
    bible::BiblePlayer& biblePlayer;
    bible::Zoom& zoom;
    hymns::HymnSelection& hymns;
    hymns::HymnPlayer& hymnPlayer;
    platform::CommonDialog& dialogs;
    QString settingsFile; // the user's settings (the clone's mode, layout and logo are kept there)
    const session::Session& session;
    marks::MarkEditor& marks;      // a verse label it selects with the sound off shows in the clone too
    output::OutputActions& output; // its print and save buttons go beside CLONE
};

class WindowLinks final : public QObject {
    Q_OBJECT
  public:
    explicit WindowLinks(const WindowParts& parts, QObject* parent = nullptr);
    ~WindowLinks() override;

    windows::CloneWindow& clone() { return *m_clone; }
    // What the window presents now, emitted on every change.
    NowShowingFeed& nowShowing() { return *m_feed; }
    windows::TextStyler& styler() { return *m_styler; }
    bible::QuickReference& quickReference() { return *m_quick; }
    bible::SecondVersion& secondVersion() { return *m_second; }
    windows::FrmPolice* fontDialog() const;
    // Label15 / Label17: shows FrmPolice (created anew when it was closed).
    void showFontDialog();
    // The load saved the start-up style.
    void onLoaded();
    // "Logo picture...": the picture the logo key shows, chosen and kept in the user's settings.
    void chooseLogo();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    windows::CloneContent bibleContent() const;
    windows::CloneContent hymnContent() const;

    WindowParts m_parts;
    windows::CloneWindow* m_clone;
    NowShowingFeed* m_feed;
    bible::QuickReference* m_quick;
    bible::SecondVersion* m_second;
    windows::LayoutLabels* m_labels;
    windows::TextStyler* m_styler;
    QPointer<windows::FrmPolice> m_police;
};

} // namespace lumora::app
