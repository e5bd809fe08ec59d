#include "cli/biblepick.h"

#include "bible/passagedocument.h"
#include "bible/reference.h"
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
    for (const QString& entry : list.complete) {
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
    const Book* book = p.tables.bookAt(bookRow - 1);
    if (!book) {
        fail(QStringLiteral("unknown book: %1 (the version has %2; `lumora-cli books` lists them)")
                 .arg(bookRow)
                 .arg(p.tables.books.size()));
        return std::nullopt;
    }
    p.book = *book;
    p.chapter = chapter;
    if (chapter > book->chapterCount) {
        fail(QStringLiteral("unknown chapter: %1 (the book has %2)").arg(chapter).arg(book->chapterCount));
        return std::nullopt;
    }
    p.verseCount = p.tables.verseCount(*book, chapter);
    if (p.verseCount < 1) {
        fail(QStringLiteral("the chapter has no verse count in Chap_verset.txt"));
        return std::nullopt;
    }
    return p;
}

QString takePassageArguments(const QStringList& args, PassagePicks& picks) {
    if (args.isEmpty()) return QStringLiteral("no passage given");
    if (!positiveNumber(args.first())) {
        picks.reference = args.join(QLatin1Char(' '));
        return {};
    }
    if (args.size() < 2 || args.size() > 4)
        return QStringLiteral("give BOOK CHAPTER [FIRST [LAST]] or a reference");
    for (const QString& s : args) {
        const auto n = positiveNumber(s);
        if (!n) return QStringLiteral("not a number: ") + s;
        picks.numbers.push_back(*n);
    }
    return {};
}

std::optional<PickedPassage> pickPassage(const QString& data, const PassagePicks& picks) {
    const std::vector<int>& nums = picks.numbers;
    const auto version = pickVersion(data, picks.version);
    if (!version) return std::nullopt;
    ResolvedPassage resolved;
    bool rightToLeft = false;
    if (nums.empty()) {
        const BookTables tables = LoadBookTables(data, version->code);
        rightToLeft = isRightToLeft(tables);
        const ParsedReference parsed = ParseReference(picks.reference, version->code, tables);
        if (!parsed.ref) {
            fail(parsed.error);
            return std::nullopt;
        }
        resolved = ResolvePassage(data, LoadBibleVersions(data), tables, *parsed.ref);
    } else {
        // Numbers name the book by its row, as `books` lists them.
        Q_ASSERT(nums.size() >= 2 && nums.size() <= 4);
        const auto picked = pickChapter(data, *version, nums[0], nums[1]);
        if (!picked) return std::nullopt;
        const int first = nums.size() > 2 ? nums[2] : 1;
        const int last = nums.size() > 3 ? nums[3] : picked->verseCount;
        rightToLeft = isRightToLeft(picked->tables);
        resolved = ResolveInBook(data, version->entry, picked->tables, picked->book,
                                 {version->code, picked->book.number, picked->chapter, first, last});
    }
    if (!resolved.request) {
        fail(resolved.error);
        return std::nullopt;
    }
    PickedPassage out{*resolved.request, resolved.selection->verseCount, rightToLeft};
    out.request.setOptions(
        {.withTitles = picks.titles, .titlesUppercase = picks.uppercase, .showHeader = picks.header});
    return out;
}

std::optional<Passage> buildPickedPassage(const PickedPassage& picked, const PassagePicks& picks) {
    const PassageRequest& r = picked.request;
    TestamentCache cache;
    Passage p = BuildPassage(r, cache);
    if (!p.opened) {
        fail(QStringLiteral("cannot read ") + r.BookFilePath);
        return std::nullopt;
    }
    if (p.versesFound == 0) {
        const std::vector<int>& n = picks.numbers;
        const QString where =
            n.empty() ? r.heading
                      : QStringLiteral("%1 %2:%3").arg(n[0]).arg(n[1]).arg(n.size() > 2 ? n[2] : 1);
        fail(QStringLiteral("%1 is not in %2").arg(where, r.BookFilePath));
        return std::nullopt;
    }
    return p;
}

} // namespace lumora::cli
