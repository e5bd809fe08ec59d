#pragma once
// Marks suggested from a chapter's recording: where each verse's reading starts.
//
// The suggestion aligns the recording with the verse texts by content (align/aligner.h) and gives
// every start a confidence. Without the synthesis or FFT library it falls back on the pauses of
// the recording and the lengths of the verse texts, as follows, and calls every start doubtful.
//
// Verse 1 starts at the speech onset. The other starts are chosen among the pauses by dynamic
// programming: every verse should take about its share of the speaking (its spoken characters at
// the recording's own rate; the pauses inside and after a verse are left out of the comparison,
// since they vary with the reader far more than the words do), and long, deep pauses are
// preferred as verse ends. The rate is estimated from the whole recording, then refitted from the
// first alignment. A mark falls 50 ms before the speech resumes, so playback starting there does
// not clip the first sound.

#include "marks/audiodecode.h"
#include "marks/marktable.h"
#include "marks/pausefinder.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace lumora::marks {

// How long a verse takes to read, in arbitrary units: its letters (UTF-8 decoded), digits counted
// three times (numbers are read as words), a little for punctuation; markup in angle brackets is
// not read. Section titles in square brackets count as read. Never below 1.
double verseWeight(const QByteArray& verseText);

// The start of each of weights.size() verses, in seconds. Empty when no speech was found.
std::vector<double> alignVerses(const SpeechMap& speech, const std::vector<double>& weights);

// The starts from the pauses and text lengths alone, on decoded audio and the verse texts (field
// 5 of the verse lines).
std::vector<double> suggestStarts(const MonoAudio& audio, const QList<QByteArray>& verseTexts);

struct SuggestOutcome {
    std::vector<double> starts;
    std::vector<double> confidence; // 0..1 per start; below align::kDoubtful the start needs checking
    QStringList doubts;             // per start: why it needs checking, or empty
    QString language;               // the reference's language and how it was chosen ("en, set in ...")
    QString error; // set when the recording could not be read, holds no speech or does not match
};
// `language`: the espeak-ng language the verse texts are read in. `opening`: what a reader may say
// before the first verse ("Psalms 23."), so that it is not taken for the first verse.
SuggestOutcome suggestStartsFromFile(const QString& audioPath, const QList<QByteArray>& verseTexts,
                                     const QString& language = QStringLiteral("en"),
                                     const QString& opening = {});
// The starts from the pauses and text lengths alone (no confidence).
SuggestOutcome pauseStartsFromFile(const QString& audioPath, const QList<QByteArray>& verseTexts);

// The chapter's recording: <version folder>/Sound/<prefix><chapter, two digits below 10> with
// ".mp3", else ".wav"; empty when neither exists. Names are found without regard to letter case.
QString chapterAudioPath(const QString& dataPath, const QByteArray& versionCode,
                         const QByteArray& soundPrefix, int chapter);

// A chapter's suggestion as the command line and the window make it: the chapter's verse lines
// read from its book file, and one start per verse line (in file order) from the chapter's
// recording, or from `audioPath` when one is given, read in the version's language
// (align/language.h), the book's name and the chapter's number as what a reader may say first.
// `error` says what was missing or why the recording was refused.
struct ChapterSuggestion {
    std::vector<ChapterLine> lines;
    SuggestOutcome outcome;
};
ChapterSuggestion suggestChapter(const QString& dataPath, const QByteArray& versionCode,
                                 const ChapterId& chapter, const QString& audioPath = {});

} // namespace lumora::marks
