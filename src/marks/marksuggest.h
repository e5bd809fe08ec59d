#pragma once
// Marks suggested from a chapter's recording: where each verse's reading starts, found from the
// pauses of the recording and the lengths of the verse texts.
//
// Verse 1 starts at the speech onset. The other starts are chosen among the pauses by dynamic
// programming: every verse should last about its share of the reading (its spoken characters at
// the recording's own speaking rate, plus the usual gap), and long, deep pauses are preferred as
// verse ends, since pauses inside verses (commas, sentences) are usually shorter. The speaking
// rate and gap are estimated from the recording and refined once the first alignment is known.

#include "marks/audiodecode.h"
#include "marks/pausefinder.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace lumora::marks {

// How long a verse takes to read, in arbitrary units: its letters and digits (UTF-8 decoded),
// with punctuation that makes a reader pause counted extra. Section titles in brackets count as
// read. Never below 1.
double verseWeight(const QByteArray& verseText);

// The start of each of weights.size() verses, in seconds. Empty when no speech was found.
std::vector<double> alignVerses(const SpeechMap& speech, const std::vector<double>& weights);

// The whole chain on decoded audio and the verse texts (field 5 of the verse lines).
std::vector<double> suggestStarts(const MonoAudio& audio, const QList<QByteArray>& verseTexts);

struct SuggestOutcome {
    std::vector<double> starts;
    QString error; // set when the recording could not be read or holds no speech
};
SuggestOutcome suggestStartsFromFile(const QString& audioPath, const QList<QByteArray>& verseTexts);

// The chapter's recording: <version folder>/Sound/<prefix><chapter, two digits below 10> with
// ".mp3", else ".wav"; empty when neither exists. Names are found without regard to letter case.
QString chapterAudioPath(const QString& dataPath, const QByteArray& versionCode,
                         const QByteArray& soundPrefix, int chapter);

} // namespace lumora::marks
