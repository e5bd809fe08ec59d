// Every lumora-cli command on damaged copies of a sound data folder: no crash, no hang, check
// reports in its FILE:LINE: message form, and no wrong passage: a passage printed with exit 0
// is the one the sound folder prints, or check reports the damage. LUMORA_DAMAGED_FOLDERS sets the
// count (1000 for a full run); the default keeps the suite quick.

#include "support/clirun.h"
#include "support/damagedfolder.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>
#include <map>
#include <memory>

using namespace lumora::testing;

namespace {

// Every command with its variants; each folder runs every command, in the variant its number
// picks, so the variants are spread over the folders.
const QList<QList<QStringList>> kCommands = {
    {{"versions", "--all"}, {"versions"}},
    {{"books", "--version", "TWO"}, {"books"}},
    {{"passage", "4", "2"},
     {"passage", "--json", "--titles", "--uppercase", "--header", "--version", "TST", "1", "1", "2", "5"},
     {"passage", "--version", "TWO", "1", "2", "4", "4"}},
    {{"search", "Text"}, {"search", "--json", "--version", "TWO", "caf\xC3\xA9"}},
    {{"hymns", "books"}, {"hymns", "--json", "subthemes", "Book", "Praise"}, {"hymns", "themes", "Book"}},
    {{"hymns", "list", "Book", "Praise", "Morning"},
     {"hymns", "show", "Book", "1 - Hymn 1"},
     {"hymns", "search", "hymn"}},
    {{"check"}},
};

// What the runs came to, for the summary of a long run (each fault fails the test where it is found).
struct Outcome {
    int folders = 0, runs = 0;
    int checkSilent = 0; // damaged folders in which check found nothing to report
    std::map<int, int> exitCodes;
};

// What a passage run prints that the data's structure decides: the whole text, and of the JSON
// form everything but the reading marks (a mark of "0" or of any other number is a sound value a
// user may have set, not damage).
QByteArray passageOutcome(const QStringList& command, const QByteArray& out) {
    if (!command.contains(QStringLiteral("--json"))) return out;
    QJsonObject o = QJsonDocument::fromJson(out).object();
    o.remove(QStringLiteral("marks"));
    o.remove(QStringLiteral("positions"));
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

} // namespace

TEST(DamagedFolders, everyCommandEndsWithoutCrashOrHangOrWrongPassage) {
    const int asked = qEnvironmentVariableIntValue("LUMORA_DAMAGED_FOLDERS");
    const int folders = asked > 0 ? asked : 150;
    std::mt19937 rng(20261206);
    const QRegularExpression checkLine(QStringLiteral("^[^:\\n]+:\\d+: .+$"));
    Outcome o;
    // The sound folder passes check and shows its passages; what each passage variant prints there.
    std::map<QStringList, QByteArray> sound;
    {
        TempFolder tmp;
        writeSoundFolder(tmp.path());
        const CliResult check = runCli({"--data", tmp.path(), "check"});
        EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
        const CliResult passage = runCli({"--data", tmp.path(), "passage", "4", "2", "11"});
        EXPECT_EQ(passage.exitCode, 0);
        EXPECT_EQ(passage.out, "2.11   Text 40 2:11 caf\xC3\xA9\r\n\n2.12   Text 40 2:12 caf\xC3\xA9\r\n");
        for (const QStringList& command : kCommands.at(2)) {
            const CliResult r = runCli(QStringList{"--data", tmp.path()} + command);
            ASSERT_EQ(r.exitCode, 0) << command.join(' ').toStdString();
            sound[command] = passageOutcome(command, r.out);
        }
    }
    for (int f = 0; f < folders; ++f) {
        TempFolder tmp;
        writeSoundFolder(tmp.path());
        const QStringList harm = damageFolder(tmp.path(), rng, 1 + f % 3);
        const std::string what = harm.join("; ").toStdString();
        ++o.folders;

        // All commands of one folder run side by side (the hymn commands rewrite Theme.txt at
        // the same time, as two windows would), each within its own time limit.
        std::vector<std::unique_ptr<QProcess>> runs;
        QList<QStringList> commands;
        for (const QList<QStringList>& variants : kCommands) {
            commands << variants.at(f % variants.size());
            auto p = std::make_unique<QProcess>();
            p->start(QStringLiteral(LUMORA_CLI_PATH), QStringList{"--data", tmp.path()} + commands.last());
            runs.push_back(std::move(p));
        }
        bool checkReported = false;
        std::vector<std::pair<QStringList, QByteArray>> printedPassages; // exit 0 only
        for (std::size_t i = 0; i < runs.size(); ++i) {
            QProcess& p = *runs[i];
            ++o.runs;
            const std::string cmd = commands[static_cast<qsizetype>(i)].join(' ').toStdString();
            if (!p.waitForFinished(30000)) {
                ADD_FAILURE() << "hang: " << cmd << " on " << what;
                p.kill();
                p.waitForFinished();
                continue;
            }
            if (p.exitStatus() != QProcess::NormalExit || p.exitCode() > 2) {
                ADD_FAILURE() << "crash (" << p.exitCode() << "): " << cmd << " on " << what << "\n"
                              << p.readAllStandardError().toStdString();
                continue;
            }
            ++o.exitCodes[p.exitCode()];
            const QStringList& command = commands[static_cast<qsizetype>(i)];
            if (command.first() == "passage" && p.exitCode() == 0)
                printedPassages.emplace_back(command, p.readAllStandardOutput());
            if (command.first() == "check") {
                checkReported = p.exitCode() != 0;
                if (p.exitCode() == 0) {
                    ++o.checkSilent;
                    if (qEnvironmentVariableIsSet("LUMORA_DAMAGED_VERBOSE"))
                        std::printf("check silent on: %s\n", what.c_str());
                }
                for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
                    if (line.isEmpty() || checkLine.match(QString::fromUtf8(line)).hasMatch()) continue;
                    ADD_FAILURE() << "check line not FILE:LINE: message: " << line.toStdString() << " on "
                                  << what;
                }
            }
        }
        for (const auto& [command, out] : printedPassages) {
            if (checkReported || passageOutcome(command, out) == sound[command]) continue;
            ADD_FAILURE() << "wrong passage, check silent: " << command.join(' ').toStdString() << " on "
                          << what << "\n"
                          << out.left(400).toStdString();
        }
    }
    std::printf("[ damaged folders ] %d folders, %d runs; exit 0: %d, 1: %d, 2: %d; check found nothing in "
                "%d folders\n",
                o.folders, o.runs, o.exitCodes[0], o.exitCodes[1], o.exitCodes[2], o.checkSilent);
}
