#include "common/lines.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumora::common {

FileRead readFile(const QString& path, qsizetype maxBytes) {
    FileRead out;
#ifdef Q_OS_UNIX
    // O_NONBLOCK: opening a FIFO for reading must not wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        out.failure = errno == ENOENT || errno == ENOTDIR ? ReadFailure::Missing : ReadFailure::Unreadable;
        return out;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        out.failure = ReadFailure::NotOrdinary;
        return out;
    }
    if (st.st_size > maxBytes) {
        ::close(fd);
        out.failure = ReadFailure::TooLarge;
        return out;
    }
    QByteArray data;
    data.resize(static_cast<qsizetype>(st.st_size));
    qsizetype got = 0;
    // The file may grow while it is read: read up to the cap and one byte more to notice.
    for (;;) {
        if (got == data.size()) {
            if (data.size() > maxBytes) break;
            data.resize(std::min<qsizetype>(maxBytes + 1, std::max<qsizetype>(4096, data.size() * 2)));
        }
        const ssize_t n = ::read(fd, data.data() + got, static_cast<size_t>(data.size() - got));
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            out.failure = ReadFailure::Unreadable;
            return out;
        }
        if (n == 0) break;
        got += n;
    }
    ::close(fd);
    if (got > maxBytes) {
        out.failure = ReadFailure::TooLarge;
        return out;
    }
    data.resize(got);
    out.bytes = std::move(data);
#else
    const QFileInfo fi(path);
    if (!fi.exists()) {
        out.failure = ReadFailure::Missing;
        return out;
    }
    if (!fi.isFile()) {
        out.failure = ReadFailure::NotOrdinary;
        return out;
    }
    if (fi.size() > maxBytes) {
        out.failure = ReadFailure::TooLarge;
        return out;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        out.failure = ReadFailure::Unreadable;
        return out;
    }
    out.bytes = f.read(maxBytes + 1);
    if (out.bytes->size() > maxBytes) {
        out.bytes.reset();
        out.failure = ReadFailure::TooLarge;
    }
#endif
    return out;
}

QString readFailureText(ReadFailure failure) {
    switch (failure) {
    case ReadFailure::None:
        return {};
    case ReadFailure::Missing:
        return QStringLiteral("missing");
    case ReadFailure::NotOrdinary:
        return QStringLiteral("not an ordinary file");
    case ReadFailure::TooLarge:
        return QStringLiteral("larger than %1 MiB").arg(kMaxFileBytes >> 20);
    case ReadFailure::Unreadable:
        return QStringLiteral("cannot be read");
    }
    return {};
}

std::optional<QByteArray> readWholeFile(const QString& path, qsizetype maxBytes) {
    return readFile(path, maxBytes).bytes;
}

bool LineSplitter::next(QByteArrayView& line, qsizetype* offset) {
    const qsizetype size = m_data.size();
    if (m_pos >= size) return false;
    const char* base = m_data.constData();
    const auto nextOf = [&](char c, qsizetype& cached) {
        if (cached < m_pos) {
            const void* at = std::memchr(base + m_pos, c, static_cast<size_t>(size - m_pos));
            cached = at ? static_cast<const char*>(at) - base : size;
        }
        return cached;
    };
    const qsizetype stop = std::min(nextOf('\r', m_cr), nextOf('\n', m_lf));
    if (offset) *offset = m_pos;
    line = QByteArrayView(base + m_pos, stop - m_pos);
    qsizetype next = stop;
    if (stop < size) {
        ++next;
        if (base[stop] == '\r' && stop + 1 < size && base[stop + 1] == '\n') ++next;
    }
    m_pos = next;
    return true;
}

bool LineSplitter::next(QByteArray& line, qsizetype* offset) {
    QByteArrayView view;
    if (!next(view, offset)) return false;
    line = view.toByteArray();
    return true;
}

} // namespace lumora::common
