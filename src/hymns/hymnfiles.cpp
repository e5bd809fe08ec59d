#include "hymns/hymnfiles.h"

#include "common/lines.h"
#include "common/paths.h"
#include "common/rtf/richtext.h"
#include "common/rtf/rtfreader.h"
#include "common/text.h"
#include "hymns/hymnentry.h"
#include "hymns/hymnstore.h"

#include <array>
#include <cctype>
#include <vector>

namespace lumora::hymns {

namespace {

// cantiques/book/folder/name as found on disk; nullopt for a name that cannot be a file there.
std::optional<QString> existing(const QString& cantiques, const QString& book, const QString& folder,
                                const QString& name, QString* tried = nullptr) {
    const auto path = hymnPath(cantiques, book, {folder, name});
    if (!path) return std::nullopt;
    if (tried) *tried = *path;
    if (!common::fileExists(*path)) return std::nullopt;
    return path;
}

} // namespace

HymnFiles LoadHymnFiles(const QString& cantiques, const QString& entry) {
    HymnFiles out;
    const qsizetype lastTab = entry.lastIndexOf(QLatin1Char('\t'));
    const QString book = lastTab < 0 ? entry : entry.mid(lastTab + 1);
    const qsizetype firstTab = entry.indexOf(QLatin1Char('\t'));
    const QString label = firstTab < 0 ? entry : entry.left(firstTab);
    const QString number = HymnNumber(label);

    const QString musique = QStringLiteral("musique");
    for (const QString& name : {label, number}) {
        if (name.isEmpty()) continue; // an empty number names no hymn's file
        for (const char* ext : {".wav", ".mp3", ".mid"}) {
            if (const auto p =
                    existing(cantiques, book, musique, name + QLatin1String(ext), &out.musicPath)) {
                out.hasMusic = true;
                break;
            }
        }
        if (out.hasMusic) break;
    }

    const QString parole = QStringLiteral("parole");
    const std::array<std::pair<QString, const char*>, 4> words{
        {{label, ".rtf"}, {number, ".rtf"}, {label, ".txt"}, {number, ".txt"}}};
    for (const auto& [name, ext] : words) {
        if (name.isEmpty()) continue;
        if (const auto p = existing(cantiques, book, parole, name + QLatin1String(ext))) {
            out.wordsPath = *p;
            out.words = out.wordsPath.endsWith(QLatin1String("rtf"), Qt::CaseInsensitive) ? WordsKind::Rtf
                                                                                          : WordsKind::Text;
            break;
        }
    }
    return out;
}

QString readTextWords(const QString& path) {
    const auto data = common::readWholeFile(path);
    if (!data) return {};
    QByteArray text;
    bool started = false;
    bool first = true;
    common::LineSplitter lines(*data);
    QByteArray line;
    while (lines.next(line)) {
        if (first && common::startsWithBom(line)) line = line.mid(3);
        first = false;
        if (!started) {
            if (line.isEmpty()) continue;
            started = true;
            text = line;
        } else {
            text += '\n' + line;
        }
    }
    return common::Utf8Decode(text);
}

MediaLookup findSlides(const QString& cantiques, const QString& book, const QString& label) {
    MediaLookup out;
    const QString diapo = QStringLiteral("Diapo");
    const auto number = labelNumberForMedia(label);
    QStringList names{label};
    if (number) names << *number;
    for (const QString& name : names) {
        if (name.isEmpty()) continue;
        for (const char* ext : {".pptx", ".ppt", ".pps", ".ppsx"}) {
            if (const auto p = existing(cantiques, book, diapo, name + QLatin1String(ext), &out.path)) {
                out.found = true;
                return out;
            }
        }
    }
    return out;
}

VideoLookup findVideo(const QString& cantiques, const QString& book, const QString& label) {
    VideoLookup out;
    const QString video = QStringLiteral("Video");
    const auto number = labelNumberForMedia(label);
    QStringList names{label};
    if (number) names << *number;
    QString base;
    for (const QString& name : names) {
        if (name.isEmpty()) continue;
        base = name;
        for (const char* ext : {".mpeg", ".mpeg1", ".mpeg2", ".mpeg4", ".avi", ".mpg", ".wmv"}) {
            if (const auto p = existing(cantiques, book, video, name + QLatin1String(ext))) {
                out.path = *p;
                out.extension = QLatin1String(ext);
            }
        }
        if (!out.extension.isEmpty()) break;
    }
    if (base.isEmpty()) return out;
    // The shortcut sits beside what was found: "12.avi.lnk" after a video, "12.lnk" without one.
    const QString shortcutName =
        (out.extension.isEmpty() ? base : base + out.extension) + QStringLiteral(".lnk");
    if (const auto p = existing(cantiques, book, video, shortcutName)) {
        out.path = *p;
        out.extension = QStringLiteral(".lnk");
        out.isShortcut = true;
    } else if (out.extension.isEmpty()) {
        out.path = hymnPath(cantiques, book, {video, base}).value_or(QString());
    }
    return out;
}

} // namespace lumora::hymns

namespace lumora::hymns {

std::optional<QString> rtfPlainText(const QString& path) {
    const auto data = common::readWholeFile(path);
    if (!data) return std::nullopt;
    const auto doc = common::rtf::readRtf(*data);
    if (!doc) return std::nullopt;
    QString text = common::rtf::plainText(*doc);
    text.replace(common::rtf::kLineBreak, QLatin1Char('\n'));
    return text;
}

} // namespace lumora::hymns
