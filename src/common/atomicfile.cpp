#include "common/atomicfile.h"

#include "common/text.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumora::common {

namespace {

void setReason(QString* whyNot, const QString& reason) {
    if (whyNot) *whyNot = reason;
}

#ifdef Q_OS_UNIX

QString errnoText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

// The folder of a target, opened without following a link in its last component.
class Folder final {
  public:
    explicit Folder(const QString& path) {
        const QFileInfo fi(path);
        m_name = QFile::encodeName(fi.fileName());
        const QByteArray dir = QFile::encodeName(fi.path());
        m_fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (m_fd < 0) m_error = errno;
    }
    ~Folder() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    int fd() const { return m_fd; }
    const QByteArray& name() const { return m_name; }

    // Why the folder cannot take the file, or empty when it can.
    QString problem() const {
        if (m_fd >= 0) return m_name.isEmpty() ? QStringLiteral("no file name") : QString();
        if (m_error == ELOOP || m_error == ENOTDIR) return QStringLiteral("its folder is a symbolic link");
        return QStringLiteral("its folder cannot be opened: ") + errnoText(m_error);
    }

  private:
    int m_fd = -1;
    int m_error = 0;
    QByteArray m_name;
};

// What stands at the target's name, without following a link. Empty when it may be replaced.
QString targetProblem(const Folder& folder, struct stat* old, bool* exists) {
    *exists = false;
    if (::fstatat(folder.fd(), folder.name().constData(), old, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) return {};
        return errnoText(errno);
    }
    *exists = true;
    if (S_ISLNK(old->st_mode)) return QStringLiteral("is a symbolic link");
    if (!S_ISREG(old->st_mode)) return QStringLiteral("is not an ordinary file");
    return {};
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Writes bytes to a new hidden file in the folder and returns its name; empty on failure (nothing
// is then left behind). The name starts with a point and does not end in ".txt", so no list,
// book or version picks it up.
QByteArray writeTemporary(const Folder& folder, const QByteArray& bytes, const struct stat* keepMode,
                          QString* whyNot) {
    QByteArray tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        tmp = '.' + folder.name().left(200) + ".lumora-" +
              QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::openat(folder.fd(), tmp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        setReason(whyNot, errnoText(errno));
        return {};
    }
    if (keepMode) ::fchmod(fd, keepMode->st_mode & 07777);
    bool ok = writeAll(fd, bytes);
    int err = errno;
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlinkat(folder.fd(), tmp.constData(), 0);
        setReason(whyNot, errnoText(err));
        return {};
    }
    return tmp;
}

#endif

} // namespace

bool writeFileAtomic(const QString& path, const QByteArray& bytes, QString* whyNot) {
#ifdef Q_OS_UNIX
    const Folder folder(path);
    if (const QString p = folder.problem(); !p.isEmpty()) {
        setReason(whyNot, p);
        return false;
    }
    struct stat old {};
    bool exists = false;
    if (const QString p = targetProblem(folder, &old, &exists); !p.isEmpty()) {
        setReason(whyNot, p);
        return false;
    }
    const QByteArray tmp = writeTemporary(folder, bytes, exists ? &old : nullptr, whyNot);
    if (tmp.isEmpty()) return false;
    // rename() replaces the name itself: had a link taken the target's place since the test above,
    // the link would be replaced, never followed.
    if (::renameat(folder.fd(), tmp.constData(), folder.fd(), folder.name().constData()) != 0) {
        setReason(whyNot, errnoText(errno));
        ::unlinkat(folder.fd(), tmp.constData(), 0);
        return false;
    }
    ::fsync(folder.fd());
    return true;
#else
    const QFileInfo fi(path);
    if (fi.isSymLink() || QFileInfo(fi.path()).isSymLink()) {
        setReason(whyNot, QStringLiteral("is a symbolic link"));
        return false;
    }
    QSaveFile f(path);
    // QSaveFile falls back to writing in place when it cannot create its temporary file; that
    // would break the promise above, so it is never allowed.
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush()) {
        setReason(whyNot, f.errorString());
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        setReason(whyNot, f.errorString());
        return false;
    }
    return true;
#endif
}

bool createFileExclusive(const QString& path, const QByteArray& bytes, QString* whyNot, FolderSync sync) {
#ifdef Q_OS_UNIX
    const Folder folder(path);
    if (const QString p = folder.problem(); !p.isEmpty()) {
        setReason(whyNot, p);
        return false;
    }
    struct stat old {};
    if (::fstatat(folder.fd(), folder.name().constData(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
        setReason(whyNot, QStringLiteral("already exists"));
        return false;
    }
    // Write the whole file under a temporary name, then link it into place: link() refuses an
    // existing name (a dangling link included), so a file that appeared meanwhile is never replaced.
    const QByteArray tmp = writeTemporary(folder, bytes, nullptr, whyNot);
    if (tmp.isEmpty()) return false;
    const bool linked =
        ::linkat(folder.fd(), tmp.constData(), folder.fd(), folder.name().constData(), 0) == 0;
    if (!linked) setReason(whyNot, errno == EEXIST ? QStringLiteral("already exists") : errnoText(errno));
    ::unlinkat(folder.fd(), tmp.constData(), 0);
    if (linked && sync == FolderSync::Now) ::fsync(folder.fd());
    return linked;
#else
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        setReason(whyNot, QStringLiteral("already exists"));
        return false;
    }
    return writeFileAtomic(path, bytes, whyNot);
#endif
}

void syncFolder(const QString& folder) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
#else
    Q_UNUSED(folder);
#endif
}

bool WriteUtf8File(const QString& path, const QByteArray& content, QString* whyNot) {
    QByteArray bytes;
    bytes.reserve(content.size() + 5);
    bytes.append(kBom).append(content).append("\r\n");
    return writeFileAtomic(path, bytes, whyNot);
}

} // namespace lumora::common
