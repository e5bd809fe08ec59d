// lumora-cli search: the hits of a word search, as the search drop-down lists them.

#include "bible/biblestore.h"
#include "bible/search/versionsearch.h"
#include "cli/cli.h"
#include "common/text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumora::cli {

namespace {

// The "key" of a hit in the JSON output: the verse line's first three fields, the verse again and
// the version's row in Version.txt, tab-separated ("43N\t3\t16\t16\t0").
QString jsonKey(const bible::SearchHit& hit, int versionRow) {
    return QString::fromUtf8(hit.verseKey().toByteArray() + '\t' + hit.verse().toByteArray() + '\t' +
                             QByteArray::number(versionRow));
}

int runSearch(Invocation& inv) {
    const bool json = inv.takeFlag(QStringLiteral("--json"));
    bool missing = false;
    const auto wanted = inv.takeOption(QStringLiteral("--version"), &missing);
    if (missing) return usageError(QStringLiteral("--version needs a code"));
    if (inv.args().size() != 1) return usageError(QStringLiteral("search takes one TEXT"));
    const QByteArray needle = common::Utf8Encode(inv.args().first());

    const QString data = inv.dataFolder();
    if (data.isEmpty()) return kFailed;
    const bible::VersionList versions = bible::LoadBibleVersions(data);
    if (versions.complete.isEmpty()) {
        fail(QStringLiteral("no complete Bible version in ") + data);
        return kFailed;
    }
    int row = 0;
    if (wanted) {
        row = -1;
        for (int i = 0; i < versions.complete.size(); ++i) {
            const auto code = common::VersionCode(versions.complete.at(i));
            if (code && code->compare(*wanted, Qt::CaseInsensitive) == 0) {
                row = i;
                break;
            }
        }
        if (row < 0) {
            fail(QStringLiteral("unknown version ") + *wanted);
            return kFailed;
        }
    }
    const QByteArray code = common::Utf8Encode(*common::VersionCode(versions.complete.at(row)));

    bible::VersionSearch found;
    if (!bible::isBlankSearch(needle)) {
        const bible::BookTables tables = bible::LoadBookTables(data, code);
        found = bible::SearchVersion(data, code, tables.namesByNumber(), needle);
    }

    if (json) {
        QJsonArray array;
        for (int i = 0; i < found.display.size(); ++i)
            array.append(QJsonObject{{QStringLiteral("display"), found.display.at(i)},
                                     {QStringLiteral("key"), jsonKey(found.hits.at(i), row)}});
        writeOut(QJsonDocument(array).toJson(QJsonDocument::Indented));
    } else {
        QByteArray out;
        for (const QString& line : found.display)
            out.append(line.toUtf8()).append('\n');
        writeOut(out);
    }
    if (!found.unreadable.isEmpty()) {
        fail(QStringLiteral("cannot read ") + found.unreadable.join(QStringLiteral(", ")));
        return kFailed;
    }
    return kOk;
}

const Registrar registrar("search", "search [--version CODE] [--json] TEXT", runSearch);

} // namespace

} // namespace lumora::cli
