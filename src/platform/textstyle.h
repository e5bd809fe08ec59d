#pragma once
// The look of a text box as one value: what the passage box has when the window opens, and what
// the font dialog changes.

#include <QColor>
#include <QString>

namespace lumora::platform {

struct TextStyle {
    QColor PassageBackColor;
    QColor PassageColor;
    QString PassageFontName;
    double PassageFontSize = 0;
    qint32 PassageAlignment = 0; // 0 left, 1 right, 2 centre
    bool PassageBold = false;
    bool PassageItalic = false;
    bool PassageUnderline = false;
};

} // namespace lumora::platform
