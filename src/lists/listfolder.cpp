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

std::optional<QString> listNameProblem(const QString& name) {
    if (name.trimmed().isEmpty()) return QStringLiteral("A list needs a name.");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("\"%1\" would leave the list folder.").arg(name);
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return QStringLiteral("A list name cannot hold / or \\: the list would leave its folder.");
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral(
                "A list name cannot hold a tab, a line break or another control character.");
        if (QStringLiteral("<>:\"|?*").contains(c))
            return QStringLiteral("A list name cannot hold any of < > : \" | ? *");
    }
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')))
        return QStringLiteral("A list name cannot end in a point or a blank: Windows drops them.");
    // Windows opens a device for these names, whatever extension follows (blanks before the point
    // are dropped too).
    static const QRegularExpression device(
        QStringLiteral(
            "^(CON|PRN|AUX|NUL|COM[1-9\\x{00B9}\\x{00B2}\\x{00B3}]|LPT[1-9\\x{00B9}\\x{00B2}\\x{00B3}]|"
            "CONIN\\$|CONOUT\\$|CLOCK\\$) *(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = device.match(name); m.hasMatch())
        return QStringLiteral("\"%1\" is the name of a Windows device: the list could not be opened there.")
            .arg(m.captured(1).toUpper());
    // 255 bytes is the limit of a file name on the usual Linux file systems; leave room for
    // ".txt" and for the temporary name the atomic writer uses beside it.
    if (QFile::encodeName(name).size() + 16 > 255)
        return QStringLiteral("The name is too long for a file name.");
    return std::nullopt;
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

RenameOutcome renameList(const QString& folder, const QString& oldName, const QString& newName) {
    if (!isUsableListName(newName)) return RenameOutcome::UnusableName;
    // Renaming a list to its own name would change nothing: it is a taken name like any other.
    if (newName == oldName) return RenameOutcome::Taken;
    const QString oldList = listFilePath(folder, oldName);
    const QString oldNote = notePath(folder, oldName);
    if (!common::fileExists(oldList)) return RenameOutcome::Failed;
    if (isListNameTaken(folder, newName, oldName)) return RenameOutcome::Taken;
    // QFile::rename refuses an existing target (a plain POSIX rename would replace it silently).
    const QString base = folder + QLatin1Char('/') + newName;
    if (!QFile::rename(oldNote, base + kNoteSuffix)) return RenameOutcome::Failed;
    return QFile::rename(oldList, base + kListSuffix) ? RenameOutcome::Renamed : RenameOutcome::Failed;
}

bool deleteList(const QString& folder, const QString& name) {
    const QString note = notePath(folder, name);
    if (!common::fileExists(note) || !QFile::remove(note)) return false;
    return QFile::remove(listFilePath(folder, name));
}

} // namespace lumora::lists
