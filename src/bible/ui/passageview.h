#pragma once
// The passage box and its display options: titles, capitals, the version header, and the
// version-order mode.

#include "bible/passagebuilder.h"
#include "bible/passagedocument.h"
#include "platform/backdropbox.h"
#include "platform/richtextbox.h"
#include "platform/textstyle.h"
#include "session/session.h"

#include <QObject>

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QTextEdit;
class QToolButton;
class QWidget;

namespace lumora::bible {

class BibleNavigation;

// The look a passage takes in the box from the start-up style (what the font dialog changed) and
// the version's direction.
PassageLook passageLook(const platform::TextStyle& style, bool rightToLeft);

class PassageView final : public QObject {
    Q_OBJECT
  public:
    PassageView(const session::Session& session, BibleNavigation& nav, QWidget* page,
                QObject* parent = nullptr);

    // The heading Labe16 above the passage box Text_Passage; the display option check boxes; the
    // version-order frame.
    QWidget* view() const { return m_view; }
    // The row above the passage: the header tools, then Labe16.
    QWidget* header() const { return m_headerRow; }
    QWidget* options() const { return m_options; }
    QWidget* orderFrame() const;
    // Labe16: the heading of the passage on display.
    const QLabel* heading() const { return Labe16; }
    // Puts a small tool (the window labels) on the heading's row, left of Labe16.
    void addHeaderTool(QWidget* tool);
    platform::RichTextBox& passageBox() { return *m_box; }
    // Image_Passage behind Text_Passage.
    platform::BackdropBox& backdrop() { return *m_backdrop; }

    // Builds the passage of `selection` with the display options and shows it (on each selection
    // of the navigation); an option click builds the same selection again.
    void PreparePassage(const PassageSelection& selection);
    // The navigation let its choice go: an option click builds nothing until the next selection.
    void onChoiceCleared() { m_selection.reset(); }

    // The last passage shown.
    const Passage& passage() const { return m_passage; }
    const PassageRequest& request() const { return m_request; }
    // The display options the check boxes give.
    const PassageOptions& displayOptions() const { return m_display; }
    // Saves the style Text_Passage has now as the start-up style.
    void saveStartupStyle();
    const platform::TextStyle& startupStyle() const { return m_style; }
    // The font dialog changed the style of the whole passage: every new passage keeps it.
    void setStartupStyle(const platform::TextStyle& style) { m_style = style; }
    // The program wrote a testament file: the next passage reads it again.
    void onBookFileWritten(const QString& path) { m_cache.forget(path); }

  signals:
    void passageShown(const bible::Passage& passage);
    void captureToolsToggled(bool shown);

  private:
    void onOptionClicked();
    void onOrderToggled(bool checked);
    void moveVersion(int delta);

    const session::Session& m_session;
    BibleNavigation& m_nav;
    platform::TextStyle m_style;
    QWidget* m_view;
    QWidget* m_options;
    QTextEdit* Text_Passage;
    platform::RichTextBox* m_box;
    platform::BackdropBox* m_backdrop;
    QLabel* Labe16;
    QWidget* m_headerRow;
    QHBoxLayout* m_header;
    QCheckBox* Check_With_Title;
    QCheckBox* Check_Uppercase;
    QCheckBox* Check_Version;
    QCheckBox* Chec_Order;
    QCheckBox* Check_Shop;
    QGroupBox* Frame_Order_Version;
    QListWidget* List_version_Order;
    QToolButton* Img_UP_ListVersion;
    QToolButton* Img_DN_ListVersion;
    TestamentCache m_cache;
    std::optional<PassageSelection> m_selection; // the selection shown last
    PassageOptions m_display;
    PassageRequest m_request;
    Passage m_passage;
    QString m_versionBeforeOrdering;
};

} // namespace lumora::bible
