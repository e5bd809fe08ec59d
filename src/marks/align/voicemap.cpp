#include "marks/align/voicemap.h"

#include <cmath>
#include <utility>

namespace lumora::marks::align {

namespace {

constexpr int kIn = kDims + 1;  // the coefficients and a constant
constexpr double kRidge = 1e-3; // per pair: keeps the fit stable on near-constant frames
constexpr std::size_t kLeastPairs = 100;

} // namespace

std::optional<VoiceMap> fitVoiceMap(const Features& rec, const Features& ref, const WarpPath& path) {
    if (path.empty() || path.row.size() != ref.frames()) return std::nullopt;
    // The normal equations: (XᵀX + ridge) W = XᵀY, X the recording's frames, Y the reference's.
    double a[kIn][kIn] = {}, b[kIn][kDims] = {};
    std::size_t pairs = 0;
    for (std::size_t j = 0; j < ref.frames(); ++j) {
        if (!ref.speech[j]) continue;
        const float* y = ref.frame(j);
        for (int i = path.row[j]; i <= path.lastRow[j]; ++i) {
            if (!rec.speech[std::size_t(i)]) continue;
            const float* f = rec.frame(std::size_t(i));
            double x[kIn];
            for (int d = 0; d < kDims; ++d)
                x[d] = f[d];
            x[kDims] = 1.0;
            for (int p = 0; p < kIn; ++p) {
                for (int q = p; q < kIn; ++q)
                    a[p][q] += x[p] * x[q];
                for (int d = 0; d < kDims; ++d)
                    b[p][d] += x[p] * y[d];
            }
            ++pairs;
        }
    }
    if (pairs < kLeastPairs) return std::nullopt;
    for (int p = 0; p < kIn; ++p) {
        for (int q = 0; q < p; ++q)
            a[p][q] = a[q][p];
        a[p][p] += kRidge * double(pairs);
    }
    // Gauss-Jordan with partial pivoting; the ridge keeps every pivot positive.
    for (int c = 0; c < kIn; ++c) {
        int pivot = c;
        for (int r = c + 1; r < kIn; ++r)
            if (std::abs(a[r][c]) > std::abs(a[pivot][c])) pivot = r;
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        const double scale = 1.0 / a[c][c];
        for (double& v : a[c])
            v *= scale;
        for (double& v : b[c])
            v *= scale;
        for (int r = 0; r < kIn; ++r) {
            const double f = a[r][c];
            if (r == c || f == 0.0) continue;
            for (int q = 0; q < kIn; ++q)
                a[r][q] -= f * a[c][q];
            for (int d = 0; d < kDims; ++d)
                b[r][d] -= f * b[c][d];
        }
    }
    VoiceMap map;
    for (int d = 0; d < kDims; ++d)
        for (int p = 0; p < kIn; ++p)
            map.weights[std::size_t(d)][std::size_t(p)] = b[p][d];
    return map;
}

Features mapped(const Features& rec, const VoiceMap& map) {
    Features out = rec;
    for (std::size_t i = 0; i < rec.frames(); ++i) {
        const float* x = rec.frame(i);
        float* y = out.cepstra.data() + i * kDims;
        for (int d = 0; d < kDims; ++d) {
            const auto& w = map.weights[std::size_t(d)];
            double s = w[kDims];
            for (int p = 0; p < kDims; ++p)
                s += w[std::size_t(p)] * x[p];
            y[d] = float(s);
        }
    }
    return out;
}

} // namespace lumora::marks::align
