#pragma once
// The passage box and its display options: titles, capitals, the version header, and the
// version-order mode.

#include "app/appstate.h"
#include "bible/passagebuilder.h"
#include "platform/platform.h"
#include "platform/richtextbox.h"

#include <QObject>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QTextEdit;
class QToolButton;
class QWidget;

namespace lumora::bible {

class BibleNavigation;

class PassageView final : public QObject {
    Q_OBJECT
public:
    PassageView(app::AppState& state, BibleNavigation& nav, QWidget* page, QObject* parent = nullptr);

    QTextEdit* Text_Passage = nullptr;
    platform::RichTextBox* passageBox = nullptr;
    QLabel* Labe16 = nullptr;
    QCheckBox* Check_With_Title = nullptr;
    QCheckBox* Check_Uppercase = nullptr;
    QCheckBox* Check_Version = nullptr;
    QCheckBox* Chec_Order = nullptr;
    QCheckBox* Check_Shop = nullptr;
    QGroupBox* Frame_Order_Version = nullptr;
    QListWidget* List_version_Order = nullptr;
    QToolButton* Img_UP_ListVersion = nullptr;
    QToolButton* Img_DN_ListVersion = nullptr;

    // Reads the navigation lists' selection, builds the passage and shows it.
    void PreparePassage();
    // The selection as the builder sees it (also used by the command-line tool's tests).
    PassageSelection currentSelection() const;

    // The last passage shown.
    const Passage& passage() const { return m_passage; }
    const PassageRequest& request() const { return m_request; }
    // ComboBox_repere with its selection: the marks of the passage when the chapter's end was met.
    QByteArrayList selectedMarks() const;

    // Saves the style Text_Passage has now as the start-up style.
    void saveStartupStyle();

signals:
    void passageShown();
    void captureToolsToggled(bool shown);

private:
    void onOrderToggled(bool checked);
    void moveVersion(int delta);

    app::AppState& m_state;
    BibleNavigation& m_nav;
    TestamentCache m_cache;
    PassageRequest m_request;
    Passage m_passage;
    QString m_versionBeforeOrdering;
};

} // namespace lumora::bible
