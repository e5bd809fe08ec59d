#pragma once
// Failing disks for tests. While a FileSizeLimit lives, writes beyond `bytes` fail with EFBIG, for
// root too (file-size limits bind every user, unlike permissions). A SmallFileSystem is a real one:
// a tmpfs of a few pages, mounted where the suite may mount (as root), that fill() makes full.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace lumora::testing {

class FileSizeLimit final {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = m_old;
        lower.rlim_cur = bytes;
        m_ok = ::setrlimit(RLIMIT_FSIZE, &lower) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool ok() const { return m_ok; }

  private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

class SmallFileSystem final {
  public:
    SmallFileSystem(const QString& at, const char* size) : m_at(QFile::encodeName(at)) {
        QDir().mkpath(at);
        if (::geteuid() != 0)
            m_why = "mounting a small file system needs root";
        else if (::mount("lumora-test", m_at.constData(), "tmpfs", 0, QByteArray("size=") + size) != 0)
            m_why = "tmpfs cannot be mounted here";
        else
            m_mounted = true;
    }
    ~SmallFileSystem() {
        if (m_mounted) ::umount2(m_at.constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    bool mounted() const { return m_mounted; }
    const char* why() const { return m_why; }
    QString path() const { return QFile::decodeName(m_at); }

    // Takes every free byte with a hidden file; unfill() gives them back.
    void fill() {
        const int fd = ::open((m_at + "/.filler").constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (fd < 0) return;
        const QByteArray chunk(64 * 1024, 'f');
        for (qsizetype size = chunk.size(); size > 0; size /= 2)
            while (::write(fd, chunk.constData(), size_t(size)) == size) {
            }
        ::close(fd);
    }
    void unfill() { ::unlink((m_at + "/.filler").constData()); }

  private:
    QByteArray m_at;
    const char* m_why = "";
    bool m_mounted = false;
};

} // namespace lumora::testing
