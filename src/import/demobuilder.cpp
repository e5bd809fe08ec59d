#include "import/demobuilder.h"

#include "bible/biblestore.h"
#include "import/audio.h"
#include "import/biblemodel.h"
#include "import/chapterrecorder.h"
#include "import/demosamples.h"
#include "import/swordreader.h"
#include "import/versionwriter.h"

#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace lumora::import {

namespace {

bool versionComplete(const QString& data, const QByteArray& code) {
    const QString folder = versionFolder(data, code);
    const QByteArray upper = code.toUpper();
    for (const QString& name : bible::versionFileNames(upper))
        if (!common::fileExists(common::findPath(folder, {name}))) return false;
    const auto list = common::readWholeFile(
        common::findPath(data, {QStringLiteral("Bible"), QStringLiteral("Version.txt")}));
    return list && hasVersionLine(*list, code);
}

// Claims the folder for the demo, or says why it cannot be used.
QString claimFolder(const QString& folder) {
    const QDir dir(folder);
    const QString marker = dir.filePath(QString::fromLatin1(kDemoMarkerName));
    if (dir.exists()) {
        if (QFileInfo::exists(marker)) return {};
        if (!dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            return QStringLiteral("%1 is not empty and was not made by the demo; give an empty or new folder "
                                  "with --data")
                .arg(folder);
    } else if (!QDir().mkpath(folder)) {
        return QStringLiteral("cannot create ") + folder;
    }
    if (!common::createFileExclusive(marker, "Lumora demo data folder: lumora-cli demo may add to it.\r\n"))
        return QStringLiteral("cannot write ") + marker;
    return {};
}

QString recordVersion(const QString& data, const DemoVersion& version, ImportedBible& bible,
                      const std::function<void(const QString&)>& progress) {
    const QString sound = common::findPath(versionFolder(data, version.code), {QStringLiteral("Sound")});
    for (const auto& [bookNumber, chapter] : version.recorded) {
        ImportedBook* book = bible.findBook(bookNumber);
        if (!book || chapter < 1 || chapter > int(book->chapters.size())) continue;
        auto& verses = book->chapters[std::size_t(chapter - 1)];
        const QString mp3 =
            QDir(sound).filePath(chapterAudioName(book->soundPrefix, chapter, QStringLiteral(".mp3")));
        if (progress)
            progress(QStringLiteral("%1: reading %2 %3 aloud")
                         .arg(QString::fromUtf8(version.code), QString::fromUtf8(book->name))
                         .arg(chapter));
        QList<QByteArray> texts;
        for (const auto& v : verses)
            texts.append(v.text);
        const auto recording = recordChapter(texts, version.voice, std::max(1, QThread::idealThreadCount()));
        if (!recording.chapter) return recording.error;
        if (!QDir().mkpath(sound) || !common::writeFileAtomic(mp3, recording.chapter->mp3))
            return QStringLiteral("cannot write ") + mp3;
        for (std::size_t v = 0; v < verses.size(); ++v)
            verses[v].mark = recording.chapter->marks[qsizetype(v)];
    }
    return {};
}

} // namespace

std::vector<DemoVersion> defaultDemoVersions() {
    return {
        {QStringLiteral("engKJV2006eb"),
         "KJV",
         "King James Version",
         QStringLiteral("en"),
         {{1, 1}, {19, 23}, {40, 5}, {43, 3}}},
        {QStringLiteral("engWEB2015eb"), "WEB", "World English Bible", QStringLiteral("en"), {}},
        {QStringLiteral("spaRV1909eb"), "RV1909", "Reina-Valera 1909", QStringLiteral("es"), {}},
    };
}

DemoResult buildDemo(const DemoOptions& options) {
    DemoResult result;
    const QString data = QFileInfo(options.folder).absoluteFilePath();
    if (QString why = claimFolder(data); !why.isEmpty()) {
        result.error = why;
        return result;
    }
    auto say = [&](const QString& line) {
        if (options.progress) options.progress(line);
    };

    int versions = 0;
    for (const DemoVersion& version : options.versions) {
        if (versionComplete(data, version.code)) {
            ++versions;
            continue;
        }
        say(QStringLiteral("%1: importing %2").arg(QString::fromUtf8(version.code), version.module));
        auto read = readSwordModule(version.module);
        if (!read.bible) {
            result.skipped << read.error;
            continue;
        }
        if (QString error = recordVersion(data, version, *read.bible, options.progress); !error.isEmpty()) {
            result.error = error;
            return result;
        }
        if (QString error = writeVersion(data, version.code, version.name, *read.bible); !error.isEmpty()) {
            result.error = error;
            return result;
        }
        ++versions;
    }
    if (versions == 0) {
        result.error =
            QStringLiteral("no Bible could be imported: ") + result.skipped.join(QStringLiteral("; "));
        return result;
    }

    say(QStringLiteral("hymn books and lists"));
    if (QString error = writeSampleHymnBooks(data); !error.isEmpty()) {
        result.error = error;
        return result;
    }
    if (QString error = writeSampleLists(data, options.versions.front().code); !error.isEmpty()) {
        result.error = error;
        return result;
    }

    if (!options.pathFile.isEmpty() && !QFileInfo::exists(options.pathFile)) {
        QDir().mkpath(QFileInfo(options.pathFile).absolutePath());
        // Another program may create it at the same moment; theirs then wins.
        common::createFileExclusive(options.pathFile, QFile::encodeName(data) + "\r\n");
    }
    result.ok = true;
    return result;
}

} // namespace lumora::import
