// lumora-cli versions | books | passage: the Bible store and passage builder from the shell.

#include "bible/biblestore.h"
#include "bible/passagebuilder.h"
#include "cli/biblepick.h"
#include "cli/cli.h"
#include "common/text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumora::cli {
namespace {

using namespace lumora::bible;

int versions(Invocation& inv) {
    const bool all = inv.takeFlag(QStringLiteral("--all"));
    if (!inv.args().isEmpty()) return usageError(QStringLiteral("versions takes no arguments"));
    const QString data = inv.dataFolder();
    if (data.isEmpty()) return kFailed;
    const VersionList list = LoadBibleVersions(data);
    if (list.openError) {
        fail(QStringLiteral("cannot open Version.txt (error %1)").arg(*list.openError));
        return kFailed;
    }
    for (const QString& e : list.complete)
        writeLine(e);
    if (all) {
        writeLine(QStringLiteral("--"));
        for (const QString& e : list.incomplete)
            writeLine(e);
    }
    return kOk;
}

int books(Invocation& inv) {
    bool missing = false;
    const auto wanted = inv.takeOption(QStringLiteral("--version"), &missing);
    if (missing || !inv.args().isEmpty()) return usageError(QStringLiteral("books [--version CODE]"));
    const QString data = inv.dataFolder();
    if (data.isEmpty()) return kFailed;
    const auto version = pickVersion(data, wanted);
    if (!version) return kFailed;
    for (const QString& name : LoadBookTables(data, version->code).names())
        writeLine(name);
    return kOk;
}

constexpr char kPassageUsage[] = "passage [--version CODE] [--titles] [--uppercase] [--header] [--json] "
                                 "REFERENCE|BOOK CHAPTER [FIRST [LAST]]";

int passage(Invocation& inv) {
    bool missing = false;
    PassagePicks picks;
    picks.version = inv.takeOption(QStringLiteral("--version"), &missing);
    picks.titles = inv.takeFlag(QStringLiteral("--titles"));
    picks.uppercase = inv.takeFlag(QStringLiteral("--uppercase"));
    picks.header = inv.takeFlag(QStringLiteral("--header"));
    const bool json = inv.takeFlag(QStringLiteral("--json"));
    if (missing) return usageError(QString::fromLatin1(kPassageUsage));
    if (const QString why = takePassageArguments(inv.args(), picks); !why.isEmpty()) return usageError(why);
    const QString data = inv.dataFolder();
    if (data.isEmpty()) return kFailed;
    const auto picked = pickPassage(data, picks);
    if (!picked) return kFailed;
    const int verseCount = picked->verseCount;
    const auto built = buildPickedPassage(*picked, picks);
    if (!built) return kFailed;
    const Passage& p = *built;
    const QByteArray text = common::startsWithBom(p.PassageText) ? p.PassageText.mid(3) : p.PassageText;
    if (!json) {
        writeOut(text);
        return kOk;
    }
    QJsonArray marks;
    for (const QByteArray& m : (p.chapterEndFound ? p.marks : QByteArrayList())) {
        const qsizetype tab = m.indexOf('\t');
        marks.append(QJsonArray{QString::fromUtf8(m.left(tab)), QString::fromUtf8(m.mid(tab + 1))});
    }
    QJsonArray positions;
    for (int v = 1; v <= std::min(verseCount, kMaxVerses); ++v)
        positions.append(QString::fromUtf8(p.VersePositions[static_cast<size_t>(v)]));
    const QJsonObject o{{QStringLiteral("heading"), p.heading},
                        {QStringLiteral("header"), p.PassageHeader},
                        {QStringLiteral("text"), QString::fromUtf8(text)},
                        {QStringLiteral("marks"), marks},
                        {QStringLiteral("positions"), positions}};
    writeOut(QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n');
    return kOk;
}

const Registrar versionsCommand("versions", "versions [--all]", versions);
const Registrar booksCommand("books", "books [--version CODE]", books);
const Registrar passageCommand("passage", kPassageUsage, passage);

} // namespace
} // namespace lumora::cli
