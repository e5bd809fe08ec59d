#include "lists/verselistentry.h"

#include "common/text.h"

#include <climits>

namespace lumora::lists {

QString makeVerseListEntry(const QString& bookName, const session::PassageRef& ref) {
    return bookName + QStringLiteral(". ") + QString::number(ref.chapter) + QStringLiteral(" : ") +
           QString::number(ref.firstVerse) + QStringLiteral(" - ") + QString::number(ref.lastVerse) +
           QLatin1Char('\t') + QString::fromUtf8(ref.version);
}

std::optional<session::PassageRef> parseVerseListEntry(const QString& e) {
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
    // The numbers become rows of short lists: beyond the range of int they name none.
    for (long long n : {*chapter, *first, *last})
        if (n < INT_MIN + 1 || n > INT_MAX) return std::nullopt;

    session::PassageRef ref;
    ref.version = common::Utf8Encode(e.mid(p5 + 1));
    ref.book = static_cast<int>(*book);
    ref.chapter = static_cast<int>(*chapter);
    ref.firstVerse = static_cast<int>(*first);
    ref.lastVerse = static_cast<int>(*last);
    return ref;
}

} // namespace lumora::lists
