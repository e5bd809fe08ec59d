#include "marks/marksuggest.h"

#include "marks/align/aligner.h"
#include "marks/align/language.h"

#include "bible/biblestore.h"
#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumora::marks {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kLead = 0.05;       // a mark falls this much before the speech resumes
constexpr double kPauseBonus = 1.0;  // weight of a pause's length in choosing verse ends
constexpr double kDepthBonus = 0.02; // per dB of depth

// A place where a verse may start: the end of a pause, or a fallback point without one.
struct Candidate {
    double resume; // speech resumes here
    double length; // pause length, 0 for a fallback point
    double depth;
    double silence; // all pause time before `resume`, this pause included
};

double bonus(const Candidate& c) {
    if (c.length <= 0) return -3.0; // a point without a pause is a last resort
    return kPauseBonus * std::log(1.0 + c.length / 0.12) + kDepthBonus * std::min(c.depth, 40.0);
}

// Verses are compared by their speech alone: the pauses inside a verse and after it vary with the
// reader far more than the time spent speaking its words.
double verseCost(double speech, double expected) {
    if (speech < 0.1) return kInf;
    const double sigma = 0.18 * expected + 0.3;
    const double z = (speech - expected) / sigma;
    return z * z;
}

double speechBetween(const Candidate& from, const Candidate& to) {
    return (to.resume - from.resume) - (to.silence - from.silence);
}

// One dynamic-programming pass at `rate` seconds of speech per weight unit; the chosen candidate
// of each verse start, or empty when none fits.
// Verse i may only start within `width` seconds of `around[i]`, its start if every verse took its
// share of the recording: this keeps long chapters with many pauses fast.
std::vector<int> solve(const std::vector<Candidate>& cands, const Candidate& last,
                       const std::vector<double>& weights, double rate, const std::vector<double>& around,
                       double width) {
    const int n = int(weights.size());
    const int m = int(cands.size()); // cands[0] is the onset
    std::vector<double> prev(std::size_t(m), kInf), cur(std::size_t(m), kInf);
    std::vector<int> back(std::size_t(n) * std::size_t(m), -1);
    prev[0] = 0;
    for (int i = 1; i < n; ++i) {
        std::fill(cur.begin(), cur.end(), kInf);
        const double e = rate * weights[std::size_t(i - 1)];
        const double longest = 4.0 * e + 3.0;
        for (int j = i; j < m; ++j) {
            const double t = cands[std::size_t(j)].resume;
            if (t < around[std::size_t(i)] - width) continue;
            if (t > around[std::size_t(i)] + width) break;
            double bestCost = kInf;
            int bestFrom = -1;
            for (int k = j - 1; k >= i - 1; --k) {
                const double d = speechBetween(cands[std::size_t(k)], cands[std::size_t(j)]);
                if (d > longest) break;
                if (prev[std::size_t(k)] == kInf) continue;
                const double c = prev[std::size_t(k)] + verseCost(d, e);
                if (c < bestCost) {
                    bestCost = c;
                    bestFrom = k;
                }
            }
            if (bestFrom < 0) continue;
            cur[std::size_t(j)] = bestCost - bonus(cands[std::size_t(j)]);
            back[std::size_t(i) * std::size_t(m) + std::size_t(j)] = bestFrom;
        }
        std::swap(prev, cur);
    }
    double bestCost = kInf;
    int at = -1;
    const double e = rate * weights[std::size_t(n - 1)];
    for (int j = n - 1; j < m; ++j) {
        if (prev[std::size_t(j)] == kInf) continue;
        const double c = prev[std::size_t(j)] + verseCost(speechBetween(cands[std::size_t(j)], last), e);
        if (c < bestCost) {
            bestCost = c;
            at = j;
        }
    }
    if (at < 0) return {};
    std::vector<int> chosen(std::size_t(n), 0);
    for (int i = n - 1; i >= 1; --i) {
        chosen[std::size_t(i)] = at;
        at = back[std::size_t(i) * std::size_t(m) + std::size_t(at)];
    }
    return chosen;
}

} // namespace

double verseWeight(const QByteArray& verseText) {
    const QString text = common::Utf8Decode(verseText);
    double w = 0;
    bool inTag = false;
    for (const QChar c : text) {
        // Markup such as <H7998> is not read aloud.
        if (c == u'<') inTag = true;
        if (inTag) {
            if (c == u'>') inTag = false;
            continue;
        }
        if (c.isDigit())
            w += 3; // "12" is read "twelve"
        else if (c.isLetter())
            w += 1;
        else if (c == u',' || c == u';' || c == u':')
            w += 1;
        else if (c == u'.' || c == u'!' || c == u'?')
            w += 2;
    }
    return std::max(1.0, w);
}

std::vector<double> alignVerses(const SpeechMap& speech, const std::vector<double>& weights) {
    const std::size_t n = weights.size();
    if (n == 0 || speech.end <= speech.onset) return {};
    const double onset = std::max(0.0, speech.onset - kLead);
    if (n == 1) return {onset};

    double total = 0;
    for (double w : weights)
        total += w;
    double pauseTime = 0;
    for (const Pause& p : speech.pauses)
        pauseTime += p.length();
    const double span = speech.end - speech.onset;

    std::vector<Candidate> cands{{speech.onset, 0, 0, 0}};
    double silence = 0;
    for (const Pause& p : speech.pauses) {
        silence += p.length();
        cands.push_back({p.end, p.length(), p.depth, silence});
    }
    // Points at each verse's proportional share of the speech, for recordings with fewer pauses
    // than verses.
    std::vector<double> around{speech.onset};
    double acc = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        acc += weights[i];
        const double t = speech.onset + span * acc / total;
        around.push_back(t);
        double before = 0;
        for (const Pause& p : speech.pauses)
            if (p.end <= t) before += p.length();
        cands.push_back({t, 0, 0, before});
    }
    std::stable_sort(cands.begin() + 1, cands.end(),
                     [](const Candidate& a, const Candidate& b) { return a.resume < b.resume; });
    const Candidate last{speech.end, 0, 0, pauseTime};

    // The speaking rate: first from the whole recording, then from the verses as aligned.
    double rate = std::max(span - pauseTime, 0.1 * span) / total;
    std::vector<int> chosen;
    for (int pass = 0; pass < 3; ++pass) {
        std::vector<int> next = solve(cands, last, weights, rate, around, std::max(30.0, 0.2 * span));
        if (next.empty()) break;
        chosen = std::move(next);
        double sd = 0, sw = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const Candidate& to = i + 1 < n ? cands[std::size_t(chosen[i + 1])] : last;
            sd += speechBetween(cands[std::size_t(chosen[i])], to) * weights[i];
            sw += weights[i] * weights[i];
        }
        if (sw > 0 && sd > 0) rate = sd / sw;
    }
    std::vector<double> starts(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (i == 0) {
            starts[i] = onset;
        } else if (chosen.empty()) {
            starts[i] = around[i]; // nothing fitted: each verse its share of the recording
        } else {
            const Candidate& c = cands[std::size_t(chosen[i])];
            starts[i] = std::max(c.resume - std::min(kLead, c.length / 2), 0.0);
        }
    }
    return starts;
}

namespace {
std::vector<double> weightsOf(const QList<QByteArray>& verseTexts) {
    std::vector<double> weights;
    weights.reserve(std::size_t(verseTexts.size()));
    for (const QByteArray& t : verseTexts)
        weights.push_back(verseWeight(t));
    return weights;
}
} // namespace

std::vector<double> suggestStarts(const MonoAudio& audio, const QList<QByteArray>& verseTexts) {
    return alignVerses(findPauses(energyTrack(audio)), weightsOf(verseTexts));
}

SuggestOutcome pauseStartsFromFile(const QString& audioPath, const QList<QByteArray>& verseTexts) {
    SuggestOutcome out;
    auto reader = AudioReader::open(audioPath, &out.error);
    if (!reader) return out;
    // Only the frame energies are kept: a 10-minute chapter is 60,000 numbers, not 13 million.
    EnergyMeter meter(reader->sampleRate());
    std::vector<float> block;
    while (reader->read(block))
        meter.feed(block.data(), block.size());
    out.starts = alignVerses(findPauses(meter.track()), weightsOf(verseTexts));
    if (out.starts.empty() && !verseTexts.isEmpty())
        out.error = QStringLiteral("no speech found in ") + audioPath;
    return out;
}

SuggestOutcome suggestStartsFromFile(const QString& audioPath, const QList<QByteArray>& verseTexts,
                                     const QString& language, const QString& opening) {
    SuggestOutcome out;
    out.language = language;
    QStringList texts;
    for (const QByteArray& t : verseTexts)
        texts.append(common::Utf8Decode(t));
    QString why;
    const auto reference = align::synthesiseVerses(texts, language, align::kReferenceRate, &why);
    auto reader = AudioReader::open(audioPath, &out.error);
    if (!reader) return out;
    auto features = align::FeatureMeter::create(reader->sampleRate(), &why);
    if (!reference || !features) {
        // No alignment by content: the pauses alone, every start to be checked.
        out = pauseStartsFromFile(audioPath, verseTexts);
        out.confidence.assign(out.starts.size(), 0.0);
        for (std::size_t i = 0; i < out.starts.size(); ++i)
            out.doubts.append(QStringLiteral("found from the pauses alone: ") + why);
        return out;
    }
    // One decoding feeds both the levels (pauses) and the spectra (content).
    EnergyMeter meter(reader->sampleRate());
    std::vector<float> block;
    while (reader->read(block)) {
        meter.feed(block.data(), block.size());
        features->feed(block.data(), block.size());
    }
    const EnergyTrack& energy = meter.track();
    const SpeechMap speech = findPauses(energy);
    const auto opened = opening.isEmpty()
                            ? std::nullopt
                            : align::withOpening(*reference, opening, language, align::kReferenceRate);
    const align::Alignment a =
        align::alignToReference(features->finish(), speech, energy, *reference,
                                alignVerses(speech, weightsOf(verseTexts)), opened ? &*opened : nullptr);
    if (!a.refusal.isEmpty()) {
        out.error = a.refusal + QStringLiteral(": ") + audioPath;
        return out;
    }
    out.starts = a.starts;
    out.confidence = a.confidence;
    out.doubts = a.doubts;
    return out;
}

QString chapterAudioPath(const QString& dataPath, const QByteArray& versionCode,
                         const QByteArray& soundPrefix, int chapter) {
    const QString folder = bible::versionFiles(dataPath, versionCode.toUpper()).folder;
    const QString name = QString::fromUtf8(soundPrefix) + (chapter < 10 ? QStringLiteral("0") : QString()) +
                         QString::number(chapter);
    for (const char* ext : {".mp3", ".wav"}) {
        const QString path =
            common::findPath(folder, {QStringLiteral("Sound"), name + QString::fromLatin1(ext)});
        if (common::fileExists(path)) return path;
    }
    return {};
}

ChapterSuggestion suggestChapter(const QString& dataPath, const QByteArray& versionCode,
                                 const ChapterId& chapter, const QString& audioPath) {
    ChapterSuggestion out;
    const QString bookFile = bookFilePath(dataPath, versionCode, chapter.bookKey);
    const auto content = common::readWholeFile(bookFile);
    if (!content) {
        out.outcome.error = QStringLiteral("cannot read ") + bookFile;
        return out;
    }
    out.lines = chapterLines(*content, chapter.bookKey, chapter.chapter, chapter.verseCount);
    if (out.lines.empty()) {
        out.outcome.error = QStringLiteral("the chapter's verse lines are not in ") + bookFile;
        return out;
    }
    const QString path = !audioPath.isEmpty() ? audioPath
                                              : chapterAudioPath(dataPath, versionCode, chapter.soundPrefix,
                                                                 chapter.chapter.toInt());
    if (path.isEmpty()) {
        out.outcome.error = QStringLiteral("the chapter has no recording in the version's Sound folder");
        return out;
    }
    QList<QByteArray> texts;
    for (const ChapterLine& l : out.lines)
        texts.append(l.text);
    const bible::BookTables books = bible::LoadBookTables(dataPath, versionCode);
    const align::VersionLanguage language =
        align::versionLanguage(bible::versionFiles(dataPath, versionCode.toUpper()).folder, books.names());
    // "01 Genesis", chapter "3": a reader may open with "Genesis 3."
    QString opening;
    for (const bible::Book& b : books.books)
        if (b.key == chapter.bookKey) {
            opening = bible::displayedBookName(b.name).trimmed() + QLatin1Char(' ') +
                      QString::fromUtf8(chapter.chapter) + QLatin1Char('.');
            break;
        }
    out.outcome = suggestStartsFromFile(path, texts, language.code, opening);
    out.outcome.language = language.code + QStringLiteral(", ") + language.how;
    return out;
}

} // namespace lumora::marks
