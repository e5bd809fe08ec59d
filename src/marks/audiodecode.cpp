#include "marks/audiodecode.h"

#include <QFile>

#include <sndfile.h>

#include <memory>

namespace lumora::marks {

std::optional<MonoAudio> decodeAudio(const QString& path, QString* error) {
    SF_INFO info{};
    SNDFILE* raw = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!raw) {
        if (error)
            *error =
                QStringLiteral("cannot decode %1: %2").arg(path, QString::fromUtf8(sf_strerror(nullptr)));
        return std::nullopt;
    }
    const std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(raw, sf_close);
    if (info.channels < 1 || info.samplerate < 1) {
        if (error) *error = QStringLiteral("cannot decode %1: no sound in it").arg(path);
        return std::nullopt;
    }
    MonoAudio out;
    out.sampleRate = info.samplerate;
    if (info.frames > 0 && info.frames < (sf_count_t(1) << 31)) out.samples.reserve(std::size_t(info.frames));
    const int channels = info.channels;
    constexpr sf_count_t kFrames = 65536;
    std::vector<float> block(channels > 1 ? std::size_t(kFrames * channels) : 0);
    for (;;) {
        if (channels == 1) {
            const std::size_t at = out.samples.size();
            out.samples.resize(at + std::size_t(kFrames));
            const sf_count_t got = sf_readf_float(file.get(), out.samples.data() + at, kFrames);
            out.samples.resize(at + std::size_t(std::max<sf_count_t>(got, 0)));
            if (got <= 0) break;
            continue;
        }
        const sf_count_t got = sf_readf_float(file.get(), block.data(), kFrames);
        if (got <= 0) break;
        for (sf_count_t f = 0; f < got; ++f) {
            float sum = 0;
            for (int c = 0; c < channels; ++c)
                sum += block[std::size_t(f * channels + c)];
            out.samples.push_back(sum / float(channels));
        }
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR && out.samples.empty()) {
        if (error)
            *error =
                QStringLiteral("cannot decode %1: %2").arg(path, QString::fromUtf8(sf_strerror(file.get())));
        return std::nullopt;
    }
    return out;
}

} // namespace lumora::marks
