#include "hymns/hymnentry.h"

#include "common/text.h"

namespace lumora::hymns {

using common::Utf8Decode;
using common::Utf8Encode;

std::optional<HymnFields> SplitHymnEntry(const QByteArray& entry) {
    const auto cut = common::cutFields<9>(entry);
    if (!cut) return std::nullopt;
    const auto& f = *cut;
    return HymnFields{f[0], f[1], f[2], f[3], f[5], f[6], f[7], f[8]};
}

std::optional<HymnFields> SplitHymnEntry(const QString& entry) {
    return SplitHymnEntry(Utf8Encode(entry));
}

std::array<qsizetype, 9> tabPositions(const QByteArray& line) {
    std::array<qsizetype, 9> tabs{};
    tabs[0] = -1;
    for (int i = 1; i <= 8; ++i) {
        const qsizetype from = std::min(tabs[i - 1] + 1, line.size());
        const qsizetype at = line.indexOf(common::kTab, from);
        tabs[i] = at < 0 ? line.size() : at;
    }
    return tabs;
}

QByteArray fromField(const QByteArray& line, const std::array<qsizetype, 9>& tabs, int k) {
    const qsizetype start = tabs[k - 1] + 1;
    return start >= line.size() ? QByteArray() : line.mid(start);
}

QByteArray fieldAt(const QByteArray& line, const std::array<qsizetype, 9>& tabs, int k) {
    const qsizetype start = tabs[k - 1] + 1;
    if (start >= line.size()) return {};
    // With tab k missing, tabs[k] is the end of the line, so the field runs to the end.
    return line.mid(start, tabs[k] - start);
}

QString HymnNumber(const QString& label) {
    const qsizetype at = label.indexOf(QLatin1String(" - "));
    return at < 0 ? QString() : label.left(at);
}

std::optional<QString> labelNumberForMedia(const QString& label) {
    const qsizetype at = label.indexOf(QLatin1String(" -"));
    if (at < 0) return std::nullopt;
    return label.left(at);
}

std::optional<QString> ShowHymnInfo(const QString& entry) {
    const auto f = SplitHymnEntry(entry);
    if (!f) return std::nullopt;
    return QStringLiteral("AIR OF : ") + Utf8Decode(f->tune) + QStringLiteral("\r\nTONALITY : ") +
           Utf8Decode(f->tonality) + QStringLiteral("\r\nAUTHOR : ") + Utf8Decode(f->author) +
           QStringLiteral("\r\nCOMPOSER : ") + Utf8Decode(f->composer);
}

} // namespace lumora::hymns
