#include "platform/backdropbox.h"

#include <QImageReader>
#include <QLabel>
#include <QStackedLayout>
#include <QTextEdit>

namespace lumora::platform {

BackdropBox::BackdropBox(QTextEdit* box, const QString& pictureName, QWidget* parent)
    : QWidget(parent), m_picture(new QLabel(this)), m_box(box) {
    m_picture->setObjectName(pictureName);
    m_picture->setScaledContents(true);
    m_picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    auto* stack = new QStackedLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setStackingMode(QStackedLayout::StackAll);
    stack->addWidget(m_picture);
    stack->addWidget(m_box);
    stack->setCurrentWidget(m_box);
    m_box->raise();
}

bool BackdropBox::loadPicture(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    // A picture that cannot be read changes nothing: the one shown stays.
    if (image.isNull()) return false;
    setPicture(QPixmap::fromImage(image));
    return true;
}

void BackdropBox::setPicture(const QPixmap& picture) {
    m_pixmap = picture;
    m_picture->setPixmap(picture);
    if (picture.isNull()) m_picture->clear();
}

} // namespace lumora::platform
