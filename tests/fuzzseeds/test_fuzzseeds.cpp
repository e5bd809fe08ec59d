// A short run of every fuzz target inside the suite, so that none of them rots between long
// fuzzing sessions: each target's seeds, then deterministic mutations of them (bytes flipped,
// inserted, removed, lines cut and doubled). The targets' own checks abort on a broken property.

// The headers the targets include come first, so that including a target inside a namespace
// below adds only its own definitions there.
#include "bible/biblestore.h"
#include "bible/passagebuilder.h"
#include "bible/search/versionsearch.h"
#include "common/rtf/rtfreader.h"
#include "common/rtf/rtfwriter.h"
#include "common/text.h"
#include "fuzz/fuzzbible.h"
#include "fuzz/fuzzfolder.h"
#include "fuzz/songfuzz.h"
#include "hymns/hymnentry.h"
#include "hymns/hymnfiles.h"
#include "hymns/hymnstore.h"
#include "hymns/shortcut.h"
#include "lists/listfile.h"
#include "lists/listfolder.h"
#include "lists/verselistentry.h"
#include "marks/markformat.h"
#include "marks/markstore.h"
#include "marks/marktable.h"
#include "remote/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <gtest/gtest.h>

#define LLVMFuzzerInitialize initBibleFiles
#define LLVMFuzzerTestOneInput runBibleFiles
namespace bible_files {
#include "fuzz/fuzz_biblefiles.cpp"
}
#undef LLVMFuzzerInitialize
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerInitialize initHymnFiles
#define LLVMFuzzerTestOneInput runHymnFiles
namespace hymn_files {
#include "fuzz/fuzz_hymnfiles.cpp"
}
#undef LLVMFuzzerInitialize
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runListFiles
namespace list_files {
#include "fuzz/fuzz_listfiles.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runRemoteMessage
namespace remote_message {
#include "fuzz/fuzz_remotemessage.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runRtf
namespace rtf_files {
#include "fuzz/fuzz_rtf.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerInitialize initShortcut
#define LLVMFuzzerTestOneInput runShortcut
namespace shortcut_files {
#include "fuzz/fuzz_shortcut.cpp"
}
#undef LLVMFuzzerInitialize
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runMarkBackup
namespace mark_backups {
#include "fuzz/fuzz_markbackup.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runOsis
namespace osis_reader {
#include "fuzz/fuzz_osis.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runZefania
namespace zefania_reader {
#include "fuzz/fuzz_zefania.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runUsfm
namespace usfm_reader {
#include "fuzz/fuzz_usfm.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runUsx
namespace usx_reader {
#include "fuzz/fuzz_usx.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runOpenSong
namespace opensong_reader {
#include "fuzz/fuzz_opensong.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runUnbound
namespace unbound_reader {
#include "fuzz/fuzz_unbound.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runSongOpenLyrics
namespace song_openlyrics {
#include "fuzz/fuzz_song_openlyrics.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runSongChordPro
namespace song_chordpro {
#include "fuzz/fuzz_song_chordpro.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runSongOpenSong
namespace song_opensong {
#include "fuzz/fuzz_song_opensong.cpp"
}
#undef LLVMFuzzerTestOneInput

#define LLVMFuzzerTestOneInput runSongPlainText
namespace song_plaintext {
#include "fuzz/fuzz_song_plaintext.cpp"
}
#undef LLVMFuzzerTestOneInput

namespace {

QList<QByteArray> seeds(const char* corpus) {
    // Ninja names the source relative to the build folder, where the suite's program lies.
    QString source = QString::fromUtf8(__FILE__);
    if (QFileInfo(source).isRelative())
        source = QDir(QCoreApplication::applicationDirPath()).filePath(source);
    const QDir dir(
        QFileInfo(source).dir().filePath(QStringLiteral("../fuzz/") + QString::fromLatin1(corpus)));
    QList<QByteArray> out;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly)) out << f.readAll();
    }
    return out;
}

QByteArray mutate(QByteArray bytes, std::mt19937& rng) {
    auto at = [&](qsizetype size) {
        return static_cast<qsizetype>(
            std::uniform_int_distribution<qsizetype>(0, std::max<qsizetype>(size - 1, 0))(rng));
    };
    const int edits = 1 + static_cast<int>(rng() % 6);
    for (int e = 0; e < edits; ++e) {
        switch (rng() % 6) {
        case 0:
            if (!bytes.isEmpty()) bytes[at(bytes.size())] = static_cast<char>(rng());
            break;
        case 1:
            bytes.insert(at(bytes.size() + 1), static_cast<char>(rng() % 2 ? '\t' : rng()));
            break;
        case 2:
            if (!bytes.isEmpty()) bytes.remove(at(bytes.size()), 1 + static_cast<qsizetype>(rng() % 16));
            break;
        case 3:
            bytes.truncate(at(bytes.size() + 1));
            break;
        case 4: {
            const qsizetype from = at(bytes.size());
            bytes.insert(at(bytes.size() + 1), bytes.mid(from, 1 + static_cast<qsizetype>(rng() % 200)));
            break;
        }
        default: {
            static const char* numbers[] = {"0",  "-1",   "99999999999999999999", "\r",
                                            "\n", "\r\n", "\xEF\xBB\xBF",         " -"};
            bytes.insert(at(bytes.size() + 1), numbers[rng() % std::size(numbers)]);
            break;
        }
        }
    }
    return bytes;
}

template <typename Run> int runSeedsAndMutations(const char* corpus, Run run, int mutations) {
    const QList<QByteArray> base = seeds(corpus);
    EXPECT_FALSE(base.isEmpty()) << corpus;
    std::mt19937 rng(7);
    int runs = 0;
    auto feed = [&](const QByteArray& b) {
        run(reinterpret_cast<const uint8_t*>(b.constData()), static_cast<size_t>(b.size()));
        ++runs;
    };
    for (const QByteArray& s : base)
        feed(s);
    for (int i = 0; i < mutations && !base.isEmpty(); ++i) {
        QByteArray m = mutate(base.at(static_cast<qsizetype>(rng() % base.size())), rng);
        // the first byte of the file targets chooses the file; keep it a choice
        feed(m);
    }
    return runs;
}

} // namespace

TEST(FuzzSeeds, everyTargetRunsItsSeedsAndMutationsCleanly) {
    bible_files::initBibleFiles(nullptr, nullptr);
    hymn_files::initHymnFiles(nullptr, nullptr);
    shortcut_files::initShortcut(nullptr, nullptr);
    const int runs =
        runSeedsAndMutations("corpus_bible", bible_files::runBibleFiles, 150) +
        runSeedsAndMutations("corpus_hymns", hymn_files::runHymnFiles, 150) +
        runSeedsAndMutations("corpus_lists", list_files::runListFiles, 1000) +
        runSeedsAndMutations("corpus_rtf", rtf_files::runRtf, 1000) +
        runSeedsAndMutations("corpus_shortcut", shortcut_files::runShortcut, 500) +
        runSeedsAndMutations("corpus_markbackup", mark_backups::runMarkBackup, 1000) +
        runSeedsAndMutations("corpus_song_openlyrics", song_openlyrics::runSongOpenLyrics, 1000) +
        runSeedsAndMutations("corpus_song_chordpro", song_chordpro::runSongChordPro, 1000) +
        runSeedsAndMutations("corpus_song_opensong", song_opensong::runSongOpenSong, 1000) +
        runSeedsAndMutations("corpus_song_plaintext", song_plaintext::runSongPlainText, 1000) +
        runSeedsAndMutations("corpus_remotemessage", remote_message::runRemoteMessage, 3000);
    std::printf("[ fuzz seeds ] %d inputs through the eleven targets\n", runs);
}

TEST(FuzzSeeds, everyBibleReaderRunsItsSeedsAndMutationsCleanly) {
    const int runs = runSeedsAndMutations("corpus_osis", osis_reader::runOsis, 600) +
                     runSeedsAndMutations("corpus_zefania", zefania_reader::runZefania, 600) +
                     runSeedsAndMutations("corpus_usfm", usfm_reader::runUsfm, 600) +
                     runSeedsAndMutations("corpus_usx", usx_reader::runUsx, 600) +
                     runSeedsAndMutations("corpus_opensong", opensong_reader::runOpenSong, 600) +
                     runSeedsAndMutations("corpus_unbound", unbound_reader::runUnbound, 600);
    std::printf("[ fuzz seeds ] %d inputs through the six Bible readers\n", runs);
}
