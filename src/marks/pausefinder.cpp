#include "marks/pausefinder.h"

#include <algorithm>
#include <cmath>

namespace lumora::marks {

namespace {
constexpr float kSilentDb = -100.0f; // digital silence is counted as this level

float percentile(std::vector<float> values, double p) {
    if (values.empty()) return kSilentDb;
    const auto k = std::size_t(std::clamp(p, 0.0, 1.0) * double(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(k), values.end());
    return values[k];
}

// The levels of the frames that are not digital silence.
constexpr float kDigitalSilenceDb = -90.0f;
std::vector<float> audible(std::vector<float> levels) {
    const auto kept =
        std::remove_if(levels.begin(), levels.end(), [](float v) { return v <= kDigitalSilenceDb; });
    if (kept == levels.begin()) return levels; // all silent: the silence is the floor
    levels.erase(kept, levels.end());
    return levels;
}
} // namespace

EnergyMeter::EnergyMeter(int sampleRate, double hop) {
    m_frame = std::size_t(std::max(1.0, std::round(hop * sampleRate)));
    // The real frame length: at 22050 Hz a 10 ms frame is 220 samples, and 0.2 % adds up to a
    // second over a long chapter.
    m_track.hop = sampleRate > 0 ? double(m_frame) / sampleRate : hop;
}

void EnergyMeter::feed(const float* samples, std::size_t count) {
    // A frame's worth at a time, so that the inner loop is a plain sum.
    while (count > 0) {
        const std::size_t take = std::min(count, m_frame - m_filled);
        double sum = m_sum;
        for (std::size_t i = 0; i < take; ++i) {
            const double v = samples[i];
            sum += v * v;
        }
        samples += take;
        count -= take;
        m_filled += take;
        m_sum = sum;
        if (m_filled < m_frame) continue;
        const double power = m_sum / double(m_frame);
        m_track.db.push_back(power > 1e-10 ? float(10.0 * std::log10(power)) : kSilentDb);
        m_sum = 0;
        m_filled = 0;
    }
}

EnergyTrack energyTrack(const MonoAudio& audio, double hop) {
    EnergyMeter meter(audio.sampleRate, hop);
    meter.feed(audio.samples.data(), audio.samples.size());
    return meter.track();
}

SpeechMap findPauses(const EnergyTrack& track, const PauseOptions& options) {
    SpeechMap map;
    const std::vector<float>& db = track.db;
    const std::size_t n = db.size();
    if (n == 0) return map;

    // The threshold sits above the noise floor by a share of the speech's dynamic range. A floor
    // far below the speech (digital silence) is lifted so that soft consonants stay speech.
    const float level = percentile(db, 0.95);
    const float floor = std::max(percentile(options.floorFromSound ? audible(db) : db, 0.05), level - 60.0f);
    if (level - floor < 6.0f) return map; // no contrast: one long sound or silence
    auto thresholdAbove = [level](float f) { return f + std::max(6.0f, 0.25f * (level - f)); };
    map.threshold = thresholdAbove(floor);

    // The floor is followed through the recording, so that noise that grows (a fan, a room
    // filling up) does not swallow the pauses: the quietest tenth of each second, the lowest of
    // those within six seconds either side, never below the floor of the whole recording.
    const auto block = std::max<std::size_t>(1, std::size_t(std::lround(1.0 / track.hop)));
    const std::size_t blocks = (n + block - 1) / block;
    std::vector<float> blockFloor(blocks);
    for (std::size_t b = 0; b < blocks; ++b) {
        std::vector<float> levels(db.begin() + std::ptrdiff_t(b * block),
                                  db.begin() + std::ptrdiff_t(std::min(n, (b + 1) * block)));
        blockFloor[b] =
            percentile(options.floorFromSound ? audible(std::move(levels)) : std::move(levels), 0.1);
    }
    std::vector<float> threshold(n);
    for (std::size_t b = 0; b < blocks; ++b) {
        float local = blockFloor[b];
        for (std::size_t k = b > 6 ? b - 6 : 0; k < std::min(blocks, b + 7); ++k)
            local = std::min(local, blockFloor[k]);
        local = std::clamp(local, floor, std::max(floor, level - 12.0f));
        std::fill(threshold.begin() + std::ptrdiff_t(b * block),
                  threshold.begin() + std::ptrdiff_t(std::min(n, (b + 1) * block)), thresholdAbove(local));
    }

    std::vector<char> speech(n);
    for (std::size_t i = 0; i < n; ++i)
        speech[i] = db[i] > threshold[i];

    // Bursts too short to be speech become silence.
    const auto minSpeech = std::size_t(std::ceil(options.minSpeech / track.hop));
    for (std::size_t i = 0; i < n;) {
        if (!speech[i]) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < n && speech[j])
            ++j;
        if (j - i < minSpeech)
            std::fill(speech.begin() + std::ptrdiff_t(i), speech.begin() + std::ptrdiff_t(j), 0);
        i = j;
    }

    std::size_t first = 0;
    while (first < n && !speech[first])
        ++first;
    if (first == n) return map;
    std::size_t last = n;
    while (last > first && !speech[last - 1])
        --last;
    map.onset = double(first) * track.hop;
    map.end = double(last) * track.hop;

    const auto minPause = std::size_t(std::ceil(options.minPause / track.hop));
    for (std::size_t i = first; i < last;) {
        if (speech[i]) {
            ++i;
            continue;
        }
        std::size_t j = i;
        double below = 0;
        while (j < last && !speech[j]) {
            below += double(threshold[j] - db[j]);
            ++j;
        }
        if (j - i >= minPause)
            map.pauses.push_back({double(i) * track.hop, double(j) * track.hop, below / double(j - i)});
        i = j;
    }
    return map;
}

} // namespace lumora::marks
