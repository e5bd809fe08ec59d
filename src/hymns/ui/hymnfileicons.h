#pragma once
// The file icons of the hymn on display: Image_Diapo (its slides), Image_Video and Image_Musique.
// Each shows only when the hymn has that file, and all stay hidden while the words box is wide.
// The icons are buttons for the mouse and the keyboard (Tab reaches them, Space or Enter clicks).

#include <QObject>
#include <QString>

class QGridLayout;
class QLabel;
class QWidget;

namespace lumora::hymns {

class HymnFileIcons final : public QObject {
    Q_OBJECT
  public:
    explicit HymnFileIcons(QWidget* page, QObject* parent = nullptr);

    // Puts the icons, left-aligned, into a cell of the lists' grid.
    void addTo(QGridLayout* grid, int row, int column);
    // The slides and the video of hymn `label` of `book` are looked up (SlidePath, VideoPath).
    void lookUp(const QString& cantiques, const QString& book, const QString& label);
    void setMusic(bool hasMusic);
    // No hymn on display: no paths, no icons.
    void clear();
    // The icons may show (narrow words box), or stay hidden (wide).
    void setShown(bool shown);

    QString slidePath() const { return m_slidePath; }
    QString videoPath() const { return m_videoPath; }

  signals:
    void musicClicked();
    void slidesClicked();
    void videoClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showIcon(QLabel* icon, bool hasFile);

    QLabel* Image_Diapo;
    QLabel* Image_Video;
    QLabel* Image_Musique;
    bool m_shown = true;
    QString m_slidePath;
    QString m_videoPath;
};

} // namespace lumora::hymns
