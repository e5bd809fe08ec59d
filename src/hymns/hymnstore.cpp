#include "hymns/hymnstore.h"

#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"
#include "hymns/hymnentry.h"

#include <QDir>

namespace lumora::hymns {

using common::Utf8Decode;
using common::Utf8Encode;

namespace {

bool isSafeName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

std::optional<QByteArray> readBookFile(const QString& cantiques, const QString& book, const QString& name) {
    const auto path = hymnPath(cantiques, book, {name});
    if (!path || !common::fileExists(*path)) return std::nullopt;
    return common::readWholeFile(*path);
}

QByteArray dropBom(const QByteArray& line) {
    return common::startsWithBom(line) ? line.mid(3) : line;
}

} // namespace

QString cantiquesFolder(const QString& dataPath) {
    return common::findPath(dataPath, {QStringLiteral("Cantiques")});
}

std::optional<QString> hymnPath(const QString& cantiques, const QString& book, const QStringList& parts) {
    if (!isSafeName(book)) return std::nullopt;
    for (const QString& p : parts)
        if (!isSafeName(p)) return std::nullopt;
    return common::findPath(cantiques, QStringList{book} + parts);
}

QStringList LoadHymnBooks(const QString& cantiques, QStringList* problems) {
    QStringList books;
    const QStringList names =
        QDir(cantiques).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        if (name.contains(QLatin1Char('.'))) continue;
        const auto data = readBookFile(cantiques, name, QStringLiteral("Hira.txt"));
        if (!data) continue;

        QByteArray themes, keys;
        std::optional<HymnFields> last;
        common::LineSplitter lines(*data);
        QByteArray line;
        while (lines.next(line)) {
            last = SplitHymnEntry(line);
            if (!last) continue;
            const QByteArray key = "  " + last->theme + "  ";
            if (keys.contains(key)) continue;
            themes += themes.isEmpty() ? last->theme : "\r\n" + last->theme;
            keys += key;
        }
        if (themes.isEmpty() || !last) continue;
        // A failed write leaves the old file; the book is still listed, as its entries are sound.
        // A file that already holds these bytes is left alone (nothing to write, nothing to risk).
        const QString themePath = common::findPath(cantiques, {name, QStringLiteral("Theme.txt")});
        const QByteArray bytes = common::kBom + themes + "\r\n";
        if (common::readWholeFile(themePath) != bytes) {
            QString why;
            if (!common::writeFileAtomic(themePath, bytes, &why) && problems)
                *problems << QStringLiteral("%1: not written: %2")
                                 .arg(QDir(cantiques).relativeFilePath(themePath), why);
        }
        books << Utf8Decode(last->book);
    }
    return books;
}

std::optional<QStringList> readThemes(const QString& cantiques, const QString& book) {
    const auto data = readBookFile(cantiques, book, QStringLiteral("Theme.txt"));
    if (!data) return std::nullopt;
    QStringList themes;
    common::LineSplitter lines(*data);
    QByteArray line;
    bool first = true;
    while (lines.next(line)) {
        themes << Utf8Decode(first ? dropBom(line) : line);
        first = false;
    }
    return themes;
}

QStringList subThemes(const QString& cantiques, const QString& book, const QString& theme) {
    QStringList out;
    const auto data = readBookFile(cantiques, book, QStringLiteral("Hira.txt"));
    if (!data) return out;
    const QByteArray needle = Utf8Encode(theme);
    QByteArray taken;
    common::LineSplitter lines(*data);
    QByteArray line;
    while (lines.next(line)) {
        const auto tabs = tabPositions(line);
        if (common::indexOfAsciiCi(fromField(line, tabs, 6), needle) < 0) continue;
        const QByteArray sub = fieldAt(line, tabs, 7);
        if (sub.isEmpty() || common::indexOfAsciiCi(taken, sub) >= 0) continue;
        taken += sub;
        out << Utf8Decode(sub);
    }
    return out;
}

namespace {

// The entries of the book whose text from field 6 on contains `theme` and that `keep` accepts.
template <typename Keep>
HymnList themeEntries(const QString& cantiques, const QString& book, const QString& theme, Keep keep) {
    HymnList out;
    const auto data = readBookFile(cantiques, book, QStringLiteral("Hira.txt"));
    if (!data) return out;
    const QByteArray themeBytes = Utf8Encode(theme);
    common::LineSplitter lines(*data);
    QByteArray raw;
    while (lines.next(raw)) {
        const QByteArray line = dropBom(raw);
        const auto tabs = tabPositions(line);
        if (common::indexOfAsciiCi(fromField(line, tabs, 6), themeBytes) < 0) continue;
        if (!keep(line, tabs)) continue;
        out.entries << Utf8Decode(line);
        out.labels << Utf8Decode(line.left(tabs[1]));
    }
    return out;
}

} // namespace

HymnList hymnList(const QString& cantiques, const QString& book, const QString& theme,
                  const QString& subTheme) {
    const QByteArray subBytes = Utf8Encode(subTheme);
    return themeEntries(cantiques, book, theme, [&](const QByteArray& line, const auto& tabs) {
        return common::indexOfAsciiCi(fromField(line, tabs, 7), subBytes) >= 0;
    });
}

HymnList hymnsWithoutSubTheme(const QString& cantiques, const QString& book, const QString& theme) {
    return themeEntries(cantiques, book, theme, [](const QByteArray& line, const auto& tabs) {
        return fieldAt(line, tabs, 7).isEmpty();
    });
}

HymnList searchHymns(const QString& cantiques, const QStringList& books, const QString& term) {
    HymnList out;
    for (const QString& book : books) {
        const auto data = readBookFile(cantiques, book, QStringLiteral("Hira.txt"));
        if (!data) continue;
        common::LineSplitter lines(*data);
        QByteArray raw;
        while (lines.next(raw)) {
            const QByteArray line = dropBom(raw);
            const qsizetype tab = line.indexOf(common::kTab);
            if (tab < 0) continue;
            const QString text = Utf8Decode(line);
            if (!text.contains(term, Qt::CaseInsensitive)) continue;
            out.labels << Utf8Decode(line.left(tab));
            out.entries << text;
        }
    }
    return out;
}

} // namespace lumora::hymns
