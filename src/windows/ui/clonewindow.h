#pragma once
// The clone window's side of the main window: Label12 and Label13 ("CLONE") that fill Frm_doublon
// with the passage or the hymn, Label18 and Lbl_InScreen that say what it shows, Label19
// ("L O C A L" / "Window 2", HymnWindow2), and the mirroring of the main boxes' selections.
//
// It is given what it shows as values (CloneContent) and follows the main window through its slots:
//   Label12 / Label13 click  -> bibleCloneClicked() / hymnCloneClicked(); the main window answers
//                               with showBible() / showHymn() and the content of that moment
//   verse heard              -> onVerseSelected(), onCaretMovedToEnd()   (while it shows the Bible)
//   mark taken (right click) -> mirrorSelection()                       (the Bible audio muted)
//   selections of the boxes  -> onBibleSelectionChanged(), onHymnSelectionChanged()
// The clone's passage is a snapshot that may no longer be the passage of the main window: a verse
// is highlighted in it by its label, at the place that verse has in the clone's own text (found
// once, when the passage is shown), never by offsets into the main box (which would fall in the
// middle of other words), and not at all when the clone lacks it.
//   zoom                     -> onZoomApplied()
// The window is created on first use. Closing it clears Label18 and Lbl_InScreen only; the flags
// keep their values, so a later mirror creates it again, hidden, until the next CLONE click.

#include "platform/textstyle.h"
#include "session/nowshowing.h"
#include "windows/ui/frmdoublon.h"
#include "windows/ui/screenchoice.h"
#include "windows/ui/versepanel.h"

#include <QColor>
#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QPointer>

#include <optional>

class QAction;
class QLabel;
class QScreen;
class QShortcut;
class QWidget;

namespace lumora::windows {

class ClickLabel;

struct CloneContent {
    // The Bible: the passage as the passage builder kept it (UTF-8, BOM first), given the Bible
    // display settings.
    QByteArray passageText;
    QStringList verseLabels; // the passage's verses, in order ("5.18", "5.19", ...)
    platform::TextStyle style;
    // The hymn: its words as rich text (HTML with the real sizes), on their back colour.
    QString hymnHtml;
    QColor hymnBackColor;
    // Labe16 or Label9.
    QString caption;
    QColor captionColor;
    // BibleBackground / HymnBackground, and the picture behind the main box.
    bool background = false;
    QPixmap picture;
    // The zoom of the main box copied.
    double zoom = 1.0;
    // The passage's verses, with the second version's when one is chosen (shown on both faces),
    // and the start of the verse-by-verse reference line ("John", or "John (KJV, RV1909)").
    QList<VerseCell> verses;
    QString reference;
};

// Passage: the whole passage as the main box shows it. Verses: one verse (or a group that fits)
// at a time, as large as the screen allows.
enum class CloneMode { Passage, Verses };

class CloneWindow final : public QObject {
    Q_OBJECT
  public:
    // Label12 is created under `biblePage`, Label13 and Label19 under `canticlePage`, Label18 and
    // Lbl_InScreen under `statusParent`. The screen of the window holding `biblePage` is the main one.
    CloneWindow(QWidget* biblePage, QWidget* canticlePage, QWidget* statusParent, QObject* parent = nullptr);
    ~CloneWindow() override;

    // For the pages to place: Label12; Label13 with Label19; Label18 with Lbl_InScreen.
    QWidget* bibleLabels() const { return m_bibleLabels; }
    QWidget* canticleLabels() const { return m_canticleLabels; }
    QWidget* statusLabels() const { return m_status; }

    // The clone window when it exists (it may be hidden).
    FrmDoublon* window() const { return m_window; }
    bool CloneShowsBible() const { return m_showsBible; }
    bool CloneShowsHymn() const { return m_showsHymn; }
    bool HymnWindow2() const { return m_hymnWindow2; }
    // What the window shows while it is open; Nothing once it is closed.
    session::CloneShows shows() const;
    const ClonePlacement& placement() const { return m_placement; }
    // The main window's text boxes (the passage, the hymn's words): a clone window that shares the
    // main window's screen, with no room beside it, lies over the one in view, where no control is.
    void setTextAreas(const QList<QWidget*>& boxes) {
        m_textAreas.clear();
        for (QWidget* b : boxes)
            m_textAreas << b;
    }
    void setPlacement(const ClonePlacement& placement);

    CloneMode mode() const { return m_mode; }
    Cover cover() const { return m_cover; }
    SecondLayout secondLayout() const { return m_secondLayout; }
    // The window's actions, by object name: Mnu_ClonePassage, Mnu_CloneVerses, Mnu_CloneNext,
    // Mnu_ClonePrevious, Mnu_CloneBlank, Mnu_CloneLogo, Mnu_CloneLogoPicture, Mnu_CloneStacked,
    // Mnu_CloneSideBySide. Each has its key and an accessible name (its text).
    QList<QAction*> actions() const { return m_actions; }
    QAction* action(const char* name) const;
    // The F7 and F8 keys of the clone's blank and logo, on a page of the main window too.
    void installCoverKeys(QWidget* page);
    // Page Down and Page Up on a page of the main window (where a presenter clicker's keys land)
    // step the clone while it shows a passage verse by verse, and only then.
    void installStepKeys(QWidget* page);

  public slots:
    // Label12: the passage as plain text with the display settings; CloneShowsBible.
    void showBible(const lumora::windows::CloneContent& content);
    // Label13: the hymn's rich text unchanged; CloneShowsHymn.
    void showHymn(const lumora::windows::CloneContent& content);
    // The verse being heard was selected in Text_Passage: `label` is the text selected there.
    // A new passage: the verse the following reached belongs to the old one.
    void forgetFollowedVerse();
    void onVerseSelected(const QString& label);
    void onCaretMovedToEnd();
    // A verse label selected in Text_Passage while the Bible audio is muted (a mark taken).
    void mirrorSelection(const QString& label);
    // The text now selected in Text_Passage.
    void onBibleSelectionChanged(const QString& selected);
    // Text_Cantique's selection; `shownLabel` is the caption of Label9.
    void onHymnSelectionChanged(int start, int length, const QString& shownLabel);
    void onZoomApplied(int tab, int numerator, int denominator);
    void setBibleAudioMuted(bool muted) { m_bibleMuted = muted; }
    void setCurrentTab(int tab) { m_tab = tab; }
    // Closes the clone window (the main window's unload).
    void closeWindow();
    // A screen went away: a clone full screen on it comes back to the screens left.
    void onScreenRemoved(QScreen* screen);
    // A screen came: a clone whose chosen screen it is (or, automatic, a clone on the main screen
    // for want of another) goes there.
    void onScreenAdded();
    // The right-click menu's choices, also given at start-up from the user's settings.
    void setMode(lumora::windows::CloneMode mode);
    void setSecondLayout(lumora::windows::SecondLayout layout);
    // F7 / F8: black, or the logo picture; the same key again brings the text back. The clone
    // keeps following underneath.
    void toggleCover(lumora::windows::Cover cover);
    void setLogo(const QPixmap& logo);
    // Page Down / Page Up and the arrows in verse-by-verse mode.
    void stepVerse(int direction);

  signals:
    void bibleCloneClicked();
    void hymnCloneClicked();
    // What the clone shows changed: the passage, the hymn, or the window closed.
    void shownChanged();
    // The user chose in the clone's menu (for the settings to keep).
    void modeChosen(lumora::windows::CloneMode mode);
    void secondLayoutChosen(lumora::windows::SecondLayout layout);
    // "Logo picture…": a picture is to be chosen and given to setLogo().
    void logoPictureWanted();
    // The user chose the clone's screen (for the settings to keep, by its identity).
    void placementChosen(const lumora::windows::ClonePlacement& placement);

  private:
    FrmDoublon* ensureWindow();
    void updateStepKeys();
    // The text box in view, on `screen` (empty when none is).
    QRect textAreaOn(QScreen* screen) const;
    void fillCommon(const CloneContent& content, const char* label18);
    void showPlaced(QScreen* gone = nullptr);
    void onBoxClicked();
    void onWindowClosing();
    void offerScreens(const QPoint& globalPos);
    void offerMenu(const QPoint& globalPos);
    QAction* makeAction(const char* name, const QString& text, const QList<QKeySequence>& keys,
                        bool checkable);
    void applyFace();
    void selectInClone(int start, int length);
    // Selects the verse labelled `label` in the clone, when it holds one; true when it did.
    bool selectVerseInClone(const QString& label);
    void fillPassageBox();

    QWidget* m_biblePage;
    QWidget* m_bibleLabels;
    QWidget* m_canticleLabels;
    QWidget* m_status;
    ClickLabel* Label12;
    ClickLabel* Label13;
    ClickLabel* Label19;
    QLabel* Label18;
    QLabel* Lbl_InScreen;
    QPointer<FrmDoublon> m_window;
    ClonePlacement m_placement;
    QList<QPointer<QWidget>> m_textAreas;
    QList<QPointer<QShortcut>> m_stepKeys;
    bool m_showsBible = false;  // CloneShowsBible
    bool m_showsHymn = false;   // CloneShowsHymn
    bool m_hymnWindow2 = false; // HymnWindow2
    bool m_bibleMuted = false;  // BibleAudioMuted
    bool m_open = false;        // shown since its last close
    int m_tab = 0;
    QString m_bibleSelection;          // the text selected in Text_Passage
    QString m_followedVerse;           // the label of the verse the following last reached
    CloneContent m_bible;              // the passage the clone shows (a snapshot)
    QHash<QString, int> m_verseStarts; // where each verse of the clone's passage starts in its text
    int m_hymnStart = 0, m_hymnLength = 0;
    CloneMode m_mode = CloneMode::Passage;
    Cover m_cover = Cover::None;
    SecondLayout m_secondLayout = SecondLayout::Stacked;
    QPixmap m_logo;
    QList<QAction*> m_actions;
};

} // namespace lumora::windows
