#pragma once
// Chapters read aloud for the tests of suggested marks, made in a temporary folder with the
// voices of espeak-ng and flite and shaped with sox (echo, noise). Each verse is trimmed to its
// speech, so the truth of its start is known to the sample.

#include "support/clirun.h"
#include "support/testdata.h"

#include "import/audio.h"
#include "marks/audiodecode.h"

#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace lumora::testing {

inline bool haveSpeechTools() {
    for (const char* tool : {"espeak-ng", "flite", "sox"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
    return true;
}

struct SpokenChapter {
    QString wav;
    std::vector<double> truth; // second at which each verse's speech starts
};

// One clause read by `voice` ("espeak:en-us+m3", "flite:slt"), trimmed, as 16 kHz samples.
inline std::optional<std::vector<float>> speakClause(TempFolder& tmp, const QString& voice,
                                                     const QString& text) {
    static int n = 0;
    const QString raw = tmp.file(QStringLiteral("raw%1.wav").arg(n)),
                  cut = tmp.file(QStringLiteral("cut%1.wav").arg(n));
    ++n;
    const QString engine = voice.section(':', 0, 0), name = voice.section(':', 1);
    const auto r = engine == QLatin1String("espeak")
                       ? runProgram("espeak-ng", {"-v", name, "-w", raw, text})
                       : runProgram("flite", {"-voice", name, "-t", text, "-o", raw});
    if (r.exitCode != 0) return std::nullopt;
    if (runProgram("sox", {raw, "-r", "16000", "-c", "1", "-b", "16", cut, "silence", "1", "0.01", "-50d",
                           "reverse", "silence", "1", "0.01", "-50d", "reverse"})
            .exitCode != 0)
        return std::nullopt;
    auto pcm = marks::decodeAudio(cut);
    if (!pcm) return std::nullopt;
    return pcm->samples;
}

// Writes 16 kHz mono samples as a wav file.
inline void writeWav(const QString& path, const std::vector<float>& samples) {
    import::PcmAudio pcm;
    pcm.sampleRate = 16000;
    for (float v : samples)
        pcm.samples.push_back(std::int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767)));
    writeBytes(path, import::wavBytes(pcm));
}

// The verses read one after the other, `gaps[i]` seconds of silence after verse i (the last
// gap repeats), `lead` seconds before the first; `inner` seconds after each comma when above 0.
inline std::optional<SpokenChapter> speakChapter(TempFolder& tmp, const QString& voice,
                                                 const QStringList& verses, const std::vector<double>& gaps,
                                                 double lead = 0.7, double inner = 0) {
    SpokenChapter out;
    std::vector<float> all(std::size_t(lead * 16000), 0.0f);
    for (qsizetype i = 0; i < verses.size(); ++i) {
        out.truth.push_back(double(all.size()) / 16000);
        const QStringList clauses =
            inner > 0 ? verses[i].split(QStringLiteral(", ")) : QStringList{verses[i]};
        for (qsizetype c = 0; c < clauses.size(); ++c) {
            const auto speech = speakClause(tmp, voice, clauses[c]);
            if (!speech) return std::nullopt;
            all.insert(all.end(), speech->begin(), speech->end());
            if (c + 1 < clauses.size()) all.resize(all.size() + std::size_t(inner * 16000), 0.0f);
        }
        const double gap = gaps.empty() ? 0.6 : gaps[std::min(std::size_t(i), gaps.size() - 1)];
        all.resize(all.size() + std::size_t(gap * 16000), 0.0f);
    }
    out.wav = tmp.file(QStringLiteral("chapter%1.wav").arg(verses.size()));
    writeWav(out.wav, all);
    return out;
}

// The recording through a room's echo and with noise about 15 dB under the voice.
inline QString withEchoAndNoise(TempFolder& tmp, const QString& wav) {
    const QString wet = tmp.file("wet.wav"), noise = tmp.file("noise.wav"), out = tmp.file("echo-noise.wav");
    const auto length = marks::decodeAudio(wav);
    if (!length) return {};
    if (runProgram("sox", {wav, wet, "reverb", "60", "40", "100", "100", "20", "0"}).exitCode != 0) return {};
    // -R: the same noise on every run, so that a result does not come and go with it
    if (runProgram("sox", {"-R", "-n", "-r", "16000", "-c", "1", "-b", "16", noise, "synth",
                           QString::number(length->seconds() + 1), "pinknoise", "vol", "0.03"})
            .exitCode != 0)
        return {};
    if (runProgram("sox",
                   {"-m", wet, noise, "-b", "16", out, "trim", "0", QString::number(length->seconds())})
            .exitCode != 0)
        return {};
    return out;
}

} // namespace lumora::testing
