// The demo folder, and its chapters read aloud with marks where each verse starts.

#include "support/clirun.h"
#include "support/testdata.h"

#include "import/audio.h"
#include "import/chapterrecorder.h"
#include "import/datachecker.h"
#include "import/swordreader.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::import;
using namespace lumora::testing;

namespace {

bool demoToolsPresent() {
    for (const char* tool : {"espeak-ng", "lame"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
    return import::readSwordModule(QStringLiteral("engKJV2006eb")).bible.has_value();
}

QProcessEnvironment withConfig(const TempFolder& config) {
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    return env;
}

// Encoder delay from the LAME tag of the first frame: 12 bits at byte 0x15 after "LAME".
std::optional<int> lameTagDelay(const QByteArray& mp3) {
    const qsizetype at = mp3.left(4096).indexOf("LAME");
    if (at < 0 || at + 0x18 > mp3.size()) return std::nullopt;
    const auto b = [&](int i) { return int(static_cast<unsigned char>(mp3[at + i])); };
    return (b(0x15) << 4) | (b(0x16) >> 4);
}

// Where `window` samples of `pcm` from `start` best match `decoded`, as a shift in samples.
int bestShift(const PcmAudio& pcm, const PcmAudio& decoded, std::size_t start, int maxShift) {
    constexpr std::size_t kWindow = 3000;
    double best = -1e300;
    int bestAt = 0;
    for (int shift = 0; shift <= maxShift; ++shift) {
        double sum = 0;
        for (std::size_t i = 0; i < kWindow && start + i < pcm.samples.size(); i += 2) {
            const std::size_t j = start + i + std::size_t(shift);
            if (j >= decoded.samples.size()) break;
            sum += double(pcm.samples[start + i]) * decoded.samples[j];
        }
        if (sum > best) {
            best = sum;
            bestAt = shift;
        }
    }
    return bestAt;
}

std::size_t firstLoud(const PcmAudio& pcm, std::size_t from) {
    while (from < pcm.samples.size() && std::abs(pcm.samples[from]) < 1500)
        ++from;
    return from;
}

} // namespace

// One chapter read aloud keeps the test short; the rest of the demo is built in full.
TEST(Demo, buildsACleanFolder_pointsThePathFileAtIt_andRerunsAsANoOp) {
    if (!demoToolsPresent())
        GTEST_SKIP() << "needs sword-text-kjv, espeak-ng and lame (scripts/install-deps)";
    TempFolder base, config;
    const QString data = base.file(QStringLiteral("demo"));
    const auto env = withConfig(config);
    const auto first = runCli({"--data", data, "demo", "--record", "19:23"}, env);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();

    const auto problems = import::checkDataFolder(data);
    QStringList texts;
    for (const auto& p : problems)
        texts << p.toText();
    EXPECT_TRUE(problems.empty()) << texts.join('\n').toStdString();

    const QByteArray version = readBytes(data + QStringLiteral("/Bible/Version.txt"));
    EXPECT_TRUE(version.startsWith("KJV - King James Version\r\n"))
        << "KJV first: the program opens the first version";
    EXPECT_TRUE(QFileInfo::exists(data + QStringLiteral("/Bible/KJV/Sound/Ps23.mp3")));
    const QByteArray kjvOld = readBytes(data + QStringLiteral("/Bible/KJV/KJV-O.txt"));
    EXPECT_TRUE(kjvOld.contains("\r\n19O\t23\t1\t0,00000\t[A Psalm of David.]The LORD is my shepherd"));
    EXPECT_TRUE(kjvOld.contains("\r\n19O\t22\t1\t0\t")) << "chapters without audio keep \"0\"";
    EXPECT_EQ(readBytes(config.file(QStringLiteral("LMR/Lumora.path"))), QFile::encodeName(data) + "\r\n");

    for (const char* path :
         {"/Cantiques/Cantiques de Lumora/Hira.txt", "/Cantiques/Songs of the Way/Hira.txt",
          "/Bible/Favori/Favourite passages.txt", "/Cantiques/Favori/Sunday.txt"})
        EXPECT_TRUE(QFileInfo::exists(data + QString::fromLatin1(path))) << path;
    EXPECT_TRUE(
        readBytes(data + QStringLiteral("/Cantiques/Songs of the Way/musique/1.mid")).startsWith("MThd"));
    EXPECT_TRUE(readBytes(data + QStringLiteral("/Cantiques/Songs of the Way/parole/2.rtf"))
                    .startsWith("{\\rtf1\\ansi"));

    // Rerun: nothing is rebuilt, an edited file stays, a path file of the user is not touched.
    writeBytes(data + QStringLiteral("/Cantiques/Favori/Sunday.txt"), "\xEF\xBB\xBF\r\n");
    writeBytes(config.file(QStringLiteral("LMR/Lumora.path")), "/elsewhere\r\n");
    const auto second = runCli({"--data", data, "demo", "--record", "19:23"}, env);
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_FALSE(second.err.contains("importing"));
    EXPECT_EQ(readBytes(data + QStringLiteral("/Cantiques/Favori/Sunday.txt")), "\xEF\xBB\xBF\r\n");
    EXPECT_EQ(readBytes(config.file(QStringLiteral("LMR/Lumora.path"))), "/elsewhere\r\n");
}

TEST(Demo, badRecordOptionIsAUsageError_foreignNonEmptyFolderRefused_bothLeaveAllUntouched) {
    TempFolder base, config;
    EXPECT_EQ(runCli({"--data", base.file("d"), "demo", "--record", "Ps23"}, withConfig(config)).exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(base.file("d")));
    writeBytes(base.file(QStringLiteral("mine.txt")), "keep");
    const auto r = runCli({"--data", base.path(), "demo"}, withConfig(config));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("not made by the demo")) << r.err.toStdString();
    EXPECT_EQ(QDir(base.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"mine.txt"});
    EXPECT_FALSE(QFileInfo::exists(config.file(QStringLiteral("LMR/Lumora.path"))));
}

TEST(MarkText, fiveDecimalsCutNotRounded) {
    EXPECT_EQ(markText(0, 22050), "0,00000");
    EXPECT_EQ(markText(22050 * 12 + 11025, 22050), "12,50000");
    EXPECT_EQ(markText(1, 3), "0,33333");
    EXPECT_EQ(markText(2, 3), "0,66666");
}

TEST(SpokenText, titlesReadBeforeTheVerse) {
    EXPECT_EQ(spokenText("[A Psalm.]LORD, how"), "A Psalm. LORD, how");
    EXPECT_EQ(spokenText("[A][B]Text"), "A. B Text");
    EXPECT_EQ(spokenText("Plain"), "Plain");
}

// The marks are true: decoded from the mp3, every verse starts where its mark says.
TEST(ChapterRecorder, marksMatchTheVerseStartsInTheDecodedMp3) {
    for (const char* tool : {"espeak-ng", "lame", "sox"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed (scripts/install-deps)";
    const QList<QByteArray> verses{"[A short title]In the beginning was the word.",
                                   "Light shone in the dark.",
                                   "And the evening and the morning were the first day."};
    const auto result = recordChapter(verses, QStringLiteral("en"));
    ASSERT_TRUE(result.chapter) << result.error.toStdString();
    const RecordedChapter& c = *result.chapter;
    ASSERT_EQ(c.marks.size(), 3);
    EXPECT_EQ(c.marks[0], "0,00000");

    // Decode with a plain decoder (libmad through sox), which keeps the encoder and decoder delay.
    QTemporaryDir dir;
    writeBytes(dir.filePath(QStringLiteral("c.mp3")), c.mp3);
    const auto sox = runProgram("sox", {dir.filePath("c.mp3"), dir.filePath("d.wav")});
    ASSERT_EQ(sox.exitCode, 0) << sox.err.toStdString();
    const auto decoded = parseWav(readBytes(dir.filePath(QStringLiteral("d.wav"))));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->sampleRate, c.sampleRate);

    const int tolerance = c.sampleRate / 50; // 20 ms
    const auto delay = lameTagDelay(c.mp3);
    ASSERT_TRUE(delay) << "lame writes its tag, so gapless players can drop the delay";
    // What a gapless player drops and libmad keeps: the tag frame itself (decoded as silence; 576
    // samples per frame below 32 kHz), the encoder delay from the tag, and the decoder's own 529.
    const int frameSamples = c.sampleRate < 32000 ? 576 : 1152;
    const int playerSkip = frameSamples + *delay + 529;
    const double decodedSeconds = double(decoded->samples.size() - std::size_t(playerSkip)) / c.sampleRate;
    EXPECT_NEAR(decodedSeconds, c.pcm.seconds(), 0.1) << "only the frame padding remains at the end";

    for (int k = 0; k < 3; ++k) {
        const QByteArray mark = c.marks[k];
        const double markSeconds =
            mark.left(mark.indexOf(',')).toDouble() + mark.mid(mark.indexOf(',') + 1).toDouble() / 100000;
        const auto markSample = std::size_t(markSeconds * c.sampleRate + 0.5);
        const std::size_t probe = firstLoud(c.pcm, markSample);
        ASSERT_LT(probe, c.pcm.samples.size());
        const int shift = bestShift(c.pcm, *decoded, probe, 4000);
        EXPECT_NEAR(shift, playerSkip, tolerance)
            << "verse " << k + 1 << " starts off its mark " << mark.toStdString();
    }
}
