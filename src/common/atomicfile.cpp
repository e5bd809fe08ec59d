#include "common/atomicfile.h"

#include "common/text.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace lumora::common {

namespace {
void syncToDisk(QFileDevice& f) {
#ifdef Q_OS_UNIX
    ::fsync(f.handle());
#else
    Q_UNUSED(f);
#endif
}
} // namespace

bool writeFileAtomic(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    // QSaveFile falls back to writing in place when it cannot create its temporary file; that
    // would break the promise above, so it is never allowed.
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    if (!f.flush()) {
        f.cancelWriting();
        return false;
    }
    syncToDisk(f);
    return f.commit();
}

bool createFileExclusive(const QString& path, const QByteArray& bytes) {
    if (QFileInfo::exists(path)) return false;
#ifdef Q_OS_UNIX
    // Write the whole file under a temporary name, then link it into place: link() refuses an
    // existing name, so a file that appeared meanwhile is never replaced.
    const QString tmp = path + QStringLiteral(".lumora-new");
    QFile::remove(tmp);
    {
        QFile f(tmp);
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
        if (f.write(bytes) != bytes.size() || !f.flush()) {
            f.close();
            QFile::remove(tmp);
            return false;
        }
        syncToDisk(f);
    }
    const bool linked = ::link(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData()) == 0;
    QFile::remove(tmp);
    return linked;
#else
    if (QFileInfo::exists(path)) return false;
    return writeFileAtomic(path, bytes);
#endif
}

bool WriteUtf8File(const QString& path, const QByteArray& content) {
    QByteArray bytes;
    bytes.reserve(content.size() + 5);
    bytes.append(kBom).append(content).append("\r\n");
    return writeFileAtomic(path, bytes);
}

} // namespace lumora::common
