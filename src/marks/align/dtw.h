#pragma once
// Dynamic time warping of a recording (rows i) against a reference (columns j) inside a band:
// column j may only meet rows lo[j]..hi[j]. The cost of a path is the sum of its frame
// distances, a diagonal step counted twice, so that neither signal's speed is preferred. The
// path may start and end anywhere in the recording (an announcement before the reading or music
// after it is skipped, at a cost per frame), but it takes every reference frame.
//
// alignFeatures() works in two passes so that the cost stays near linear in the length: frames
// pooled five to one are aligned in a band around the even spread of the reference over the
// recording's speech, then the full frames in a narrow band around that path.

#include "marks/align/features.h"

#include <vector>

namespace lumora::marks::align {

struct Band {
    std::vector<int> lo, hi; // per column, rows inclusive; both never decrease
};

struct WarpPath {
    std::vector<int> row; // per column: the first row the path meets in it
    std::vector<int> lastRow;
    std::vector<float> cost; // per column: the mean distance of the cells the path meets in it
    double total = 0;        // mean distance per step of the path
    bool empty() const { return row.empty(); }
};

// Distance of recording frame i and reference frame j: 0 for two silent frames, a fixed penalty
// for silence against speech, else the Euclidean distance of the cepstra over sqrt(kDims).
float frameDistance(const Features& rec, std::size_t i, const Features& ref, std::size_t j);
inline constexpr float kSilenceAgainstSpeech = 1.2f;

// `skipCost`: what each speech frame of the recording left before the path's start or after its
// end costs (silent frames cost nothing). About the distance of unrelated frames: then skipping
// speech costs as much as matching it badly, and the path neither swallows an announcement nor
// squeezes verses into a point to skip their speech.
// `freeFrom`: when not 0, the path may also begin at that column, the reference's columns before it
// left out (what the reading may or may not open with) at `leftOutShare` of `skipCost` per speech
// frame; they then take the row where the path begins, at a distance of 0.
WarpPath warp(const Features& rec, const Features& ref, const Band& band, float skipCost,
              std::size_t freeFrom = 0, float leftOutShare = 0);

// `recFrom`..`recTo`: the recording's speech span in its frames, where the band is centred.
// `widthFrames`: the band's half-width in the pooled pass, in recording frames.
WarpPath alignFeatures(const Features& rec, const Features& ref, int recFrom, int recTo, int widthFrames,
                       float skipCost, std::size_t freeFrom = 0, float leftOutShare = 0);

// A path again, within `radius` frames of `near` either way, when the recording's frames have
// been changed a little (voicemap.h): the second pass alone, around a path already found.
WarpPath realign(const Features& rec, const Features& ref, const WarpPath& near, int radius, float skipCost);

} // namespace lumora::marks::align
