// lumora-cli hymns: the hymn lists as the Canticle tab shows them after the same picks.

#include "cli/cli.h"
#include "common/paths.h"
#include "hymns/hymnentry.h"
#include "hymns/hymnfiles.h"
#include "hymns/hymnstore.h"
#include "import/songs/songimport.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumora::cli {
namespace {

using namespace lumora::hymns;

struct Output {
    bool json = false;
    int strings(const QStringList& rows) const {
        if (json) {
            writeOut(QJsonDocument(QJsonArray::fromStringList(rows)).toJson(QJsonDocument::Compact) + '\n');
        } else {
            for (const QString& row : rows)
                writeLine(row);
        }
        return kOk;
    }
};

int pickFrom(const QStringList& list, const QString& value, const QString& what) {
    if (list.contains(value)) return kOk;
    fail(QStringLiteral("no %1 named \"%2\"").arg(what, value));
    return kFailed;
}

QString wordsOf(const HymnFiles& files) {
    switch (files.words) {
    case WordsKind::None:
        return QStringLiteral("A SAISIR");
    case WordsKind::Rtf:
        return rtfPlainText(files.wordsPath).value_or(QString());
    case WordsKind::Text:
        return readTextWords(files.wordsPath);
    }
    return {};
}

// hymns import BOOK PATH... [--theme T] [--subtheme S]: the book is made when it does not exist,
// and so are the data folder's Cantiques folder and the data folder itself.
int importSongs(Invocation& inv, const import::SongImportOptions& options) {
    const QStringList& args = inv.args();
    const QString data = inv.dataFolderToFill();
    if (data.isEmpty()) return kFailed;
    const QString cantiques = cantiquesFolder(data);
    if (!QDir().mkpath(cantiques)) {
        fail(QStringLiteral("cannot make ") + cantiques);
        return kFailed;
    }
    QString why;
    auto run = import::SongImport::open(cantiques, args.at(0), options, &why);
    if (!run) {
        fail(why);
        return kFailed;
    }
    std::vector<import::ImportProblem> problems;
    const std::vector<import::SongInput> inputs = import::collectSongInputs(args.mid(1), &problems);
    for (const import::SongInput& input : inputs)
        run->add(input);
    problems.insert(problems.end(), run->problems().begin(), run->problems().end());
    const bool written = run->finish(&why);
    for (const import::ImportProblem& p : problems)
        fail(p.toText());
    if (!written) {
        fail(why);
        fail(QStringLiteral("nothing imported: the hymn book is as it was"));
        return kFailed;
    }
    QMap<QString, int> perFormat;
    for (const import::ImportedSong& song : run->imported()) {
        writeLine(song.file + QStringLiteral(" -> ") + song.hymn.label);
        for (const QString& change : song.hymn.changes)
            writeLine(QStringLiteral("  ") + change);
        ++perFormat[import::songFormatName(song.format)];
    }
    QStringList counts;
    for (auto it = perFormat.cbegin(); it != perFormat.cend(); ++it)
        counts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    writeLine(QStringLiteral("%1 songs imported into %2%3; %4 not imported")
                  .arg(run->imported().size())
                  .arg(run->book(),
                       counts.isEmpty()
                           ? QString()
                           : QStringLiteral(" (") + counts.join(QStringLiteral(", ")) + QLatin1Char(')'))
                  .arg(problems.size()));
    // The themes file follows the new entries, as at the program's next start.
    LoadHymnBooks(cantiques);
    return problems.empty() ? kOk : kFailed;
}

int runHymns(Invocation& inv) {
    Output out{inv.takeFlag(QStringLiteral("--json"))};
    bool missing = false;
    import::SongImportOptions options;
    options.theme = inv.takeOption(QStringLiteral("--theme"), &missing).value_or(QString());
    if (missing) return usageError(QStringLiteral("--theme needs a value"));
    options.subTheme = inv.takeOption(QStringLiteral("--subtheme"), &missing).value_or(QString());
    if (missing) return usageError(QStringLiteral("--subtheme needs a value"));
    QStringList& args = inv.args();
    if (args.isEmpty()) return usageError(QStringLiteral("hymns needs a subcommand"));
    const QString sub = args.takeFirst();
    const bool themed = !options.theme.isEmpty() || !options.subTheme.isEmpty();
    if (themed && sub != QLatin1String("import"))
        return usageError(QStringLiteral("--theme and --subtheme go with hymns import"));
    if (sub == QLatin1String("import")) {
        if (args.size() < 2) return usageError(QStringLiteral("hymns import needs a book and songs"));
        return importSongs(inv, options);
    }
    static const QHash<QString, int> kArity{{QStringLiteral("books"), 0},     {QStringLiteral("themes"), 1},
                                            {QStringLiteral("subthemes"), 2}, {QStringLiteral("list"), 3},
                                            {QStringLiteral("show"), 2},      {QStringLiteral("search"), 1},
                                            {QStringLiteral("export"), 2}};
    if (!kArity.contains(sub)) return usageError(QStringLiteral("unknown hymns subcommand ") + sub);
    if (args.size() != kArity.value(sub))
        return usageError(QStringLiteral("wrong number of arguments for hymns ") + sub);

    const QString data = inv.dataFolder();
    if (data.isEmpty()) return kFailed;
    const QString cantiques = cantiquesFolder(data);
    if (!common::folderExists(cantiques)) {
        fail(QStringLiteral("no Cantiques folder in ") + data);
        return kFailed;
    }
    // The same load as at start-up, so "Theme.txt" is regenerated as the program would.
    QStringList problems;
    const QStringList books = LoadHymnBooks(cantiques, &problems);
    for (const QString& p : problems)
        fail(p);
    if (sub == QLatin1String("books")) return out.strings(books);
    if (sub == QLatin1String("search")) {
        const HymnList hits = searchHymns(cantiques, books, args.at(0));
        if (!out.json) return out.strings(hits.labels);
        QJsonArray rows;
        for (qsizetype i = 0; i < hits.labels.size(); ++i)
            rows.append(QJsonObject{{QStringLiteral("label"), hits.labels.at(i)},
                                    {QStringLiteral("entry"), hits.entries.at(i)}});
        writeOut(QJsonDocument(rows).toJson(QJsonDocument::Compact) + '\n');
        return kOk;
    }

    const QString book = args.at(0);
    if (pickFrom(books, book, QStringLiteral("hymn book")) != kOk) return kFailed;
    if (sub == QLatin1String("export")) {
        const import::ExportResult result = import::exportHymnBook(cantiques, book, args.at(1));
        for (const import::ImportProblem& p : result.problems)
            fail(p.toText());
        writeLine(QStringLiteral("%1 hymns exported to %2").arg(result.written.size()).arg(args.at(1)));
        return result.problems.empty() ? kOk : kFailed;
    }
    if (sub == QLatin1String("show")) {
        const HymnList all = searchHymns(cantiques, {book}, QString());
        const qsizetype row = all.labels.indexOf(args.at(1));
        if (row < 0) return pickFrom({}, args.at(1), QStringLiteral("hymn"));
        const QString entry = all.entries.at(row);
        const QString info = ShowHymnInfo(entry).value_or(QString());
        const QString words = wordsOf(LoadHymnFiles(cantiques, entry));
        if (out.json) {
            const QJsonObject o{{QStringLiteral("label"), all.labels.at(row)},
                                {QStringLiteral("entry"), entry},
                                {QStringLiteral("info"), info},
                                {QStringLiteral("words"), words}};
            writeOut(QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n');
        } else {
            writeLine(QString(info).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            writeLine(QString());
            writeLine(words);
        }
        return kOk;
    }

    const QStringList themes = readThemes(cantiques, book).value_or(QStringList());
    if (sub == QLatin1String("themes")) return out.strings(themes);
    if (pickFrom(themes, args.at(1), QStringLiteral("theme")) != kOk) return kFailed;
    const QStringList subs = subThemes(cantiques, book, args.at(1));
    if (sub == QLatin1String("subthemes")) return out.strings(subs);
    if (pickFrom(subs, args.at(2), QStringLiteral("sub-theme")) != kOk) return kFailed;
    return out.strings(hymnList(cantiques, book, args.at(1), args.at(2)).labels);
}

const Registrar
    kHymns("hymns",
           "hymns [--json] books | themes BOOK | subthemes BOOK THEME | list BOOK THEME SUBTHEME | "
           "show BOOK LABEL | search TEXT | import BOOK PATH... [--theme T] [--subtheme S] | export BOOK DIR",
           runHymns);

} // namespace
} // namespace lumora::cli
