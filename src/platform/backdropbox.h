#pragma once
// A text box over a picture (Image_Passage behind Text_Passage, Image_Cantique behind Text_Cantique,
// Image_Doublon behind the clone's box): both always cover the same area. The picture shows through
// the text while the box is transparent (RichTextBox::setTransparent).

#include <QPixmap>
#include <QWidget>

class QLabel;
class QStackedLayout;
class QTextEdit;

namespace lumora::platform {

class BackdropBox final : public QWidget {
    Q_OBJECT
  public:
    // Takes `box` in (it becomes a child of this widget); the picture label is named `pictureName`.
    BackdropBox(QTextEdit* box, const QString& pictureName, QWidget* parent = nullptr);

    QLabel* pictureLabel() const { return m_picture; }
    QTextEdit* box() const { return m_box; }
    // False when the file cannot be read as a picture; the picture shown then stays.
    bool loadPicture(const QString& path);
    void setPicture(const QPixmap& picture);
    QPixmap picture() const { return m_pixmap; }

  private:
    QLabel* m_picture;
    QTextEdit* m_box;
    QPixmap m_pixmap;
};

} // namespace lumora::platform
