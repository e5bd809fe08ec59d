#pragma once
// A left click on a widget, as the user's mouse gives it: a press and a release over it.

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace lumora::testing {

inline void leftClick(QWidget* w) {
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

} // namespace lumora::testing
