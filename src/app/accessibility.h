#pragma once
// Names for screen readers. Buttons say their caption and pictures their tooltip; the lists and
// boxes, which have no caption of their own, are named after their role here, in one table, so
// that a reader says "Books" rather than "list".

class QWidget;

namespace lumora::app {

// Gives every control under `root` that has no accessible name yet the name of its role (by its
// objectName), or else its tooltip. Controls named by their area are left as they are.
void nameControls(QWidget* root);

} // namespace lumora::app
