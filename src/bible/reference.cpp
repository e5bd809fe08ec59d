#include "bible/reference.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <vector>

namespace lumora::bible {

namespace {

// The 66 books in their usual order: the English name, then its usual abbreviations.
struct EnglishBook {
    const char* name;
    std::array<const char*, 5> abbreviations;
};

constexpr std::array<EnglishBook, 66> kEnglish{{
    {"Genesis", {"Gen", "Gn", "Ge"}},
    {"Exodus", {"Exod", "Exo", "Ex"}},
    {"Leviticus", {"Lev", "Lv", "Le"}},
    {"Numbers", {"Num", "Nm", "Nu", "Nb"}},
    {"Deuteronomy", {"Deut", "Dt", "De"}},
    {"Joshua", {"Josh", "Jos", "Jsh"}},
    {"Judges", {"Judg", "Jdg", "Jg", "Jdgs"}},
    {"Ruth", {"Rth", "Ru"}},
    {"1 Samuel", {"1 Sam", "1 Sa", "1 Sm"}},
    {"2 Samuel", {"2 Sam", "2 Sa", "2 Sm"}},
    {"1 Kings", {"1 Kgs", "1 Ki", "1 Kg"}},
    {"2 Kings", {"2 Kgs", "2 Ki", "2 Kg"}},
    {"1 Chronicles", {"1 Chr", "1 Ch", "1 Chron"}},
    {"2 Chronicles", {"2 Chr", "2 Ch", "2 Chron"}},
    {"Ezra", {"Ezr"}},
    {"Nehemiah", {"Neh", "Ne"}},
    {"Esther", {"Esth", "Est", "Es"}},
    {"Job", {"Jb"}},
    {"Psalms", {"Psalm", "Ps", "Psa", "Pss", "Pslm"}},
    {"Proverbs", {"Prov", "Pro", "Prv", "Pr"}},
    {"Ecclesiastes", {"Eccl", "Ecc", "Ec", "Qoh"}},
    {"Song of Solomon", {"Song of Songs", "Song", "Sg", "Cant", "SS"}},
    {"Isaiah", {"Isa", "Is"}},
    {"Jeremiah", {"Jer", "Je", "Jr"}},
    {"Lamentations", {"Lam", "La"}},
    {"Ezekiel", {"Ezek", "Eze", "Ezk"}},
    {"Daniel", {"Dan", "Da", "Dn"}},
    {"Hosea", {"Hos", "Ho"}},
    {"Joel", {"Jl"}},
    {"Amos", {"Am"}},
    {"Obadiah", {"Obad", "Ob"}},
    {"Jonah", {"Jon", "Jnh"}},
    {"Micah", {"Mic", "Mi"}},
    {"Nahum", {"Nah", "Na"}},
    {"Habakkuk", {"Hab", "Hb"}},
    {"Zephaniah", {"Zeph", "Zep", "Zp"}},
    {"Haggai", {"Hag", "Hg"}},
    {"Zechariah", {"Zech", "Zec", "Zc"}},
    {"Malachi", {"Mal", "Ml"}},
    {"Matthew", {"Matt", "Mt"}},
    {"Mark", {"Mk", "Mrk", "Mr"}},
    {"Luke", {"Lk", "Luk"}},
    {"John", {"Jn", "Jhn"}},
    {"Acts", {"Ac"}},
    {"Romans", {"Rom", "Ro", "Rm"}},
    {"1 Corinthians", {"1 Cor", "1 Co"}},
    {"2 Corinthians", {"2 Cor", "2 Co"}},
    {"Galatians", {"Gal", "Ga"}},
    {"Ephesians", {"Eph", "Ephes"}},
    {"Philippians", {"Phil", "Php", "Pp"}},
    {"Colossians", {"Col"}},
    {"1 Thessalonians", {"1 Thess", "1 Th"}},
    {"2 Thessalonians", {"2 Thess", "2 Th"}},
    {"1 Timothy", {"1 Tim", "1 Ti", "1 Tm"}},
    {"2 Timothy", {"2 Tim", "2 Ti", "2 Tm"}},
    {"Titus", {"Tit"}},
    {"Philemon", {"Phlm", "Phm", "Philem"}},
    {"Hebrews", {"Heb"}},
    {"James", {"Jas", "Jm"}},
    {"1 Peter", {"1 Pet", "1 Pe", "1 Pt"}},
    {"2 Peter", {"2 Pet", "2 Pe", "2 Pt"}},
    {"1 John", {"1 Jn", "1 Jhn"}},
    {"2 John", {"2 Jn", "2 Jhn"}},
    {"3 John", {"3 Jn", "3 Jhn"}},
    {"Jude", {"Jud", "Jd"}},
    {"Revelation", {"Rev", "Re", "Rv", "Apoc", "Revelations"}},
}};

// The folded names one book answers to: tier 0 the version's own, tier 1 the English ones.
struct Names {
    const Book* book;
    std::array<QStringList, 2> tiers;
};

std::vector<Names> namesOf(const BookTables& tables) {
    std::vector<Names> out;
    out.reserve(tables.books.size());
    for (const Book& b : tables.books) {
        Names n{&b, {}};
        n.tiers[0] << foldBookName(displayedBookName(b.name));
        if (!b.soundPrefix.isEmpty()) n.tiers[0] << foldBookName(QString::fromUtf8(b.soundPrefix));
        if (b.number >= 1 && b.number <= 66) {
            const EnglishBook& e = kEnglish[static_cast<size_t>(b.number - 1)];
            n.tiers[1] << foldBookName(QString::fromLatin1(e.name));
            for (const char* a : e.abbreviations)
                if (a) n.tiers[1] << foldBookName(QString::fromLatin1(a));
        }
        for (QStringList& t : n.tiers)
            t.removeAll(QString());
        out.push_back(std::move(n));
    }
    return out;
}

// The books `folded` names: exact names first (the version's, then the English), then
// beginnings of names (likewise); the first of these four that finds any book decides.
std::vector<const Book*> findBooks(const QString& folded, const BookTables& tables) {
    const std::vector<Names> all = namesOf(tables);
    for (const bool exact : {true, false}) {
        for (const size_t tier : {size_t{0}, size_t{1}}) {
            std::vector<const Book*> found;
            for (const Names& n : all) {
                const bool fits =
                    std::any_of(n.tiers[tier].cbegin(), n.tiers[tier].cend(),
                                [&](const QString& s) { return exact ? s == folded : s.startsWith(folded); });
                if (fits) found.push_back(n.book);
            }
            if (!found.empty()) return found;
        }
    }
    return {};
}

} // namespace

QString foldBookName(const QString& name) {
    static const QRegularExpression roman(QStringLiteral("^\\s*(i{1,3})\\s+"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString s = name;
    if (const auto m = roman.match(s); m.hasMatch())
        s.replace(0, m.capturedLength(), QString::number(m.capturedLength(1)));
    const QString decomposed = s.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.isMark() || c.isSpace() || c == QLatin1Char('.') || c == QLatin1Char('-')) continue;
        out += c.toCaseFolded();
    }
    return out;
}

QString englishBookName(int number) {
    return number >= 1 && number <= 66 ? QString::fromLatin1(kEnglish[static_cast<size_t>(number - 1)].name)
                                       : QString();
}

ParsedReference ParseReference(const QString& text, const QByteArray& versionCode, const BookTables& tables) {
    // book [chapter [sep verse [dash [chapter sep] verse]]]; the book may begin with a number.
    static const QRegularExpression shape(QStringLiteral("^\\s*((?:[1-3]|i{1,3})?\\s*\\p{L}[^\\d]*?)\\s*"
                                                         "(?:(\\d+)(?:\\s*[:.,]\\s*(\\d+)(?:\\s*[-\\x{2013}"
                                                         "\\x{2014}]\\s*(?:(\\d+)\\s*[:.]\\s*)?(\\d+))?)?)?"
                                                         "\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    ParsedReference out;
    const auto m = shape.match(text);
    if (!m.hasMatch()) {
        out.error = text.trimmed().isEmpty()
                        ? QStringLiteral("Type a reference, for example John 3:16.")
                        : QStringLiteral("\"%1\" is not a reference like John 3:16-18.").arg(text.trimmed());
        return out;
    }
    const QString bookPart = m.captured(1).trimmed();
    const std::vector<const Book*> books = findBooks(foldBookName(bookPart), tables);
    if (books.empty()) {
        out.error =
            QStringLiteral("No book of %1 is called \"%2\".").arg(QString::fromUtf8(versionCode), bookPart);
        return out;
    }
    if (books.size() > 1) {
        for (const Book* b : books)
            out.candidates << b->name;
        out.error =
            QStringLiteral("\"%1\" could be %2.").arg(bookPart, out.candidates.join(QStringLiteral(", ")));
        return out;
    }
    const Book& book = *books.front();
    const QString name = displayedBookName(book.name);
    const auto number = [&](int group) {
        bool ok = false;
        const int n = m.captured(group).toInt(&ok);
        return ok ? n : -1;
    };
    if ((!m.captured(3).isEmpty() && number(3) < 1) || (!m.captured(5).isEmpty() && number(5) < 1)) {
        out.error = QStringLiteral("Verses are counted from 1.");
        return out;
    }
    int chapter = m.captured(2).isEmpty() ? 1 : number(2);
    int first = m.captured(3).isEmpty() ? 0 : number(3);
    int last = m.captured(5).isEmpty() ? first : number(5);
    if (!m.captured(4).isEmpty() && number(4) != chapter) {
        out.error = QStringLiteral("A passage ends in the chapter it begins in.");
        return out;
    }
    // A book of one chapter: "Jude 5" is its verse 5.
    if (book.chapterCount == 1 && first == 0 && chapter > 1) {
        first = last = chapter;
        chapter = 1;
    }
    if (chapter < 1 || chapter > book.chapterCount) {
        out.error = QStringLiteral("%1 has %2 chapters.").arg(name).arg(book.chapterCount);
        if (book.chapterCount == 1) out.error = QStringLiteral("%1 has one chapter.").arg(name);
        return out;
    }
    const int verses = tables.verseCount(book, chapter);
    if (first != 0) {
        if (first < 1 || first > verses || last > verses) {
            out.error = QStringLiteral("%1 %2 has %3 verses.").arg(name).arg(chapter).arg(verses);
            return out;
        }
        if (last < first) {
            out.error = QStringLiteral("The last verse comes before the first.");
            return out;
        }
    } else if (verses < 1) {
        out.error = QStringLiteral("%1 %2 has no verses in this version.").arg(name).arg(chapter);
        return out;
    }
    out.ref = session::PassageRef{versionCode, book.number, chapter, first, first == 0 ? 0 : last};
    return out;
}

} // namespace lumora::bible
