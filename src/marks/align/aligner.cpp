#include "marks/align/aligner.h"

#include "marks/align/voicemap.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace lumora::marks::align {

namespace {

constexpr double kLead = 0.05;       // a mark falls this much before the speech resumes
constexpr double kPauseReach = 0.3;  // a pause end this close to the aligned start is the start
constexpr double kOnsetReach = 0.12; // an onset of speech this close, when no pause is
constexpr double kRoomReach = 0.6;   // the room heard before the first word of a take, at most
// Not this chapter's reading: a match against the reference played backwards worse than
// kRefuseAbove, or worse than kWeakMatch with kRefuseDoubted of the starts in doubt or more, or a
// match in order (matchAgainst) worse than kRefuseOutOfOrder. Over three corpora of 135 readings,
// the chapters' own readings pass all three but for three in flite's voices, with echo or every
// difficulty at once (two of them with most starts wrong anyway); another chapter's text on them
// passes all three but once.
constexpr double kRefuseAbove = 0.999;
constexpr double kWeakMatch = 0.986;
constexpr double kRefuseDoubted = 0.5;
constexpr double kRefuseOutOfOrder = 0.9875;
// A match against the reference played backwards better than this is this chapter's reading:
// another chapter's text matched 0.957 at best over the corpora. The test of the order, which
// takes as long as the alignment itself, is left out then (three readings in four).
constexpr double kSureMatch = 0.945;
constexpr int kRealignRadius = 50; // frames either side of the path first found
// Leaving the opening (the book and chapter) out of the path costs this share of skipping as much
// speech: a reading that has it can take it, rather than taking its words for the first verse's,
// and one that has not can leave it out. Over three corpora of 135 readings, 0.2 to 0.4 did as
// well and 0.5 a little worse.
constexpr double kOpeningLeftOut = 0.4;
// Where the content and the pauses part (startsFrom). Over three corpora of 135 readings these
// took the starts within 0.25 s from 94.0% to 95.3%, and from 94.6% to 95.8% on a fourth
// corpus made afterwards.
constexpr double kRealPause = 0.2;      // s: a pause, not a gap between two words
constexpr double kNoMarkReach = 0.3;    // s
constexpr double kPausesReach = 4.0;    // s: the pauses' start no further from the content's
constexpr double kPausesCloser = 0.8;   // of the verses' stray from their texts' time
constexpr double kMovedToPauses = 0.45; // the confidence of a sure start moved to the pauses'

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    const auto mid = v.begin() + std::ptrdiff_t(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

// The mean distance of unrelated speech frames of the two signals: what "no match" costs.
double unrelatedDistance(const Features& rec, const Features& ref) {
    std::vector<std::size_t> a, b;
    for (std::size_t i = 0; i < rec.frames(); ++i)
        if (rec.speech[i]) a.push_back(i);
    for (std::size_t j = 0; j < ref.frames(); ++j)
        if (ref.speech[j]) b.push_back(j);
    if (a.empty() || b.empty()) return 0;
    std::uint64_t seed = 0x9e3779b97f4a7c15ull; // fixed: the same input gives the same answer
    auto next = [&seed](std::size_t n) {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return std::size_t(seed % n);
    };
    double sum = 0;
    constexpr int kPairs = 4000;
    for (int k = 0; k < kPairs; ++k)
        sum += frameDistance(rec, a[next(a.size())], ref, b[next(b.size())]);
    return sum / kPairs;
}

// The mean distance along `path` over the reference's speech frames.
double costAlong(const Features& ref, const WarpPath& path) {
    double sum = 0, count = 0;
    for (std::size_t j = 0; j < ref.frames(); ++j)
        if (ref.speech[j]) {
            sum += path.cost[j];
            count += 1;
        }
    return count > 0 ? sum / count : 0;
}

// `f` with frame k taken from frame `from[k]`.
Features rearranged(const Features& f, const std::vector<std::size_t>& from) {
    Features out = f;
    for (std::size_t k = 0; k < from.size(); ++k) {
        std::copy_n(f.frame(from[k]), kDims, out.cepstra.begin() + std::ptrdiff_t(k * kDims));
        out.speech[k] = f.speech[from[k]];
        out.db[k] = f.db[from[k]];
    }
    return out;
}

Features playedBackwards(const Features& f) {
    std::vector<std::size_t> from(f.frames());
    std::iota(from.rbegin(), from.rend(), std::size_t(0));
    return rearranged(f, from);
}

// The reference's verses from the middle one on, then those before it: every verse in another
// place (two verses or more). Cut halfway through the silence before each.
Features otherOrder(const Features& f, const Reference& ref) {
    const std::size_t frames = f.frames(), n = ref.verseStart.size();
    std::vector<std::size_t> cut{0};
    for (std::size_t k = 1; k < n; ++k)
        cut.push_back(std::clamp(std::size_t(std::max(0.0, ref.verseStart[k] - kVerseGap / 2) / f.hop),
                                 cut.back(), frames));
    cut.push_back(frames);
    std::vector<std::size_t> from;
    for (std::size_t r = 0; r < n; ++r) {
        const std::size_t k = (r + n / 2) % n;
        for (std::size_t j = cut[k]; j < cut[k + 1]; ++j)
            from.push_back(j);
    }
    return rearranged(f, from);
}

// The cost of the path to the reference over that of the path to the reference in another order,
// each after the recording's voice is mapped onto the reference's by the pairs of its own path
// and the path found again near where it was. Below 1: the recording says the reference's words.
double matchAgainst(const Features& rec, const Features& ref, const WarpPath& path, const Features& other,
                    const WarpPath& null) {
    if (null.empty()) return 1.0;
    const auto ownMap = fitVoiceMap(rec, ref, path), otherMap = fitVoiceMap(rec, other, null);
    double ownCost = costAlong(ref, path), otherCost = costAlong(other, null);
    if (ownMap && otherMap) {
        const Features a = mapped(rec, *ownMap), b = mapped(rec, *otherMap);
        const WarpPath again = realign(a, ref, path, kRealignRadius, float(unrelatedDistance(a, ref)));
        const WarpPath otherAgain =
            realign(b, other, null, kRealignRadius, float(unrelatedDistance(b, other)));
        if (!again.empty() && !otherAgain.empty()) {
            ownCost = costAlong(ref, again);
            otherCost = costAlong(other, otherAgain);
        }
    }
    return otherCost > 0 ? ownCost / otherCost : 1.0;
}

// Where a verse resuming after `p` is marked: a little before the speech, within the pause.
double markAfter(const Pause& p) {
    return std::max(0.0, p.end - std::min(kLead, p.length() / 2));
}

// The length of the pause after which a verse is marked at t, or of all before the onset of speech
// when t is there; 0 when t is at no pause.
double pauseBefore(const SpeechMap& speech, double t) {
    if (std::abs(std::max(0.0, speech.onset - kLead) - t) < 0.01) return speech.onset;
    for (const Pause& p : speech.pauses)
        if (std::abs(markAfter(p) - t) < 0.01) return p.length();
    return 0;
}

struct Snap {
    double at;
    int kind; // 2: pause end, 1: onset, 0: none
};

// `room`: the pauses above the floor of the room rather than of digital silence. Where takes are
// joined with silence, the room heard before a take's first word still belongs to the pause.
Snap snapStart(double t, const SpeechMap& speech, const SpeechMap& room, const EnergyTrack& energy) {
    const Pause* best = nullptr;
    for (const Pause& p : speech.pauses)
        if (std::abs(p.end - t) <= kPauseReach && (!best || std::abs(p.end - t) < std::abs(best->end - t)))
            best = &p;
    if (best) {
        Pause pause = *best;
        for (const Pause& r : room.pauses)
            if (r.start <= pause.end && r.end > pause.end && r.end - pause.end <= kRoomReach)
                pause.end = r.end;
        return {markAfter(pause), 2};
    }
    if (std::abs(speech.onset - t) <= kPauseReach) return {std::max(0.0, speech.onset - kLead), 2};
    // The steepest rise of the level near t (three frames), when it is a clear one.
    const auto& db = energy.db;
    const int from = std::max(0, int((t - kOnsetReach) / energy.hop));
    const int to = std::min(int(db.size()) - 4, int((t + kOnsetReach) / energy.hop));
    int at = -1;
    float rise = 9.0f; // dB
    for (int i = from; i <= to; ++i) {
        const float r = db[std::size_t(i + 3)] - db[std::size_t(i)];
        if (r > rise) {
            rise = r;
            at = i;
        }
    }
    if (at >= 0) return {std::max(0.0, (at + 1) * energy.hop), 1};
    return {t, 0};
}

// The starts, their confidence and doubts on the path to `ref` found for `rec`.
Alignment startsFrom(const Reference& ref, const Features& refFeatures, const WarpPath& path, Alignment out,
                     const Features& rec, const SpeechMap& speech, const EnergyTrack& energy,
                     const std::vector<double>& fromPauses);

} // namespace

Alignment alignToReference(const Features& rec, const SpeechMap& speech, const EnergyTrack& energy,
                           const Reference& ref, const std::vector<double>& fromPauses,
                           const Reference* opened) {
    Alignment out;
    const std::size_t n = ref.verseStart.size();
    if (n == 0) return out;
    if (speech.end <= speech.onset) {
        out.refusal = QStringLiteral("no speech found");
        return out;
    }
    QString error;
    const auto refFeatures = features(ref.audio, &error);
    if (!refFeatures) {
        out.refusal = error;
        return out;
    }
    const double hop = rec.hop;
    const int from = int(speech.onset / hop), to = int(speech.end / hop);
    // The band: a quarter of the reading either side of an even spread, at least 20 s, at most a
    // minute, so that a long chapter stays linear in cost. The even spread already follows the
    // reader's own speed; the band only has to hold how far a reading strays from it.
    const double width = std::clamp(0.25 * (speech.end - speech.onset), 20.0, 60.0);
    const double unrelated = unrelatedDistance(rec, *refFeatures);
    const WarpPath path = alignFeatures(rec, *refFeatures, from, to, int(width / hop), float(unrelated));
    if (path.empty()) {
        out.refusal = QStringLiteral("the recording cannot be aligned with the text");
        return out;
    }

    // How well the two match: against the same reference played backwards, which has the same
    // voice and sounds but no words in common with any reading; and against the reference with
    // its verses in another order, read forwards, with the recording's voice mapped onto the
    // reference's for each. Any text finds some path; only the right one finds a far better path
    // in its own order. The first alone misses another chapter in the voice of the reference;
    // the second alone, a short one in another.
    const Features backwards = playedBackwards(*refFeatures);
    const WarpPath null = alignFeatures(rec, backwards, from, to, int(width / hop), float(unrelated));
    const double meanCost = costAlong(*refFeatures, path),
                 nullCost = null.empty() ? 0 : costAlong(backwards, null);
    out.match = nullCost > 0 ? meanCost / nullCost : 1.0;
    if (out.match > kRefuseAbove) {
        out.refusal = QStringLiteral("the recording does not match the chapter's text");
        return out;
    }
    if (out.match > kSureMatch) {
        // A single verse has no other order: the reference played backwards stands in for it.
        const bool reorder = n > 1;
        const Features reordered = reorder ? otherOrder(*refFeatures, ref) : Features{};
        const Features& other = reorder ? reordered : backwards;
        const WarpPath otherPath =
            reorder ? alignFeatures(rec, reordered, from, to, int(width / hop), float(unrelated)) : null;
        if (matchAgainst(rec, *refFeatures, path, other, otherPath) > kRefuseOutOfOrder) {
            out.refusal = QStringLiteral("the recording does not match the chapter's text");
            return out;
        }
    }

    // Whether the starts are too doubtful to be this chapter's is judged on the reference as it is;
    // the starts themselves are taken on the reference with the opening when there is one, where the
    // path may begin at the opening or at the first verse.
    Alignment plain = startsFrom(ref, *refFeatures, path, out, rec, speech, energy, fromPauses);
    if (!plain.refusal.isEmpty() || !opened || opened->opening <= 0 || opened->verseStart.size() != n)
        return plain;
    const auto openedFeatures = features(opened->audio);
    if (!openedFeatures) return plain;
    const WarpPath openedPath = alignFeatures(
        rec, *openedFeatures, from, to, int(width / hop), float(unrelated),
        std::size_t(std::lround(opened->opening / openedFeatures->hop)), float(kOpeningLeftOut));
    if (openedPath.empty()) return plain;
    Alignment withOpening =
        startsFrom(*opened, *openedFeatures, openedPath, out, rec, speech, energy, fromPauses);
    return withOpening.refusal.isEmpty() ? withOpening : plain;
}

namespace {
Alignment startsFrom(const Reference& ref, const Features& refFeatures, const WarpPath& path, Alignment out,
                     const Features& rec, const SpeechMap& speech, const EnergyTrack& energy,
                     const std::vector<double>& fromPauses) {
    const std::size_t n = ref.verseStart.size();
    const double hop = rec.hop;
    const double meanCost = costAlong(refFeatures, path);
    const double refHop = refFeatures.hop;
    auto column = [&](double seconds) {
        return std::clamp<std::size_t>(std::size_t(std::max(0.0, std::round(seconds / refHop))), 0,
                                       refFeatures.frames() - 1);
    };
    PauseOptions roomFloor;
    roomFloor.floorFromSound = true;
    const SpeechMap room = findPauses(energy, roomFloor);
    std::vector<double> aligned(n), kinds(n);
    for (std::size_t k = 0; k < n; ++k) {
        aligned[k] = path.row[column(ref.verseStart[k])] * hop;
        const Snap s = snapStart(aligned[k], speech, room, energy);
        out.starts.push_back(s.at);
        kinds[k] = s.kind;
    }
    for (std::size_t k = 1; k < n; ++k) // starts never run backwards
        out.starts[k] = std::max(out.starts[k], out.starts[k - 1] + 0.01);

    // Evidence per verse start: the match around it, the speed of the verses on either side of
    // it against the reading's own, and what marks it in the recording.
    std::vector<double> local(n), speed(n);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t a = column(ref.verseStart[k] - 0.2), b = column(ref.verseStart[k] + 0.8);
        double sum = 0, cells = 0;
        for (std::size_t j = a; j <= b; ++j)
            if (refFeatures.speech[j]) {
                sum += path.cost[j];
                cells += 1;
            }
        local[k] = cells > 0 ? sum / cells : meanCost;
        const double recEnd = k + 1 < n ? aligned[k + 1] : path.lastRow.back() * hop;
        const double refEnd = k + 1 < n ? ref.verseStart[k + 1] : ref.verseEnd[k];
        speed[k] = std::max(recEnd - aligned[k], 0.05) / std::max(refEnd - ref.verseStart[k], 0.05);
    }
    const double usualLocal = std::max(median(local), 1e-6), usualSpeed = median(speed);
    for (std::size_t k = 0; k < n; ++k) {
        const double m = std::clamp((1.6 - local[k] / usualLocal) / 0.6, 0.0, 1.0);
        double dev = std::abs(std::log(speed[k] / usualSpeed));
        if (k > 0) dev = std::max(dev, std::abs(std::log(speed[k - 1] / usualSpeed)));
        const double t = std::clamp(1.0 - dev / 1.0, 0.0, 1.0);
        double p = kinds[k] == 2 ? 1.0 : kinds[k] == 1 ? 0.8 : 0.55;
        // A second opinion: the pauses and the text lengths.
        if (fromPauses.size() == n) p *= std::abs(fromPauses[k] - out.starts[k]) <= 0.25 ? 1.0 : 0.6;
        const double c = std::min({m, t, p});
        out.confidence.push_back(c);
        if (c >= kDoubtful)
            out.doubts.append(QString());
        else if (m <= t && m <= p)
            out.doubts.append(QStringLiteral("the recording sounds unlike the text here"));
        else if (t <= p)
            out.doubts.append(
                QStringLiteral("a verse beside this start takes far more or less time than its text"));
        else if (fromPauses.size() == n && std::abs(fromPauses[k] - out.starts[k]) > 0.25)
            out.doubts.append(QStringLiteral("the pauses of the recording suggest another start"));
        else
            out.doubts.append(QStringLiteral("no pause or onset of speech marks this start"));
    }
    const auto doubted =
        std::count_if(out.confidence.begin(), out.confidence.end(), [](double c) { return c < kDoubtful; });
    if (out.match > kWeakMatch && double(doubted) >= kRefuseDoubted * double(n)) {
        Alignment refused;
        refused.match = out.match;
        refused.refusal = QStringLiteral("the recording does not match the chapter's text");
        return refused;
    }
    // Where the content and the pauses part, the pauses' start is taken
    // - for a doubtful start found at an onset of speech alone, when the pauses put it at a pause of
    //   0.2 s or more (or before the first word): the content found no pause there, and a verse run
    //   on from the one before has none, which is where the pauses alone go wrong;
    // - for a doubtful start that nothing marks, when the pauses' start is more than kNoMarkReach
    //   away: nearer, the pause may be the room heard before a take's first word, and the start
    //   after it right;
    // - for any start, when it is less than kPausesReach away and gives the verses on either side
    //   times nearer their texts' at the reading's usual speed (kPausesCloser of the stray or less):
    //   echo and noise blur what the content tells, not where the reader stopped to breathe.
    // Never past a neighbouring start. A start taken from the pauses keeps its doubt, if it had one,
    // and is doubted if it had none: the two ways of finding it disagree.
    if (fromPauses.size() != n) return out;
    // How far verse v, taking `took` seconds, strays from its text's time at the usual speed.
    const auto strays = [&](std::size_t v, double took) {
        const double expected = usualSpeed * std::max(ref.verseStart[v + 1] - ref.verseStart[v], 0.05);
        return std::abs(std::log(std::max(took, 0.05) / expected));
    };
    const auto stray = [&](std::size_t k, double t) { // of the verses either side of a start at t
        return (k > 0 ? strays(k - 1, t - out.starts[k - 1]) : 0.0) +
               (k + 1 < n ? strays(k, out.starts[k + 1] - t) : 0.0);
    };
    for (std::size_t k = 0; k < n; ++k) {
        const double gap = std::abs(fromPauses[k] - out.starts[k]);
        if (gap <= 0.25) continue;
        const bool doubtful = out.confidence[k] < kDoubtful;
        bool take;
        if (kinds[k] == 1)
            take = doubtful && pauseBefore(speech, fromPauses[k]) >= kRealPause;
        else
            take = (kinds[k] == 0 && doubtful && gap > kNoMarkReach) ||
                   (gap < kPausesReach && stray(k, fromPauses[k]) < kPausesCloser * stray(k, out.starts[k]));
        const double before = k > 0 ? out.starts[k - 1] : -1.0;
        const double after = k + 1 < n ? out.starts[k + 1] : std::numeric_limits<double>::max();
        if (!take || fromPauses[k] <= before + 0.3 || fromPauses[k] >= after - 0.3) continue;
        out.starts[k] = fromPauses[k];
        if (!doubtful) {
            out.confidence[k] = kMovedToPauses;
            out.doubts[qsizetype(k)] =
                QStringLiteral("the content and the pauses of the recording part here");
        }
    }
    return out;
}

} // namespace

Alignment alignRecording(const MonoAudio& audio, const QStringList& verses, const QString& language,
                         QString* error) {
    const auto ref = synthesiseVerses(verses, language, kReferenceRate, error);
    if (!ref) return {};
    const auto rec = features(audio, error);
    if (!rec) return {};
    const EnergyTrack energy = energyTrack(audio);
    return alignToReference(*rec, findPauses(energy), energy, *ref);
}

} // namespace lumora::marks::align
