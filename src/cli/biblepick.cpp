#include "cli/biblepick.h"

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
    for (const QString& entry : list.List_version) {
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
    const BookTables& t = p.tables;
    p.book = bookRow - 1;
    if (p.book < 0 || p.book >= t.List_livre.size()) {
        fail(QStringLiteral("unknown book: %1 (the version has %2)").arg(bookRow).arg(t.List_livre.size()));
        return std::nullopt;
    }
    p.chapter = chapter;
    if (chapter > t.chapterCount(p.book)) {
        fail(
            QStringLiteral("unknown chapter: %1 (the book has %2)").arg(chapter).arg(t.chapterCount(p.book)));
        return std::nullopt;
    }
    const int row = t.chapterRow(t.List_NumLivre.at(p.book), chapter);
    bool ok = false;
    p.verseCount = row >= 0 ? t.List_NbrVerset.at(row).trimmed().toInt(&ok) : 0;
    if (row < 0 || !ok || p.verseCount < 1) {
        fail(QStringLiteral("the chapter has no verse count in Chap_verset.txt"));
        return std::nullopt;
    }
    return p;
}

} // namespace lumora::cli
