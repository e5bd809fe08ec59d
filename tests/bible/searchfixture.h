#pragma once
// A small Bible data folder for the search tests: two complete versions ("AAA" and "bbb"),
// 66 books of 3 chapters of 16 verses, every verse "Text of book b chapter c verse v.", with
// chosen verses given other texts.

#include "support/testdata.h"

#include <QByteArray>
#include <QMap>
#include <QString>

namespace lumora::testing {

// Verse texts that replace the generic one, by "BBT\tc\tv" key ("43N\t3\t16").
using VerseTexts = QMap<QByteArray, QByteArray>;

inline QByteArray bookKey(int book) {
    return QByteArray::number(book).rightJustified(2, '0') + (book >= 40 && book <= 66 ? "N" : "O");
}

// Names "01 Name1".."66 Name66" with `prefix` in place of "Name"; book 43 is "43 " + john
// (the shown names begin with the book number, as the data files write them).
inline void writeSearchVersion(const QString& data, const QByteArray& code, const QByteArray& prefix,
                               const QByteArray& john, const VerseTexts& texts = {}) {
    const QString folder = data + QStringLiteral("/Bible/") + QString::fromUtf8(code) + QLatin1Char('/');
    QByteArray books = "\xEF\xBB\xBF", chapters, ot = "\xEF\xBB\xBF", nt = "\xEF\xBB\xBF";
    for (int b = 1; b <= 66; ++b) {
        const QByteArray num = QByteArray::number(b).rightJustified(2, '0');
        const QByteArray name = b == 43 ? john : prefix + QByteArray::number(b);
        books += num + ' ' + name + "\t" + QByteArray::number(b) + "\t3\tS" + num + "\tClass\r\n";
        for (int c = 1; c <= 3; ++c) {
            chapters += QByteArray::number(b) + '\t' + QByteArray::number(c) + "\t16\r\n";
            for (int v = 1; v <= 16; ++v) {
                const QByteArray key =
                    bookKey(b) + '\t' + QByteArray::number(c) + '\t' + QByteArray::number(v);
                const QByteArray text =
                    texts.value(key, "Text of book " + QByteArray::number(b) + " chapter " +
                                         QByteArray::number(c) + " verse " + QByteArray::number(v) + ".");
                (b >= 40 ? nt : ot) += key + "\t0\t" + text + "\r\n";
            }
        }
    }
    writeBytes(folder + QStringLiteral("Livre_chap.txt"), books);
    writeBytes(folder + QStringLiteral("Chap_verset.txt"), chapters);
    writeBytes(folder + QString::fromUtf8(code) + QStringLiteral("-O.txt"), ot);
    writeBytes(folder + QString::fromUtf8(code) + QStringLiteral("-N.txt"), nt);
}

// Version.txt lists "AAA - Alpha" then "bbb - Beta".
inline void writeSearchBible(const QString& data, const VerseTexts& alpha = {}, const VerseTexts& beta = {}) {
    writeBytes(data + QStringLiteral("/Bible/Version.txt"), "\xEF\xBB\xBF"
                                                            "AAA - Alpha\r\nbbb - Beta\r\n");
    writeSearchVersion(data, "AAA", "Book", "John", alpha);
    writeSearchVersion(data, "bbb", "Livre", "Jean", beta);
    QDir().mkpath(data + QStringLiteral("/Cantiques"));
}

} // namespace lumora::testing
