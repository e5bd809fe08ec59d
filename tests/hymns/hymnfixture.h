#pragma once
// Hymn-book folders for the tests: <root>/Bible/Version.txt (so the data folder counts as usable)
// and <root>/Cantiques/<book>/Hira.txt built from entries.

#include "support/testdata.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace lumora::testing {

// One Hira.txt line: label, composer, author, key, "-", theme, sub-theme, tune, book.
inline QByteArray hymnEntry(const QByteArray& label, const QByteArray& theme, const QByteArray& sub,
                            const QByteArray& book, const QByteArray& tune = "Tune",
                            const QByteArray& composer = "Comp", const QByteArray& author = "Auth",
                            const QByteArray& key = "C") {
    return QByteArrayList{label, composer, author, key, "-", theme, sub, tune, book}.join('\t');
}

// The same line as the program holds it.
template <typename... Args> QString entryText(const Args&... args) {
    return QString::fromUtf8(hymnEntry(args...));
}

inline QByteArray crlfLines(const QByteArrayList& lines) {
    return lines.join("\r\n") + "\r\n";
}

class HymnData : public TempFolder {
  public:
    HymnData() { writeBytes(file(QStringLiteral("Bible/Version.txt")), "KJV - King James\r\n"); }
    QString cantiques() const { return file(QStringLiteral("Cantiques")); }
    QString bookFile(const QString& book, const QString& rel) const {
        return file(QStringLiteral("Cantiques/") + book + QLatin1Char('/') + rel);
    }
    void hira(const QString& book, const QByteArray& bytes) const {
        writeBytes(bookFile(book, QStringLiteral("Hira.txt")), bytes);
    }
    void touch(const QString& book, const QString& rel) const { writeBytes(bookFile(book, rel), "x"); }
};

} // namespace lumora::testing
