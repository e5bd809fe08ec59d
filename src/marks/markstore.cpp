#include "marks/markstore.h"

#include "bible/biblestore.h"
#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/text.h"
#include "marks/markformat.h"
#include "marks/marktable.h"

namespace lumora::marks {

namespace {

// One line of the content, with its four leading fields located.
struct LineFields {
    qsizetype start = 0, end = 0; // line bounds (terminator excluded), BOM skipped on line 1
    qsizetype tabs[4] = {};
};

// Walks the lines of `content`; calls f(LineFields&) for every line that has four TABs, until f
// returns false.
template <typename F> void forEachVerseLine(const QByteArray& content, qsizetype from, F&& f) {
    const char* d = content.constData();
    const qsizetype size = content.size();
    qsizetype pos = from;
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && d[end] != '\r' && d[end] != '\n')
            ++end;
        LineFields l;
        l.start = pos;
        l.end = end;
        if (pos == 0 && common::startsWithBom(content)) l.start = std::min<qsizetype>(3, end);
        qsizetype p = l.start - 1;
        bool full = true;
        for (int k = 0; k < 4 && full; ++k) {
            p = content.indexOf('\t', p + 1);
            if (p < 0 || p >= end)
                full = false;
            else
                l.tabs[k] = p;
        }
        if (full && !f(l)) return;
        pos = end;
        if (pos < size && d[pos] == '\r') {
            ++pos;
            if (pos < size && d[pos] == '\n') ++pos;
        } else if (pos < size) {
            ++pos; // a lone LF
        }
    }
}

QByteArrayView field(const QByteArray& c, qsizetype from, qsizetype to) {
    return QByteArrayView(c.constData() + from, to - from);
}

bool safeMark(const QByteArray& m) {
    return !m.contains('\t') && !m.contains('\r') && !m.contains('\n');
}

// Applies (offset, length, replacement) edits given in increasing offset order.
struct Edit {
    qsizetype start, end;
    QByteArray text;
};
void applyEdits(QByteArray& content, const std::vector<Edit>& edits) {
    if (edits.empty()) return;
    QByteArray out;
    qsizetype grow = 0;
    for (const Edit& e : edits)
        grow += e.text.size() - (e.end - e.start);
    out.reserve(content.size() + std::max<qsizetype>(0, grow));
    qsizetype at = 0;
    for (const Edit& e : edits) {
        out.append(content.constData() + at, e.start - at);
        out.append(e.text);
        at = e.end;
    }
    out.append(content.constData() + at, content.size() - at);
    content = std::move(out);
}

WriteResult writeBack(const QString& path, const QByteArray& content, WriteResult r) {
    if (r.status != WriteStatus::Written) return r;
    if (!common::writeFileAtomic(path, content, &r.whyNot)) r.status = WriteStatus::WriteFailed;
    return r;
}

} // namespace

QString bookFilePath(const QString& dataPath, const QByteArray& versionCode, const QByteArray& bookKey) {
    const long long number = common::leadingNumber(QByteArrayView(bookKey.left(2))).value_or(0);
    return bible::testamentFile(bible::versionFiles(dataPath, versionCode.toUpper()),
                                bible::testamentOf(number));
}

std::vector<ChapterLine> chapterLines(const QByteArray& content, const QByteArray& bookKey,
                                      const QByteArray& chapter, int verseCount) {
    std::vector<ChapterLine> out;
    if (verseCount < 1) return out;
    bool inChapter = false;
    forEachVerseLine(content, 0, [&](const LineFields& l) {
        const QByteArrayView key = field(content, l.start, l.tabs[0]);
        const QByteArrayView ch = field(content, l.tabs[0] + 1, l.tabs[1]);
        const QByteArrayView verse = field(content, l.tabs[1] + 1, l.tabs[2]);
        if (key != bookKey || ch != chapter) {
            return !inChapter; // the chapter's lines end where another chapter starts
        }
        if (!inChapter) {
            if (verse != "1") return true;
            inChapter = true;
        }
        ChapterLine line;
        line.verse = verse.toByteArray();
        line.markStart = l.tabs[2] + 1;
        line.markEnd = l.tabs[3];
        line.mark = field(content, line.markStart, line.markEnd).toByteArray();
        line.text = field(content, l.tabs[3] + 1, l.end).toByteArray();
        out.push_back(std::move(line));
        return int(out.size()) < verseCount;
    });
    return out;
}

OldMarks oldMarks(const std::vector<ChapterLine>& lines) {
    OldMarks m;
    for (std::size_t k = 0; k < lines.size() && k < std::size_t(kMaxVerses); ++k)
        m[k + 1] = lines[k].mark;
    return m;
}

WriteResult applyChapterMarks(QByteArray& content, const QByteArray& bookKey, const QByteArray& chapter,
                              int verseCount, const MarkTable& table) {
    const std::vector<ChapterLine> lines =
        chapterLines(content, bookKey, chapter, std::min(verseCount, kMaxVerses));
    if (lines.empty()) return {WriteStatus::VerseNotFound, 0, 0, {}, {}};
    std::vector<Edit> edits;
    std::vector<int> conflicts;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int k = int(i) + 1;
        const MarkRow& row = table.row(k);
        if (!isPendingRow(row)) continue;
        if (!safeMark(row.newMark)) return {WriteStatus::BadMark, 0, 0, {}, {}};
        const ChapterLine& l = lines[i];
        if (l.mark == row.newMark) continue;
        if (l.verse != QByteArray::number(k) || l.mark != row.oldMark) {
            conflicts.push_back(k);
            continue;
        }
        edits.push_back({l.markStart, l.markEnd, row.newMark});
    }
    applyEdits(content, edits);
    const int skipped = int(conflicts.size());
    return {WriteStatus::Written, int(edits.size()), skipped, {}, std::move(conflicts)};
}

WriteResult updateChapterMarks(const QString& bookFile, const QByteArray& bookKey, const QByteArray& chapter,
                               int verseCount, const MarkTable& table, const QString& previousMarksFile) {
    auto content = common::readWholeFile(bookFile);
    if (!content) return {WriteStatus::FileUnreadable, 0, 0, {}, {}};
    const QByteArray before = *content;
    WriteResult r = applyChapterMarks(*content, bookKey, chapter, verseCount, table);
    if (r.status != WriteStatus::Written || r.changedLines == 0) return r;
    if (!previousMarksFile.isEmpty()) {
        const ChapterId id{bookKey, chapter, {}, std::min(verseCount, kMaxVerses)};
        const MarkTable previous =
            MarkTable::forChapter(id, oldMarks(chapterLines(before, bookKey, chapter, id.verseCount)));
        if (!writePreviousMarks(previousMarksFile, backupBytes(id, previous), &r.whyNot)) {
            r.status = WriteStatus::BackupFailed;
            r.changedLines = 0;
            return r;
        }
    }
    return writeBack(bookFile, *content, std::move(r));
}

WriteResult applyOneMark(QByteArray& content, const QByteArray& bookKey, const QByteArray& chapter,
                         const QByteArray& verse, const QByteArray& position) {
    if (!isPositionText(position)) return {WriteStatus::BadMark, 0, 0, {}, {}};
    const QByteArray mark = FormatMark(position);
    std::vector<Edit> edits;
    bool found = false;
    forEachVerseLine(content, 0, [&](const LineFields& l) {
        if (field(content, l.start, l.tabs[0]) == bookKey &&
            field(content, l.tabs[0] + 1, l.tabs[1]) == chapter &&
            field(content, l.tabs[1] + 1, l.tabs[2]) == verse) {
            found = true;
            if (field(content, l.tabs[2] + 1, l.tabs[3]) != mark)
                edits.push_back({l.tabs[2] + 1, l.tabs[3], mark});
        }
        return true;
    });
    if (!found) return {WriteStatus::VerseNotFound, 0, 0, {}, {}};
    applyEdits(content, edits);
    return {WriteStatus::Written, int(edits.size()), 0, {}, {}};
}

WriteResult UpdateOneMark(const QString& bookFile, const QByteArray& bookKey, const QByteArray& chapter,
                          const QByteArray& verse, const QByteArray& position) {
    auto content = common::readWholeFile(bookFile);
    if (!content) return {WriteStatus::FileUnreadable, 0, 0, {}, {}};
    return writeBack(bookFile, *content, applyOneMark(*content, bookKey, chapter, verse, position));
}

} // namespace lumora::marks
