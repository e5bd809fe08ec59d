#include "lists/verselistentry.h"

#include "common/text.h"

namespace lumora::lists {

std::optional<QString> makeVerseListEntry(const DisplayedPassage& p) {
    const auto code = common::VersionCode(p.version);
    if (!code) return std::nullopt;
    return p.book + QStringLiteral(". ") + p.chapter + QStringLiteral(" : ") + p.firstVerse +
           QStringLiteral(" - ") + p.lastVerse + QLatin1Char('\t') + *code;
}

std::optional<VerseListTarget> parseVerseListEntry(const QString& e) {
    // Searching from the sixth character steps over a ". " inside the book's number and name.
    constexpr qsizetype from = 5;
    const qsizetype p2 = e.indexOf(QStringLiteral(". "), from, Qt::CaseInsensitive);
    const qsizetype p3 = e.indexOf(QStringLiteral(" : "), from, Qt::CaseInsensitive);
    const qsizetype p4 = e.indexOf(QStringLiteral(" - "), from, Qt::CaseInsensitive);
    const qsizetype p5 = e.indexOf(QLatin1Char('\t'), from);
    if (p2 < 0 || p3 < 0 || p4 < 0 || p5 < 0) return std::nullopt;
    if (p3 - p2 - 1 < 0 || p4 - p3 - 3 < 0 || p5 - p4 - 3 < 0) return std::nullopt;

    const auto book = common::leadingNumber(e.left(2));
    const auto chapter = common::leadingNumber(e.mid(p2 + 1, p3 - p2 - 1));
    const auto first = common::leadingNumber(e.mid(p3 + 3, p4 - p3 - 3));
    const auto last = common::leadingNumber(e.mid(p4 + 3, p5 - p4 - 3));
    if (!book || !chapter || !first || !last) return std::nullopt;

    VerseListTarget t;
    t.versionCode = e.mid(p5 + 1);
    t.book = static_cast<int>(*book - 1);
    t.chapter = static_cast<int>(*chapter - 1);
    t.verse = static_cast<int>(*first - 1);
    t.span = static_cast<qint16>(static_cast<qint16>(*last) - static_cast<qint16>(*first));
    return t;
}

std::optional<int> findVersionRow(const QStringList& versionRows, const QString& code) {
    std::optional<int> found;
    const QString needle = code + QStringLiteral(" - ");
    for (int i = 0; i < versionRows.size(); ++i)
        if (versionRows.at(i).contains(needle, Qt::CaseInsensitive)) found = i;
    return found;
}

NavLevel firstDifferingLevel(const NavSelection& target, const NavSelection& current) {
    if (target.version != current.version) return NavLevel::Version;
    if (target.book != current.book) return NavLevel::Book;
    if (target.chapter != current.chapter) return NavLevel::Chapter;
    if (target.verse != current.verse) return NavLevel::Verse;
    return NavLevel::Span;
}

} // namespace lumora::lists
