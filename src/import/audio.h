#pragma once
// Small sound helpers for the demo data: 16-bit mono PCM WAV in and out, tunes as Standard MIDI
// Files and as synthesised PCM. All pure functions over bytes.

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

namespace lumora::import {

struct PcmAudio final {
    int sampleRate = 0;
    std::vector<std::int16_t> samples; // mono

    double seconds() const { return sampleRate > 0 ? double(samples.size()) / sampleRate : 0.0; }
};

// Reads a RIFF/WAVE file holding 16-bit mono PCM; nullopt for anything else. A data chunk whose
// declared size runs past the end (as streamed writers leave it) is taken up to the end.
std::optional<PcmAudio> parseWav(const QByteArray& bytes);
QByteArray wavBytes(const PcmAudio& audio);

struct TuneNote final {
    int pitch = 60;  // MIDI note number; 0 = rest
    int eighths = 2; // length in eighth notes
};

struct Tune final {
    int beatsPerMinute = 90;
    int program = 19; // General MIDI program (0-based): 19 = church organ
    std::vector<TuneNote> notes;
};

// Standard MIDI File, format 0, 480 ticks per quarter note.
QByteArray midiFile(const Tune& tune);
// The tune played by a soft organ-like tone, mono, at `sampleRate`.
PcmAudio synthesize(const Tune& tune, int sampleRate = 22050);

// "12,50000": seconds with a comma and exactly five decimals, cut (not rounded) like the mark
// writer of the program, so 1/3 s gives "0,33333".
QByteArray markText(std::int64_t samples, int sampleRate);

} // namespace lumora::import
