#include "marks/align/speechsynth.h"

#include "marks/align/hugepages.h"

#include <espeak-ng/speak_lib.h>

#include <dlfcn.h>

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <mutex>

namespace lumora::marks::align {

namespace {

constexpr double kClauseGap = 0.15; // silence after a comma or a sentence inside a verse

std::vector<short>* g_sink = nullptr; // the buffer the running synthesis fills

int collect(short* wav, int count, espeak_EVENT*) {
    if (g_sink && wav && count > 0) g_sink->insert(g_sink->end(), wav, wav + count);
    return 0;
}

// The library keeps its state in globals that no call resets: the phase of the pitch flutter,
// the gain control, the echo buffer. Each synthesis therefore loads it afresh and unloads it at the
// end, so that the same verses always give the same reference whatever was read before. When
// something else in the process holds the library (then unloading keeps its globals), a private
// copy is loaded beside it.
class Espeak final {
  public:
    decltype(&::espeak_Initialize) initialize = nullptr;
    decltype(&::espeak_SetSynthCallback) setCallback = nullptr;
    decltype(&::espeak_SetVoiceByName) setVoice = nullptr;
    decltype(&::espeak_SetParameter) setParameter = nullptr;
    decltype(&::espeak_Synth) synth = nullptr;
    decltype(&::espeak_Synchronize) synchronize = nullptr;
    decltype(&::espeak_Terminate) terminate = nullptr;
    int sampleRate = 0;
    QString failure;

    Espeak() {
        constexpr const char* kName = "libespeak-ng.so.1";
        if (void* held = dlopen(kName, RTLD_NOW | RTLD_NOLOAD)) {
            dlclose(held);
            m_handle = dlmopen(LM_ID_NEWLM, kName, RTLD_NOW | RTLD_LOCAL);
        } else {
            m_handle = dlopen(kName, RTLD_NOW | RTLD_LOCAL);
        }
        auto get = [this](auto& fn, const char* name) {
            fn = m_handle ? reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(m_handle, name))
                          : nullptr;
        };
        get(initialize, "espeak_Initialize");
        get(setCallback, "espeak_SetSynthCallback");
        get(setVoice, "espeak_SetVoiceByName");
        get(setParameter, "espeak_SetParameter");
        get(synth, "espeak_Synth");
        get(synchronize, "espeak_Synchronize");
        get(terminate, "espeak_Terminate");
        if (!initialize || !setCallback || !setVoice || !setParameter || !synth || !synchronize ||
            !terminate) {
            const char* why = dlerror();
            failure = QStringLiteral("libespeak-ng cannot be loaded: ") +
                      QString::fromLocal8Bit(why ? why : "a function is missing");
            return;
        }
        sampleRate = initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (sampleRate <= 0)
            failure = QStringLiteral("espeak-ng cannot start: its voice data is missing");
        else
            setCallback(collect);
    }
    ~Espeak() {
        if (sampleRate > 0) terminate();
        if (m_handle) dlclose(m_handle);
    }
    Espeak(const Espeak&) = delete;
    Espeak& operator=(const Espeak&) = delete;

  private:
    void* m_handle = nullptr;
};

std::mutex g_lock; // one synthesis at a time: the library keeps one voice and one callback

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
    const Espeak es;
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
    const auto gap = std::size_t(kVerseGap * es.sampleRate);
    std::vector<float>& pcm = ref.audio.samples;
    // Room for the whole reading at once (a letter takes about 40 ms at the reference's rate),
    // rather than copying it over each time it outgrows its buffer.
    std::size_t letters = 0;
    for (const QString& verse : verses)
        letters += std::size_t(verse.size());
    pcm.reserve(gap * std::size_t(verses.size() + 1) * 2 + letters * std::size_t(es.sampleRate) / 20);
    preferHugePages(pcm.data(), pcm.capacity() * sizeof(float));
    pcm.resize(gap, 0.0f);
    std::vector<short> one;
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
            if (pcm.size() > verseFrom) pcm.resize(pcm.size() + clauseGap, 0.0f);
            std::transform(one.begin() + std::ptrdiff_t(span->first),
                           one.begin() + std::ptrdiff_t(span->second), std::back_inserter(pcm),
                           [](short v) { return float(v) / 32768.0f; });
        }
        // A verse without words (an empty line) still takes a moment, so that its start differs.
        if (pcm.size() == verseFrom) pcm.resize(pcm.size() + gap / 2, 0.0f);
        ref.verseEnd.push_back(double(pcm.size()) / es.sampleRate);
        pcm.resize(pcm.size() + gap, 0.0f);
    }
    return ref;
}

std::optional<Reference> withOpening(const Reference& reference, const QString& opening,
                                     const QString& language, int wordsPerMinute, QString* error) {
    auto out = synthesiseVerses({opening}, language, wordsPerMinute, error);
    if (!out || out->audio.sampleRate != reference.audio.sampleRate) return std::nullopt;
    // The opening's reference ends with a verse gap, and the verses' begins with one: one is kept.
    const auto gap =
        std::min(std::size_t(kVerseGap * reference.audio.sampleRate), reference.audio.samples.size());
    std::vector<float>& pcm = out->audio.samples;
    out->opening = double(pcm.size()) / out->audio.sampleRate - double(gap) / reference.audio.sampleRate;
    pcm.reserve(pcm.size() + reference.audio.samples.size() - gap);
    preferHugePages(pcm.data(), pcm.capacity() * sizeof(float));
    pcm.insert(pcm.end(), reference.audio.samples.begin() + std::ptrdiff_t(gap),
               reference.audio.samples.end());
    out->verseStart.clear();
    out->verseEnd.clear();
    for (std::size_t k = 0; k < reference.verseStart.size(); ++k) {
        out->verseStart.push_back(reference.verseStart[k] + out->opening);
        out->verseEnd.push_back(reference.verseEnd[k] + out->opening);
    }
    return out;
}

} // namespace lumora::marks::align
