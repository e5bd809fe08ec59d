#include "cli/biblepick.h"

#include "cli/cli.h"
#include "common/text.h"

namespace lumora::cli {

using namespace lumora::bible;

std::optional<PickedVersion> pickVersion(const QString& data, const std::optional<QString>& wanted) {
    const VersionList list = LoadBibleVersions(data);
    if (list.openError) {
        fail(QStringLiteral("cannot open Version.txt (error %1)").arg(*list.openError));
        return std::nullopt;
    }
    for (const QString& entry : list.List_version) {
        const QString code = common::VersionCode(entry).value_or(QString());
        if (!wanted || code.compare(*wanted, Qt::CaseInsensitive) == 0)
            return PickedVersion{entry, common::Utf8Encode(code)};
    }
    fail(wanted ? QStringLiteral("unknown version: ") + *wanted : QStringLiteral("no complete version"));
    return std::nullopt;
}

std::optional<int> positiveNumber(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n > 0 ? std::optional<int>(n) : std::nullopt;
}

std::optional<PickedChapter> pickChapter(const QString& data, const PickedVersion& version, int bookRow,
                                         int chapter) {
    PickedChapter p;
    p.tables = LoadBookTables(data, version.code);
    const BookTables& t = p.tables;
    p.book = bookRow - 1;
    if (p.book < 0 || p.book >= t.List_livre.size()) {
        fail(QStringLiteral("unknown book: %1 (the version has %2; `lumora-cli books` lists them)")
                 .arg(bookRow)
                 .arg(t.List_livre.size()));
        return std::nullopt;
    }
    p.chapter = chapter;
    if (chapter > t.chapterCount(p.book)) {
        fail(
            QStringLiteral("unknown chapter: %1 (the book has %2)").arg(chapter).arg(t.chapterCount(p.book)));
        return std::nullopt;
    }
    const int row = t.chapterRow(t.List_NumLivre.at(p.book), chapter);
    bool ok = false;
    p.verseCount = row >= 0 ? t.List_NbrVerset.at(row).trimmed().toInt(&ok) : 0;
    if (row < 0 || !ok || p.verseCount < 1) {
        fail(QStringLiteral("the chapter has no verse count in Chap_verset.txt"));
        return std::nullopt;
    }
    return p;
}

std::optional<PickedPassage> pickPassage(const QString& data, const PassagePicks& picks) {
    const std::vector<int>& nums = picks.numbers;
    Q_ASSERT(nums.size() >= 2 && nums.size() <= 4);
    const auto version = pickVersion(data, picks.version);
    if (!version) return std::nullopt;
    const auto picked = pickChapter(data, *version, nums[0], nums[1]);
    if (!picked) return std::nullopt;
    const int verseCount = picked->verseCount;
    const int first = nums.size() > 2 ? nums[2] : 1;
    const int last = nums.size() > 3 ? nums[3] : verseCount;
    if (first > verseCount || last > verseCount || last < first) {
        fail(QStringLiteral("unknown verse: the chapter has %1 verses").arg(verseCount));
        return std::nullopt;
    }
    // The same choices the navigation lists make.
    PassageSelection s;
    s.versionEntry = version->entry;
    s.bookIndex = picked->book;
    s.bookName = picked->tables.List_livre.at(picked->book);
    s.chapter = QString::number(picked->chapter);
    s.firstVerse = QString::number(first);
    s.verseCount = verseCount;
    s.lastVerse = QString::number(last);
    s.lastVerseIsChapterEnd = last == verseCount;
    PickedPassage out{PreparePassage(data, s), verseCount};
    out.request.withTitles = picks.titles;
    out.request.titlesUppercase = picks.uppercase;
    out.request.showHeader = picks.header;
    return out;
}

} // namespace lumora::cli
