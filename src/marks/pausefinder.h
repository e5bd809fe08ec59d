#pragma once
// Pauses in a recording: short-time energy in 10 ms frames against a threshold set from the
// recording's own levels (its noise floor and its speech level), so quiet background noise and
// loud or soft voices are handled alike.

#include "marks/audiodecode.h"

#include <vector>

namespace lumora::marks {

struct EnergyTrack {
    double hop = 0.01;     // seconds per frame
    std::vector<float> db; // frame level, dB relative to full scale
};

// Mean power of each `hop`-second frame, in dB.
EnergyTrack energyTrack(const MonoAudio& audio, double hop = 0.01);

// The same, fed block by block as a recording is decoded.
class EnergyMeter final {
  public:
    explicit EnergyMeter(int sampleRate, double hop = 0.01);
    void feed(const float* samples, std::size_t count);
    // The frames so far; an unfinished last frame is left out.
    const EnergyTrack& track() const { return m_track; }

  private:
    std::size_t m_frame = 1, m_filled = 0;
    double m_sum = 0;
    EnergyTrack m_track;
};

struct Pause {
    double start = 0; // seconds: the last speech frame ends here
    double end = 0;   // seconds: speech starts again here
    double depth = 0; // how far below the threshold the pause lies on average, dB
    double length() const { return end - start; }
};

struct SpeechMap {
    double onset = 0;          // first speech
    double end = 0;            // last speech ends
    double threshold = 0;      // dB level separating speech from silence over the whole recording
    std::vector<Pause> pauses; // between onset and end, in time order
};

struct PauseOptions {
    double minPause = 0.12;  // shorter gaps (stop consonants, word joins) are not pauses
    double minSpeech = 0.04; // shorter bursts inside a pause (clicks, noise) are not speech
    // The noise floor from the frames that are not digital silence. In a recording put together
    // from takes with silence between them, the room heard in each take before its first word is
    // then a pause, not speech. In clean speech it also splits soft passages into pauses, so the
    // alignment only uses it to carry a pause on to the first word (align/aligner.cpp).
    bool floorFromSound = false;
};

// Nothing found (silence only): onset = end = 0 and no pauses.
SpeechMap findPauses(const EnergyTrack& track, const PauseOptions& options = {});

} // namespace lumora::marks
