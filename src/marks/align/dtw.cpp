#include "marks/align/dtw.h"

#include "marks/align/hugepages.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace lumora::marks::align {

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr int kPool = 5;    // frames per pooled frame in the first pass
constexpr int kRadius = 10; // pooled frames either side of the first path in the second pass

enum Step : unsigned char { Start, Diagonal, Down, Right };

void makeMonotone(Band& b, int rows) {
    const std::size_t m = b.lo.size();
    for (std::size_t j = 0; j < m; ++j) {
        b.lo[j] = std::clamp(b.lo[j], 0, rows - 1);
        b.hi[j] = std::clamp(b.hi[j], 0, rows - 1);
        if (j > 0) {
            b.lo[j] = std::max(b.lo[j], b.lo[j - 1]);
            b.hi[j] = std::max(b.hi[j], b.hi[j - 1]);
        }
    }
    for (std::size_t j = m; j-- > 0;) {
        if (j + 1 < m) b.lo[j] = std::min(b.lo[j], b.lo[j + 1]);
        b.hi[j] = std::max(b.hi[j], b.lo[j]);
    }
    // Neighbouring columns must overlap or touch, or no path could cross between them.
    for (std::size_t j = 1; j < m; ++j)
        b.lo[j] = std::min(b.lo[j], b.hi[j - 1] + 1);
}

// frameDistance(), where warp() can have it inline: it is worked out for every cell of the band.
inline float distance(const Features& rec, std::size_t i, const Features& ref, std::size_t j) {
    const bool a = rec.speech[i], b = ref.speech[j];
    if (!a && !b) return 0.0f;
    if (a != b) return kSilenceAgainstSpeech;
    const float* x = rec.frame(i);
    const float* y = ref.frame(j);
    // Four sums side by side, which the compiler can keep in one vector register.
    static_assert(kDims % 4 == 0);
    float s[4] = {0, 0, 0, 0};
    for (int d = 0; d < kDims; d += 4)
        for (int k = 0; k < 4; ++k) {
            const float t = x[d + k] - y[d + k];
            s[k] += t * t;
        }
    return std::sqrt((s[0] + s[1] + s[2] + s[3]) / kDims);
}

} // namespace

float frameDistance(const Features& rec, std::size_t i, const Features& ref, std::size_t j) {
    return distance(rec, i, ref, j);
}

WarpPath warp(const Features& rec, const Features& ref, const Band& band, float skipCost,
              std::size_t freeFrom, float leftOutShare) {
    const std::size_t m = ref.frames();
    WarpPath path;
    if (m == 0 || rec.frames() == 0 || band.lo.size() != m) return path;
    // What leaving out the recording's frames before the start and after the end costs.
    std::vector<double> skipped(rec.frames() + 1, 0.0);
    for (std::size_t i = 0; i < rec.frames(); ++i)
        skipped[i + 1] = skipped[i] + (rec.speech[i] ? skipCost : 0.0f);
    std::vector<std::size_t> offset(m + 1, 0);
    for (std::size_t j = 0; j < m; ++j)
        offset[j + 1] = offset[j] + std::size_t(band.hi[j] - band.lo[j] + 1);
    // What leaving out the columns before freeFrom costs: a share of skipping their speech.
    float leftOut = 0;
    for (std::size_t j = 0; j < std::min(freeFrom, m); ++j)
        leftOut += ref.speech[j] ? leftOutShare * skipCost : 0.0f;
    // How each cell was reached; every cell in the band is written before it is read.
    const std::unique_ptr<unsigned char[]> step(new unsigned char[offset[m]]);
    preferHugePages(step.get(), offset[m]);
    std::vector<float> prev, cur;
    for (std::size_t j = 0; j < m; ++j) {
        const int lo = band.lo[j], hi = band.hi[j];
        cur.assign(std::size_t(hi - lo + 1), kInf);
        const int plo = j > 0 ? band.lo[j - 1] : 0, phi = j > 0 ? band.hi[j - 1] : -1;
        for (int i = lo; i <= hi; ++i) {
            const float d = distance(rec, std::size_t(i), ref, j);
            const std::size_t at = offset[j] + std::size_t(i - lo);
            float best = kInf;
            unsigned char how = Start;
            if (j == 0) {
                best = float(skipped[std::size_t(i)]) + d; // the reading may begin anywhere
            } else {
                if (j == freeFrom) // or here, the columns before it left out
                    best = float(skipped[std::size_t(i)]) + leftOut + d;
                if (i - 1 >= plo && i - 1 <= phi) {
                    const float c = prev[std::size_t(i - 1 - plo)] + 2 * d;
                    if (c < best) {
                        best = c;
                        how = Diagonal;
                    }
                }
                if (i >= plo && i <= phi) {
                    const float c = prev[std::size_t(i - plo)] + d;
                    if (c < best) {
                        best = c;
                        how = Right;
                    }
                }
            }
            if (i > lo) {
                const float c = cur[std::size_t(i - 1 - lo)] + d;
                if (c < best) {
                    best = c;
                    how = Down;
                }
            }
            cur[std::size_t(i - lo)] = best;
            step[at] = how;
        }
        std::swap(prev, cur);
    }
    // The reading may end anywhere.
    int end = -1;
    double bestCost = kInf;
    for (int i = band.lo[m - 1]; i <= band.hi[m - 1]; ++i) {
        const std::size_t k = std::size_t(i - band.lo[m - 1]);
        if (prev[k] == kInf) continue;
        const double c = double(prev[k]) + skipped.back() - skipped[std::size_t(i) + 1];
        if (c < bestCost) {
            bestCost = c;
            end = i;
        }
    }
    if (end < 0) return path;
    const double cost = prev[std::size_t(end - band.lo[m - 1])];
    int steps = 1; // the path's length, a diagonal step counted twice like its distance
    path.row.assign(m, 0);
    path.lastRow.assign(m, 0);
    path.cost.assign(m, 0);
    std::vector<int> cells(m, 0);
    int i = end;
    std::size_t j = m - 1;
    path.lastRow[j] = end;
    for (;;) {
        path.row[j] = i;
        path.cost[j] += frameDistance(rec, std::size_t(i), ref, j);
        ++cells[j];
        const unsigned char how = step[offset[j] + std::size_t(i - band.lo[j])];
        if (how == Start) break;
        steps += how == Diagonal ? 2 : 1;
        if (how == Down) {
            --i;
            continue;
        }
        if (how == Diagonal) --i;
        --j;
        path.lastRow[j] = i;
    }
    for (std::size_t k = 0; k < j; ++k) // columns left out before a path that begins at freeFrom
        path.row[k] = path.lastRow[k] = path.row[j];
    for (std::size_t k = 0; k < m; ++k)
        if (cells[k] > 0) path.cost[k] /= float(cells[k]);
    path.total = cost / steps;
    return path;
}

WarpPath alignFeatures(const Features& rec, const Features& ref, int recFrom, int recTo, int widthFrames,
                       float skipCost, std::size_t freeFrom, float leftOutShare) {
    if (rec.frames() == 0 || ref.frames() == 0) return {};
    const Features recPooled = pooled(rec, kPool), refPooled = pooled(ref, kPool);
    const int rows = int(recPooled.frames());
    const int cols = int(refPooled.frames());
    // The reference's own speech span, spread evenly over the recording's.
    int refFrom = 0, refTo = cols - 1;
    while (refFrom < refTo && !refPooled.speech[std::size_t(refFrom)])
        ++refFrom;
    while (refTo > refFrom && !refPooled.speech[std::size_t(refTo)])
        --refTo;
    const double a = double(recFrom) / kPool, b = double(recTo) / kPool;
    const double slope = (b - a) / std::max(1, refTo - refFrom);
    const int width = std::max(2, widthFrames / kPool);
    Band coarse;
    for (int j = 0; j < cols; ++j) {
        const double centre = a + (j - refFrom) * slope;
        coarse.lo.push_back(int(std::floor(centre)) - width);
        coarse.hi.push_back(int(std::ceil(centre)) + width);
    }
    makeMonotone(coarse, rows);
    const WarpPath first = warp(recPooled, refPooled, coarse, skipCost, freeFrom / kPool, leftOutShare);
    if (first.empty()) return {};

    // The full frames, within kRadius pooled frames of the first path.
    Band fine;
    const int n = int(rec.frames()), m = int(ref.frames());
    for (int j = 0; j < m; ++j) {
        const int J = std::min(cols - 1, j / kPool);
        const int from = std::max(0, J - kRadius), to = std::min(cols - 1, J + kRadius);
        fine.lo.push_back((first.row[std::size_t(from)] - kRadius) * kPool);
        fine.hi.push_back((first.lastRow[std::size_t(to)] + kRadius + 1) * kPool - 1);
    }
    makeMonotone(fine, n);
    return warp(rec, ref, fine, skipCost, freeFrom, leftOutShare);
}

WarpPath realign(const Features& rec, const Features& ref, const WarpPath& near, int radius, float skipCost) {
    const int m = int(ref.frames());
    if (rec.frames() == 0 || near.row.size() != std::size_t(m)) return {};
    Band band;
    for (int j = 0; j < m; ++j) {
        band.lo.push_back(near.row[std::size_t(std::max(0, j - radius))] - radius);
        band.hi.push_back(near.lastRow[std::size_t(std::min(m - 1, j + radius))] + radius);
    }
    makeMonotone(band, int(rec.frames()));
    return warp(rec, ref, band, skipCost);
}

} // namespace lumora::marks::align
