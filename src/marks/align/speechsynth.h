#pragma once
// The verse texts read by espeak-ng, as the reference a chapter's recording is compared with.
// libespeak-ng is loaded on the first use, like the sound decoder, so that the programs start
// without it.

#include "marks/audiodecode.h"

#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace lumora::marks::align {

inline constexpr double kVerseGap = 0.3; // the silence between two verses of the reference

struct Reference {
    MonoAudio audio;
    // Where each verse's speech starts and ends in `audio`, seconds; verses are read one by one
    // with a short silence between them, and clause by clause with a shorter one.
    std::vector<double> verseStart, verseEnd;
    QString voice; // the espeak-ng voice that read them
    // Seconds of a spoken opening before the verses (withOpening()), which a reading may or may
    // not have; 0 without one. The verses' own reference starts there.
    double opening = 0;
};

// `language` is an espeak-ng language name ("en", "fr", "pt-br"); `wordsPerMinute` from 80 to
// 450 (a quick reading is a shorter reference, and the alignment does not mind the speed).
// nullopt, with `error` set, when the library or the language is not there.
std::optional<Reference> synthesiseVerses(const QStringList& verses, const QString& language,
                                          int wordsPerMinute, QString* error = nullptr);

// `reference` with `opening` (what a reader may say first: "Psalms 23.") read before its verses.
std::optional<Reference> withOpening(const Reference& reference, const QString& opening,
                                     const QString& language, int wordsPerMinute, QString* error = nullptr);

// The text as a reader says it: markup in angle brackets is dropped. "God <H430> said" → "God said".
QString spokenText(const QString& verseText);

} // namespace lumora::marks::align
