#include "session/usersettings.h"

#include "common/atomicfile.h"
#include "common/lines.h"

#include <QDir>
#include <QFileInfo>

namespace lumora::session {

namespace {

constexpr char kMuted[] = "BibleAudioMuted";

QByteArray nameOf(const QByteArray& line) {
    const qsizetype eq = line.indexOf('=');
    return eq < 0 ? QByteArray() : line.left(eq).trimmed();
}

} // namespace

UserSettings LoadUserSettings(const QString& path) {
    UserSettings s;
    if (path.isEmpty()) return s;
    const auto bytes = common::readWholeFile(path);
    if (!bytes) return s;
    common::LineSplitter lines(*bytes);
    QByteArray line;
    while (lines.next(line)) {
        if (nameOf(line) == kMuted) s.bibleAudioMuted = line.mid(line.indexOf('=') + 1).trimmed() == "1";
    }
    return s;
}

bool StoreUserSettings(const QString& path, const UserSettings& settings) {
    if (path.isEmpty()) return false;
    QByteArray out;
    if (const auto old = common::readWholeFile(path)) {
        common::LineSplitter lines(*old);
        QByteArray line;
        while (lines.next(line)) {
            if (!line.trimmed().isEmpty() && nameOf(line) != kMuted) out += line + "\r\n";
        }
    }
    out += QByteArray(kMuted) + '=' + (settings.bibleAudioMuted ? "1" : "0") + "\r\n";
    QDir().mkpath(QFileInfo(path).absolutePath());
    return common::writeFileAtomic(path, out);
}

} // namespace lumora::session
