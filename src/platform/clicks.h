#pragma once
// What counts as a click on a widget used as a button (a picture, a label): the left button let
// go over the widget it was pressed on. Another button, or a release after dragging off, is none.

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace lumora::platform {

inline bool isClickRelease(const QObject* watched, const QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) return false;
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return mouse->button() == Qt::LeftButton && widget &&
           widget->rect().contains(mouse->position().toPoint());
}

} // namespace lumora::platform
