#include "import/ziparchive.h"

#include <QFile>

#include <zip.h>

namespace lumora::import {

namespace {
void setReason(QString* whyNot, const QString& why) {
    if (whyNot) *whyNot = why;
}
} // namespace

std::unique_ptr<ZipArchive> ZipArchive::open(const QString& path, QString* whyNot) {
    int error = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!z) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        setReason(whyNot,
                  QStringLiteral("not a readable zip archive: ") + QString::fromUtf8(zip_error_strerror(&e)));
        zip_error_fini(&e);
        return nullptr;
    }
    return std::unique_ptr<ZipArchive>(new ZipArchive(z));
}

ZipArchive::~ZipArchive() {
    zip_discard(m_zip);
}

QStringList ZipArchive::entries() const {
    QStringList out;
    const zip_int64_t n = zip_get_num_entries(m_zip, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* name = zip_get_name(m_zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        if (!name) continue;
        const QString s = QString::fromUtf8(name);
        if (!s.isEmpty() && !s.endsWith(QLatin1Char('/'))) out << s;
    }
    return out;
}

std::optional<QByteArray> ZipArchive::read(const QString& entry, qsizetype maxBytes, QString* whyNot) const {
    const zip_int64_t index = zip_name_locate(m_zip, entry.toUtf8().constData(), ZIP_FL_ENC_GUESS);
    if (index < 0) {
        setReason(whyNot, QStringLiteral("not in the archive"));
        return std::nullopt;
    }
    zip_file_t* f = zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0);
    if (!f) {
        setReason(whyNot, QString::fromUtf8(zip_error_strerror(zip_get_error(m_zip))));
        return std::nullopt;
    }
    QByteArray bytes;
    char buffer[65536];
    bool ok = true;
    while (true) {
        const zip_int64_t n = zip_fread(f, buffer, sizeof buffer);
        if (n < 0) {
            setReason(whyNot, QString::fromUtf8(zip_error_strerror(zip_file_get_error(f))));
            ok = false;
            break;
        }
        if (n == 0) break;
        if (bytes.size() + n > maxBytes) {
            setReason(whyNot, QStringLiteral("larger than %1 bytes").arg(maxBytes));
            ok = false;
            break;
        }
        bytes.append(buffer, static_cast<qsizetype>(n));
    }
    zip_fclose(f);
    if (!ok) return std::nullopt;
    return bytes;
}

} // namespace lumora::import
