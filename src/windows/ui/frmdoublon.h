#pragma once
// The clone window Frm_doublon: an always-on-top copy of the passage or of the hymn, for a second
// screen. Text_Passage over Image_Doublon, both covering the whole inner area.

#include <QWidget>

class QTextEdit;

namespace lumora::platform {
class BackdropBox;
class RichTextBox;
} // namespace lumora::platform

namespace lumora::windows {

class VersePanel;

class FrmDoublon final : public QWidget {
    Q_OBJECT
  public:
    // A window of its own (no parent widget); it is deleted when it closes.
    FrmDoublon();

    platform::RichTextBox& box() { return *m_box; }
    platform::BackdropBox& backdrop() { return *m_backdrop; }
    QTextEdit* textPassage() const { return Text_Passage; }
    // Full screen on a projector: no scroll bars (the text is read from the back of a room).
    void setProjector(bool on);
    bool isProjector() const { return m_projector; }
    // The verse-by-verse face (and the black or logo cover), shown instead of Text_Passage.
    VersePanel& versePanel() { return *m_panel; }
    void setPanelShown(bool shown);
    bool isPanelShown() const;

  signals:
    // The window is closing (its Unload).
    void closing();
    // A click in Text_Passage.
    void boxClicked();
    // A right click anywhere in the window: its menu is wanted at `globalPos`.
    void menuWanted(const QPoint& globalPos);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTextEdit* Text_Passage;
    platform::RichTextBox* m_box;
    platform::BackdropBox* m_backdrop;
    VersePanel* m_panel;
    bool m_projector = false;
};

} // namespace lumora::windows
