#pragma once
// The mouse as the user's hand gives it: one event over a widget (a move carries no button, a press
// holds the button it presses), and a click, a press and a release over the same point.

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace lumora::testing {

inline void sendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button = Qt::LeftButton,
                      QPointF at = QPointF(3, 3)) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void leftClick(QWidget* w, QPointF at = QPointF(3, 3)) {
    sendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, at);
    sendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, at);
}

} // namespace lumora::testing
