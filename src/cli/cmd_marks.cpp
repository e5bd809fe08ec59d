// lumora-cli marks format | show | update | backup | restore | suggest: the reading marks of a
// chapter, on the code the mark table of the window uses.

#include "cli/biblepick.h"
#include "cli/cli.h"
#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"
#include "marks/markformat.h"
#include "marks/markstore.h"
#include "marks/marksuggest.h"
#include "marks/marktable.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstdio>

namespace lumora::cli {
namespace {

using namespace lumora::marks;

const char* const kUsageText =
    "marks format TEXT | show [--version CODE] [--json] BOOK CHAPTER | update [--version CODE] BOOK CHAPTER "
    "FILE | "
    "backup [--version CODE] BOOK CHAPTER DIR | restore [--version CODE] BOOK CHAPTER FILE | "
    "suggest [--version CODE] [--audio FILE] [--json] BOOK CHAPTER";

// The chapter named on the command line, with its book file read.
struct Chapter {
    QString data;
    PickedVersion version;
    ChapterId id;
    QString bookFile;
    QByteArray content;
    std::vector<ChapterLine> lines;

    MarkTable shownTable() const { return MarkTable::forChapter(id, oldMarks(lines)); }
};

// `code` is what the command returns when the chapter cannot be opened.
std::optional<Chapter> openChapter(Invocation& inv, const std::optional<QString>& wanted,
                                   const QString& bookArg, const QString& chapterArg, int& code) {
    const auto book = positiveNumber(bookArg);
    const auto chapter = positiveNumber(chapterArg);
    code = kFailed;
    if (!book || !chapter) {
        code = usageError(QStringLiteral("not a number: ") + (book ? chapterArg : bookArg));
        return std::nullopt;
    }
    Chapter c;
    c.data = inv.dataFolder();
    if (c.data.isEmpty()) return std::nullopt;
    const auto version = pickVersion(c.data, wanted);
    if (!version) return std::nullopt;
    c.version = *version;
    const auto picked = pickChapter(c.data, *version, *book, *chapter);
    if (!picked) return std::nullopt;
    c.id.bookKey = picked->book.tableKey;
    c.id.chapter = QByteArray::number(picked->chapter);
    c.id.soundPrefix = picked->book.soundPrefix;
    c.id.verseCount = picked->verseCount;
    c.bookFile = bookFilePath(c.data, c.version.code, c.id.bookKey);
    const auto content = common::readWholeFile(c.bookFile);
    if (!content) {
        fail(QStringLiteral("cannot read ") + c.bookFile);
        return std::nullopt;
    }
    c.content = *content;
    c.lines = chapterLines(c.content, c.id.bookKey, c.id.chapter, c.id.verseCount);
    return c;
}

QString statusText(WriteStatus s) {
    switch (s) {
    case WriteStatus::Written:
        return QStringLiteral("written");
    case WriteStatus::FileUnreadable:
        return QStringLiteral("cannot read the book file");
    case WriteStatus::VerseNotFound:
        return QStringLiteral("the chapter's verse lines are not in the book file");
    case WriteStatus::BadMark:
        return QStringLiteral("a mark holds a TAB or a line end");
    case WriteStatus::WriteFailed:
        return QStringLiteral("cannot write the book file (it is unchanged)");
    case WriteStatus::BackupFailed:
        return QStringLiteral("cannot keep the previous marks (the book file is unchanged)");
    }
    return {};
}

int format(Invocation& inv) {
    if (inv.args().size() != 1) return usageError(QStringLiteral("marks format TEXT"));
    writeOut(FormatMark(inv.args().first().toUtf8()) + '\n');
    return kOk;
}

int show(Invocation& inv) {
    bool missing = false;
    const auto wanted = inv.takeOption(QStringLiteral("--version"), &missing);
    const bool json = inv.takeFlag(QStringLiteral("--json"));
    if (missing || inv.args().size() != 2)
        return usageError(QStringLiteral("marks show [--version CODE] [--json] BOOK CHAPTER"));
    int code = kOk;
    const auto c = openChapter(inv, wanted, inv.args()[0], inv.args()[1], code);
    if (!c) return code;
    if (json) {
        QJsonArray rows;
        for (const ChapterLine& l : c->lines)
            rows.append(QJsonObject{{QStringLiteral("verse"), QString::fromUtf8(l.verse)},
                                    {QStringLiteral("mark"), QString::fromUtf8(l.mark)}});
        writeOut(QJsonDocument(rows).toJson(QJsonDocument::Compact) + '\n');
        return kOk;
    }
    QByteArray out;
    for (const ChapterLine& l : c->lines)
        out += l.verse + '\t' + l.mark + '\n';
    writeOut(out);
    return kOk;
}

int update(Invocation& inv) {
    bool missing = false;
    const auto wanted = inv.takeOption(QStringLiteral("--version"), &missing);
    if (missing || inv.args().size() != 3)
        return usageError(QStringLiteral("marks update [--version CODE] BOOK CHAPTER FILE"));
    const auto input = common::readWholeFile(inv.args()[2]);
    if (!input) {
        fail(QStringLiteral("cannot read ") + inv.args()[2]);
        return kFailed;
    }
    int code = kOk;
    const auto c = openChapter(inv, wanted, inv.args()[0], inv.args()[1], code);
    if (!c) return code;
    MarkTable table = c->shownTable();
    common::LineSplitter lines(*input);
    QByteArray line;
    for (int k = 1; k <= kMaxVerses && lines.next(line); ++k) {
        table.row(k).newMark = line;
        table.row(k).typed = true; // every line of FILE is a mark given on purpose, zeros too
    }
    // The chapter's marks as they were are kept, as the window keeps them, for its "Undo last update".
    const QString previous = previousMarksPath(c->data, c->version.code, c->id);
    const WriteResult r =
        updateChapterMarks(c->bookFile, c->id.bookKey, c->id.chapter, c->id.verseCount, table, previous);
    if (r.status != WriteStatus::Written) {
        fail(r.whyNot.isEmpty() ? statusText(r.status)
                                : statusText(r.status) + QStringLiteral(": ") + r.whyNot);
        return kFailed;
    }
    writeLine(QStringLiteral("%1 marks changed in %2").arg(r.changedLines).arg(c->bookFile));
    if (r.skippedLines > 0)
        fail(QStringLiteral("%1 verse lines left alone: their place or mark was not what the table showed")
                 .arg(r.skippedLines));
    return kOk;
}

int backup(Invocation& inv) {
    bool missing = false;
    const auto wanted = inv.takeOption(QStringLiteral("--version"), &missing);
    if (missing || inv.args().size() != 3)
        return usageError(QStringLiteral("marks backup [--version CODE] BOOK CHAPTER DIR"));
    const QString dir = inv.args()[2];
    int code = kOk;
    const auto c = openChapter(inv, wanted, inv.args()[0], inv.args()[1], code);
    if (!c) return code;
    const QString path = QDir(dir).filePath(QString::fromUtf8(backupFileName(c->id)));
    QString why = QStringLiteral("no such folder");
    if (!common::folderExists(dir) ||
        !common::writeFileAtomic(path, backupBytes(c->id, c->shownTable()), &why)) {
        fail(QStringLiteral("cannot write %1: %2").arg(path, why));
        return kFailed;
    }
    writeLine(path);
    return kOk;
}

int restore(Invocation& inv) {
    bool missing = false;
    const auto wanted = inv.takeOption(QStringLiteral("--version"), &missing);
    if (missing || inv.args().size() != 3)
        return usageError(QStringLiteral("marks restore [--version CODE] BOOK CHAPTER FILE"));
    const QString file = inv.args()[2];
    int code = kOk;
    const auto c = openChapter(inv, wanted, inv.args()[0], inv.args()[1], code);
    if (!c) return code;
    MarkTable table = c->shownTable();
    if (!restoreBackup(c->id, file, table)) {
        const QByteArray message = restoreRefusal(c->id).toUtf8() + '\n';
        std::fwrite(message.constData(), 1, std::size_t(message.size()), stderr);
        return kFailed;
    }
    QByteArray out;
    for (int i = 1; i <= kMaxVerses; ++i)
        out += QByteArray::number(i) + '\t' + table.row(i).newMark + '\t' + table.row(i).oldMark + '\n';
    writeOut(out);
    return kOk;
}

int suggest(Invocation& inv) {
    bool missing = false, missingAudio = false;
    const auto wanted = inv.takeOption(QStringLiteral("--version"), &missing);
    const auto audio = inv.takeOption(QStringLiteral("--audio"), &missingAudio);
    const bool json = inv.takeFlag(QStringLiteral("--json"));
    if (missing || missingAudio || inv.args().size() != 2)
        return usageError(
            QStringLiteral("marks suggest [--version CODE] [--audio FILE] [--json] BOOK CHAPTER"));
    int code = kOk;
    const auto c = openChapter(inv, wanted, inv.args()[0], inv.args()[1], code);
    if (!c) return code;
    const ChapterSuggestion sug = suggestChapter(c->data, c->version.code, c->id, audio.value_or(QString()));
    const SuggestOutcome& s = sug.outcome;
    if (!s.error.isEmpty()) {
        fail(s.error);
        return kFailed;
    }
    // Which language read the verses for the comparison goes to stderr: stdout stays the marks.
    if (!s.language.isEmpty()) fail(QStringLiteral("verses read in ") + s.language);
    QJsonArray rows;
    QByteArray out;
    for (std::size_t i = 0; i < sug.lines.size() && i < s.starts.size(); ++i) {
        const QByteArray mark = FormatMark(positionText(s.starts[i]));
        if (json) {
            QJsonObject row{{QStringLiteral("verse"), QString::fromUtf8(sug.lines[i].verse)},
                            {QStringLiteral("mark"), QString::fromUtf8(mark)},
                            {QStringLiteral("seconds"), s.starts[i]}};
            if (i < s.confidence.size())
                row.insert(QStringLiteral("confidence"), std::round(s.confidence[i] * 100) / 100);
            if (i < std::size_t(s.doubts.size()) && !s.doubts[qsizetype(i)].isEmpty())
                row.insert(QStringLiteral("doubt"), s.doubts[qsizetype(i)]);
            rows.append(row);
        } else {
            out += sug.lines[i].verse + '\t' + mark + '\n';
        }
    }
    writeOut(json ? QJsonDocument(rows).toJson(QJsonDocument::Compact) + '\n' : out);
    return kOk;
}

int marks(Invocation& inv) {
    if (inv.args().isEmpty()) return usageError(QStringLiteral("marks needs a subcommand"));
    const QString sub = inv.args().takeFirst();
    if (sub == QLatin1String("format")) return format(inv);
    if (sub == QLatin1String("show")) return show(inv);
    if (sub == QLatin1String("update")) return update(inv);
    if (sub == QLatin1String("backup")) return backup(inv);
    if (sub == QLatin1String("restore")) return restore(inv);
    if (sub == QLatin1String("suggest")) return suggest(inv);
    return usageError(QStringLiteral("unknown marks subcommand: ") + sub);
}

const Registrar marksCommand("marks", kUsageText, marks);

} // namespace
} // namespace lumora::cli
