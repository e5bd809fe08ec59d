#pragma once
// Chapter recordings decoded for analysis (wav, mp3, flac, ogg: what libsndfile reads).

#include <QString>

#include <optional>
#include <vector>

namespace lumora::marks {

struct MonoAudio {
    int sampleRate = 0;
    std::vector<float> samples; // channels averaged, -1..1

    double seconds() const { return sampleRate > 0 ? double(samples.size()) / sampleRate : 0.0; }
};

// nullopt, with `error` set, when the file cannot be opened or decoded.
std::optional<MonoAudio> decodeAudio(const QString& path, QString* error = nullptr);

} // namespace lumora::marks
