#include "session/usersettings.h"

#include "common/atomicfile.h"
#include "common/lines.h"

#include <QDir>
#include <QFileInfo>

namespace lumora::session {

namespace {

constexpr char kMuted[] = "BibleAudioMuted";
constexpr char kVerses[] = "CloneVerses";
constexpr char kSideBySide[] = "CloneSideBySide";
constexpr char kLogo[] = "CloneLogo";
constexpr char kScreen[] = "CloneScreen";
constexpr char kAlsoShow[] = "CloneAlsoShow";

bool isKnown(const QByteArray& name) {
    return name == kMuted || name == kVerses || name == kSideBySide || name == kLogo || name == kScreen ||
           name == kAlsoShow;
}

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
        const QByteArray name = nameOf(line);
        const QByteArray value = line.mid(line.indexOf('=') + 1).trimmed();
        if (name == kMuted) s.bibleAudioMuted = value == "1";
        if (name == kVerses) s.cloneVerses = value == "1";
        if (name == kSideBySide) s.cloneSideBySide = value == "1";
        if (name == kLogo) s.cloneLogo = QString::fromUtf8(value);
        if (name == kAlsoShow) s.cloneAlsoShow = QString::fromUtf8(value);
        if (name == kScreen) s.cloneScreen = QString::fromUtf8(line.mid(line.indexOf('=') + 1));
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
            if (!line.trimmed().isEmpty() && !isKnown(nameOf(line))) out += line + "\r\n";
        }
    }
    out += QByteArray(kMuted) + '=' + (settings.bibleAudioMuted ? "1" : "0") + "\r\n";
    // The clone's choices are written only when they differ from the defaults.
    if (settings.cloneVerses) out += QByteArray(kVerses) + "=1\r\n";
    if (settings.cloneSideBySide) out += QByteArray(kSideBySide) + "=1\r\n";
    // A path with a line break in it would split into a line of its own: it is not kept.
    if (!settings.cloneLogo.isEmpty() && !settings.cloneLogo.contains(u'\n') &&
        !settings.cloneLogo.contains(u'\r'))
        out += QByteArray(kLogo) + '=' + settings.cloneLogo.toUtf8() + "\r\n";
    if (!settings.cloneScreen.isEmpty() && !settings.cloneScreen.contains(u'\n') &&
        !settings.cloneScreen.contains(u'\r'))
        out += QByteArray(kScreen) + '=' + settings.cloneScreen.toUtf8() + "\r\n";
    if (!settings.cloneAlsoShow.isEmpty() && !settings.cloneAlsoShow.contains(u'\n') &&
        !settings.cloneAlsoShow.contains(u'\r'))
        out += QByteArray(kAlsoShow) + '=' + settings.cloneAlsoShow.toUtf8() + "\r\n";
    QDir().mkpath(QFileInfo(path).absolutePath());
    return common::writeFileAtomic(path, out);
}

} // namespace lumora::session
