#pragma once
// The words and details of the hymn on display: Text_Cantique (over its picture Image_Cantique),
// the title row above it with Label9 (the hymn's label, right-aligned) after the title tools,
// Text_info (the details), and Label16, which stands in when there is no "Cantiques" folder.

#include "hymns/hymnfiles.h"
#include "platform/richtextbox.h"
#include "session/nowshowing.h"

#include <QObject>

class QHBoxLayout;
class QLabel;
class QPalette;
class QTextEdit;
class QWidget;

namespace lumora::platform {
class BackdropBox;
}

namespace lumora::hymns {

class HymnWords final : public QObject {
    Q_OBJECT
  public:
    explicit HymnWords(QWidget* page, QObject* parent = nullptr);

    platform::RichTextBox& words() { return *m_words; }
    platform::BackdropBox& backdrop() { return *m_backdrop; }
    QWidget* wordsBox() const { return m_wordsBox; }
    QWidget* titleRow() const { return m_titleRow; }
    QWidget* details() const { return m_details; }
    QWidget* notFoundLabel() const;
    // Puts a small tool (the window labels) on the title row, before Label9.
    void addTitleTool(QWidget* tool);
    QString shownLabel() const;
    QColor shownLabelColor() const;
    // While the capture tools take their row the details box is shorter, keeping its bottom edge.
    void setCaptureRowShown(bool shown);

    // The words box, or Label16 with the words hidden when there is no hymn folder.
    void showFolderFound(bool found);
    // The details of a hymn entry; none when the entry does not split.
    void showDetails(const QString& entry);
    void clearDetails();
    void setDetailsPalette(const QPalette& palette);
    // Label9 names the hymn and the words box shows its words file ("A SAISIR" without one).
    void showWords(const HymnFiles& files, const QString& label);
    // "??????" for a hymn whose book is not listed.
    void showUnknown();
    // No words, title or details.
    void clear();
    // What the words box (as edited and styled now), Label9 and the details show, for `entry` of
    // `book`.
    session::ShownHymn shown(const QString& book, const QString& entry) const;

  signals:
    // The words' selection moved.
    void selectionChanged(int start, int length);

  private:
    QTextEdit* Text_Cantique;
    platform::RichTextBox* m_words;
    QWidget* m_wordsBox;
    platform::BackdropBox* m_backdrop;
    QWidget* m_titleRow; // the title tools, then Label9
    QHBoxLayout* m_titleTools;
    QTextEdit* Text_info;
    QLabel* Label9;
    QLabel* Label16;
    QWidget* m_details;
};

} // namespace lumora::hymns
