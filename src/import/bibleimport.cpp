#include "import/bibleimport.h"

#include "import/bibleformats.h"
#include "import/ziparchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <climits>

namespace lumora::import {

namespace {

constexpr std::array kFormats = {BibleFormat::Osis, BibleFormat::Zefania,  BibleFormat::Usfm,
                                 BibleFormat::Usx,  BibleFormat::OpenSong, BibleFormat::Unbound};

// Files in a zip or folder that never hold a Bible, left unread.
bool isOtherKind(const QString& name) {
    static const char* const kinds[] = {".jpg", ".jpeg", ".png",  ".gif", ".bmp", ".svg",  ".pdf",    ".css",
                                        ".js",  ".htm",  ".html", ".ttf", ".otf", ".woff", ".sqlite", ".db",
                                        ".exe", ".dll",  ".sh",   ".mp3", ".wav", ".ogg",  ".zip"};
    const QString lower = name.toLower();
    if (lower.startsWith(QLatin1String("__macosx/")) || lower.contains(QLatin1String("/__macosx/")))
        return true;
    return std::any_of(std::begin(kinds), std::end(kinds),
                       [&](const char* k) { return lower.endsWith(QLatin1String(k)); });
}

bool isBookNames(const QString& name) {
    return name.toLower().endsWith(QLatin1String("book_names.txt"));
}

QString tooLarge(const QString& name, qint64 cap) {
    return QStringLiteral("%1 is larger than %2 MB; it is not read").arg(name).arg(cap >> 20);
}

} // namespace

QString formatKeyword(BibleFormat format) {
    switch (format) {
    case BibleFormat::Osis:
        return QStringLiteral("osis");
    case BibleFormat::Zefania:
        return QStringLiteral("zefania");
    case BibleFormat::Usfm:
        return QStringLiteral("usfm");
    case BibleFormat::Usx:
        return QStringLiteral("usx");
    case BibleFormat::OpenSong:
        return QStringLiteral("opensong");
    case BibleFormat::Unbound:
        return QStringLiteral("unbound");
    }
    return {};
}

std::optional<BibleFormat> formatFromKeyword(const QString& word) {
    for (BibleFormat f : kFormats)
        if (formatKeyword(f) == word.toLower()) return f;
    return std::nullopt;
}

QString formatTitle(BibleFormat format) {
    switch (format) {
    case BibleFormat::Osis:
        return QStringLiteral("OSIS");
    case BibleFormat::Zefania:
        return QStringLiteral("Zefania XML");
    case BibleFormat::Usfm:
        return QStringLiteral("USFM");
    case BibleFormat::Usx:
        return QStringLiteral("USX");
    case BibleFormat::OpenSong:
        return QStringLiteral("OpenSong");
    case BibleFormat::Unbound:
        return QStringLiteral("Unbound Bible");
    }
    return {};
}

BibleSource openBibleSource(const QString& path, const ReadLimits& limits) {
    BibleSource source;
    source.path = path;
    const QFileInfo info(path);
    qint64 total = 0;
    auto refuse = [&](const QString& message) {
        source.files.clear();
        source.error = ReadProblem{path, 0, 0, message};
        return source;
    };
    if (!info.exists()) return refuse(QStringLiteral("no such file or folder"));

    if (info.isDir()) {
        const QDir dir(path);
        const QStringList names = dir.entryList(QDir::Files | QDir::Readable, QDir::Name);
        for (const QString& name : names) {
            if (isOtherKind(name)) continue;
            const QString file = dir.filePath(name);
            if (static_cast<int>(source.files.size()) >= limits.maxFiles)
                return refuse(
                    QStringLiteral("more than %1 files; only a Bible's files are read").arg(limits.maxFiles));
            const qint64 size = QFileInfo(file).size();
            if (size > limits.maxFileBytes) return refuse(tooLarge(file, limits.maxFileBytes));
            if (total + size > limits.maxTotalBytes) return refuse(tooLarge(path, limits.maxTotalBytes));
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly)) return refuse(QStringLiteral("cannot read ") + file);
            source.files.push_back({file, f.read(limits.maxFileBytes + 1)});
            if (source.files.back().bytes.size() > limits.maxFileBytes)
                return refuse(tooLarge(file, limits.maxFileBytes));
            total += source.files.back().bytes.size();
        }
        return source;
    }

    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return refuse(QStringLiteral("cannot read the file"));
    if (!ZipArchive::looksLikeZip(f.peek(4))) {
        if (f.size() > limits.maxFileBytes) return refuse(tooLarge(path, limits.maxFileBytes));
        source.files.push_back({path, f.read(limits.maxFileBytes + 1)});
        if (source.files.back().bytes.size() > limits.maxFileBytes)
            return refuse(tooLarge(path, limits.maxFileBytes));
        return source;
    }
    f.close();
    ZipArchive zip(path);
    if (!zip.isOpen()) return refuse(QStringLiteral("not a readable zip file: ") + zip.error());
    QStringList entries = zip.entries();
    std::sort(entries.begin(), entries.end());
    for (const QString& entry : entries) {
        if (isOtherKind(entry)) continue;
        if (static_cast<int>(source.files.size()) >= limits.maxFiles)
            return refuse(QStringLiteral("more than %1 files in the zip").arg(limits.maxFiles));
        const qint64 cap = std::min(limits.maxFileBytes, limits.maxTotalBytes - total);
        if (cap <= 0) return refuse(tooLarge(path, limits.maxTotalBytes));
        auto bytes = zip.read(entry, cap);
        if (!bytes) return refuse(zip.error());
        total += bytes->size();
        source.files.push_back({path + QLatin1Char('/') + entry, std::move(*bytes)});
    }
    return source;
}

std::optional<BibleFormat> guessBibleFormat(const QByteArray& content) {
    QByteArray head = content.left(64 * 1024);
    if (head.startsWith("\xEF\xBB\xBF")) head = head.mid(3);
    const QByteArray trimmed = head.trimmed();
    if (trimmed.startsWith('<')) {
        QXmlStreamReader r(head);
        r.setEntityExpansionLimit(4096);
        while (!r.atEnd()) {
            if (r.readNext() != QXmlStreamReader::StartElement) continue;
            const QStringView name = r.name();
            if (name == u"osis") return BibleFormat::Osis;
            if (name.compare(QLatin1StringView("XMLBIBLE"), Qt::CaseInsensitive) == 0)
                return BibleFormat::Zefania;
            if (name == u"usx") return BibleFormat::Usx;
            if (name == u"bible") return BibleFormat::OpenSong;
            return std::nullopt;
        }
        return std::nullopt;
    }
    // USFM: a line that begins with the \id marker.
    if (head.startsWith("\\id ") || head.contains("\n\\id ")) return BibleFormat::Usfm;
    // Unbound: its own header lines, or rows that begin with a book index such as "01O".
    for (QByteArray line : head.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty()) continue;
        if (line.startsWith("#columns") || line.startsWith("#filetype") || line.startsWith("#name"))
            return BibleFormat::Unbound;
        if (line.startsWith('#')) continue;
        if (line.size() > 4 && line[0] >= '0' && line[0] <= '9' && line[1] >= '0' && line[1] <= '9' &&
            (line[2] == 'O' || line[2] == 'N' || line[2] == 'A') && line[3] == '\t')
            return BibleFormat::Unbound;
        break;
    }
    return std::nullopt;
}

std::optional<BibleFormat> guessBibleFormat(const BibleSource& source) {
    std::array<int, kFormats.size()> votes{};
    for (const SourceFile& f : source.files)
        if (const auto format = guessBibleFormat(f.bytes)) ++votes[static_cast<std::size_t>(*format)];
    const auto best = std::max_element(votes.begin(), votes.end());
    if (*best == 0) return std::nullopt;
    return kFormats[static_cast<std::size_t>(best - votes.begin())];
}

BibleReadResult readBible(const BibleSource& source, BibleFormat format, const ReadOptions& options) {
    BibleReadResult result;
    result.format = format;
    if (source.error) {
        result.error = source.error;
        return result;
    }
    std::vector<const SourceFile*> files;
    QByteArray bookNames;
    for (const SourceFile& f : source.files) {
        if (format == BibleFormat::Unbound && isBookNames(f.name)) {
            bookNames = f.bytes;
            continue;
        }
        if (guessBibleFormat(f.bytes) == format) files.push_back(&f);
    }
    // A format asked for by name: a single file is read as such, and says why it is not.
    if (files.empty() && source.files.size() == 1) files.push_back(&source.files.front());
    if (files.empty()) {
        result.error =
            ReadProblem{source.path, 0, 0, QStringLiteral("no %1 file found here").arg(formatTitle(format))};
        return result;
    }

    BibleBuilder builder;
    ReaderContext ctx{builder, options, 0, 0, {}, false};
    for (const SourceFile* f : files)
        ctx.total += f->bytes.size();
    for (const SourceFile* f : files) {
        if (!ctx.keepGoing(0)) break;
        std::optional<ReadProblem> problem;
        switch (format) {
        case BibleFormat::Osis:
            problem = readOsisFile(*f, ctx);
            break;
        case BibleFormat::Zefania:
            problem = readZefaniaFile(*f, ctx);
            break;
        case BibleFormat::Usfm:
            problem = readUsfmFile(*f, ctx);
            break;
        case BibleFormat::Usx:
            problem = readUsxFile(*f, ctx);
            break;
        case BibleFormat::OpenSong:
            problem = readOpenSongFile(*f, ctx);
            break;
        case BibleFormat::Unbound:
            problem = readUnboundFile(*f, bookNames, ctx);
            break;
        }
        if (problem) {
            result.error = problem;
            return result;
        }
        if (ctx.cancelled) break;
        ctx.doneBefore += f->bytes.size();
    }
    if (ctx.cancelled || !ctx.keepGoing(0)) {
        result.cancelled = true;
        return result;
    }
    result.title = ctx.title.simplified();
    result.language = builder.language();
    ImportedBible bible = builder.finish(&result.counts);
    if (bible.books.empty()) {
        result.error = ReadProblem{source.path, 0, 0, QStringLiteral("no verse text found")};
        return result;
    }
    result.bible = std::move(bible);
    return result;
}

QStringList summaryLines(const BibleReadResult& result) {
    const ReadCounts& c = result.counts;
    QStringList lines{QStringLiteral("format: ") + formatTitle(result.format)};
    if (!result.language.isEmpty())
        lines << QStringLiteral("language: ") + QString::fromUtf8(result.language);
    lines << QStringLiteral("books: %1").arg(c.books) << QStringLiteral("chapters: %1").arg(c.chapters)
          << QStringLiteral("verses: %1").arg(c.verses) << QStringLiteral("titles: %1").arg(c.titles)
          << QStringLiteral("empty verses: %1").arg(c.emptyVerses);
    QStringList skipped;
    for (const auto& [what, count] : c.skipped)
        skipped << QStringLiteral("%1 %2").arg(QString::fromUtf8(what)).arg(count);
    lines << QStringLiteral("skipped: ") +
                 (skipped.isEmpty() ? QStringLiteral("nothing") : skipped.join(QStringLiteral(", ")));
    return lines;
}

} // namespace lumora::import
