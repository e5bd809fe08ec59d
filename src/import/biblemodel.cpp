#include "import/biblemodel.h"

#include "bible/biblestore.h"

#include <array>

namespace lumora::import {

namespace {
constexpr std::array<const char*, 66> kOsisIds = {
    "Gen",   "Exod", "Lev",  "Num",  "Deut", "Josh", "Judg",  "Ruth",   "1Sam",   "2Sam",  "1Kgs",
    "2Kgs",  "1Chr", "2Chr", "Ezra", "Neh",  "Esth", "Job",   "Ps",     "Prov",   "Eccl",  "Song",
    "Isa",   "Jer",  "Lam",  "Ezek", "Dan",  "Hos",  "Joel",  "Amos",   "Obad",   "Jonah", "Mic",
    "Nah",   "Hab",  "Zeph", "Hag",  "Zech", "Mal",  "Matt",  "Mark",   "Luke",   "John",  "Acts",
    "Rom",   "1Cor", "2Cor", "Gal",  "Eph",  "Phil", "Col",   "1Thess", "2Thess", "1Tim",  "2Tim",
    "Titus", "Phlm", "Heb",  "Jas",  "1Pet", "2Pet", "1John", "2John",  "3John",  "Jude",  "Rev"};
} // namespace

QByteArray ImportedBook::key() const {
    return QByteArray::number(number).rightJustified(2, '0') +
           bible::testamentLetter(bible::testamentOf(number));
}

const ImportedBook* ImportedBible::findBook(int number) const {
    for (const auto& b : books)
        if (b.number == number) return &b;
    return nullptr;
}

ImportedBook* ImportedBible::findBook(int number) {
    for (auto& b : books)
        if (b.number == number) return &b;
    return nullptr;
}

int standardBookNumber(QByteArrayView osisId) {
    for (std::size_t i = 0; i < kOsisIds.size(); ++i)
        if (osisId == kOsisIds[i]) return static_cast<int>(i) + 1;
    return 0;
}

QByteArray bookClass(int number) {
    if (number <= 5) return "Law";
    if (number <= 17) return "History";
    if (number <= 22) return "Poetry";
    if (number <= 39) return "Prophets";
    if (number <= 43) return "Gospels";
    if (number == 44) return "History";
    if (number <= 65) return "Epistles";
    if (number == 66) return "Prophecy";
    return "Deuterocanon";
}

QString chapterAudioName(const QByteArray& prefix, int chapter, const QString& extension) {
    const QString n =
        chapter < 10 ? QStringLiteral("0") + QString::number(chapter) : QString::number(chapter);
    return QString::fromLatin1(prefix) + n + extension;
}

} // namespace lumora::import
