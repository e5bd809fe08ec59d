#pragma once
// Names for screen readers. Buttons say their caption and pictures their tooltip; the lists and
// boxes, which have no caption of their own, are named after their role here, in one table, so
// that a reader says "Books" rather than "list".

class QWidget;

namespace lumora::app {

// Gives every control under `root` that has no accessible name yet the name of its role (by its
// objectName), or else its tooltip. Controls named by their area are left as they are.
void nameControls(QWidget* root);

// Draws a clear ring around the control of `window` that has the keyboard focus, whatever the
// style draws (some styles show the focus of a flat button or a label faintly or not at all).
// The ring is a child of `window` named "focusRing", drawn over the other controls, blind to the
// mouse; it follows the focus and the control's moves, and hides while no control has the focus.
void showFocusRing(QWidget* window);

} // namespace lumora::app
