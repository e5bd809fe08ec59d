#include "marks/marktable.h"

#include "common/lines.h"
#include "common/paths.h"
#include "marks/markformat.h"

namespace lumora::marks {

namespace {
MarkRow& emptyRow() {
    static MarkRow row;
    row = MarkRow{};
    return row;
}
} // namespace

MarkTable MarkTable::forChapter(const ChapterId& chapter, const OldMarks& stored) {
    MarkTable t;
    t.m_verseCount = std::clamp(chapter.verseCount, 0, kMaxRows);
    for (int i = 1; i <= t.m_verseCount; ++i) {
        MarkRow& r = t.m_rows[std::size_t(i)];
        r.text = chapter.soundPrefix + chapter.chapter + '.' + QByteArray::number(i);
        r.newMark = stored[std::size_t(i)];
        r.oldMark = stored[std::size_t(i)];
    }
    return t;
}

const MarkRow& MarkTable::row(int i) const {
    return i >= 1 && i <= kMaxRows ? m_rows[std::size_t(i)] : emptyRow();
}

MarkRow& MarkTable::row(int i) {
    return i >= 1 && i <= kMaxRows ? m_rows[std::size_t(i)] : emptyRow();
}

void MarkTable::reloadOld(const OldMarks& stored, std::optional<int> updatedVerse) {
    for (int i = 1; i <= kMaxRows; ++i) {
        MarkRow& r = m_rows[std::size_t(i)];
        r.oldMark = stored[std::size_t(i)];
        if (updatedVerse && *updatedVerse == i) r.newMark = FormatMark(stored[std::size_t(i)]);
    }
}

void MarkTable::resetNew() {
    for (int i = 1; i <= kMaxRows; ++i)
        m_rows[std::size_t(i)].newMark = i <= m_verseCount ? "0,00000" : QByteArray();
}

void MarkTable::copyOldToNew() {
    for (int i = 1; i <= kMaxRows; ++i) {
        MarkRow& r = m_rows[std::size_t(i)];
        r.newMark = i <= m_verseCount ? r.oldMark : QByteArray();
    }
}

void MarkTable::setNewStarts(const std::vector<double>& starts) {
    const int n = std::min(m_verseCount, int(starts.size()));
    for (int i = 1; i <= n; ++i)
        m_rows[std::size_t(i)].newMark = FormatMark(positionText(starts[std::size_t(i - 1)]));
}

std::optional<int> MarkTable::setNewMark(const QByteArray& soundPrefix, const QByteArray& label,
                                         const QByteArray& position) {
    const QByteArray wanted = soundPrefix + label;
    for (int i = 1; i <= m_verseCount; ++i) {
        MarkRow& r = m_rows[std::size_t(i)];
        if (r.text != wanted) continue;
        r.newMark = FormatMark(position);
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
    for (int i = 1; i <= kMaxRows; ++i) {
        if (i > 1 && table.row(i).text.isEmpty()) continue;
        out += head + QByteArray::number(i) + '\t' + table.row(i).oldMark + "\r\n";
    }
    out += "\r\n";
    return out;
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
    for (int k = 1; k <= kMaxRows && lines.next(line); ++k)
        table.row(k).newMark = backupLineMark(line);
}

bool restoreBackup(const ChapterId& chapter, const QString& chosenPath, MarkTable& table) {
    if (!chosenPath.contains(QString::fromUtf8(backupFileName(chapter)), Qt::CaseSensitive)) return false;
    if (!common::fileExists(chosenPath)) return false;
    const auto bytes = common::readWholeFile(chosenPath);
    if (!bytes) return false;
    applyBackup(*bytes, table);
    return true;
}

} // namespace lumora::marks
