#include "marks/align/features.h"

#include <fftw3.h>

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>

namespace lumora::marks::align {

namespace {

constexpr int kBands = 26;
constexpr double kLowHz = 80, kHighHz = 7000;
constexpr double kHop = 0.02;

struct Fftw final {
    decltype(&::fftwf_plan_dft_r2c_1d) plan = nullptr;
    decltype(&::fftwf_execute_dft_r2c) execute = nullptr;
    decltype(&::fftwf_destroy_plan) destroy = nullptr;
    decltype(&::fftwf_malloc) alloc = nullptr;
    decltype(&::fftwf_free) release = nullptr;
    QString failure;
};

const Fftw& fftw() {
    static const Fftw lib = [] {
        Fftw l;
        void* handle = dlopen("libfftw3f.so.3", RTLD_NOW | RTLD_LOCAL);
        auto get = [handle](auto& fn, const char* name) {
            fn = handle ? reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(handle, name))
                        : nullptr;
        };
        get(l.plan, "fftwf_plan_dft_r2c_1d");
        get(l.execute, "fftwf_execute_dft_r2c");
        get(l.destroy, "fftwf_destroy_plan");
        get(l.alloc, "fftwf_malloc");
        get(l.release, "fftwf_free");
        if (!l.plan || !l.execute || !l.destroy || !l.alloc || !l.release) {
            const char* why = dlerror();
            l.failure = QStringLiteral("libfftw3f cannot be loaded: ") +
                        QString::fromLocal8Bit(why ? why : "a function is missing");
        }
        return l;
    }();
    return lib;
}

std::mutex g_planLock; // FFTW's planner is not thread-safe

double mel(double hz) {
    return 2595.0 * std::log10(1.0 + hz / 700.0);
}

float percentile(std::vector<float> v, double p) {
    if (v.empty()) return -100.0f;
    const auto k = std::size_t(p * double(v.size() - 1));
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(k), v.end());
    return v[k];
}

} // namespace

struct FeatureMeter::State {
    int decimate = 1;    // input samples averaged into one
    int rate = 0;        // after decimation
    std::size_t fft = 0; // window and FFT length
    std::size_t hop = 0;
    float* in = nullptr;
    fftwf_complex* out = nullptr;
    fftwf_plan plan = nullptr;
    std::vector<float> window;
    // Per band: first bin and the triangle's weights from there.
    std::vector<std::size_t> bandFirst;
    std::vector<std::vector<float>> bandWeights;
    std::vector<float> dct; // kDims × kBands
    std::vector<float> pending;
    double acc = 0;
    int accCount = 0;
    std::size_t consumed = 0; // of `pending`, up to the next frame's start
    std::vector<float> cepstra, db;

    ~State() {
        const Fftw& f = fftw();
        if (plan) f.destroy(plan);
        if (in) f.release(in);
        if (out) f.release(out);
    }

    void frame(const float* x) {
        for (std::size_t i = 0; i < fft; ++i)
            in[i] = x[i] * window[i];
        // Four sums side by side: one alone makes each addition wait for the one before.
        double sum[4] = {0, 0, 0, 0};
        for (std::size_t i = 0; i < fft; i += 4)
            for (std::size_t k = 0; k < 4; ++k)
                sum[k] += double(x[i + k]) * x[i + k];
        const double energy = (sum[0] + sum[1]) + (sum[2] + sum[3]);
        fftw().execute(plan, in, out);
        float logMel[kBands];
        for (int b = 0; b < kBands; ++b) {
            double sum = 0;
            const std::vector<float>& w = bandWeights[std::size_t(b)];
            for (std::size_t k = 0; k < w.size(); ++k) {
                const fftwf_complex& c = out[bandFirst[std::size_t(b)] + k];
                sum += double(w[k]) * (double(c[0]) * c[0] + double(c[1]) * c[1]);
            }
            logMel[b] = float(std::log(sum + 1e-7));
        }
        for (int d = 0; d < kDims; ++d) {
            float s = 0;
            for (int b = 0; b < kBands; ++b)
                s += dct[std::size_t(d * kBands + b)] * logMel[b];
            cepstra.push_back(s);
        }
        const double power = energy / double(fft);
        db.push_back(power > 1e-10 ? float(10.0 * std::log10(power)) : -100.0f);
    }
};

FeatureMeter::FeatureMeter() : m(std::make_unique<State>()) {}
FeatureMeter::FeatureMeter(FeatureMeter&&) noexcept = default;
FeatureMeter& FeatureMeter::operator=(FeatureMeter&&) noexcept = default;
FeatureMeter::~FeatureMeter() = default;

std::optional<FeatureMeter> FeatureMeter::create(int sampleRate, QString* error) {
    const Fftw& f = fftw();
    if (!f.failure.isEmpty() || sampleRate < 4000) {
        if (error) *error = f.failure.isEmpty() ? QStringLiteral("the sample rate is too low") : f.failure;
        return std::nullopt;
    }
    FeatureMeter meter;
    State& s = *meter.m;
    // 44.1 and 48 kHz are brought down near 16-24 kHz: what lies above 7 kHz is not used.
    s.decimate = std::max(1, sampleRate / 16000);
    s.rate = sampleRate / s.decimate;
    s.fft = s.rate >= 14000 ? 512 : 256;
    s.hop = std::size_t(std::lround(kHop * s.rate));
    s.in = static_cast<float*>(f.alloc(sizeof(float) * s.fft));
    s.out = static_cast<fftwf_complex*>(f.alloc(sizeof(fftwf_complex) * (s.fft / 2 + 1)));
    {
        std::lock_guard guard(g_planLock);
        s.plan = f.plan(int(s.fft), s.in, s.out, FFTW_ESTIMATE);
    }
    s.window.resize(s.fft);
    for (std::size_t i = 0; i < s.fft; ++i)
        s.window[i] = float(0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(s.fft - 1)));
    const double high = std::min(kHighHz, 0.5 * s.rate - 100);
    const double lo = mel(kLowHz), hi = mel(high);
    std::vector<double> edges(kBands + 2);
    for (int b = 0; b < kBands + 2; ++b) {
        const double m = lo + (hi - lo) * b / (kBands + 1);
        edges[std::size_t(b)] = 700.0 * (std::pow(10.0, m / 2595.0) - 1.0) * double(s.fft) / s.rate;
    }
    for (int b = 0; b < kBands; ++b) {
        const double left = edges[std::size_t(b)], mid = edges[std::size_t(b + 1)],
                     right = edges[std::size_t(b + 2)];
        const auto first = std::size_t(std::ceil(left));
        std::vector<float> w;
        for (std::size_t k = first; double(k) <= right && k <= s.fft / 2; ++k)
            w.push_back(float(double(k) <= mid ? (double(k) - left) / std::max(mid - left, 1e-9)
                                               : (right - double(k)) / std::max(right - mid, 1e-9)));
        if (w.empty()) w.push_back(1.0f); // a band narrower than a bin takes the nearest bin
        s.bandFirst.push_back(std::min(first, s.fft / 2));
        s.bandWeights.push_back(std::move(w));
    }
    s.dct.resize(std::size_t(kDims * kBands));
    for (int d = 0; d < kDims; ++d)
        for (int b = 0; b < kBands; ++b)
            s.dct[std::size_t(d * kBands + b)] =
                float(std::cos(std::numbers::pi * (d + 1) * (b + 0.5) / kBands));
    return meter;
}

void FeatureMeter::feed(const float* samples, std::size_t count) {
    State& s = *m;
    // In pieces, so that what waits for the next frame stays small however large the block.
    constexpr std::size_t kPiece = 1 << 14;
    while (count > 0) {
        const std::size_t take = std::min(count, kPiece);
        if (s.decimate == 1) {
            s.pending.insert(s.pending.end(), samples, samples + take);
        } else {
            for (std::size_t i = 0; i < take; ++i) {
                s.acc += samples[i];
                if (++s.accCount < s.decimate) continue;
                s.pending.push_back(float(s.acc / s.decimate));
                s.acc = 0;
                s.accCount = 0;
            }
        }
        samples += take;
        count -= take;
        while (s.pending.size() - s.consumed >= s.fft) {
            s.frame(s.pending.data() + s.consumed);
            s.consumed += s.hop;
        }
        if (s.consumed > kPiece) {
            s.pending.erase(s.pending.begin(), s.pending.begin() + std::ptrdiff_t(s.consumed));
            s.consumed = 0;
        }
    }
}

Features FeatureMeter::finish() const {
    const State& s = *m;
    Features f;
    f.hop = double(s.hop) / s.rate;
    f.cepstra = s.cepstra;
    f.db = s.db;
    const std::size_t n = f.db.size();
    f.speech.assign(n, 0);
    if (n == 0) return f;
    const float level = percentile(f.db, 0.95);
    const float floor = std::max(percentile(f.db, 0.1), level - 60.0f);
    const float threshold = floor + std::max(6.0f, 0.25f * (level - floor));
    std::size_t speaking = 0;
    for (std::size_t i = 0; i < n; ++i)
        speaking += (f.speech[i] = f.db[i] > threshold && level - floor >= 6.0f);
    // Each coefficient is brought to mean 0 and spread 1 over the speech frames (all frames when
    // there are hardly any).
    const bool all = speaking < 10;
    for (int d = 0; d < kDims; ++d) {
        double sum = 0, sq = 0, count = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (!all && !f.speech[i]) continue;
            const double v = f.cepstra[i * kDims + std::size_t(d)];
            sum += v;
            sq += v * v;
            count += 1;
        }
        const double mean = sum / count;
        const double sd = std::sqrt(std::max(sq / count - mean * mean, 1e-6));
        for (std::size_t i = 0; i < n; ++i) {
            float& v = f.cepstra[i * kDims + std::size_t(d)];
            v = float((v - mean) / sd);
        }
    }
    return f;
}

std::optional<Features> features(const MonoAudio& audio, QString* error) {
    auto meter = FeatureMeter::create(audio.sampleRate, error);
    if (!meter) return std::nullopt;
    meter->feed(audio.samples.data(), audio.samples.size());
    return meter->finish();
}

Features pooled(const Features& f, int factor) {
    Features out;
    out.hop = f.hop * factor;
    const std::size_t n = f.frames() / std::size_t(factor) + (f.frames() % std::size_t(factor) ? 1 : 0);
    out.cepstra.assign(n * kDims, 0);
    out.db.assign(n, -100.0f);
    out.speech.assign(n, 0);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t from = k * std::size_t(factor),
                          to = std::min(f.frames(), from + std::size_t(factor));
        int speech = 0;
        for (std::size_t i = from; i < to; ++i) {
            for (int d = 0; d < kDims; ++d)
                out.cepstra[k * kDims + std::size_t(d)] += f.cepstra[i * kDims + std::size_t(d)];
            out.db[k] = std::max(out.db[k], f.db[i]);
            speech += f.speech[i];
        }
        for (int d = 0; d < kDims; ++d)
            out.cepstra[k * kDims + std::size_t(d)] /= float(to - from);
        out.speech[k] = 2 * speech > int(to - from);
    }
    return out;
}

} // namespace lumora::marks::align
