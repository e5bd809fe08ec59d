#pragma once
// Chapter recordings decoded for analysis (wav, mp3, flac, ogg: what libsndfile reads).

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace lumora::marks {

struct MonoAudio {
    int sampleRate = 0;
    std::vector<float> samples; // channels averaged, -1..1

    double seconds() const { return sampleRate > 0 ? double(samples.size()) / sampleRate : 0.0; }
};

// Reads a recording block by block, channels averaged, so that a long chapter need not be held
// in memory whole.
class AudioReader final {
  public:
    // nullopt, with `error` set, when the file cannot be opened as sound.
    static std::optional<AudioReader> open(const QString& path, QString* error = nullptr);
    int sampleRate() const { return m_rate; }
    // Up to `frames` samples into `out` (replacing its content); false at the end.
    bool read(std::vector<float>& out, std::size_t frames = 65536);

  private:
    struct Closer {
        void operator()(void* file) const;
    };
    std::unique_ptr<void, Closer> m_file;
    int m_rate = 0, m_channels = 0;
    std::vector<float> m_block;
};

// The whole recording; nullopt, with `error` set, when it cannot be decoded.
std::optional<MonoAudio> decodeAudio(const QString& path, QString* error = nullptr);

} // namespace lumora::marks
