#include "marks/marksuggest.h"

#include "bible/biblestore.h"
#include "common/paths.h"
#include "common/text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumora::marks {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kLead = 0.05;       // a mark falls this much before the speech resumes
constexpr double kPauseBonus = 1.2;  // weight of a pause's length in choosing verse ends
constexpr double kDepthBonus = 0.02; // per dB of depth

struct Candidate {
    double time;   // where the next verse would start
    double length; // pause length, 0 for a fallback point
    double depth;
};

struct Model {
    double rate; // seconds per weight unit
    double gap;  // seconds added to every verse but the last
};

double bonus(const Candidate& c) {
    if (c.length <= 0) return -2.0; // a point without a pause is a last resort
    return kPauseBonus * std::log(1.0 + c.length / 0.12) + kDepthBonus * std::min(c.depth, 40.0);
}

double verseCost(double duration, double expected) {
    if (duration < 0.15) return kInf;
    const double sigma = 0.22 * expected + 0.35;
    const double z = (duration - expected) / sigma;
    return z * z;
}

// One dynamic-programming pass; returns the chosen candidate index of each verse start.
std::vector<int> solve(const std::vector<Candidate>& cands, double end, const std::vector<double>& weights,
                       const Model& model) {
    const int n = int(weights.size());
    const int m = int(cands.size()); // cands[0] is the onset
    std::vector<double> expected(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        expected[std::size_t(i)] = model.rate * weights[std::size_t(i)] + (i + 1 < n ? model.gap : 0);

    // best[i][j]: verses 0..i-1 placed, verse i starts at candidate j.
    std::vector<double> prev(std::size_t(m), kInf), cur(std::size_t(m), kInf);
    std::vector<int> back(std::size_t(n) * std::size_t(m), -1);
    prev[0] = 0;
    for (int i = 1; i < n; ++i) {
        std::fill(cur.begin(), cur.end(), kInf);
        const double e = expected[std::size_t(i - 1)];
        const double longest = 4.0 * e + 4.0;
        for (int j = i; j < m; ++j) {
            double bestCost = kInf;
            int bestFrom = -1;
            for (int k = j - 1; k >= i - 1; --k) {
                const double d = cands[std::size_t(j)].time - cands[std::size_t(k)].time;
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
    for (int j = n - 1; j < m; ++j) {
        if (prev[std::size_t(j)] == kInf) continue;
        const double c =
            prev[std::size_t(j)] + verseCost(end - cands[std::size_t(j)].time, expected[std::size_t(n - 1)]);
        if (c < bestCost) {
            bestCost = c;
            at = j;
        }
    }
    std::vector<int> chosen(std::size_t(n), 0);
    if (at < 0) return {};
    for (int i = n - 1; i >= 1; --i) {
        chosen[std::size_t(i)] = at;
        at = back[std::size_t(i) * std::size_t(m) + std::size_t(at)];
    }
    return chosen;
}

// Least-squares fit of duration = rate * weight + gap over the verses but the last.
Model refit(const std::vector<double>& durations, const std::vector<double>& weights, const Model& old) {
    const std::size_t n = durations.size();
    if (n < 4) return old;
    double sw = 0, sd = 0, sww = 0, swd = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        sw += weights[i];
        sd += durations[i];
        sww += weights[i] * weights[i];
        swd += weights[i] * durations[i];
    }
    const double k = double(n - 1);
    const double det = k * sww - sw * sw;
    if (det <= 1e-9) return old;
    Model m{(k * swd - sw * sd) / det, 0};
    m.gap = (sd - m.rate * sw) / k;
    if (!(m.rate > 0) || m.gap < 0 || m.gap > 3.0) return old;
    return m;
}

} // namespace

double verseWeight(const QByteArray& verseText) {
    const QString text = common::Utf8Decode(verseText);
    double w = 0;
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            w += 1;
        else if (c == u',' || c == u';' || c == u':')
            w += 3;
        else if (c == u'.' || c == u'!' || c == u'?')
            w += 5;
        else if (c == u' ')
            w += 0.3;
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
    const double span = speech.end - speech.onset;

    std::vector<Candidate> cands{{onset, 0, 0}};
    for (const Pause& p : speech.pauses)
        cands.push_back({std::max(p.start, p.end - kLead), p.length(), p.depth});
    // Points at each verse's proportional start, for recordings with fewer pauses than verses.
    double acc = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        acc += weights[i];
        cands.push_back({speech.onset + span * acc / total, 0, 0});
    }
    std::sort(cands.begin() + 1, cands.end(),
              [](const Candidate& a, const Candidate& b) { return a.time < b.time; });

    Model model{span / total, 0};
    std::vector<int> chosen;
    for (int pass = 0; pass < 3; ++pass) {
        std::vector<int> next = solve(cands, speech.end, weights, model);
        if (next.empty()) break;
        chosen = std::move(next);
        std::vector<double> durations(n);
        for (std::size_t i = 0; i < n; ++i)
            durations[i] = (i + 1 < n ? cands[std::size_t(chosen[i + 1])].time : speech.end) -
                           cands[std::size_t(chosen[i])].time;
        model = refit(durations, weights, model);
    }
    std::vector<double> starts(n);
    if (chosen.empty()) {
        for (std::size_t i = 0; i < n; ++i)
            starts[i] = i == 0 ? onset : cands[i].time;
        return starts;
    }
    for (std::size_t i = 0; i < n; ++i)
        starts[i] = cands[std::size_t(chosen[i])].time;
    return starts;
}

std::vector<double> suggestStarts(const MonoAudio& audio, const QList<QByteArray>& verseTexts) {
    std::vector<double> weights;
    weights.reserve(std::size_t(verseTexts.size()));
    for (const QByteArray& t : verseTexts)
        weights.push_back(verseWeight(t));
    return alignVerses(findPauses(energyTrack(audio)), weights);
}

SuggestOutcome suggestStartsFromFile(const QString& audioPath, const QList<QByteArray>& verseTexts) {
    SuggestOutcome out;
    const auto audio = decodeAudio(audioPath, &out.error);
    if (!audio) return out;
    out.starts = suggestStarts(*audio, verseTexts);
    if (out.starts.empty() && !verseTexts.isEmpty())
        out.error = QStringLiteral("no speech found in ") + audioPath;
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

} // namespace lumora::marks
