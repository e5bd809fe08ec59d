// lumora-cli demo [--record BOOK:CHAPTER[,BOOK:CHAPTER...]]

#include "cli/cli.h"

#include "import/demobuilder.h"
#include "session/datapath.h"

#include <QElapsedTimer>

#include <cstdio>

namespace lumora::cli {

namespace {

void progress(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

// "19:23,40:5" -> {(19, 23), (40, 5)}; nullopt when malformed.
std::optional<QList<QPair<int, int>>> parseChapters(const QString& text) {
    QList<QPair<int, int>> out;
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char(':'));
        bool okBook = false, okChapter = false;
        const int book = parts.value(0).toInt(&okBook), chapter = parts.value(1).toInt(&okChapter);
        if (parts.size() != 2 || !okBook || !okChapter || book < 1 || chapter < 1) return std::nullopt;
        out.append({book, chapter});
    }
    return out;
}

int runDemo(Invocation& inv) {
    bool missing = false;
    const auto record = inv.takeOption(QStringLiteral("--record"), &missing);
    if (missing) return usageError(QStringLiteral("--record needs BOOK:CHAPTER[,...]"));
    if (!inv.args().isEmpty()) return usageError(QStringLiteral("demo: unexpected ") + inv.args().first());

    const session::DataPathLocations where = session::defaultLocations();
    import::DemoOptions options;
    options.folder = inv.dataOptionValue().value_or(where.defaultFolder);
    options.versions = import::defaultDemoVersions();
    if (record) {
        const auto chapters = parseChapters(*record);
        if (!chapters) return usageError(QStringLiteral("--record needs BOOK:CHAPTER[,...], e.g. 19:23"));
        options.versions.front().recorded = *chapters;
    }
    options.pathFile = where.pathFile;
    options.progress = progress;

    QElapsedTimer clock;
    clock.start();
    const auto result = import::buildDemo(options);
    for (const QString& s : result.skipped)
        progress(QStringLiteral("skipped: ") + s);
    if (!result.ok) {
        fail(result.error);
        return kFailed;
    }
    progress(QStringLiteral("demo data ready in %1 (%2 s)")
                 .arg(options.folder)
                 .arg(clock.elapsed() / 1000.0, 0, 'f', 1));
    return kOk;
}

const Registrar registrar("demo", "demo [--record BOOK:CHAPTER,...]", runDemo);

} // namespace
} // namespace lumora::cli
