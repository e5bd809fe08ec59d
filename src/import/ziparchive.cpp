#include "import/ziparchive.h"

#include <QFile>

#include <zip.h>

namespace lumora::import {

ZipArchive::ZipArchive(const QString& path) {
    int code = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!m_zip) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        m_error = QString::fromLocal8Bit(zip_error_strerror(&error));
        zip_error_fini(&error);
    }
}

ZipArchive::~ZipArchive() {
    if (m_zip) zip_discard(m_zip);
}

QStringList ZipArchive::entries() const {
    QStringList out;
    if (!m_zip) return out;
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(m_zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        if (!name) continue;
        const QString entry = QString::fromUtf8(name);
        if (!entry.endsWith(QLatin1Char('/'))) out.append(entry);
    }
    return out;
}

std::optional<QByteArray> ZipArchive::read(const QString& entry, qint64 maxBytes) {
    if (!m_zip) return std::nullopt;
    const QByteArray name = entry.toUtf8();
    const zip_int64_t index = zip_name_locate(m_zip, name.constData(), ZIP_FL_ENC_GUESS);
    if (index < 0) {
        m_error = QStringLiteral("no entry ") + entry;
        return std::nullopt;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE) &&
        st.size > static_cast<zip_uint64_t>(maxBytes)) {
        m_error = QStringLiteral("%1 would expand to more than %2 bytes").arg(entry).arg(maxBytes);
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0);
    if (!file) {
        m_error = entry + QStringLiteral(": ") + QString::fromLocal8Bit(zip_strerror(m_zip));
        return std::nullopt;
    }
    QByteArray out;
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
        if (got < 0) {
            m_error = entry + QStringLiteral(": ") + QString::fromLocal8Bit(zip_file_strerror(file));
            zip_fclose(file);
            return std::nullopt;
        }
        if (got == 0) break;
        if (out.size() + got > maxBytes) {
            m_error = QStringLiteral("%1 would expand to more than %2 bytes").arg(entry).arg(maxBytes);
            zip_fclose(file);
            return std::nullopt;
        }
        out.append(buffer, static_cast<qsizetype>(got));
    }
    zip_fclose(file);
    return out;
}

bool ZipArchive::looksLikeZip(const QByteArray& head) {
    return head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06");
}

} // namespace lumora::import
