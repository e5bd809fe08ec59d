#pragma once
// Writes zip files for the tests with libzip, the library the importer reads them with.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <utility>
#include <vector>

#include <zip.h>

#include <gtest/gtest.h>

namespace lumora::testing {

// Each entry deflated, in the order given.
inline void writeZip(const QString& path, const std::vector<std::pair<QString, QByteArray>>& entries) {
    int error = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr) << error;
    for (const auto& [name, bytes] : entries) {
        zip_source_t* src =
            zip_source_buffer(z, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0);
        ASSERT_NE(src, nullptr);
        ASSERT_GE(zip_file_add(z, name.toUtf8().constData(), src, ZIP_FL_ENC_UTF_8), 0);
    }
    // The buffers must live until the archive is written: zip_close reads them.
    ASSERT_EQ(zip_close(z), 0);
}

} // namespace lumora::testing
