#include "import/booktable.h"

#include <QByteArray>

#include <array>
#include <iterator>

namespace lumora::import {

namespace {

constexpr BookCode kBooks[] = {
    {1, "Gen", "GEN", "Genesis"},
    {2, "Exod", "EXO", "Exodus"},
    {3, "Lev", "LEV", "Leviticus"},
    {4, "Num", "NUM", "Numbers"},
    {5, "Deut", "DEU", "Deuteronomy"},
    {6, "Josh", "JOS", "Joshua"},
    {7, "Judg", "JDG", "Judges"},
    {8, "Ruth", "RUT", "Ruth"},
    {9, "1Sam", "1SA", "1 Samuel"},
    {10, "2Sam", "2SA", "2 Samuel"},
    {11, "1Kgs", "1KI", "1 Kings"},
    {12, "2Kgs", "2KI", "2 Kings"},
    {13, "1Chr", "1CH", "1 Chronicles"},
    {14, "2Chr", "2CH", "2 Chronicles"},
    {15, "Ezra", "EZR", "Ezra"},
    {16, "Neh", "NEH", "Nehemiah"},
    {17, "Esth", "EST", "Esther"},
    {18, "Job", "JOB", "Job"},
    {19, "Ps", "PSA", "Psalms"},
    {20, "Prov", "PRO", "Proverbs"},
    {21, "Eccl", "ECC", "Ecclesiastes"},
    {22, "Song", "SNG", "Song of Solomon"},
    {23, "Isa", "ISA", "Isaiah"},
    {24, "Jer", "JER", "Jeremiah"},
    {25, "Lam", "LAM", "Lamentations"},
    {26, "Ezek", "EZK", "Ezekiel"},
    {27, "Dan", "DAN", "Daniel"},
    {28, "Hos", "HOS", "Hosea"},
    {29, "Joel", "JOL", "Joel"},
    {30, "Amos", "AMO", "Amos"},
    {31, "Obad", "OBA", "Obadiah"},
    {32, "Jonah", "JON", "Jonah"},
    {33, "Mic", "MIC", "Micah"},
    {34, "Nah", "NAM", "Nahum"},
    {35, "Hab", "HAB", "Habakkuk"},
    {36, "Zeph", "ZEP", "Zephaniah"},
    {37, "Hag", "HAG", "Haggai"},
    {38, "Zech", "ZEC", "Zechariah"},
    {39, "Mal", "MAL", "Malachi"},
    {40, "Matt", "MAT", "Matthew"},
    {41, "Mark", "MRK", "Mark"},
    {42, "Luke", "LUK", "Luke"},
    {43, "John", "JHN", "John"},
    {44, "Acts", "ACT", "Acts"},
    {45, "Rom", "ROM", "Romans"},
    {46, "1Cor", "1CO", "1 Corinthians"},
    {47, "2Cor", "2CO", "2 Corinthians"},
    {48, "Gal", "GAL", "Galatians"},
    {49, "Eph", "EPH", "Ephesians"},
    {50, "Phil", "PHP", "Philippians"},
    {51, "Col", "COL", "Colossians"},
    {52, "1Thess", "1TH", "1 Thessalonians"},
    {53, "2Thess", "2TH", "2 Thessalonians"},
    {54, "1Tim", "1TI", "1 Timothy"},
    {55, "2Tim", "2TI", "2 Timothy"},
    {56, "Titus", "TIT", "Titus"},
    {57, "Phlm", "PHM", "Philemon"},
    {58, "Heb", "HEB", "Hebrews"},
    {59, "Jas", "JAS", "James"},
    {60, "1Pet", "1PE", "1 Peter"},
    {61, "2Pet", "2PE", "2 Peter"},
    {62, "1John", "1JN", "1 John"},
    {63, "2John", "2JN", "2 John"},
    {64, "3John", "3JN", "3 John"},
    {65, "Jude", "JUD", "Jude"},
    {66, "Rev", "REV", "Revelation"},
    {67, "Tob", "TOB", "Tobit"},
    {68, "Jdt", "JDT", "Judith"},
    {69, "EsthGr", "ESG", "Esther (Greek)"},
    {70, "AddEsth", "ADE", "Additions to Esther"},
    {71, "Wis", "WIS", "Wisdom"},
    {72, "Sir", "SIR", "Sirach"},
    {73, "Bar", "BAR", "Baruch"},
    {74, "EpJer", "LJE", "Letter of Jeremiah"},
    {75, "PrAzar", "S3Y", "Prayer of Azariah"},
    {76, "Sus", "SUS", "Susanna"},
    {77, "Bel", "BEL", "Bel and the Dragon"},
    {78, "1Macc", "1MA", "1 Maccabees"},
    {79, "2Macc", "2MA", "2 Maccabees"},
    {80, "3Macc", "3MA", "3 Maccabees"},
    {81, "4Macc", "4MA", "4 Maccabees"},
    {82, "1Esd", "1ES", "1 Esdras"},
    {83, "2Esd", "2ES", "2 Esdras"},
    {84, "PrMan", "MAN", "Prayer of Manasseh"},
    {85, "AddPs", "PS2", "Psalm 151"},
    {86, "DanGr", "DAG", "Daniel (Greek)"},
    {87, "EpLao", "LAO", "Laodiceans"},
};
static_assert(std::size(kBooks) == kFirstUnlistedBook - 1);

// French names of the 66 books, in book-number order.
constexpr std::array<const char*, 66> kFrench = {"Genèse",
                                                 "Exode",
                                                 "Lévitique",
                                                 "Nombres",
                                                 "Deutéronome",
                                                 "Josué",
                                                 "Juges",
                                                 "Ruth",
                                                 "1 Samuel",
                                                 "2 Samuel",
                                                 "1 Rois",
                                                 "2 Rois",
                                                 "1 Chroniques",
                                                 "2 Chroniques",
                                                 "Esdras",
                                                 "Néhémie",
                                                 "Esther",
                                                 "Job",
                                                 "Psaumes",
                                                 "Proverbes",
                                                 "Ecclésiaste",
                                                 "Cantique des cantiques",
                                                 "Ésaïe",
                                                 "Jérémie",
                                                 "Lamentations",
                                                 "Ézéchiel",
                                                 "Daniel",
                                                 "Osée",
                                                 "Joël",
                                                 "Amos",
                                                 "Abdias",
                                                 "Jonas",
                                                 "Michée",
                                                 "Nahum",
                                                 "Habacuc",
                                                 "Sophonie",
                                                 "Aggée",
                                                 "Zacharie",
                                                 "Malachie",
                                                 "Matthieu",
                                                 "Marc",
                                                 "Luc",
                                                 "Jean",
                                                 "Actes",
                                                 "Romains",
                                                 "1 Corinthiens",
                                                 "2 Corinthiens",
                                                 "Galates",
                                                 "Éphésiens",
                                                 "Philippiens",
                                                 "Colossiens",
                                                 "1 Thessaloniciens",
                                                 "2 Thessaloniciens",
                                                 "1 Timothée",
                                                 "2 Timothée",
                                                 "Tite",
                                                 "Philémon",
                                                 "Hébreux",
                                                 "Jacques",
                                                 "1 Pierre",
                                                 "2 Pierre",
                                                 "1 Jean",
                                                 "2 Jean",
                                                 "3 Jean",
                                                 "Jude",
                                                 "Apocalypse"};

// Names and abbreviations beyond the table's own English names and codes.
constexpr struct {
    const char* name;
    int number;
} kAliases[] = {
    {"psalm", 19},
    {"songofsongs", 22},
    {"canticles", 22},
    {"canticleofcanticles", 22},
    {"qoheleth", 21},
    {"revelations", 66},
    {"revelationofjohn", 66},
    {"apocalypse", 66},
    {"actsoftheapostles", 44},
    {"wisdomofsolomon", 71},
    {"ecclesiasticus", 72},
    {"sirach", 72},
    {"prayerofmanasses", 84},
    {"songofthethreeyoungmen", 75},
    {"songofthreechildren", 75},
    {"gn", 1},
    {"ex", 2},
    {"lv", 3},
    {"nm", 4},
    {"dt", 5},
    {"jdg", 7},
    {"jg", 7},
    {"rt", 8},
    {"ps", 19},
    {"pss", 19},
    {"prv", 20},
    {"qo", 21},
    {"sg", 22},
    {"is", 23},
    {"jr", 24},
    {"ez", 26},
    {"dn", 27},
    {"mt", 40},
    {"mk", 41},
    {"lk", 42},
    {"jn", 43},
    {"jhn", 43},
    {"ac", 44},
    {"rm", 45},
    {"jm", 59},
    {"rv", 66},
};

// Lower case without blanks, dots and underscores; a leading roman "I ", "II ", "III " becomes
// a digit. "II Kings" -> "2kings", "1. Mose" -> "1mose".
QByteArray normalised(QByteArrayView name) {
    QByteArray s = name.toByteArray().trimmed();
    for (const auto& [roman, digit] : {std::pair{"III ", "3"}, std::pair{"II ", "2"}, std::pair{"I ", "1"}}) {
        if (s.startsWith(roman)) {
            s = digit + s.mid(static_cast<qsizetype>(std::char_traits<char>::length(roman)));
            break;
        }
    }
    QByteArray out;
    out.reserve(s.size());
    for (char c : s) {
        if (c == ' ' || c == '.' || c == '_' || c == '\t') continue;
        out.append(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return out;
}

} // namespace

const BookCode* bookByNumber(int number) {
    return number >= 1 && number < kFirstUnlistedBook ? &kBooks[number - 1] : nullptr;
}

const BookCode* bookByOsisId(QByteArrayView id) {
    for (const auto& b : kBooks)
        if (id == b.osis) return &b;
    return nullptr;
}

const BookCode* bookByUsfmCode(QByteArrayView code) {
    const QByteArray upper = code.toByteArray().trimmed().toUpper();
    for (const auto& b : kBooks)
        if (upper == b.usfm) return &b;
    return nullptr;
}

const BookCode* bookByName(QByteArrayView name) {
    const QByteArray key = normalised(name);
    if (key.isEmpty()) return nullptr;
    for (const auto& b : kBooks)
        if (key == normalised(b.english) || key == normalised(b.osis) || key == normalised(b.usfm)) return &b;
    for (const auto& a : kAliases)
        if (key == a.name) return bookByNumber(a.number);
    return nullptr;
}

bool isPeripheralUsfmBook(QByteArrayView code) {
    static const char* const peripheral[] = {"FRT", "BAK", "OTH", "INT", "CNC", "GLO", "TDX", "NDX",
                                             "XXA", "XXB", "XXC", "XXD", "XXE", "XXF", "XXG"};
    const QByteArray upper = code.toByteArray().toUpper();
    for (const char* p : peripheral)
        if (upper == p) return true;
    return false;
}

QByteArray localBookName(const BookCode& book, QByteArrayView language) {
    const QByteArray lang = language.toByteArray().toLower();
    if ((lang == "fr" || lang == "fra" || lang == "fre" || lang.startsWith("fr-")) && book.number <= 66)
        return QByteArray(kFrench[static_cast<std::size_t>(book.number - 1)]);
    return QByteArray(book.english);
}

} // namespace lumora::import
