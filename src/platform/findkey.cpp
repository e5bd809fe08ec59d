#include "platform/findkey.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>

namespace lumora::platform {

void installFindKey(QWidget* page, QLineEdit* box, QAbstractButton* button, const QString& toolTip) {
    auto* find = new QShortcut(QKeySequence::Find, page);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(find, &QShortcut::activated, box, [box] {
        box->setFocus(Qt::ShortcutFocusReason);
        box->selectAll();
    });
    button->setToolTip(toolTip.arg(QKeySequence(QKeySequence::Find).toString(QKeySequence::NativeText)));
}

} // namespace lumora::platform
