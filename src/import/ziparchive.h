#pragma once
// Reading zip archives (libzip): the names of their files and one file's bytes at a time, never
// more than the caller allows, so an archive that claims or inflates to a huge size costs nothing.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

struct zip;

namespace lumora::import {

class ZipArchive final {
  public:
    // nullopt (with the reason) when the file is not a readable zip archive.
    static std::unique_ptr<ZipArchive> open(const QString& path, QString* whyNot = nullptr);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // The files of the archive in its own order ("songs/a.xml"); folders are left out.
    QStringList entries() const;
    // The bytes of one file; nullopt (with the reason) when it is missing, damaged, encrypted or
    // larger than maxBytes once inflated.
    std::optional<QByteArray> read(const QString& entry, qsizetype maxBytes, QString* whyNot = nullptr) const;

  private:
    explicit ZipArchive(struct zip* archive) : m_zip(archive) {}
    struct zip* m_zip;
};

} // namespace lumora::import
