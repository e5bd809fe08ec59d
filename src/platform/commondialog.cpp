#include "platform/commondialog.h"

#include <QFileInfo>
#include <QRegularExpression>
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

QString withFilterExtension(const QString& path, const QString& chosenFilter) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.suffix().isEmpty()) return path;
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch m = pattern.match(chosenFilter);
    return m.hasMatch() ? path + QLatin1Char('.') + m.captured(1) : path;
}

} // namespace lumora::platform
