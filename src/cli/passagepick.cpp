#include "cli/passagepick.h"

#include "bible/biblestore.h"
#include "cli/cli.h"
#include "common/text.h"

namespace lumora::cli {

using namespace lumora::bible;

std::optional<QString> pickVersion(const QString& data, const std::optional<QString>& wanted) {
    const VersionList list = LoadBibleVersions(data);
    if (list.openError) {
        fail(QStringLiteral("cannot open Version.txt (error %1)").arg(*list.openError));
        return std::nullopt;
    }
    for (const QString& entry : list.List_version) {
        const QString code = common::VersionCode(entry).value_or(QString());
        if (!wanted || code.compare(*wanted, Qt::CaseInsensitive) == 0) return entry;
    }
    fail(wanted ? QStringLiteral("unknown version: ") + *wanted : QStringLiteral("no complete version"));
    return std::nullopt;
}

std::optional<int> positiveNumber(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n > 0 ? std::optional<int>(n) : std::nullopt;
}

std::optional<PickedPassage> pickPassage(const QString& data, const PassagePicks& picks) {
    const std::vector<int>& nums = picks.numbers;
    Q_ASSERT(nums.size() >= 2 && nums.size() <= 4);
    const auto version = pickVersion(data, picks.version);
    if (!version) return std::nullopt;
    const QByteArray code = common::Utf8Encode(common::VersionCode(*version).value_or(QString()));
    const BookTables t = LoadBookTables(data, code);

    // The same choices the navigation lists make.
    const int book = nums[0] - 1;
    if (book >= t.List_livre.size()) {
        fail(QStringLiteral("unknown book: %1 (the version has %2)").arg(nums[0]).arg(t.List_livre.size()));
        return std::nullopt;
    }
    const int chapter = nums[1];
    if (chapter > t.chapterCount(book)) {
        fail(QStringLiteral("unknown chapter: %1 (the book has %2)").arg(chapter).arg(t.chapterCount(book)));
        return std::nullopt;
    }
    const int row = t.chapterRow(t.List_NumLivre.at(book), chapter);
    bool ok = false;
    const int verseCount = row >= 0 ? t.List_NbrVerset.at(row).trimmed().toInt(&ok) : 0;
    if (row < 0 || !ok || verseCount < 1) {
        fail(QStringLiteral("the chapter has no verse count in Chap_verset.txt"));
        return std::nullopt;
    }
    const int first = nums.size() > 2 ? nums[2] : 1;
    const int last = nums.size() > 3 ? nums[3] : verseCount;
    if (first > verseCount || last > verseCount || last < first) {
        fail(QStringLiteral("unknown verse: the chapter has %1 verses").arg(verseCount));
        return std::nullopt;
    }

    PassageSelection s;
    s.versionEntry = *version;
    s.bookIndex = book;
    s.bookName = t.List_livre.at(book);
    s.chapter = QString::number(chapter);
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
