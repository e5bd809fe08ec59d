#pragma once
// The find key (Ctrl+F) of a tab's search row: it puts the caret in the search box with its text
// selected, and the search button's tooltip names the key.

#include <QString>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace lumora::platform {

// `toolTip` holds %1 where the key's name goes.
void installFindKey(QWidget* page, QLineEdit* box, QAbstractButton* button, const QString& toolTip);

} // namespace lumora::platform
