#include "marks/align/speechsynth.h"

#include <espeak-ng/speak_lib.h>

#include <dlfcn.h>

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace lumora::marks::align {

namespace {

constexpr double kGap = 0.3;        // silence put between two verses of the reference
constexpr double kClauseGap = 0.15; // and after a comma or a sentence inside a verse

struct Espeak final {
    decltype(&::espeak_Initialize) initialize = nullptr;
    decltype(&::espeak_SetSynthCallback) setCallback = nullptr;
    decltype(&::espeak_SetVoiceByName) setVoice = nullptr;
    decltype(&::espeak_SetParameter) setParameter = nullptr;
    decltype(&::espeak_Synth) synth = nullptr;
    decltype(&::espeak_Synchronize) synchronize = nullptr;
    int sampleRate = 0;
    QString failure;
};

std::vector<short>* g_sink = nullptr; // the buffer the running synthesis fills

int collect(short* wav, int count, espeak_EVENT*) {
    if (g_sink && wav && count > 0) g_sink->insert(g_sink->end(), wav, wav + count);
    return 0;
}

Espeak& espeak() {
    static Espeak lib = [] {
        Espeak l;
        void* handle = dlopen("libespeak-ng.so.1", RTLD_NOW | RTLD_LOCAL);
        auto get = [handle](auto& fn, const char* name) {
            fn = handle ? reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(handle, name))
                        : nullptr;
        };
        get(l.initialize, "espeak_Initialize");
        get(l.setCallback, "espeak_SetSynthCallback");
        get(l.setVoice, "espeak_SetVoiceByName");
        get(l.setParameter, "espeak_SetParameter");
        get(l.synth, "espeak_Synth");
        get(l.synchronize, "espeak_Synchronize");
        if (!l.initialize || !l.setCallback || !l.setVoice || !l.setParameter || !l.synth || !l.synchronize) {
            const char* why = dlerror();
            l.failure = QStringLiteral("libespeak-ng cannot be loaded: ") +
                        QString::fromLocal8Bit(why ? why : "a function is missing");
            return l;
        }
        l.sampleRate = l.initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (l.sampleRate <= 0)
            l.failure = QStringLiteral("espeak-ng cannot start: its voice data is missing");
        else
            l.setCallback(collect);
        return l;
    }();
    return lib;
}

std::mutex g_lock; // the library keeps one voice and one callback for the whole process

// The first and last samples louder than a whisper, or nullopt for silence.
std::optional<std::pair<std::size_t, std::size_t>> speechSpan(const std::vector<short>& s) {
    constexpr int kLevel = 300; // about -40 dB of full scale
    const auto loud = [](short v) { return std::abs(int(v)) > kLevel; };
    const auto first = std::find_if(s.begin(), s.end(), loud);
    if (first == s.end()) return std::nullopt;
    const auto last = std::find_if(s.rbegin(), s.rend(), loud);
    return std::pair{std::size_t(first - s.begin()), std::size_t(s.rend() - last)};
}

} // namespace

QString spokenText(const QString& verseText) {
    static const QRegularExpression markup(QStringLiteral("<[^>]*>"));
    return QString(verseText).replace(markup, QStringLiteral(" ")).simplified();
}

std::optional<Reference> synthesiseVerses(const QStringList& verses, const QString& language,
                                          int wordsPerMinute, QString* error) {
    std::lock_guard guard(g_lock);
    Espeak& es = espeak();
    if (!es.failure.isEmpty()) {
        if (error) *error = es.failure;
        return std::nullopt;
    }
    if (es.setVoice(language.toUtf8().constData()) != EE_OK) {
        if (error) *error = QStringLiteral("espeak-ng has no voice for the language \"%1\"").arg(language);
        return std::nullopt;
    }
    es.setParameter(espeakRATE, std::clamp(wordsPerMinute, espeakRATE_MINIMUM, espeakRATE_MAXIMUM), 0);
    es.setParameter(espeakPUNCTUATION, espeakPUNCT_NONE, 0);

    Reference ref;
    ref.voice = language;
    ref.audio.sampleRate = es.sampleRate;
    const auto gap = std::size_t(kGap * es.sampleRate);
    std::vector<short> pcm, one;
    pcm.resize(gap, 0);
    const auto clauseGap = std::size_t(kClauseGap * es.sampleRate);
    static const QRegularExpression clauseEnd(QStringLiteral("(?<=[,;:.!?])\\s+"));
    for (const QString& verse : verses) {
        ref.verseStart.push_back(double(pcm.size()) / es.sampleRate);
        const std::size_t verseFrom = pcm.size();
        // Clause by clause, with a clear pause after each: readers pause at commas, often long.
        for (const QString& clause : spokenText(verse).split(clauseEnd, Qt::SkipEmptyParts)) {
            const QByteArray text = clause.toUtf8();
            one.clear();
            g_sink = &one;
            es.synth(text.constData(), std::size_t(text.size()) + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                     nullptr, nullptr);
            es.synchronize();
            g_sink = nullptr;
            const auto span = speechSpan(one);
            if (!span) continue;
            if (pcm.size() > verseFrom) pcm.resize(pcm.size() + clauseGap, 0);
            pcm.insert(pcm.end(), one.begin() + std::ptrdiff_t(span->first),
                       one.begin() + std::ptrdiff_t(span->second));
        }
        // A verse without words (an empty line) still takes a moment, so that its start differs.
        if (pcm.size() == verseFrom) pcm.resize(pcm.size() + gap / 2, 0);
        ref.verseEnd.push_back(double(pcm.size()) / es.sampleRate);
        pcm.resize(pcm.size() + gap, 0);
    }
    ref.audio.samples.resize(pcm.size());
    std::transform(pcm.begin(), pcm.end(), ref.audio.samples.begin(),
                   [](short v) { return float(v) / 32768.0f; });
    return ref;
}

} // namespace lumora::marks::align
