#include "common/lines.h"

#include <QFile>

#include <cstring>

namespace lumora::common {

std::optional<QByteArray> readWholeFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return f.readAll();
}

bool LineSplitter::next(QByteArray& line, qsizetype* offset) {
    const qsizetype size = m_data.size();
    if (m_pos >= size) return false;
    const char* base = m_data.constData();
    const char* start = base + m_pos;
    const char* end = base + size;
    const char* p = start;
    // memchr for both terminators; lines are short, so scan for the nearer of the two.
    const void* cr = std::memchr(p, '\r', static_cast<size_t>(end - p));
    const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p));
    const char* stop = end;
    if (cr && (!lf || cr < lf)) stop = static_cast<const char*>(cr);
    else if (lf) stop = static_cast<const char*>(lf);
    if (offset) *offset = m_pos;
    line = QByteArray(start, stop - start);
    qsizetype next = stop - base;
    if (stop < end) {
        ++next;
        if (*stop == '\r' && stop + 1 < end && stop[1] == '\n') ++next;
    }
    m_pos = next;
    return true;
}

} // namespace lumora::common
