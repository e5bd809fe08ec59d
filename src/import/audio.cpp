#include "import/audio.h"

#include <QtEndian>

#include <cmath>

namespace lumora::import {

namespace {

void put16(QByteArray& out, std::uint16_t v) {
    out.append(char(v & 0xFF)).append(char(v >> 8));
}
void put32(QByteArray& out, std::uint32_t v) {
    put16(out, std::uint16_t(v & 0xFFFF));
    put16(out, std::uint16_t(v >> 16));
}
void putBig32(QByteArray& out, std::uint32_t v) {
    out.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}
void putVarLen(QByteArray& out, std::uint32_t v) {
    QByteArray bytes;
    bytes.prepend(char(v & 0x7F));
    while (v >>= 7)
        bytes.prepend(char((v & 0x7F) | 0x80));
    out += bytes;
}
std::uint32_t le32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(b.constData() + at));
}
std::uint16_t le16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(b.constData() + at));
}

} // namespace

std::optional<PcmAudio> parseWav(const QByteArray& bytes) {
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return std::nullopt;
    PcmAudio audio;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = le32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > bytes.size()) return std::nullopt;
            const int format = le16(bytes, body), channels = le16(bytes, body + 2),
                      bits = le16(bytes, body + 14);
            if (format != 1 || channels != 1 || bits != 16) return std::nullopt;
            audio.sampleRate = int(le32(bytes, body + 4));
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) return std::nullopt;
            const qsizetype available = std::min<qsizetype>(size, bytes.size() - body) / 2;
            audio.samples.resize(std::size_t(available));
            for (qsizetype i = 0; i < available; ++i)
                audio.samples[std::size_t(i)] = std::int16_t(le16(bytes, body + 2 * i));
            return audio;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

QByteArray wavBytes(const PcmAudio& audio) {
    const std::uint32_t dataSize = std::uint32_t(audio.samples.size() * 2);
    QByteArray out("RIFF");
    put32(out, 36 + dataSize);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);
    put16(out, 1);
    put32(out, std::uint32_t(audio.sampleRate));
    put32(out, std::uint32_t(audio.sampleRate * 2));
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, dataSize);
    for (std::int16_t s : audio.samples)
        put16(out, std::uint16_t(s));
    return out;
}

QByteArray midiFile(const Tune& tune) {
    constexpr int kTicksPerEighth = 240;
    QByteArray track;
    // Tempo, then the instrument.
    const std::uint32_t microsPerQuarter = std::uint32_t(60'000'000 / std::max(1, tune.beatsPerMinute));
    track += QByteArray("\x00\xFF\x51\x03", 4);
    track.append(char(microsPerQuarter >> 16))
        .append(char(microsPerQuarter >> 8))
        .append(char(microsPerQuarter));
    track += QByteArray("\x00\xC0", 2);
    track.append(char(tune.program & 0x7F));
    std::uint32_t pendingRest = 0;
    for (const TuneNote& n : tune.notes) {
        const std::uint32_t length = std::uint32_t(n.eighths * kTicksPerEighth);
        if (n.pitch <= 0) {
            pendingRest += length;
            continue;
        }
        putVarLen(track, pendingRest);
        track.append(char(0x90)).append(char(n.pitch & 0x7F)).append(char(80));
        putVarLen(track, length);
        track.append(char(0x80)).append(char(n.pitch & 0x7F)).append(char(0));
        pendingRest = 0;
    }
    putVarLen(track, pendingRest);
    track += QByteArray("\xFF\x2F\x00", 3);

    QByteArray out("MThd");
    putBig32(out, 6);
    out += QByteArray("\x00\x00\x00\x01\x01\xE0", 6); // format 0, one track, 480 ticks per quarter
    out += "MTrk";
    putBig32(out, std::uint32_t(track.size()));
    return out + track;
}

PcmAudio synthesize(const Tune& tune, int sampleRate) {
    PcmAudio audio;
    audio.sampleRate = sampleRate;
    const double eighth = 30.0 / std::max(1, tune.beatsPerMinute);
    for (const TuneNote& n : tune.notes) {
        const auto count = std::size_t(n.eighths * eighth * sampleRate);
        const double freq = 440.0 * std::pow(2.0, (n.pitch - 69) / 12.0);
        for (std::size_t i = 0; i < count; ++i) {
            double v = 0;
            if (n.pitch > 0) {
                const double t = double(i) / sampleRate;
                const double envelope =
                    std::min(1.0, t * 40) * std::min(1.0, double(count - i) / (0.03 * sampleRate));
                v = envelope * (0.6 * std::sin(2 * M_PI * freq * t) + 0.25 * std::sin(4 * M_PI * freq * t) +
                                0.1 * std::sin(6 * M_PI * freq * t));
            }
            audio.samples.push_back(std::int16_t(v * 9000));
        }
    }
    return audio;
}

QByteArray markText(std::int64_t samples, int sampleRate) {
    const std::int64_t whole = samples / sampleRate;
    // Five decimals cut: floor(remainder * 100000 / rate), in integers so nothing rounds.
    const std::int64_t fraction = (samples % sampleRate) * 100000 / sampleRate;
    return QByteArray::number(whole) + ',' + QByteArray::number(fraction).rightJustified(5, '0');
}

} // namespace lumora::import
