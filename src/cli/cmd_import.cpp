// lumora-cli import sword MODULE | FORMAT PATH | PATH --code CODE --name NAME [--force]

#include "cli/cli.h"

#include "import/bibleimport.h"
#include "import/swordreader.h"
#include "import/versionwriter.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace lumora::cli {

namespace {

void progress(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

// A Bible file, zip or folder: read whole, summarised, then written as a version.
int importFile(const QString& data, const QByteArray& code, const QByteArray& name,
               std::optional<import::BibleFormat> format, const QString& path) {
    const import::BibleSource source = import::openBibleSource(path);
    if (source.error) {
        fail(source.error->text());
        return kFailed;
    }
    if (!format) format = import::guessBibleFormat(source);
    if (!format) {
        fail(path +
             QStringLiteral(": the format cannot be told from the content; name it (import osis|zefania|"
                            "usfm|usx|opensong|unbound PATH)"));
        return kFailed;
    }
    const import::BibleReadResult read = import::readBible(source, *format);
    if (!read.bible) {
        fail(read.error ? read.error->text() : QStringLiteral("the import was cancelled"));
        return kFailed;
    }
    for (const QString& line : import::summaryLines(read))
        writeLine(line);
    const QString error = import::writeVersion(data, code, name, *read.bible);
    if (!error.isEmpty()) {
        fail(error);
        return kFailed;
    }
    return kOk;
}

int runImport(Invocation& inv) {
    const bool force = inv.takeFlag(QStringLiteral("--force"));
    if (inv.takeFlag(QStringLiteral("--list"))) {
        if (inv.args() != QStringList{QStringLiteral("sword")})
            return usageError(QStringLiteral("--list goes with sword: import sword --list"));
        QString error;
        const auto bibles = import::listSwordBibles(&error);
        if (!bibles) {
            fail(error);
            return kFailed;
        }
        for (const QString& line : *bibles)
            writeLine(line);
        return kOk;
    }
    bool missing = false;
    const auto code = inv.takeOption(QStringLiteral("--code"), &missing);
    if (missing) return usageError(QStringLiteral("--code needs a value"));
    const auto name = inv.takeOption(QStringLiteral("--name"), &missing);
    if (missing) return usageError(QStringLiteral("--name needs a value"));
    QStringList& args = inv.args();
    // "sword MODULE", "osis PATH" (a format named), or PATH alone (the format told by the content).
    const bool isSword = args.size() == 2 && args[0] == QStringLiteral("sword");
    const auto named = args.size() == 2 ? import::formatFromKeyword(args[0]) : std::nullopt;
    if (!isSword && !named && args.size() != 1)
        return usageError(QStringLiteral("import needs: sword MODULE, FORMAT PATH or PATH (FORMAT: "
                                         "osis, zefania, usfm, usx, opensong or unbound)"));
    if (!code || !name || name->trimmed().isEmpty())
        return usageError(QStringLiteral("import needs --code and --name"));
    if (!import::isUsableVersionCode(code->toUtf8()))
        return usageError(QStringLiteral("the code must be 1 to 16 letters, digits or _: ") + *code);
    if (!import::isUsableVersionName(name->toUtf8()))
        return usageError(
            QStringLiteral("the name must not hold line breaks, tabs or other control characters"));

    // The import may create the data folder's Bible tree, so the folder need not be usable yet.
    const QString data = inv.dataFolderToFill();
    if (data.isEmpty()) return kFailed;

    const QByteArray codeBytes = code->toUtf8();
    if (!force && import::versionExists(data, codeBytes)) {
        fail(QStringLiteral("version %1 already exists; use --force to replace it").arg(*code));
        return kFailed;
    }
    if (!isSword) return importFile(data, codeBytes, name->toUtf8(), named, args.back());
    const auto read = import::readSwordModule(args[1], [&](const import::ImportedBook& book) {
        progress(QStringLiteral("%1: %2 %3")
                     .arg(*code)
                     .arg(book.number, 2, 10, QLatin1Char('0'))
                     .arg(QString::fromUtf8(book.name)));
    });
    if (!read.bible) {
        fail(read.error);
        return kFailed;
    }
    const QString error = import::writeVersion(data, codeBytes, name->toUtf8(), *read.bible);
    if (!error.isEmpty()) {
        fail(error);
        return kFailed;
    }
    return kOk;
}

const Registrar registrar("import",
                          "import sword MODULE | FORMAT PATH | PATH --code CODE --name NAME [--force] | "
                          "sword --list",
                          runImport);

} // namespace
} // namespace lumora::cli
