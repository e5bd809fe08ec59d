#pragma once
// Fixtures for the tests: temporary folders and small data files written byte for byte.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace lumora::testing {

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return f.readAll();
}

// Every file and folder below `root` by its relative path, with the bytes of each file.
inline std::map<std::string, std::string> folderSnapshot(const QString& root) {
    std::map<std::string, std::string> out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out[QDir(root).relativeFilePath(path).toStdString()] =
            it.fileInfo().isDir() ? "<folder>" : readBytes(path).toStdString();
    }
    return out;
}

// A temporary folder that lives as long as the fixture.
class TempFolder {
  public:
    TempFolder() { EXPECT_TRUE(m_dir.isValid()); }
    QString path() const { return m_dir.path(); }
    QString file(const QString& rel) const { return m_dir.path() + QLatin1Char('/') + rel; }

  private:
    QTemporaryDir m_dir;
};

} // namespace lumora::testing
