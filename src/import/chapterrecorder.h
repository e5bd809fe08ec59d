#pragma once
// Reads a chapter aloud with espeak-ng and encodes it to mp3 with lame, giving the true start of
// every verse.
//
// Each verse is spoken into its own WAV; the verses are joined here, sample for sample, with a
// short pause after each, so the start of verse k is exactly the number of samples before it.
// One lame call encodes the whole chapter. lame puts its encoder delay and padding into the
// LAME/Info tag, which gapless decoders (GStreamer's mpegaudioparse, FFmpeg) use to give back
// exactly the joined samples, so the marks hold in the mp3 as they do in the PCM.

#include "import/audio.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace lumora::import {

struct RecordedChapter final {
    QByteArray mp3;
    QList<QByteArray> marks; // one per verse, mark text ("0,00000" for verse 1)
    int sampleRate = 0;
    QList<qint64> verseSamples; // length of each verse in the joined PCM, pause included
    PcmAudio pcm;               // the joined chapter as it went into lame
};

struct RecordingResult final {
    std::optional<RecordedChapter> chapter;
    QString error; // set on failure
};

// `voice` is an espeak-ng voice ("en"). Verse texts may carry "[Title]" prefixes; the titles are
// read as part of their verse. Up to `parallel` espeak-ng processes run at once.
RecordingResult recordChapter(const QList<QByteArray>& verses, const QString& voice, int parallel = 2);

// The words spoken for a verse field: titles unbracketed, then the text.
// "[A Psalm.]LORD, how" -> "A Psalm. LORD, how"
QByteArray spokenText(const QByteArray& verseField);

} // namespace lumora::import
