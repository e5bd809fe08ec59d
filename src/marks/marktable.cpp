#include "marks/marktable.h"

#include "bible/biblestore.h"
#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"
#include "marks/markformat.h"

#include <QDir>
#include <QFileInfo>

namespace lumora::marks {

namespace {
MarkRow& emptyRow() {
    static MarkRow row;
    row = MarkRow{};
    return row;
}
} // namespace

bool isZeroMark(const QByteArray& mark) {
    for (const char c : mark)
        if (c != '0' && c != ',' && c != '.') return false;
    return true;
}

bool isPendingRow(const MarkRow& row) {
    if (row.text.isEmpty() || row.newMark.isEmpty() || row.newMark == row.oldMark) return false;
    return row.typed || !isZeroMark(row.newMark);
}

std::vector<int> MarkTable::pendingRows() const {
    std::vector<int> out;
    for (int i = 1; i <= m_verseCount; ++i)
        if (isPendingRow(m_rows[std::size_t(i)])) out.push_back(i);
    return out;
}

MarkTable MarkTable::forChapter(const ChapterId& chapter, const OldMarks& stored) {
    MarkTable t;
    t.m_verseCount = std::clamp(chapter.verseCount, 0, kMaxVerses);
    for (int i = 1; i <= t.m_verseCount; ++i) {
        MarkRow& r = t.m_rows[std::size_t(i)];
        r.text = chapter.soundPrefix + chapter.chapter + '.' + QByteArray::number(i);
        r.newMark = stored[std::size_t(i)];
        r.oldMark = stored[std::size_t(i)];
    }
    return t;
}

const MarkRow& MarkTable::row(int i) const {
    return i >= 1 && i <= kMaxVerses ? m_rows[std::size_t(i)] : emptyRow();
}

MarkRow& MarkTable::row(int i) {
    return i >= 1 && i <= kMaxVerses ? m_rows[std::size_t(i)] : emptyRow();
}

void MarkTable::reloadOld(const OldMarks& stored, std::optional<int> updatedVerse) {
    for (int i = 1; i <= kMaxVerses; ++i) {
        MarkRow& r = m_rows[std::size_t(i)];
        if (r.newMark == r.oldMark) {
            r.newMark = stored[std::size_t(i)];
            r.typed = false;
        }
        r.oldMark = stored[std::size_t(i)];
        if (updatedVerse && *updatedVerse == i) {
            r.newMark = FormatMark(stored[std::size_t(i)]);
            r.typed = false;
        }
    }
}

void MarkTable::resetNew() {
    for (int i = 1; i <= kMaxVerses; ++i) {
        m_rows[std::size_t(i)].newMark = i <= m_verseCount ? "0,00000" : QByteArray();
        m_rows[std::size_t(i)].typed = false;
    }
}

void MarkTable::copyOldToNew() {
    for (int i = 1; i <= kMaxVerses; ++i) {
        MarkRow& r = m_rows[std::size_t(i)];
        r.newMark = i <= m_verseCount ? r.oldMark : QByteArray();
        r.typed = false;
    }
}

void MarkTable::setNewStarts(const std::vector<double>& starts) {
    const int n = std::min(m_verseCount, int(starts.size()));
    for (int i = 1; i <= n; ++i) {
        m_rows[std::size_t(i)].newMark = FormatMark(positionText(starts[std::size_t(i - 1)]));
        m_rows[std::size_t(i)].typed = false;
    }
}

std::optional<int> MarkTable::setNewMark(const QByteArray& soundPrefix, const QByteArray& label,
                                         const QByteArray& position) {
    const QByteArray wanted = soundPrefix + label;
    for (int i = 1; i <= m_verseCount; ++i) {
        MarkRow& r = m_rows[std::size_t(i)];
        if (r.text != wanted) continue;
        r.newMark = FormatMark(position);
        r.typed = true;
        return i;
    }
    return std::nullopt;
}

QByteArray backupFileName(const ChapterId& chapter) {
    const bool below10 = chapter.chapter.toInt() < 10;
    return chapter.soundPrefix + (below10 ? "0" : "") + chapter.chapter + " Backup.txt";
}

QByteArray backupBytes(const ChapterId& chapter, const MarkTable& table) {
    QByteArray out;
    const QByteArray head = chapter.bookKey + '\t' + chapter.chapter + '\t';
    for (int i = 1; i <= kMaxVerses; ++i) {
        if (i > 1 && table.row(i).text.isEmpty()) continue;
        out += head + QByteArray::number(i) + '\t' + table.row(i).oldMark + "\r\n";
    }
    out += "\r\n";
    return out;
}

QString previousMarksPath(const QString& dataPath, const QByteArray& versionCode, const ChapterId& chapter) {
    const QString folder = bible::versionFiles(dataPath, versionCode.toUpper()).folder;
    return common::findPath(folder,
                            {QStringLiteral("Mark backups"), QString::fromUtf8(backupFileName(chapter))});
}

bool keepChapterMarks(const QString& bookFile, const ChapterId& chapter, const QString& path,
                      QString* whyNot) {
    const auto content = common::readWholeFile(bookFile);
    if (!content) {
        if (whyNot) *whyNot = QStringLiteral("the book file cannot be read");
        return false;
    }
    const int count = std::clamp(chapter.verseCount, 0, kMaxVerses);
    const MarkTable t = MarkTable::forChapter(
        chapter, oldMarks(chapterLines(*content, chapter.bookKey, chapter.chapter, count)));
    return writePreviousMarks(path, backupBytes(chapter, t), whyNot);
}

bool writePreviousMarks(const QString& path, const QByteArray& bytes, QString* whyNot) {
    // A first backup that fails leaves the version's folder as it was, without an empty folder.
    const QString folder = QFileInfo(path).absolutePath();
    const bool hadFolder = QFileInfo(folder).isDir();
    if (!hadFolder && !QDir().mkpath(folder)) {
        if (whyNot) *whyNot = QStringLiteral("the folder %1 cannot be made").arg(folder);
        return false;
    }
    if (common::writeFileAtomic(path, bytes, whyNot)) return true;
    if (!hadFolder) QDir().rmdir(folder);
    return false;
}

std::optional<MarkTable> undoTable(const ChapterId& chapter, const OldMarks& stored, const QByteArray& backup,
                                   QString* whyNot) {
    if (const auto problem = backupProblem(chapter, backup)) {
        if (whyNot) *whyNot = *problem;
        return std::nullopt;
    }
    MarkTable t = MarkTable::forChapter(chapter, stored);
    applyBackup(backup, t);
    for (int k = 1; k <= t.verseCount(); ++k)
        t.row(k).typed = true;
    return t;
}

QString restoreRefusal(const ChapterId& chapter) {
    return QStringLiteral("FILE NOT FOND or AVAILABLE : \r\nRESTORE ") +
           QString::fromUtf8(backupFileName(chapter));
}

QByteArray backupLineMark(const QByteArray& line) {
    // A line ending in a TAB has an empty mark; searching from the next-to-last character would
    // otherwise hand back the verse number and that TAB as the mark.
    if (line.isEmpty() || line.endsWith('\t')) return {};
    const qsizetype tab = line.lastIndexOf('\t');
    return tab < 0 ? line : line.mid(tab + 1);
}

void applyBackup(const QByteArray& bytes, MarkTable& table) {
    common::LineSplitter lines(bytes);
    QByteArray line;
    for (int k = 1; k <= kMaxVerses && lines.next(line); ++k) {
        table.row(k).newMark = backupLineMark(line);
        table.row(k).typed = false;
    }
}

std::optional<QString> backupProblem(const ChapterId& chapter, const QByteArray& bytes) {
    common::LineSplitter lines(bytes);
    QByteArray line;
    int verseLines = 0;
    for (int k = 1; lines.next(line); ++k) {
        if (line.isEmpty()) continue;
        ++verseLines;
        const QList<QByteArray> f = line.split('\t');
        if (f.size() < 2) continue;
        if (f.size() < 4 || f[0] != chapter.bookKey || f[1] != chapter.chapter ||
            f[2] != QByteArray::number(k))
            return QStringLiteral(
                       "Line %1 of the backup is \"%2\": it is not verse %1 of book %3, chapter %4.")
                .arg(k)
                .arg(QString::fromUtf8(line).replace(QLatin1Char('\t'), QLatin1Char(' ')),
                     QString::fromUtf8(chapter.bookKey), QString::fromUtf8(chapter.chapter));
    }
    if (verseLines > chapter.verseCount)
        return QStringLiteral(
                   "The backup holds %1 verses, but the chapter shown has %2: it belongs to another "
                   "version or chapter.")
            .arg(verseLines)
            .arg(chapter.verseCount);
    return std::nullopt;
}

bool restoreBackup(const ChapterId& chapter, const QString& chosenPath, MarkTable& table, QString* whyNot) {
    if (!chosenPath.contains(QString::fromUtf8(backupFileName(chapter)), Qt::CaseSensitive)) return false;
    if (!common::fileExists(chosenPath)) return false;
    const auto bytes = common::readWholeFile(chosenPath);
    if (!bytes) return false;
    if (const auto problem = backupProblem(chapter, *bytes)) {
        if (whyNot) *whyNot = *problem;
        return false;
    }
    applyBackup(*bytes, table);
    return true;
}

} // namespace lumora::marks
