#include "platform/commondialog.h"

#include <QStringList>

namespace lumora::platform {

QStringList dialogFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Qt reads the patterns from the brackets, separated by blanks: they are rebuilt from the
        // pattern part, whatever the description's own brackets hold.
        QString description = parts[i].trimmed();
        if (const qsizetype open = description.lastIndexOf(QLatin1Char('(')); open > 0)
            description = description.left(open).trimmed();
        const QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        out << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out;
}

} // namespace lumora::platform
