// lumora-cli import sword MODULE --code CODE --name NAME [--force]

#include "cli/cli.h"

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

// A code becomes a folder and file names, and " -" ends it in Version.txt.
bool isUsableCode(const QString& code) {
    if (code.isEmpty() || code.size() > 16) return false;
    for (QChar c : code)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_')) return false;
    return true;
}

int runImport(Invocation& inv) {
    const bool force = inv.takeFlag(QStringLiteral("--force"));
    bool missing = false;
    const auto code = inv.takeOption(QStringLiteral("--code"), &missing);
    if (missing) return usageError(QStringLiteral("--code needs a value"));
    const auto name = inv.takeOption(QStringLiteral("--name"), &missing);
    if (missing) return usageError(QStringLiteral("--name needs a value"));
    QStringList& args = inv.args();
    if (args.size() != 2 || args[0] != QStringLiteral("sword"))
        return usageError(QStringLiteral("import needs: sword MODULE"));
    if (!code || !name || name->trimmed().isEmpty())
        return usageError(QStringLiteral("import needs --code and --name"));
    if (!isUsableCode(*code))
        return usageError(QStringLiteral("the code must be 1 to 16 letters, digits or _: ") + *code);
    if (!import::isUsableVersionName(name->toUtf8()))
        return usageError(
            QStringLiteral("the name must not hold line breaks, tabs or other control characters"));

    // The import may create the data folder's Bible tree, so the folder need not be usable yet.
    QString data;
    if (const auto given = inv.dataOptionValue()) {
        data = QFileInfo(*given).absoluteFilePath();
        if (!QFileInfo(data).isDir()) {
            fail(QStringLiteral("data folder does not exist: ") + *given);
            return kFailed;
        }
    } else {
        data = inv.dataFolder();
        if (data.isEmpty()) return kFailed;
    }

    const QByteArray codeBytes = code->toUtf8();
    if (!force && import::versionExists(data, codeBytes)) {
        fail(QStringLiteral("version %1 already exists; use --force to replace it").arg(*code));
        return kFailed;
    }
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

const Registrar registrar("import", "import sword MODULE --code CODE --name NAME [--force]", runImport);

} // namespace
} // namespace lumora::cli
