#include "windows/ui/clicklabel.h"

#include "platform/clicks.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace lumora::windows {

ClickLabel::ClickLabel(const QString& name, const QString& caption, QWidget* parent)
    : QLabel(caption, parent) {
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit rightClicked(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    m_down = true;
    emit pressed();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_down) return;
    m_down = false;
    if (platform::isClickRelease(this, event)) emit clicked();
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        emit pressed();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

} // namespace lumora::windows
