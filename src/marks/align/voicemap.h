#pragma once
// A linear map of a recording's cepstra onto the reference's, fitted by least squares over the
// speech frames a warp path pairs. Another voice, microphone or room changes the cepstra in a
// way a linear map undoes in good part, but only when the pairs say the same words: fitted on
// the right text's path it brings the two much closer than on another text's.

#include "marks/align/dtw.h"
#include "marks/align/features.h"

#include <array>
#include <optional>

namespace lumora::marks::align {

struct VoiceMap {
    // Row d: the weights of the recording's kDims coefficients, then a constant, for the
    // reference's coefficient d.
    std::array<std::array<double, kDims + 1>, kDims> weights{};
};

// nullopt when the path pairs too few speech frames to fit it (under about two seconds).
std::optional<VoiceMap> fitVoiceMap(const Features& rec, const Features& ref, const WarpPath& path);

// `rec` with its cepstra mapped; levels and speech flags unchanged.
Features mapped(const Features& rec, const VoiceMap& map);

} // namespace lumora::marks::align
