#include "import/chapterrecorder.h"

#include "import/audio.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <deque>
#include <memory>

namespace lumora::import {

namespace {
constexpr double kPauseSeconds = 0.35; // between verses, counted in the verse before it
constexpr int kTimeoutMs = 120000;
} // namespace

QByteArray spokenText(const QByteArray& verseField) {
    QByteArray out = verseField;
    out.replace("][", ". ");
    if (out.startsWith('[')) {
        out.remove(0, 1);
        out.replace(']', ' ');
    }
    return out.simplified();
}

RecordingResult recordChapter(const QList<QByteArray>& verses, const QString& voice, int parallel) {
    QTemporaryDir work;
    if (!work.isValid()) return {std::nullopt, QStringLiteral("cannot create a temporary folder")};

    // Speak every verse into its own file, a few processes at a time.
    struct Job {
        std::unique_ptr<QProcess> process;
        int verse;
    };
    std::deque<Job> running;
    int next = 0;
    QString error;
    auto wavPath = [&](int v) { return work.filePath(QStringLiteral("v%1.wav").arg(v)); };
    auto finishOne = [&]() {
        Job job = std::move(running.front());
        running.pop_front();
        if (!job.process->waitForFinished(kTimeoutMs) || job.process->exitStatus() != QProcess::NormalExit ||
            job.process->exitCode() != 0) {
            if (error.isEmpty())
                error = QStringLiteral("espeak-ng failed on verse %1: %2")
                            .arg(job.verse + 1)
                            .arg(job.process->errorString());
        }
    };
    while (next < verses.size() || !running.empty()) {
        if (next < verses.size() && int(running.size()) < std::max(1, parallel)) {
            auto p = std::make_unique<QProcess>();
            p->start(QStringLiteral("espeak-ng"),
                     {QStringLiteral("-v"), voice, QStringLiteral("-s"), QStringLiteral("165"),
                      QStringLiteral("-w"), wavPath(next), QStringLiteral("--stdin")});
            if (!p->waitForStarted(kTimeoutMs))
                return {std::nullopt, QStringLiteral("cannot start espeak-ng (package espeak-ng)")};
            QByteArray text = spokenText(verses[next]);
            if (text.isEmpty()) text = " ";
            p->write(text + '\n');
            p->closeWriteChannel();
            running.push_back({std::move(p), next});
            ++next;
        } else {
            finishOne();
        }
    }
    if (!error.isEmpty()) return {std::nullopt, error};

    // Join, noting where each verse starts.
    RecordedChapter chapter;
    PcmAudio joined;
    for (int v = 0; v < verses.size(); ++v) {
        QFile f(wavPath(v));
        if (!f.open(QIODevice::ReadOnly))
            return {std::nullopt, QStringLiteral("espeak-ng wrote no sound for verse %1").arg(v + 1)};
        const auto pcm = parseWav(f.readAll());
        if (!pcm || pcm->sampleRate <= 0 || (joined.sampleRate != 0 && pcm->sampleRate != joined.sampleRate))
            return {std::nullopt,
                    QStringLiteral("espeak-ng wrote an unexpected sound format for verse %1").arg(v + 1)};
        joined.sampleRate = pcm->sampleRate;
        chapter.marks.append(markText(qint64(joined.samples.size()), joined.sampleRate));
        const std::size_t before = joined.samples.size();
        joined.samples.insert(joined.samples.end(), pcm->samples.begin(), pcm->samples.end());
        joined.samples.resize(joined.samples.size() + std::size_t(kPauseSeconds * joined.sampleRate), 0);
        chapter.verseSamples.append(qint64(joined.samples.size() - before));
    }
    chapter.sampleRate = joined.sampleRate;

    // lame writes its LAME/Info tag (delay and padding) by seeking back to the start of its
    // output, so it must write a real file, not a pipe; and the tag needs a frame of at least
    // 64 kbit/s at 22 kHz (at 48 kbit/s lame silently leaves it out).
    const QString wav = work.filePath(QStringLiteral("chapter.wav"));
    const QString mp3 = work.filePath(QStringLiteral("chapter.mp3"));
    {
        QFile f(wav);
        if (!f.open(QIODevice::WriteOnly) || f.write(wavBytes(joined)) < 0)
            return {std::nullopt, QStringLiteral("cannot write a temporary sound file")};
    }
    QProcess lame;
    lame.start(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("-m"), QStringLiteral("m"),
                                        QStringLiteral("-b"), QStringLiteral("64"), wav, mp3});
    if (!lame.waitForStarted(kTimeoutMs))
        return {std::nullopt, QStringLiteral("cannot start lame (package lame)")};
    if (!lame.waitForFinished(kTimeoutMs) || lame.exitStatus() != QProcess::NormalExit ||
        lame.exitCode() != 0)
        return {std::nullopt,
                QStringLiteral("lame failed: ") + QString::fromUtf8(lame.readAllStandardError()).trimmed()};
    QFile encoded(mp3);
    if (!encoded.open(QIODevice::ReadOnly)) return {std::nullopt, QStringLiteral("lame wrote nothing")};
    chapter.mp3 = encoded.readAll();
    chapter.pcm = std::move(joined);
    return {std::move(chapter), {}};
}

} // namespace lumora::import
