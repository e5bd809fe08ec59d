#include "marks/audiodecode.h"

#include <QFile>

#include <sndfile.h>

#include <dlfcn.h>

namespace lumora::marks {

namespace {

// libsndfile and its codecs (FLAC, Vorbis, Opus, mpg123, LAME) are loaded on the first decode,
// so that the programs start without them: only mark suggestions decode sound.
struct SndFile final {
    decltype(&::sf_open) open = nullptr;
    decltype(&::sf_close) close = nullptr;
    decltype(&::sf_strerror) strerror = nullptr;
    decltype(&::sf_readf_float) readFloat = nullptr;
    QString failure; // set when the library could not be loaded
};

const SndFile& sndfile() {
    static const SndFile lib = [] {
        SndFile l;
        void* handle = dlopen("libsndfile.so.1", RTLD_NOW | RTLD_LOCAL);
        if (handle) {
            l.open = reinterpret_cast<decltype(l.open)>(dlsym(handle, "sf_open"));
            l.close = reinterpret_cast<decltype(l.close)>(dlsym(handle, "sf_close"));
            l.strerror = reinterpret_cast<decltype(l.strerror)>(dlsym(handle, "sf_strerror"));
            l.readFloat = reinterpret_cast<decltype(l.readFloat)>(dlsym(handle, "sf_readf_float"));
        }
        if (!l.open || !l.close || !l.strerror || !l.readFloat) {
            const char* why = dlerror();
            l.failure = QStringLiteral("libsndfile cannot be loaded: ") +
                        QString::fromLocal8Bit(why ? why : "a function is missing");
            l.open = nullptr;
        }
        return l;
    }();
    return lib;
}

} // namespace

void AudioReader::Closer::operator()(void* file) const {
    sndfile().close(static_cast<SNDFILE*>(file));
}

std::optional<AudioReader> AudioReader::open(const QString& path, QString* error) {
    const SndFile& sf = sndfile();
    if (!sf.open) {
        if (error) *error = QStringLiteral("cannot decode %1: %2").arg(path, sf.failure);
        return std::nullopt;
    }
    SF_INFO info{};
    SNDFILE* file = sf.open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file) {
        if (error)
            *error =
                QStringLiteral("cannot decode %1: %2").arg(path, QString::fromUtf8(sf.strerror(nullptr)));
        return std::nullopt;
    }
    AudioReader r;
    r.m_file.reset(file);
    if (info.channels < 1 || info.samplerate < 1) {
        if (error) *error = QStringLiteral("cannot decode %1: no sound in it").arg(path);
        return std::nullopt;
    }
    r.m_rate = info.samplerate;
    r.m_channels = info.channels;
    return r;
}

bool AudioReader::read(std::vector<float>& out, std::size_t frames) {
    auto* file = static_cast<SNDFILE*>(m_file.get());
    if (m_channels == 1) {
        out.resize(frames);
        const sf_count_t got = sndfile().readFloat(file, out.data(), sf_count_t(frames));
        out.resize(std::size_t(std::max<sf_count_t>(got, 0)));
        return got > 0;
    }
    m_block.resize(frames * std::size_t(m_channels));
    const sf_count_t got = sndfile().readFloat(file, m_block.data(), sf_count_t(frames));
    out.resize(std::size_t(std::max<sf_count_t>(got, 0)));
    for (std::size_t f = 0; f < out.size(); ++f) {
        float sum = 0;
        for (int c = 0; c < m_channels; ++c)
            sum += m_block[f * std::size_t(m_channels) + std::size_t(c)];
        out[f] = sum / float(m_channels);
    }
    return got > 0;
}

std::optional<MonoAudio> decodeAudio(const QString& path, QString* error) {
    auto reader = AudioReader::open(path, error);
    if (!reader) return std::nullopt;
    MonoAudio out;
    out.sampleRate = reader->sampleRate();
    std::vector<float> block;
    while (reader->read(block))
        out.samples.insert(out.samples.end(), block.begin(), block.end());
    return out;
}

} // namespace lumora::marks
