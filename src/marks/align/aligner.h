#pragma once
// A chapter's recording aligned with its verse texts by content: the texts are read by espeak-ng,
// both are described frame by frame (features.h), warped onto each other (dtw.h), and each
// verse's start in the reference is carried over to the recording, then moved to the pause or
// the onset of speech beside it when one lies close.
//
// Each start comes with a confidence from 0 to 1 and, below kDoubtful, the reason to check it:
// the recording sounds unlike the text there, the verse takes far more or less time than its text
// would, no pause or onset marks the start, or the pauses put it elsewhere. A recording that matches the
// texts nowhere (the wrong chapter, music, silence) is refused instead of given invented marks.

#include "marks/align/dtw.h"
#include "marks/align/features.h"
#include "marks/align/speechsynth.h"
#include "marks/pausefinder.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace lumora::marks::align {

inline constexpr double kDoubtful = 0.5;

struct Alignment {
    std::vector<double> starts;     // seconds, one per verse
    std::vector<double> confidence; // 0..1, one per verse
    QStringList doubts;             // why a confidence is below kDoubtful; empty otherwise
    QString refusal;                // set when the recording does not match the texts
    double match = 0; // cost of the path over that of the reference played backwards; 1: no match
};

// `recording`: the features of the recording; `speech` and `energy`: its pauses and 10 ms levels.
// `fromPauses`, when given: the starts found from the pauses and text lengths alone
// (marksuggest.h). Where the two agree, a start is more likely right; where they part, less, and
// the pauses' start is taken where the content is weakest: a start found at no pause, or one that
// gives the verses beside it times nearer their texts'.
// `opened`, when given: the same reference with an opening read before it (withOpening()). Whether
// the recording matches is judged on `reference`; the starts are found on `opened`, which may
// leave its opening out, so that a reader's opening words are not taken for the first verse's.
Alignment alignToReference(const Features& recording, const SpeechMap& speech, const EnergyTrack& energy,
                           const Reference& reference, const std::vector<double>& fromPauses = {},
                           const Reference* opened = nullptr);

// The whole chain on decoded audio, for tests and benchmarks: `error` is set when the reference
// cannot be made (no library, no voice).
Alignment alignRecording(const MonoAudio& audio, const QStringList& verses, const QString& language,
                         QString* error = nullptr);

// Words per minute of the synthesised reference: quicker than a reader, so the reference is short.
inline constexpr int kReferenceRate = 240;

} // namespace lumora::marks::align
