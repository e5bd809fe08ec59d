#include "lists/listfolder.h"

#include "common/paths.h"
#include "lists/listfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace lumora::lists {

QString NewListName(const QStringList& rows, const std::function<bool(const QString&)>& isTaken) {
    const QString base = QStringLiteral("New List");
    for (int n = 0;; ++n) {
        const QString candidate = n == 0 ? base : base + QLatin1Char(' ') + QString::number(n);
        if (rows.contains(candidate)) continue;
        if (isTaken && isTaken(candidate)) continue;
        return candidate;
    }
}

bool isUsableListName(const QString& name) {
    if (name.trimmed().isEmpty()) return false;
    if (name.contains(QLatin1String(".."))) return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
        if (QStringLiteral("<>:\"/\\|?*").contains(c)) return false;
    }
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.'))) return false;
    // Windows reserves these names whatever follows the first point.
    static const QRegularExpression device(QStringLiteral("^(CON|PRN|AUX|NUL|COM[0-9]|LPT[0-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (device.match(name).hasMatch()) return false;
    // 255 bytes is the limit of a file name on the usual Linux file systems; leave room for
    // ".txt" and for the temporary name the atomic writer uses beside it.
    return QFile::encodeName(name).size() + 16 <= 255;
}

bool isListNameTaken(const QString& folder, const QString& name, const QString& self) {
    const QString list = name + kListSuffix;
    const QString note = name + kNoteSuffix;
    QString ownList, ownNote;
    if (!self.isEmpty()) {
        ownList = QFileInfo(listFilePath(folder, self)).fileName();
        ownNote = QFileInfo(notePath(folder, self)).fileName();
    }
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries) {
        if (!self.isEmpty() && (e == ownList || e == ownNote)) continue;
        if (e.compare(list, Qt::CaseInsensitive) == 0 || e.compare(note, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool createList(const QString& folder, const QString& name) {
    if (!isUsableListName(name) || isListNameTaken(folder, name)) return false;
    const QString base = folder + QLatin1Char('/') + name;
    return createListFile(base + kListSuffix, QByteArray()) &&
           createListFile(base + kNoteSuffix, QByteArrayLiteral(" Save me as (*.rtf)"));
}

bool renameList(const QString& folder, const QString& oldName, const QString& newName) {
    if (!isUsableListName(newName)) return false;
    const QString oldList = listFilePath(folder, oldName);
    const QString oldNote = notePath(folder, oldName);
    if (!common::fileExists(oldList)) return false;
    if (newName == oldName) return true;
    if (isListNameTaken(folder, newName, oldName)) return false;
    // QFile::rename refuses an existing target (a plain POSIX rename would replace it silently).
    const QString base = folder + QLatin1Char('/') + newName;
    if (!QFile::rename(oldNote, base + kNoteSuffix)) return false;
    return QFile::rename(oldList, base + kListSuffix);
}

bool deleteList(const QString& folder, const QString& name) {
    const QString note = notePath(folder, name);
    if (!common::fileExists(note) || !QFile::remove(note)) return false;
    return QFile::remove(listFilePath(folder, name));
}

} // namespace lumora::lists
