#pragma once
// The reading-mark table of the Bible tab: ListView1 with one row per verse of the chapter shown,
// keyed "Cle_1".."Cle_286", the row label Label4, and the position label Lbl_Position with its spin
// button SpPosition.

#include <QObject>

class QLabel;
class QTreeWidget;
class QWidget;

namespace lumora::platform {
class SpinArrows;
}

namespace lumora::marks {

inline constexpr int kMarkRows = 286;

class MarkEditor final : public QObject {
    Q_OBJECT
  public:
    explicit MarkEditor(QWidget* page, QObject* parent = nullptr);

    // ListView1, and the row of Label4, Lbl_Position and SpPosition; both hidden outside mark mode.
    QWidget* table() const;
    QWidget* positionRow() const { return m_positionRow; }

  public slots:
    // A chapter was chosen: rows 1..verseCount read prefix + chapter + "." + row, the rest are empty,
    // and the New and Old columns are cleared.
    void onChapterChosen(const QByteArray& soundPrefix, int chapter, int verseCount);
    // A first verse was selected: its row is selected, Label4 shows the row and Lbl_Position its New mark.
    void onVerseSelected(int index);
    // The chapter audio started at `mark`: Lbl_Position shows it, the verse's row is selected again.
    void onPassageAudioStarted(const QByteArray& mark, int verseIndex);

  private:
    void selectRow(int index);

    QTreeWidget* ListView1;
    QWidget* m_positionRow;
    QLabel* Label4;
    QLabel* Lbl_Position;
    platform::SpinArrows* SpPosition;
};

} // namespace lumora::marks
