#pragma once
// Frames of a recording described by what is said rather than how loud: mel-frequency cepstra
// (12 coefficients, the level c0 left out) every 20 ms, normalised over the speech of the
// recording itself, so that a voice, a microphone or a room colours them less. Each frame also
// says whether it is speech, by the same rule as the pause finder (a threshold above the
// recording's noise floor). The FFT is FFTW's, loaded on the first use.

#include "marks/audiodecode.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace lumora::marks::align {

inline constexpr int kDims = 12;

struct Features {
    double hop = 0.02;          // seconds per frame
    std::vector<float> cepstra; // frames × kDims
    std::vector<float> db;      // frame level, dB
    std::vector<char> speech;   // frame is speech
    std::size_t frames() const { return db.size(); }
    const float* frame(std::size_t i) const { return cepstra.data() + i * kDims; }
};

// Fed block by block as a recording is decoded.
class FeatureMeter final {
  public:
    // nullopt, with `error` set, when FFTW cannot be loaded.
    static std::optional<FeatureMeter> create(int sampleRate, QString* error = nullptr);
    FeatureMeter(FeatureMeter&&) noexcept;
    FeatureMeter& operator=(FeatureMeter&&) noexcept;
    ~FeatureMeter();
    void feed(const float* samples, std::size_t count);
    // The frames so far, normalised; the meter can be fed on afterwards.
    Features finish() const;

  private:
    FeatureMeter();
    struct State;
    std::unique_ptr<State> m;
};

std::optional<Features> features(const MonoAudio& audio, QString* error = nullptr);

// Every `factor` frames averaged into one; speech when most of them are.
Features pooled(const Features& f, int factor);

} // namespace lumora::marks::align
