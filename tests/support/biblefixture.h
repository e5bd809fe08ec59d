#pragma once
// A small Bible written in the data formats, for tests and benchmarks.

#include "support/testdata.h"

#include <functional>
#include <map>

namespace lumora::testing {

struct FixtureBook {
    int number;   // 1..66 (or above 66)
    QString name; // shown after the two-digit number
    int chapters;
    std::function<int(int chapter)> verses; // verse count of a chapter
    QByteArray prefix = "Bk";
    QString classLabel = QStringLiteral("Class");
};

// Verse text of book b, chapter c, verse v unless `text` overrides it.
inline QByteArray fixtureVerseText(int b, int c, int v) {
    return "Text " + QByteArray::number(b) + " " + QByteArray::number(c) + ":" + QByteArray::number(v);
}

struct FixtureOptions {
    std::function<QByteArray(int b, int c, int v)> text = fixtureVerseText;
    std::function<QByteArray(int b, int c, int v)> mark = [](int, int, int) { return QByteArray("0"); };
    bool bomInBooks = true;
};

inline QByteArray twoDigits(int n) {
    return n < 10 ? "0" + QByteArray::number(n) : QByteArray::number(n);
}

// Writes <data>/Bible/<code>/ with its four files; does not touch Version.txt.
inline void writeFixtureVersion(const QString& data, const QByteArray& code,
                                const std::vector<FixtureBook>& books, const FixtureOptions& opt = {}) {
    const QString folder = data + "/Bible/" + QString::fromUtf8(code);
    QByteArray livre = opt.bomInBooks ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    QByteArray chap, o("\xEF\xBB\xBF"), n("\xEF\xBB\xBF");
    for (const FixtureBook& b : books) {
        const QByteArray key = twoDigits(b.number) + ((b.number >= 40 && b.number <= 66) ? "N" : "O");
        livre += twoDigits(b.number) + " " + b.name.toUtf8() + "\t" + key + "\t" +
                 QByteArray::number(b.chapters) + "\t" + b.prefix + "\t" + b.classLabel.toUtf8() + "\r\n";
        for (int c = 1; c <= b.chapters; ++c) {
            const int vc = b.verses(c);
            chap += key + "\t" + QByteArray::number(c) + "\t" + QByteArray::number(vc) + "\r\n";
            QByteArray& file = (b.number >= 40 && b.number <= 66) ? n : o;
            for (int v = 1; v <= vc; ++v)
                file += key + "\t" + QByteArray::number(c) + "\t" + QByteArray::number(v) + "\t" +
                        opt.mark(b.number, c, v) + "\t" + opt.text(b.number, c, v) + "\r\n";
        }
    }
    writeBytes(folder + "/Livre_chap.txt", livre);
    writeBytes(folder + "/Chap_verset.txt", chap);
    writeBytes(folder + "/" + QString::fromUtf8(code) + "-O.txt", o);
    writeBytes(folder + "/" + QString::fromUtf8(code) + "-N.txt", n);
}

// 66 books of `chapters` chapters of `verses` verses each (book 19 has 150 chapters).
inline std::vector<FixtureBook> fixtureBooks(int chapters = 6, int verses = 25) {
    std::vector<FixtureBook> books;
    for (int b = 1; b <= 66; ++b)
        books.push_back(
            {b, QStringLiteral("Book%1").arg(b), b == 19 ? 150 : chapters, [verses](int) { return verses; }});
    return books;
}

// Version AAA whose book 40 has 6 chapters of 30 verses, verse v of chapters 1..markedChapters
// starting at 10 v seconds (the rest unmarked), every chapter of book 40 recorded
// (Sound/Bk01.mp3 ...); the other books have 6 chapters of 25 verses, no marks, no recordings.
inline void writeRecordedVersion(const QString& data, int markedChapters = 6) {
    FixtureOptions opt;
    opt.mark = [markedChapters](int b, int c, int v) {
        return b == 40 && c <= markedChapters ? QByteArray::number(10 * v) + ",00000" : QByteArray("0");
    };
    std::vector<FixtureBook> books = fixtureBooks(6, 25);
    books[39].verses = [](int) { return 30; };
    writeFixtureVersion(data, "AAA", books, opt);
    for (int c = 1; c <= 6; ++c)
        writeBytes(data + QStringLiteral("/Bible/AAA/Sound/Bk%1.mp3").arg(c, 2, 10, QLatin1Char('0')), "x");
}

} // namespace lumora::testing
